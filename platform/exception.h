#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Base of every failure raised inside the plug-ins. The message is 8-bit text, exactly as the
// trace and the message boxes show it.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

}  // namespace platform
