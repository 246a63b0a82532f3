#include "platform/win32/win32_registry.h"

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The longest key name the registry allows, plus the terminator.
constexpr DWORD kKeyNameBuffer = 256;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
  }
  throw RegistryError("Unknown registry root");
}

// The system rejects a leading separator; the portable registry ignores both ends, and so do
// we, so that both builds accept the same paths.
std::string TrimSeparators(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\')
    path.remove_suffix(1);
  return std::string(path);
}

std::string FullPath(RegistryRoot root, const std::string& path) {
  std::string full(RootName(root));
  if (!path.empty()) full.append("\\").append(path);
  return full;
}

[[noreturn]] void Fail(const std::string& attempt, LONG status) {
  throw RegistryError(attempt + ": " + DescribeHResult(HRESULT_FROM_WIN32(status)));
}

bool IsMissing(LONG status) {
  return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

class Win32RegistryKey final : public RegistryKey {
 public:
  Win32RegistryKey(UniqueHKey key, std::string path)
      : key_(std::move(key)), path_(std::move(path)) {}

  std::optional<std::string> ReadString(std::string_view name) override {
    const std::string valueName(name);
    // The value may grow between asking for its size and reading it; then ask again. The size
    // the first call reports can also be larger than the ANSI text, so the second call's size
    // is the one that counts.
    for (;;) {
      DWORD type = 0;
      DWORD size = 0;
      LONG status = RegQueryValueExA(key_.Get(), valueName.c_str(), nullptr, &type, nullptr, &size);
      if (IsMissing(status)) return std::nullopt;
      if (status != ERROR_SUCCESS) Fail(Describe("read", name), status);
      if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
      std::string text(size, '\0');
      status = RegQueryValueExA(key_.Get(), valueName.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(text.data()), &size);
      if (status == ERROR_MORE_DATA) continue;
      if (IsMissing(status)) return std::nullopt;
      if (status != ERROR_SUCCESS) Fail(Describe("read", name), status);
      if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
      text.resize(size);
      // Writers store the terminator with the text, some more than one, some none at all.
      while (!text.empty() && text.back() == '\0')
        text.pop_back();
      return text;
    }
  }

  std::optional<uint32_t> ReadDword(std::string_view name) override {
    const std::string valueName(name);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status = RegQueryValueExA(key_.Get(), valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size);
    // A larger value of another type does not fit, which says enough about it.
    if (IsMissing(status) || status == ERROR_MORE_DATA) return std::nullopt;
    if (status != ERROR_SUCCESS) Fail(Describe("read", name), status);
    if (type != REG_DWORD || size != sizeof value) return std::nullopt;
    return value;
  }

  void WriteString(std::string_view name, std::string_view value) override {
    const std::string text(value);
    // The terminator is stored with the text, as readers that take the raw bytes expect.
    Write(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
          static_cast<DWORD>(text.size() + 1));
  }

  void WriteWideString(std::string_view name, std::u16string_view value) override {
    const std::u16string text(value);
    const std::u16string wideName = AnsiToWide(name);
    // The terminator is stored with the text, as for WriteString.
    const LONG status = RegSetValueExW(key_.Get(), AsWide(wideName.c_str()), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    if (status != ERROR_SUCCESS) Fail(Describe("write", name), status);
  }

  void WriteDword(std::string_view name, uint32_t value) override {
    const DWORD dword = value;
    Write(name, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  }

  bool DeleteValue(std::string_view name) override {
    const LONG status = RegDeleteValueA(key_.Get(), std::string(name).c_str());
    if (IsMissing(status)) return false;
    if (status != ERROR_SUCCESS) Fail(Describe("delete", name), status);
    return true;
  }

 private:
  void Write(std::string_view name, DWORD type, const BYTE* data, DWORD size) {
    const LONG status = RegSetValueExA(key_.Get(), std::string(name).c_str(), 0, type, data, size);
    if (status != ERROR_SUCCESS) Fail(Describe("write", name), status);
  }

  std::string Describe(std::string_view action, std::string_view name) const {
    return "Cannot " + std::string(action) + " the value \"" + std::string(name) + "\" of " + path_;
  }

  UniqueHKey key_;
  std::string path_;
};

// RegDeleteTree would do this in one call, but it first came with Windows Vista, and a DLL
// that imports it would not even load on an older system.
bool DeleteTree(HKEY parent, const std::string& name, const std::string& fullPath) {
  {
    UniqueHKey key;
    LONG status = RegOpenKeyExA(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, key.Put());
    if (IsMissing(status)) return false;
    if (status != ERROR_SUCCESS) Fail("Cannot open " + fullPath, status);
    // Always the first subkey: each one deleted moves the next one up. A subkey that cannot be
    // deleted raises, so this cannot go round for ever.
    for (;;) {
      char child[kKeyNameBuffer];
      DWORD length = kKeyNameBuffer;
      status = RegEnumKeyExA(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) Fail("Cannot list the subkeys of " + fullPath, status);
      const std::string childName(child, length);
      DeleteTree(key.Get(), childName, fullPath + "\\" + childName);
    }
  }
  const LONG status = RegDeleteKeyA(parent, name.c_str());
  // Someone else may have removed it meanwhile; it is gone all the same.
  if (IsMissing(status)) return false;
  if (status != ERROR_SUCCESS) Fail("Cannot delete " + fullPath, status);
  return true;
}

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, std::string_view path,
                                                    uint32_t access, bool create) {
  const std::string subkey = TrimSeparators(path);
  UniqueHKey key;
  const LONG status =
      create ? RegCreateKeyExA(RootKey(root), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               access, nullptr, key.Put(), nullptr)
             : RegOpenKeyExA(RootKey(root), subkey.c_str(), 0, access, key.Put());
  if (IsMissing(status) || status == ERROR_ACCESS_DENIED) return nullptr;
  if (status != ERROR_SUCCESS) Fail("Cannot open " + FullPath(root, subkey), status);
  return std::make_unique<Win32RegistryKey>(std::move(key), FullPath(root, subkey));
}

bool Win32Registry::DeleteKeyTree(RegistryRoot root, std::string_view path) {
  const std::string subkey = TrimSeparators(path);
  if (subkey.empty()) {
    throw RegistryError("Refusing to delete everything under " + std::string(RootName(root)));
  }
  return DeleteTree(RootKey(root), subkey, FullPath(root, subkey));
}

}  // namespace platform::win32
