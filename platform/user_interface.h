#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
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

// What the folder-name dialog shows besides the name: the plug-in's own texts, 8-bit text in
// the ANSI code page. The label may hold an "&" before its accelerator key.
struct FolderNameDialogTexts {
  std::string caption;
  std::string description;
  std::string label;
};

// Decides, when the user presses OK, whether the name entered may end the dialog; when it
// refuses, it has told the user why and the dialog stays open.
using AcceptFolderName = std::function<bool(const std::string& name)>;

// Answers for a folder-name dialog that no person sees, in order: a name is typed and OK
// pressed (a refused name is followed by the next answer); nothing ends the dialog without OK.
// With no answers left the dialog ends without OK, unless `enterWhenEmpty`, when OK is pressed
// on what the edit box holds.
struct FolderNameAnswers {
  std::deque<std::optional<std::string>> answers;
  bool enterWhenEmpty = false;

  // Plays the dialog: the name of the first answer `accept` takes, or nothing.
  std::optional<std::string> Play(const std::string& proposed, const AcceptFolderName& accept);
};

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
  // The folder-name dialog, modal, owned by `owner`, its edit box holding `proposed`: the name
  // entered when the user pressed OK and `accept` took it; nothing when the dialog ended
  // otherwise (it has no other way out, but a window can always be closed).
  virtual std::optional<std::string> AskFolderName(WindowHandle owner,
                                                   const FolderNameDialogTexts& texts,
                                                   const std::string& proposed,
                                                   const AcceptFolderName& accept) = 0;
};

}  // namespace platform
