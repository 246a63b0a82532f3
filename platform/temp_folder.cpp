#include "platform/temp_folder.h"

#include <cstdint>
#include <random>
#include <utility>

#include "platform/file_io.h"
#include "platform/system_files.h"

namespace platform {

TempFolder TempFolder::Create(Environment& env, std::string_view prefix) {
  const std::string parent = env.TempDirectory();
  // The separator the system's own temporary folder ends with.
  const char separator = !parent.empty() && parent.back() == '/' ? '/' : '\\';
  std::random_device random;
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(prefix);
    for (uint32_t bits = random(), i = 0; i < 8; ++i, bits >>= 4)
      name += kHex[bits & 0xF];
    const std::string path = parent + name;
    if (system_files::MakeFolder(path)) return TempFolder(path + separator);
  }
  throw FileError(parent, "no folder of a new name can be made in it");
}

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

TempFolder& TempFolder::operator=(TempFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

TempFolder::~TempFolder() {
  Remove();
}

void TempFolder::Remove() noexcept {
  if (path_.empty()) return;
  system_files::RemoveTree(path_.substr(0, path_.size() - 1));
  path_.clear();
}

}  // namespace platform
