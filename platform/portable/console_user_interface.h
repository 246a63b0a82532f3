#pragma once

#include <ostream>

#include "platform/user_interface.h"

namespace platform {

// For command-line tools: a message box is printed with its caption and answered with its
// default button, as if the user had pressed Enter. The folder-name dialog is printed too and
// answered from folderNames; without answers the user presses Enter on the proposed name.
class ConsoleUserInterface final : public UserInterface {
 public:
  explicit ConsoleUserInterface(std::ostream& out) : out_(out) {}

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t style) override;
  void Beep(uint32_t) override {}
  void PumpMessages() override {}
  std::optional<std::string> AskFolderName(WindowHandle owner, const FolderNameDialogTexts& texts,
                                           const std::string& proposed,
                                           const AcceptFolderName& accept) override;

  FolderNameAnswers folderNames{{}, true};

 private:
  std::ostream& out_;
};

}  // namespace platform
