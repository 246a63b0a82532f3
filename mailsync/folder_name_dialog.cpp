#include "mailsync/folder_name_dialog.h"

#include "framework/module_globals.h"

namespace mailsync {

TFolderNameClass::TFolderNameClass(platform::Platform& platform) : platform_(platform) {
  texts_.caption = framework::LoadModuleString(288);
  texts_.description = framework::LoadModuleString(289);
  texts_.label = framework::LoadModuleString(290);
  platform_.Ui().Beep(platform::mb::kOk);
  platform_.Ui().PumpMessages();
}

void TFolderNameClass::SetFolderName(std::string name) {
  folderName_ = std::move(name);
  platform_.Ui().PumpMessages();
}

bool TFolderNameClass::ShowModal(platform::WindowHandle owner) {
  const std::optional<std::string> name = platform_.Ui().AskFolderName(
      owner, texts_, folderName_, [this](const std::string& entered) { return Accept(entered); });
  if (!name) return false;
  folderName_ = *name;
  return true;
}

bool TFolderNameClass::Accept(const std::string& name) {
  if (!name.empty()) return true;
  platform_.Ui().Beep(platform::mb::kIconExclamation);
  platform_.Ui().MessageBox(0, framework::LoadModuleString(291), framework::LoadModuleString(292),
                            platform::mb::kSetForeground);
  return false;
}

}  // namespace mailsync
