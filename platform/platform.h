#pragma once

#include "platform/automation.h"
#include "platform/code_page.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "platform/resource_library.h"
#include "platform/user_interface.h"

namespace platform {

// Every service of the outside world a plug-in object uses, handed to it at creation. The
// object never reaches the outside world any other way.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual UserInterface& Ui() = 0;
  virtual Environment& Env() = 0;
  virtual ObjectFactory& Objects() = 0;
  virtual const CodePage& Ansi() = 0;
  virtual Registry& Reg() = 0;
  virtual ResourceLoader& Resources() = 0;
};

}  // namespace platform
