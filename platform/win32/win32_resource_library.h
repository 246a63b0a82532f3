#pragma once

#include "platform/resource_library.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Resource-only DLLs, mapped as data: their code (if any) never runs, and a library built for
// another processor still serves its strings and bitmaps.
class Win32ResourceLoader final : public ResourceLoader {
 public:
  bool LibraryExists(const std::string& path) override;
  std::unique_ptr<ResourceLibrary> Load(const std::string& path) override;
};

// The resources of a module that is already loaded, such as the component's own DLL; the
// module must stay loaded while the library is used.
std::unique_ptr<ResourceLibrary> LoadedModuleResources(HMODULE module);

}  // namespace platform::win32
