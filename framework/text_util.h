#pragma once

// Small text operations the framework needs in several places.

#include <cstring>
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

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// ASCII letters compared without regard to case, every other byte exactly.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// Replaces every occurrence of `from` by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Replaces every occurrence of `from` (matched without regard to ASCII case) by `to`.
std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to);

// Shows any bytes as printable ASCII: bytes outside 0x20-0x7E and the backslash become \r, \n,
// \t, \\ or \xHH (lower-case hex), so a line of output is always one line.
std::string EscapeForDisplay(std::string_view bytes);

// The first position at or after `from` where `needle` starts. Remembers its last answer, so
// that asking again with a larger `from` costs nothing until that answer is passed: a record
// with many lines before its next ":" stays linear.
class ForwardFinder {
 public:
  ForwardFinder(std::string_view text, std::string_view needle) : text_(text), needle_(needle) {}
  // `from` must not decrease from one call to the next.
  std::size_t From(std::size_t from) {
    if (!found_ || (position_ != std::string_view::npos && position_ < from)) {
      position_ = needle_.size() == 1 ? FindByte(from) : text_.find(needle_, from);
      found_ = true;
    }
    return position_;
  }

 private:
  // One byte is found with memchr alone; the general search compares after it every time.
  std::size_t FindByte(std::size_t from) const {
    if (from >= text_.size()) return std::string_view::npos;
    const void* found = std::memchr(text_.data() + from, needle_[0], text_.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data())
                 : std::string_view::npos;
  }

  std::string_view text_;
  std::string_view needle_;
  std::size_t position_ = std::string_view::npos;
  bool found_ = false;
};

}  // namespace framework
