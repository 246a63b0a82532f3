#include "platform/portable/console_user_interface.h"

namespace platform {

int ConsoleUserInterface::MessageBox(WindowHandle, const std::string& text,
                                     const std::string& caption, uint32_t style) {
  out_ << "[" << (caption.empty() ? std::string("Message") : caption) << "] " << text << '\n';
  out_.flush();
  return DefaultButton(style);
}

}  // namespace platform
