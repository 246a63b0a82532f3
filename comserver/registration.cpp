#include "comserver/registration.h"

#include "comserver/type_library.h"
#include "platform/exception.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_environment.h"

namespace comserver {
namespace {

using platform::RegistryRoot;
using platform::win32::DescribeHResult;

// GUIDs and version numbers: ASCII in any code page.
std::string Ansi(const std::wstring& text) {
  return platform::win32::WideToAnsi(platform::win32::AsUtf16(text.c_str()));
}

std::u16string Wide(const std::wstring& text) {
  return std::u16string(platform::win32::AsUtf16(text.c_str()), text.size());
}

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::string ClassKey(const std::string& classId) {
  return "CLSID\\" + classId;
}

ClassRegistration Describe(HMODULE module, const SynchronizerModule& identity,
                           const LibraryFacts& facts) {
  return ClassRegistration{
      .classId = Ansi(GuidText(identity.classId)),
      .progId = identity.progId,
      .description = Wide(facts.classDescription),
      .modulePath = Wide(platform::win32::WideModulePath(module)),
      .libraryId = Ansi(GuidText(facts.libraryId)),
      .version = std::to_string(facts.majorVersion) + "." + std::to_string(facts.minorVersion),
  };
}

// Whether HKEY_CLASSES_ROOT\TypeLib\{library}\major.minor is still there.
bool LibraryStillRegistered(platform::Registry& registry, const LibraryFacts& facts) {
  const std::string key = "TypeLib\\" + Ansi(GuidText(facts.libraryId)) + "\\" +
                          std::to_string(facts.majorVersion) + "." +
                          std::to_string(facts.minorVersion);
  return registry.OpenKey(RegistryRoot::kClassesRoot, key, platform::registry_access::kRead,
                          false) != nullptr;
}

}  // namespace

std::vector<RegistryEntry> ClassEntries(const ClassRegistration& r) {
  const std::string classKey = ClassKey(r.classId);
  return {
      {classKey, "", r.description},
      {classKey + "\\InprocServer32", "", r.modulePath},
      {classKey + "\\InprocServer32", "ThreadingModel", u"Apartment"},
      {classKey + "\\ProgID", "", Widen(r.progId)},
      {r.progId, "", r.description},
      {r.progId + "\\Clsid", "", Widen(r.classId)},
      {classKey + "\\TypeLib", "", Widen(r.libraryId)},
      {classKey + "\\Version", "", Widen(r.version)},
  };
}

void RegisterServer(HMODULE module, const SynchronizerModule& identity,
                    platform::Registry& registry) {
  const ComPtr<ITypeLib> library = LoadModuleTypeLibrary(module);
  std::wstring path = platform::win32::WideModulePath(module);  // the declaration predates const
  const HRESULT hr = RegisterTypeLib(library.Get(), path.data(), nullptr);
  if (FAILED(hr)) {
    throw platform::Exception("Cannot register the type library: " + DescribeHResult(hr));
  }
  const LibraryFacts facts = ReadLibraryFacts(*library.Get(), identity.classId);
  for (const RegistryEntry& entry : ClassEntries(Describe(module, identity, facts))) {
    auto key = registry.OpenKey(RegistryRoot::kClassesRoot, entry.key,
                                platform::registry_access::kWrite, true);
    if (!key) throw platform::Exception("Cannot create HKEY_CLASSES_ROOT\\" + entry.key);
    key->WriteWideString(entry.valueName, entry.data);
  }
}

void UnregisterServer(HMODULE module, const SynchronizerModule& identity,
                      platform::Registry& registry) {
  const ComPtr<ITypeLib> library = LoadModuleTypeLibrary(module);
  const LibraryFacts facts = ReadLibraryFacts(*library.Get(), identity.classId);
  // The system answers a library that is not registered with a failure; that one is removed.
  const HRESULT hr = UnRegisterTypeLib(facts.libraryId, facts.majorVersion, facts.minorVersion,
                                       facts.locale, SYS_WIN32);
  registry.DeleteKeyTree(RegistryRoot::kClassesRoot, ClassKey(Ansi(GuidText(identity.classId))));
  registry.DeleteKeyTree(RegistryRoot::kClassesRoot, identity.progId);
  if (FAILED(hr) && LibraryStillRegistered(registry, facts)) {
    throw platform::Exception("Cannot unregister the type library: " + DescribeHResult(hr));
  }
}

}  // namespace comserver
