#include "platform/portable/scripted_user_interface.h"

namespace platform {

int ScriptedUserInterface::MessageBox(WindowHandle owner, const std::string& text,
                                      const std::string& caption, uint32_t style) {
  messageBoxes.push_back({owner, text, caption, style});
  if (answers_.empty()) return DefaultButton(style);
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedUserInterface::AskFolderName(WindowHandle owner,
                                                                const FolderNameDialogTexts& texts,
                                                                const std::string& proposed,
                                                                const AcceptFolderName& accept) {
  folderNameDialogs.push_back({owner, texts, proposed});
  return folderNames.Play(proposed, accept);
}

}  // namespace platform
