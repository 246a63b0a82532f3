#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace platform {

// Records every call and answers message boxes from a script, so tests can say "this box was
// shown once with this text" and choose the button the user presses.
class ScriptedUserInterface final : public UserInterface {
 public:
  struct MessageBoxCall {
    WindowHandle owner;
    std::string text;
    std::string caption;
    uint32_t style;
  };

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t style) override;
  void Beep(uint32_t type) override { beeps.push_back(type); }
  void PumpMessages() override { ++pumps; }
  // Answered from folderNames; ends without OK when they run out.
  std::optional<std::string> AskFolderName(WindowHandle owner, const FolderNameDialogTexts& texts,
                                           const std::string& proposed,
                                           const AcceptFolderName& accept) override;

  // The next message boxes answer these buttons in order; after that, each its default button.
  void Answer(int button) { answers_.push_back(button); }

  struct FolderNameDialog {
    WindowHandle owner;
    FolderNameDialogTexts texts;
    std::string proposed;
  };

  std::vector<MessageBoxCall> messageBoxes;
  std::vector<FolderNameDialog> folderNameDialogs;
  FolderNameAnswers folderNames;
  std::vector<uint32_t> beeps;
  int pumps = 0;

 private:
  std::deque<int> answers_;
};

}  // namespace platform
