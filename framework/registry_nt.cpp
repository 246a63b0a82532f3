#include "framework/registry_nt.h"

namespace framework {

bool TRegistryNT::OpenKey(std::string_view path, bool mayCreate) {
  const bool absolute = !path.empty() && path.front() == '\\';
  if (absolute) path.remove_prefix(1);
  std::string fullPath;
  if (!absolute && current_ && !currentPath_.empty()) {
    fullPath = path.empty() ? currentPath_ : currentPath_ + "\\" + std::string(path);
  } else {
    fullPath = std::string(path);
  }
  const bool create = mayCreate && !path.empty();
  auto key = registry_.OpenKey(root_, fullPath, access_, create);
  if (!key) return false;
  current_ = std::move(key);
  currentPath_ = std::move(fullPath);
  return true;
}

void TRegistryNT::CloseKey() {
  current_.reset();
  currentPath_.clear();
}

platform::RegistryKey& TRegistryNT::Current() const {
  if (!current_) throw platform::RegistryError("No registry key is open");
  return *current_;
}

std::optional<std::string> TRegistryNT::ReadString(std::string_view name) const {
  return current_ ? current_->ReadString(name) : std::nullopt;
}

std::optional<uint32_t> TRegistryNT::ReadDword(std::string_view name) const {
  return current_ ? current_->ReadDword(name) : std::nullopt;
}

void TRegistryNT::WriteString(std::string_view name, std::string_view value) {
  Current().WriteString(name, value);
}

void TRegistryNT::WriteDword(std::string_view name, uint32_t value) {
  Current().WriteDword(name, value);
}

}  // namespace framework
