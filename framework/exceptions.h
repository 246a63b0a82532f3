#pragma once

#include <string>

#include "platform/exception.h"

namespace framework {

using platform::Exception;

// The silent abort: leaves an operation early without a message for the user.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// A record from the host that yields no property.
class EVersitDecodeFailure : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace framework
