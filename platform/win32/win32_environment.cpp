#include "platform/win32/win32_environment.h"

#include <shellapi.h>

#include "platform/exception.h"
#include "platform/win32/system_message.h"

namespace platform::win32 {
namespace {

HMODULE ModuleOfThisCode() {
  HMODULE module = nullptr;
  // Any address inside this library names the module it was linked into.
  static const char kMarker = 0;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          &kMarker, &module)) {
    return nullptr;
  }
  return module;
}

std::string LastErrorText() {
  return DescribeHResult(HRESULT_FROM_WIN32(GetLastError()));
}

}  // namespace

Win32Environment::Win32Environment(HMODULE module)
    : module_(module != nullptr ? module : ModuleOfThisCode()) {}

void Win32Environment::ShellOpen(const std::string& file, const std::string& directory) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(), nullptr,
                                   directory.empty() ? nullptr : directory.c_str(), SW_SHOWNORMAL);
  // Values up to 32 are error codes, by the function's old 16-bit contract.
  const auto code = reinterpret_cast<INT_PTR>(result);
  if (code <= 32) {
    throw Exception("ShellExecute failed for " + file + " (error " + std::to_string(code) + ")");
  }
}

bool Win32Environment::IsCtrlKeyDown() {
  return GetKeyState(VK_CONTROL) < 0;
}

std::string Win32Environment::ModulePath() {
  char path[MAX_PATH + 1];
  const DWORD length = module_ != nullptr ? GetModuleFileNameA(module_, path, MAX_PATH) : 0;
  if (length == 0) throw Exception("GetModuleFilename() returned 0.");
  return std::string(path, length);
}

AutomationDate Win32Environment::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return EncodeAutomationDate(CivilDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                                            now.wSecond, now.wMilliseconds});
}

std::string Win32Environment::TempDirectory() {
  char path[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof path, path);
  if (length == 0 || length > MAX_PATH) {
    throw Exception("Cannot find the folder for temporary files: " + LastErrorText());
  }
  return std::string(path, length);
}

std::string Win32Environment::CreateTempFile(const std::string& prefix) {
  const std::string folder = TempDirectory();
  char path[MAX_PATH + 1];
  if (GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, path) == 0) {
    throw Exception("Unable to create a temporary file in " + folder + ": " + LastErrorText());
  }
  return path;
}

OsVersion Win32Environment::GetOsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  // Deliberately the old call: without a manifest naming newer systems it reports the version
  // the compatibility layer presents, which is what the plug-ins have always been told.
  if (!GetVersionExA(&info)) {
    throw Exception("Cannot read the version of the operating system: " + LastErrorText());
  }
  return OsVersion{static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
                   static_cast<int>(info.dwMinorVersion), static_cast<int>(info.dwBuildNumber)};
}

namespace {

SYSTEMTIME ToSystemTime(AutomationDate date) {
  const CivilDateTime c = DecodeAutomationDate(date);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(c.year);
  time.wMonth = static_cast<WORD>(c.month);
  time.wDay = static_cast<WORD>(c.day);
  time.wHour = static_cast<WORD>(c.hour);
  time.wMinute = static_cast<WORD>(c.minute);
  time.wSecond = static_cast<WORD>(c.second);
  return time;
}

}  // namespace

std::string Win32Environment::FormatShortDate(AutomationDate date) {
  const SYSTEMTIME time = ToSystemTime(date);
  char text[128];
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text)) {
    throw Exception("Cannot format a date: " + LastErrorText());
  }
  return text;
}

std::string Win32Environment::FormatDateTime(AutomationDate date) {
  const SYSTEMTIME time = ToSystemTime(date);
  char text[128];
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text)) {
    throw Exception("Cannot format a time: " + LastErrorText());
  }
  return FormatShortDate(date) + " " + text;
}

}  // namespace platform::win32
