#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Message box styles and answers; the values are those of the Windows API so the Win32 backend
// passes them through unchanged.
namespace mb {
inline constexpr uint32_t kOk = 0x0;
inline constexpr uint32_t kOkCancel = 0x1;
inline constexpr uint32_t kYesNo = 0x4;
inline constexpr uint32_t kIconError = 0x10;
inline constexpr uint32_t kIconQuestion = 0x20;
inline constexpr uint32_t kIconExclamation = 0x30;
inline constexpr uint32_t kIconInformation = 0x40;
inline constexpr uint32_t kSetForeground = 0x10000;
inline constexpr uint32_t kTypeMask = 0xF;
}  // namespace mb

namespace button {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace button

// The answer a message box of this style gives when the user just presses Enter.
int DefaultButton(uint32_t style);

// Window handles cross the seam as integers: the plug-ins only ever pass them on.
using WindowHandle = uintptr_t;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Modal; returns the button pressed. Text and caption are 8-bit text in the ANSI code page.
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         uint32_t style) = 0;
  // MessageBeep with a message box icon style (mb::kIconExclamation ...).
  virtual void Beep(uint32_t type) = 0;
  // Lets queued window messages run once, so other windows stay responsive during long calls.
  virtual void PumpMessages() = 0;
};

}  // namespace platform
