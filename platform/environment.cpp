#include "platform/environment.h"

#include <cstdio>

namespace platform {

TempFile& TempFile::operator=(TempFile&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

void TempFile::Remove() noexcept {
  if (!path_.empty()) std::remove(path_.c_str());
  path_.clear();
}

}  // namespace platform
