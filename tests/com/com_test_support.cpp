#include "tests/com/com_test_support.h"

#include <algorithm>

#include "platform/win32/win32_registry.h"

namespace comserver::test {
namespace {

using UniqueProcess = platform::win32::UniqueHandle<HANDLE, &CloseHandle>;

}  // namespace

GUID GuidOf(const char* text) {
  const std::wstring wide(text, text + std::char_traits<char>::length(text));
  GUID guid{};
  EXPECT_EQ(CLSIDFromString(wide.c_str(), &guid), S_OK) << text;
  return guid;
}

std::string RuntimeFile(const std::string& name) {
  std::string path = "Z:" + std::string(GWS_RUNTIME_DIR) + "/" + name;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

DWORD RunRegsvr32(const std::string& arguments, const std::string& dll) {
  return RunRegsvr32(std::wstring(arguments.begin(), arguments.end()),
                     std::wstring(dll.begin(), dll.end()));
}

DWORD RunRegsvr32(const std::wstring& arguments, const std::wstring& dll) {
  std::wstring commandLine = L"regsvr32.exe " + arguments + L" \"" + dll + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start regsvr32: " << GetLastError();
    return ~DWORD{0};
  }
  UniqueProcess processHandle(process.hProcess);
  UniqueProcess threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = ~DWORD{0};
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

std::optional<std::string> ReadClassesValue(const std::string& key, const std::string& name) {
  auto opened = platform::win32::Win32Registry().OpenKey(platform::RegistryRoot::kClassesRoot, key,
                                                         platform::registry_access::kRead, false);
  return opened ? opened->ReadString(name) : std::nullopt;
}

std::optional<std::wstring> ReadClassesWideValue(const std::string& key, const std::string& name) {
  const std::wstring wideKey(key.begin(), key.end()), wideName(name.begin(), name.end());
  DWORD size = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr,
                   nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CLASSES_ROOT, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr,
                   value.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0')
    value.pop_back();
  return value;
}

bool ClassesKeyExists(const std::string& key) {
  return platform::win32::Win32Registry().OpenKey(platform::RegistryRoot::kClassesRoot, key,
                                                  platform::registry_access::kRead,
                                                  false) != nullptr;
}

std::vector<std::string> ClassesSubkeys(const std::string& key) {
  std::vector<std::string> names;
  platform::win32::UniqueHKey opened;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.Put()) != ERROR_SUCCESS) {
    return names;
  }
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(opened.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool SamePath(const std::string& a, const std::string& b) {
  return _stricmp(a.c_str(), b.c_str()) == 0;
}

TempFolder::TempFolder() {
  char temp[MAX_PATH + 1];
  GetTempPathA(sizeof temp, temp);
  char unique[MAX_PATH + 1];
  GetTempFileNameA(temp, "com", 0, unique);  // reserves a name; a folder takes its place
  DeleteFileA(unique);
  path_ = unique;
  EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_ << " " << GetLastError();
}

TempFolder::~TempFolder() {
  for (const std::string& file : files_)
    DeleteFileA(file.c_str());
  RemoveDirectoryA(path_.c_str());
}

void TempFolder::CopyFromRuntime(const std::string& name, const std::string& as) {
  const std::string target = path_ + "\\" + as;
  ASSERT_TRUE(CopyFileA(RuntimeFile(name).c_str(), target.c_str(), FALSE))
      << name << " -> " << target << ": " << GetLastError();
  files_.push_back(target);
}

std::string Text(BSTR bstr) {
  return bstr == nullptr ? std::string() : std::string(bstr, bstr + SysStringLen(bstr));
}

std::pair<std::string, std::string> Documentation(ITypeLib& library, INT index) {
  platform::win32::UniqueBstr name;
  platform::win32::UniqueBstr help;
  EXPECT_EQ(library.GetDocumentation(index, name.Put(), help.Put(), nullptr, nullptr), S_OK);
  return {Text(name.Get()), Text(help.Get())};
}

TYPEATTR AttributesOf(ITypeInfo& info) {
  TYPEATTR* attr = nullptr;
  EXPECT_EQ(info.GetTypeAttr(&attr), S_OK);
  const TYPEATTR copy = *attr;
  info.ReleaseTypeAttr(attr);
  return copy;
}

}  // namespace comserver::test
