#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"

namespace platform {

// ProgIDs answered by objects written in C++: the simulators register theirs here.
class ObjectRegistry final : public ObjectFactory {
 public:
  using Creator = std::function<Object()>;

  void Register(std::string progId, Creator creator);
  Object CreateObject(std::string_view progId) override;

 private:
  std::vector<std::pair<std::string, Creator>> creators_;
};

}  // namespace platform
