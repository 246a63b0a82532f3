#pragma once

// Helpers that make failure messages show what the source cannot: bytes escaped, the first
// line that differs named.

#include <string>
#include <string_view>

namespace testing_support {

// Builds a byte string from text in which "\r\n" and friends are already real bytes; kept for
// readability of tables holding CR LF: Crlf("a|b") is "a\r\nb".
std::string Crlf(std::string_view pipeSeparatedLines);

// Empty when equal; otherwise names the first differing line (1-based) with both sides
// escaped.
std::string FirstDifference(std::string_view got, std::string_view wanted);

// Reads a file of the source tree (tests/data/...), byte for byte. Fails the test when it
// cannot.
std::string ReadSourceFile(std::string_view relativePath);
bool SourceFileExists(std::string_view relativePath);
std::string SourcePath(std::string_view relativePath);

}  // namespace testing_support
