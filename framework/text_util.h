#pragma once

// Small text operations the framework needs in several places.

#include <initializer_list>
#include <string>
#include <string_view>

namespace framework {

// Without leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view TrimControl(std::string_view text);

bool Contains(std::string_view text, std::string_view part);

// Fills "%s" and "%d" placeholders from the arguments in order ("%%" is a percent sign). A
// placeholder without an argument becomes empty and spare arguments are ignored, so a text
// from a resource library can never make formatting fail.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

// Replaces every occurrence of `from` (matched without regard to ASCII case) by `to`.
std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to);

// Shows any bytes as printable ASCII: bytes outside 0x20-0x7E and the backslash become \r, \n,
// \t, \\ or \xHH (lower-case hex), so a line of output is always one line.
std::string EscapeForDisplay(std::string_view bytes);

}  // namespace framework
