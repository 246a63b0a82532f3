#include "sim/common/com/simulated_classes.h"

#include <olectl.h>

#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"

namespace sim::com {
namespace {

using platform::RegistryRoot;

// Values are written as wide text: the module may live in a folder whose name the ANSI code
// page cannot write, and a path with "?" in it names no file.
void SetDefault(platform::Registry& registry, const std::string& path, std::u16string_view value,
                std::string_view name = "", std::u16string_view other = u"") {
  const auto key =
      registry.OpenKey(RegistryRoot::kClassesRoot, path, platform::registry_access::kWrite, true);
  if (!key) throw platform::RegistryError("cannot create HKEY_CLASSES_ROOT\\" + path);
  key->WriteWideString("", value);
  if (!name.empty()) key->WriteWideString(name, other);
}

void SetDefault(platform::Registry& registry, const std::string& path, std::string_view ascii) {
  SetDefault(registry, path, std::u16string(ascii.begin(), ascii.end()));
}

void Register(platform::Registry& registry, const SimulatedClass& simulated,
              const std::u16string& modulePath) {
  const std::string classKey = "CLSID\\" + std::string(simulated.idText);
  SetDefault(registry, classKey, simulated.description);
  SetDefault(registry, classKey + "\\InprocServer32", modulePath, "ThreadingModel", u"Apartment");
  SetDefault(registry, classKey + "\\ProgID", simulated.progId);
  SetDefault(registry, std::string(simulated.progId), simulated.description);
  SetDefault(registry, std::string(simulated.progId) + "\\CLSID", simulated.idText);
}

void Unregister(platform::Registry& registry, const SimulatedClass& simulated) {
  registry.DeleteKeyTree(RegistryRoot::kClassesRoot, "CLSID\\" + std::string(simulated.idText));
  const std::string progIdClass = std::string(simulated.progId) + "\\CLSID";
  const auto key = registry.OpenKey(RegistryRoot::kClassesRoot, progIdClass,
                                    platform::registry_access::kRead, false);
  const std::optional<std::string> owner = key ? key->ReadString("") : std::nullopt;
  if (owner && *owner == simulated.idText)
    registry.DeleteKeyTree(RegistryRoot::kClassesRoot, std::string(simulated.progId));
}

template <typename Body>
HRESULT RegistrationBarrier(Body&& body) noexcept {
  try {
    platform::win32::Win32Registry registry;
    body(registry);
    return S_OK;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

}  // namespace

HRESULT RegisterClasses(std::span<const SimulatedClass* const> classes) noexcept {
  return RegistrationBarrier([&](platform::Registry& registry) {
    const std::wstring path =
        platform::win32::WideModulePath(platform::win32::Win32Environment().Module());
    const std::u16string modulePath(platform::win32::AsUtf16(path.c_str()), path.size());
    for (const SimulatedClass* simulated : classes)
      Register(registry, *simulated, modulePath);
  });
}

HRESULT UnregisterClasses(std::span<const SimulatedClass* const> classes) noexcept {
  return RegistrationBarrier([&](platform::Registry& registry) {
    for (const SimulatedClass* simulated : classes)
      Unregister(registry, *simulated);
  });
}

}  // namespace sim::com
