#pragma once

#include <string>
#include <string_view>

namespace platform {

// The ANSI code page: how the plug-ins' 8-bit text becomes the wide text of automation calls
// and back. Win32 uses the system's code page; the portable backend uses Windows-1252.
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::u16string ToWide(std::string_view text) const = 0;
  // Characters the code page cannot show become "?".
  virtual std::string ToAnsi(std::u16string_view text) const = 0;
};

// Windows-1252, the code page of the western European Windows editions.
class Windows1252 final : public CodePage {
 public:
  std::u16string ToWide(std::string_view text) const override;
  std::string ToAnsi(std::u16string_view text) const override;
};

}  // namespace platform
