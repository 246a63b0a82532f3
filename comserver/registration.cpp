#include "comserver/registration.h"

#include "platform/exception.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_environment.h"

namespace comserver {
namespace {

using platform::RegistryRoot;
using platform::win32::DescribeHResult;

// Whether HKEY_CLASSES_ROOT\TypeLib\{library}\major.minor is still there.
bool LibraryStillRegistered(platform::Registry& registry, const LibraryFacts& facts) {
  const std::string key = "TypeLib\\" + GuidKeyText(facts.libraryId) + "\\" +
                          std::to_string(facts.majorVersion) + "." +
                          std::to_string(facts.minorVersion);
  return registry.OpenKey(RegistryRoot::kClassesRoot, key, platform::registry_access::kRead,
                          false) != nullptr;
}

}  // namespace

std::string GuidKeyText(REFGUID guid) {
  // ASCII in any code page.
  return platform::win32::WideToAnsi(platform::win32::AsUtf16(GuidText(guid).c_str()));
}

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Wide(const std::wstring& text) {
  return std::u16string(platform::win32::AsUtf16(text.c_str()), text.size());
}

void RegisterModuleServer(HMODULE module, REFCLSID classId, const ClassEntriesFunction& entries,
                          platform::Registry& registry) {
  const ComPtr<ITypeLib> library = LoadModuleTypeLibrary(module);
  std::wstring path = platform::win32::WideModulePath(module);  // the declaration predates const
  const HRESULT hr = RegisterTypeLib(library.Get(), path.data(), nullptr);
  if (FAILED(hr)) {
    throw platform::Exception("Cannot register the type library: " + DescribeHResult(hr));
  }
  const LibraryFacts facts = ReadLibraryFacts(*library.Get(), classId);
  for (const RegistryEntry& entry : entries(facts, Wide(path))) {
    auto key = registry.OpenKey(RegistryRoot::kClassesRoot, entry.key,
                                platform::registry_access::kWrite, true);
    if (!key) throw platform::Exception("Cannot create HKEY_CLASSES_ROOT\\" + entry.key);
    if (entry.data) key->WriteWideString(entry.valueName, *entry.data);
  }
}

void UnregisterModuleServer(HMODULE module, REFCLSID classId, std::span<const std::string> keys,
                            platform::Registry& registry) {
  const ComPtr<ITypeLib> library = LoadModuleTypeLibrary(module);
  const LibraryFacts facts = ReadLibraryFacts(*library.Get(), classId);
  // The system answers a library that is not registered with a failure; that one is removed.
  const HRESULT hr = UnRegisterTypeLib(facts.libraryId, facts.majorVersion, facts.minorVersion,
                                       facts.locale, SYS_WIN32);
  for (const std::string& key : keys)
    registry.DeleteKeyTree(RegistryRoot::kClassesRoot, key);
  if (FAILED(hr) && LibraryStillRegistered(registry, facts)) {
    throw platform::Exception("Cannot unregister the type library: " + DescribeHResult(hr));
  }
}

}  // namespace comserver
