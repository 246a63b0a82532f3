#pragma once

// The registry entries of a setup component's class: a versioned and a version-independent
// ProgID, and the class key the host and COM find the module by.
//
// HKEY_CLASSES_ROOT\emailsetup.EmailSetup.1            (default) description
//                                   \CLSID              (default) {clsid}
// HKEY_CLASSES_ROOT\emailsetup.EmailSetup              (default) description
//                                   \CLSID              (default) {clsid}
//                                   \CurVer             (default) emailsetup.EmailSetup.1
// HKEY_CLASSES_ROOT\CLSID\{clsid}                      (default) description
//                  \ProgID                              (default) emailsetup.EmailSetup.1
//                  \VersionIndependentProgID            (default) emailsetup.EmailSetup
//                  \Programmable                        (no value)
//                  \InprocServer32                      (default) full path of the module
//                                                       ThreadingModel "Apartment"
//                  \TypeLib                             (default) {libid}
//
// The type library's own entries come with it (comserver/registration.h).

#include <string>
#include <vector>

#include "comserver/registration.h"
#include "platform/registry.h"
#include "setup/com/setup_module.h"

namespace setup::com {

struct SetupRegistration {
  std::string classId;  // "{...}"
  std::string progId;   // versioned
  std::u16string description;
  std::u16string modulePath;
  std::string libraryId;  // "{...}"
};

// "emailsetup.EmailSetup" for "emailsetup.EmailSetup.1": without its last dotted part.
std::string VersionIndependentProgId(const std::string& progId);

std::vector<comserver::RegistryEntry> SetupClassEntries(const SetupRegistration& registration);

// Register the module's type library and write the entries; unregister it and remove them.
// Raise platform::Exception naming what failed.
void RegisterSetupServer(HMODULE module, const SetupModule& identity, platform::Registry& registry);
void UnregisterSetupServer(HMODULE module, const SetupModule& identity,
                           platform::Registry& registry);

}  // namespace setup::com
