// What check_installer.sh asks of Windows itself, inside the Wine prefix it installs into:
//
//   installer_probe run COMMAND_LINE   runs COMMAND_LINE exactly as written and exits with the
//                                      program's status. A setup's /D= and an uninstaller's _?=
//                                      must come last and unquoted, however many spaces the
//                                      folder has, which Wine's quoting of single arguments
//                                      would not allow.
//   installer_probe create PROGID...   creates each class by its ProgID in this process and names
//                                      those that fail; status 1 if any did.
//   installer_probe identities DLL...  the classes-root keys that registering the type library
//                                      embedded in each DLL makes: TypeLib\{..}, CLSID\{..} of
//                                      its classes, Interface\{..} of its interfaces.
//   installer_probe registry KEY...    every key and value below each KEY (HKLM\..., HKCU\...),
//                                      one a line, tab-separated: "K path" and
//                                      "V path name data", for comparing snapshots.
//
// Output is UTF-8 with plain line ends.

#include "platform/win32/windows_api.h"

#include <fcntl.h>
#include <io.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/ole_owners.h"

namespace {

using platform::win32::ComApartment;
using platform::win32::ComPtr;
using platform::win32::UniqueHKey;
using UniqueKernelHandle = platform::win32::UniqueHandle<HANDLE, &CloseHandle>;

void Print(std::wstring_view text) {
  if (text.empty()) return;
  const int wide = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), size, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void PrintLine(std::wstring_view text) {
  Print(text);
  Print(L"\n");
}

std::wstring Hex(unsigned long value) {
  wchar_t text[16];
  std::swprintf(text, std::size(text), L"0x%08lx", value);
  return text;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
  return text;
}

int Run(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    PrintLine(L"cannot start " + commandLine + L": error " + std::to_wstring(GetLastError()));
    return 125;
  }
  const UniqueKernelHandle processHandle(process.hProcess);
  const UniqueKernelHandle threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 125;
  GetExitCodeProcess(process.hProcess, &status);
  return static_cast<int>(status);
}

int Create(std::span<wchar_t*> progIds) {
  const ComApartment apartment;
  int status = 0;
  for (const wchar_t* progId : progIds) {
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(progId, &classId);
    if (FAILED(hr)) {
      PrintLine(std::wstring(L"cannot create ") + progId + L": CLSIDFromProgID " + Hex(hr));
      status = 1;
      continue;
    }
    ComPtr<IUnknown> object;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.PutVoid());
    if (FAILED(hr)) {
      PrintLine(std::wstring(L"cannot create ") + progId + L": CoCreateInstance " + Hex(hr));
      status = 1;
      continue;
    }
    PrintLine(std::wstring(L"created ") + progId);
  }
  return status;
}

// A type's attributes, given back to the type when done.
class TypeAttributes {
 public:
  explicit TypeAttributes(ITypeInfo& info) : info_(info) { hr_ = info.GetTypeAttr(&attributes_); }
  TypeAttributes(const TypeAttributes&) = delete;
  TypeAttributes& operator=(const TypeAttributes&) = delete;
  ~TypeAttributes() {
    if (attributes_) info_.ReleaseTypeAttr(attributes_);
  }
  const TYPEATTR* Get() const { return SUCCEEDED(hr_) ? attributes_ : nullptr; }

 private:
  ITypeInfo& info_;
  TYPEATTR* attributes_ = nullptr;
  HRESULT hr_ = E_FAIL;
};

