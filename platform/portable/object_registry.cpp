#include "platform/portable/object_registry.h"

namespace platform {

void ObjectRegistry::Register(std::string progId, Creator creator) {
  for (auto& [name, existing] : creators_) {
    if (SameMemberName(name, progId)) {
      existing = std::move(creator);
      return;
    }
  }
  creators_.emplace_back(std::move(progId), std::move(creator));
}

Object ObjectRegistry::CreateObject(std::string_view progId) {
  for (auto& [name, creator] : creators_) {
    if (SameMemberName(name, progId)) return creator();
  }
  throw AutomationError(std::string(progId), hresult::kInvalidClassString, "Invalid class string");
}

}  // namespace platform
