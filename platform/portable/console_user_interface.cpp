#include "platform/portable/console_user_interface.h"

namespace platform {

int ConsoleUserInterface::MessageBox(WindowHandle, const std::string& text,
                                     const std::string& caption, uint32_t style) {
  if (!caption.empty()) out_ << "[" << caption << "] ";
  out_ << text << '\n';
  out_.flush();
  return DefaultButton(style);
}

std::optional<std::string> ConsoleUserInterface::AskFolderName(WindowHandle,
                                                               const FolderNameDialogTexts& texts,
                                                               const std::string& proposed,
                                                               const AcceptFolderName& accept) {
  out_ << "[" << texts.caption << "] " << texts.description << '\n';
  const std::optional<std::string> name = folderNames.Play(proposed, accept);
  out_ << "[" << texts.caption << "] " << (name ? "OK: " + *name : std::string("closed without OK"))
       << '\n';
  out_.flush();
  return name;
}

}  // namespace platform