bool PrintIdentities(const wchar_t* file) {
  ComPtr<ITypeLib> library;
  const HRESULT hr = LoadTypeLibEx(file, REGKIND_NONE, library.Put());
  if (FAILED(hr)) {
    PrintLine(std::wstring(L"no type library in ") + file + L": " + Hex(hr));
    return false;
  }
  TLIBATTR* libraryAttributes = nullptr;
  if (FAILED(library->GetLibAttr(&libraryAttributes))) return false;
  const GUID libraryId = libraryAttributes->guid;
  library->ReleaseTLibAttr(libraryAttributes);
  PrintLine(L"TypeLib\\" + GuidText(libraryId));

  for (UINT index = 0; index < library->GetTypeInfoCount(); ++index) {
    ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfo(index, info.Put()))) return false;
    const TypeAttributes attributes(*info.Get());
    if (!attributes.Get()) return false;
    switch (attributes.Get()->typekind) {
      case TKIND_COCLASS:
        PrintLine(L"CLSID\\" + GuidText(attributes.Get()->guid));
        break;
      case TKIND_DISPATCH:
      case TKIND_INTERFACE:
        PrintLine(L"Interface\\" + GuidText(attributes.Get()->guid));
        break;
      default:
        break;
    }
  }
  return true;
}

int Identities(std::span<wchar_t*> files) {
  int status = 0;
  for (const wchar_t* file : files) {
    if (!PrintIdentities(file)) status = 1;
  }
  return status;
}

std::wstring ValueText(DWORD type, std::span<const BYTE> data) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
      text.pop_back();
    return text;
  }
  if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return Hex(value);
  }
  std::wstring text = L"type " + std::to_wstring(type) + L":";
  for (const BYTE byte : data) {
    wchar_t digits[4];
    std::swprintf(digits, std::size(digits), L"%02x", byte);
    text += digits;
  }
  return text;
}

bool DumpKey(HKEY parent, const std::wstring& subkey, const std::wstring& path) {
  UniqueHKey key;
  if (RegOpenKeyExW(parent, subkey.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
    // Nothing is below a key that is not there; a snapshot simply lacks it.
    return true;
  }
  PrintLine(L"K\t" + path);

  DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr,
                       &valueCount, &longestName, &longestData, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<wchar_t> name(longestName + 1);
  std::vector<BYTE> data(longestData + sizeof(wchar_t));
  for (DWORD index = 0; index < valueCount; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(),
                      &dataSize) != ERROR_SUCCESS) {
      return false;
    }
    PrintLine(L"V\t" + path + L"\t" + std::wstring(name.data(), nameLength) + L"\t" +
              ValueText(type, std::span(data.data(), dataSize)));
  }

  std::vector<wchar_t> child(longestSubkey + 1);
  for (DWORD index = 0; index < subkeyCount; ++index) {
    DWORD childLength = static_cast<DWORD>(child.size());
    if (RegEnumKeyExW(key.Get(), index, child.data(), &childLength, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const std::wstring childName(child.data(), childLength);
    if (!DumpKey(key.Get(), childName, path + L"\\" + childName)) return false;
  }
  return true;
}

int Registry(std::span<wchar_t*> keys) {
  int status = 0;
  for (const std::wstring key : keys) {
    const size_t separator = key.find(L'\\');
    const std::wstring root = key.substr(0, separator);
    const std::wstring subkey = separator == std::wstring::npos ? L"" : key.substr(separator + 1);
    HKEY rootKey = nullptr;
    if (root == L"HKLM") rootKey = HKEY_LOCAL_MACHINE;
    if (root == L"HKCU") rootKey = HKEY_CURRENT_USER;
    if (!rootKey || !DumpKey(rootKey, subkey, key)) {
      PrintLine(L"cannot read " + key);
      status = 1;
    }
  }
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Plain "\n" line ends, as the shell script compares lines.
  _setmode(_fileno(stdout), _O_BINARY);
  const std::span<wchar_t*> arguments(argv, static_cast<size_t>(argc));
  const std::wstring_view mode = arguments.size() >= 2 ? arguments[1] : L"";
  const std::span<wchar_t*> rest = arguments.subspan(std::min<size_t>(arguments.size(), 2));
  int status = 0;
  if (mode == L"run" && rest.size() == 1) {
    status = Run(rest[0]);
  } else if (mode == L"create") {
    status = Create(rest);
  } else if (mode == L"identities") {
    status = Identities(rest);
  } else if (mode == L"registry") {
    status = Registry(rest);
  } else {
    PrintLine(L"usage: installer_probe run COMMAND_LINE | create|identities|registry ARGUMENT...");
    status = 125;
  }
  std::fflush(stdout);
  return status;
}
