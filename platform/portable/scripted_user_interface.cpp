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

}  // namespace platform
