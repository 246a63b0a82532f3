#pragma once

// Texts of mail that need no GroupWise: addresses pulled out of a From text, subjects made into
// file names, the extension and name of an attachment's file.

#include <string>
#include <string_view>
#include <vector>

namespace mailsync {

// The address in a From text ("Jane Doe <jane@example.com>" gives "jane@example.com"): the
// characters around the first "@" up to a blank or an angle bracket. A text without an "@", or
// with one at either end, is returned as it is.
std::string ExtractEmailAddress(std::string_view text);

// A subject as part of a file name: "." and "|" become "_", quotes and ":" go, "*" becomes "^"
// and "?" "_", then blanks are trimmed. Every other character Windows refuses in a file name
// (path separators, "<", ">" and control characters) becomes "_" too, so the name can always be
// written and stays inside its folder.
std::string SanitizeSubject(std::string_view subject);

// The extension of a file name, from its last "." on, dot included; empty when there is none.
std::string ExtensionOf(std::string_view fileName);

// The file-name part of a path as GroupWise may give it ("..\\dir/report.txt" gives
// "report.txt").
std::string FileNamePart(std::string_view path);
std::u16string FileNamePart(std::u16string_view path);

// Whether the extension is in the list, compared without regard to case.
bool HasExtension(const std::vector<std::string>& extensions, std::string_view extension);

// The items of a comma text: separated by commas or blanks, an item may be enclosed in double
// quotes (then it may hold both, and "" stands for one quote). Empty items between commas count.
std::vector<std::string> ParseCommaText(std::string_view text);

}  // namespace mailsync
