#pragma once

// The dialog that asks, once, for the name of the plug-in's folder in GroupWise. Its window is
// the platform's; its texts and the rule of its OK button are the plug-in's.

#include <optional>
#include <string>

#include "platform/platform.h"

namespace mailsync {

class TFolderNameClass {
 public:
  // Takes the texts from the module's strings, then beeps and lets the message queue run, as
  // the dialog announces itself.
  explicit TFolderNameClass(platform::Platform& platform);

  void SetFolderName(std::string name);
  // Modal, owned by `owner`; true when it ended with OK, the name entered then in FolderName.
  bool ShowModal(platform::WindowHandle owner);
  const std::string& FolderName() const { return folderName_; }

 private:
  // The OK button: only an empty name is refused, with an exclamation beep and a message box.
  bool Accept(const std::string& name);

  platform::Platform& platform_;
  platform::FolderNameDialogTexts texts_;
  std::string folderName_;
};

}  // namespace mailsync
