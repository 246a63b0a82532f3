#pragma once

// The few globals of a plug-in module, shared by every object the module creates: the PIM's
// name and the two resource libraries loaded when the module starts.

#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/resource_library.h"
#include "platform/user_interface.h"

namespace framework {

// The argument of every progress text; each plug-in's Init sets it to "GroupWise".
extern std::string PIMName;

// Module start-up: loads fwres.dll from the module's folder when it is there (silently
// otherwise) and the module's own .DLR library, announcing a missing one in a message box.
void LoadModuleResources(platform::Environment& env, platform::ResourceLoader& loader,
                         platform::UserInterface& ui);
// Module shutdown: frees the module library, then the framework library, and clears the globals.
void FreeModuleResources();

// A string of fwres.dll; empty while that library is not loaded or lacks the id.
std::string LoadFrameworkString(int id);
// A string of the module's .DLR library; empty while it is not loaded or lacks the id.
std::string LoadModuleString(int id);
// Whether the module's .DLR library has that bitmap (false while it is not loaded).
bool ModuleHasBitmap(int id);

// The .DLR library of a module: the module's file name without a leading "UTL", its extension
// replaced by ".DLR", in the module's folder (C:\Sync\UTLpimsync.dll gives C:\Sync\pimsync.DLR).
std::string ModuleLibraryPath(std::string_view modulePath);
inline constexpr std::string_view kFrameworkLibraryName = "fwres.dll";
// The folder of a module, with its final separator ("" for a bare file name).
std::string ModuleFolder(std::string_view modulePath);

// Loads the libraries for the lifetime of a scope: what a module's start-up and shutdown do,
// for tools and tests that play a module.
class ModuleResourcesScope {
 public:
  ModuleResourcesScope(platform::Environment& env, platform::ResourceLoader& loader,
                       platform::UserInterface& ui) {
    LoadModuleResources(env, loader, ui);
  }
  ~ModuleResourcesScope() { FreeModuleResources(); }
  ModuleResourcesScope(const ModuleResourcesScope&) = delete;
  ModuleResourcesScope& operator=(const ModuleResourcesScope&) = delete;
};

}  // namespace framework
