#include "platform/win32/win32_user_interface.h"

#include "platform/win32/folder_name_dialog.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

int Win32UserInterface::MessageBox(WindowHandle owner, const std::string& text,
                                   const std::string& caption, uint32_t style) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}

void Win32UserInterface::Beep(uint32_t type) {
  MessageBeep(type);
}

void Win32UserInterface::PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::optional<std::string> Win32UserInterface::AskFolderName(WindowHandle owner,
                                                             const FolderNameDialogTexts& texts,
                                                             const std::string& proposed,
                                                             const AcceptFolderName& accept) {
  return RunFolderNameDialog(*this, owner, texts, proposed, accept);
}

}  // namespace platform::win32
