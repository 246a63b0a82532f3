#pragma once

#include <string>
#include <vector>

#include "comserver/registration.h"
#include "comserver/synchronizer_module.h"
#include "platform/registry.h"

namespace comserver {

// What a synchronizer class's registry entries are made of.
struct ClassRegistration {
  std::string classId;         // "{...}"
  std::string progId;          // "PIMSYNC.ISYNCHAPPU"
  std::u16string description;  // the class's help text
  std::u16string modulePath;
  std::string libraryId;  // "{...}"
  std::string version;    // "1.0"
};

// Every value the class registers, besides the type library's own entries.
std::vector<RegistryEntry> ClassEntries(const ClassRegistration& registration);

// Registers the module's type library and writes the class's entries. Raises
// platform::Exception naming what failed.
void RegisterServer(HMODULE module, const SynchronizerModule& identity,
                    platform::Registry& registry);
// Unregisters the type library and removes the class's keys; what is already gone counts as
// removed. Raises platform::Exception naming what could not be removed.
void UnregisterServer(HMODULE module, const SynchronizerModule& identity,
                      platform::Registry& registry);

}  // namespace comserver
