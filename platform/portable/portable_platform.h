#pragma once

#include "platform/platform.h"
#include "platform/portable/memory_registry.h"
#include "platform/portable/object_registry.h"
#include "platform/portable/portable_environment.h"
#include "platform/portable/scripted_user_interface.h"
#include "platform/portable/string_table_library.h"

namespace platform {

// The whole outside world of the portable build, every part open for a test or tool to set up.
template <typename UiType = ScriptedUserInterface>
class PortablePlatformOf final : public Platform {
 public:
  template <typename... UiArgs>
  explicit PortablePlatformOf(UiArgs&&... uiArgs) : ui(std::forward<UiArgs>(uiArgs)...) {}

  UserInterface& Ui() override { return ui; }
  Environment& Env() override { return env; }
  ObjectFactory& Objects() override { return objects; }
  const CodePage& Ansi() override { return ansi; }
  Registry& Reg() override { return registry; }
  ResourceLoader& Resources() override { return resources; }

  UiType ui;
  PortableEnvironment env;
  ObjectRegistry objects;
  Windows1252 ansi;
  MemoryRegistry registry;
  StringTableLoader resources;
};

using PortablePlatform = PortablePlatformOf<ScriptedUserInterface>;

}  // namespace platform
