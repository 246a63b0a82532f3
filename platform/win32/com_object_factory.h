#pragma once

#include "platform/automation.h"

namespace platform::win32 {

// Creates registered COM classes by ProgID (CLSIDFromProgID, then CoCreateInstance for
// IDispatch, in-process or local). The calling thread must be in a COM apartment. A failure
// raises AutomationError with the ProgID as member and the system's text.
class ComObjectFactory final : public ObjectFactory {
 public:
  Object CreateObject(std::string_view progId) override;
};

}  // namespace platform::win32
