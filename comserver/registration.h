#pragma once

// Self-registration of an in-process server with one class: the module's type library is
// registered from the module itself, and the class's entries are written from what that library
// says, so that identities and help texts are written in the .idl only.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "comserver/type_library.h"
#include "platform/registry.h"

namespace comserver {

// A value under HKEY_CLASSES_ROOT; the empty name is the key's default value. The values are
// wide text: the module may live in a folder whose name the ANSI code page cannot write, and a
// path with "?" in it names no file. Without data the key is made and holds no value.
struct RegistryEntry {
  std::string key;
  std::string valueName;
  std::optional<std::u16string> data;
};

// "{24D093C0-683C-11D4-B322-0000E8213261}" as registry key names and values are written.
std::string GuidKeyText(REFGUID guid);
// ASCII text (GUIDs, ProgIDs, version numbers) as a registry value.
std::u16string Widen(std::string_view ascii);
std::u16string Wide(const std::wstring& text);

// The entries of the class, made from its library's facts and the module's full path.
using ClassEntriesFunction = std::function<std::vector<RegistryEntry>(
    const LibraryFacts& facts, const std::u16string& modulePath)>;

// Registers the module's type library and writes the class's entries. Raises
// platform::Exception naming what failed.
void RegisterModuleServer(HMODULE module, REFCLSID classId, const ClassEntriesFunction& entries,
                          platform::Registry& registry);
// Unregisters the type library and removes the key trees (under HKEY_CLASSES_ROOT); what is
// already gone counts as removed. Raises platform::Exception naming what could not be removed.
void UnregisterModuleServer(HMODULE module, REFCLSID classId, std::span<const std::string> keys,
                            platform::Registry& registry);

}  // namespace comserver
