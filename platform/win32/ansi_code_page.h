#pragma once

#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace platform::win32 {

// Conversions with the system's ANSI code page (CP_ACP). Embedded NULs are kept; characters the
// code page cannot show become "?", never a look-alike. Raise platform::Exception only when the
// system refuses the call itself.
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);

class AnsiCodePage final : public CodePage {
 public:
  std::u16string ToWide(std::string_view text) const override { return AnsiToWide(text); }
  std::string ToAnsi(std::u16string_view text) const override { return WideToAnsi(text); }
};

}  // namespace platform::win32
