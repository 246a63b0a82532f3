#pragma once

#include "platform/resource_library.h"

namespace platform::win32 {

// Resource-only DLLs, mapped as data: their code (if any) never runs, and a library built for
// another processor still serves its strings and bitmaps.
class Win32ResourceLoader final : public ResourceLoader {
 public:
  bool LibraryExists(const std::string& path) override;
  std::unique_ptr<ResourceLibrary> Load(const std::string& path) override;
};

}  // namespace platform::win32
