#include "platform/user_interface.h"

namespace platform {

int DefaultButton(uint32_t style) {
  switch (style & mb::kTypeMask) {
    case mb::kYesNo:
      return button::kYes;
    default:
      return button::kOk;
  }
}

}  // namespace platform
