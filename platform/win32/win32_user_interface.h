#pragma once

#include "platform/user_interface.h"

namespace platform::win32 {

class Win32UserInterface final : public UserInterface {
 public:
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t style) override;
  void Beep(uint32_t type) override;
  // Runs every message queued for this thread, then returns. A quit request is put back for
  // the message loop that owns the thread.
  void PumpMessages() override;
  std::optional<std::string> AskFolderName(WindowHandle owner, const FolderNameDialogTexts& texts,
                                           const std::string& proposed,
                                           const AcceptFolderName& accept) override;
};

}  // namespace platform::win32
