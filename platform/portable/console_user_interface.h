#pragma once

#include <ostream>

#include "platform/user_interface.h"

namespace platform {

// For command-line tools: a message box is printed with its caption and answered with its
// default button, as if the user had pressed Enter.
class ConsoleUserInterface final : public UserInterface {
 public:
  explicit ConsoleUserInterface(std::ostream& out) : out_(out) {}

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t style) override;
  void Beep(uint32_t) override {}
  void PumpMessages() override {}

 private:
  std::ostream& out_;
};

}  // namespace platform
