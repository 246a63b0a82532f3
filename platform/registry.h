#pragma once

// The Windows registry as the plug-ins and setup components use it: keys opened under a root
// with an access mask (so users without administrator rights can read), 8-bit text values in
// the ANSI code page and DWORD values.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/exception.h"

namespace platform {

class RegistryError : public Exception {
 public:
  using Exception::Exception;
};

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// Access masks; the values are those of the Windows headers.
namespace registry_access {
inline constexpr uint32_t kRead = 0x20019;       // KEY_READ
inline constexpr uint32_t kWrite = 0x20006;      // KEY_WRITE
inline constexpr uint32_t kAllAccess = 0xF003F;  // KEY_ALL_ACCESS
inline constexpr uint32_t kSetValue = 0x0002;    // KEY_SET_VALUE
}  // namespace registry_access

// "HKEY_LOCAL_MACHINE" and so on.
std::string_view RootName(RegistryRoot root);
std::optional<RegistryRoot> RootFromName(std::string_view name);

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Nothing when the value is missing or of another type. The empty name is the default value.
  virtual std::optional<std::string> ReadString(std::string_view name) = 0;
  virtual std::optional<uint32_t> ReadDword(std::string_view name) = 0;
  // Raise RegistryError when the key was not opened for writing or the write fails.
  virtual void WriteString(std::string_view name, std::string_view value) = 0;
  // For text that may hold characters outside the ANSI code page (the path of a module
  // installed in a folder with such a name), which WriteString would turn into "?".
  virtual void WriteWideString(std::string_view name, std::u16string_view value) = 0;
  virtual void WriteDword(std::string_view name, uint32_t value) = 0;
  virtual bool DeleteValue(std::string_view name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Path relative to the root, parts separated by "\". Nothing when the key is missing (and
  // not created) or access is denied. With create, missing keys on the way are made.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                               uint32_t access, bool create) = 0;
  // Removes the key with everything below it; false when there was nothing to remove.
  virtual bool DeleteKeyTree(RegistryRoot root, std::string_view path) = 0;
};

}  // namespace platform
