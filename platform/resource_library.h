#pragma once

// Resource-only libraries (fwres.dll, a plug-in's .DLR library, GroupWise's address-book label
// library): string tables and bitmaps, looked up by id.

#include <memory>
#include <optional>
#include <string>

namespace platform {

class ResourceLibrary {
 public:
  virtual ~ResourceLibrary() = default;
  // The string in the ANSI code page; nothing when the library has no string with this id.
  virtual std::optional<std::string> LoadString(int id) = 0;
  virtual bool HasBitmap(int id) = 0;
};

class ResourceLoader {
 public:
  virtual ~ResourceLoader() = default;
  // Whether a library file of that path is there to load.
  virtual bool LibraryExists(const std::string& path) = 0;
  // Nothing when the library cannot be loaded.
  virtual std::unique_ptr<ResourceLibrary> Load(const std::string& path) = 0;
};

}  // namespace platform
