#include "platform/portable/console_user_interface.h"

namespace platform {

int ConsoleUserInterface::MessageBox(WindowHandle, const std::string& text,
                                     const std::string& caption, uint32_t style) {
  if (!caption.empty()) out_ << "[" << caption << "] ";
  out_ << text << '\n';
  out_.flush();
  return DefaultButton(style);
}

}  // namespace platform
