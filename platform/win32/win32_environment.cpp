#include "platform/win32/win32_environment.h"

#include <objbase.h>
#include <shellapi.h>

#include <optional>
#include <vector>

#include "platform/exception.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

// The text in the ANSI code page when every character survives the trip; nothing otherwise.
std::optional<std::string> ExactlyInAnsi(const std::wstring& wide) {
  const std::u16string text(AsUtf16(wide.c_str()), wide.size());
  std::string ansi = WideToAnsi(text);
  if (AnsiToWide(ansi) != text) return std::nullopt;
  return ansi;
}

std::string LastErrorText() {
  return DescribeHResult(HRESULT_FROM_WIN32(GetLastError()));
}

}  // namespace

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

std::wstring WideModulePath(HMODULE module) {
  // Paths longer than MAX_PATH exist; grow the buffer until the whole path fits.
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
    if (length == 0) throw Exception("GetModuleFilename() returned 0.");
    if (length < size) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

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
  if (module_ == nullptr) throw Exception("GetModuleFilename() returned 0.");
  const std::wstring wide = WideModulePath(module_);
  if (auto ansi = ExactlyInAnsi(wide)) return *ansi;
  // A folder whose name the ANSI code page cannot write: the short form of the path names the
  // same file in characters it can, so the libraries beside the module are still found.
  std::vector<wchar_t> shortPath(wide.size() + MAX_PATH);
  const DWORD length =
      GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length > 0 && length < shortPath.size()) {
    if (auto ansi = ExactlyInAnsi(std::wstring(shortPath.data(), length))) return *ansi;
  }
  throw Exception("The path of the module cannot be written in the ANSI code page: " +
                  WideToAnsi(AsUtf16(wide.c_str())));
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

std::string Win32Environment::NewGuidText() {
  GUID guid;
  const HRESULT made = CoCreateGuid(&guid);
  if (FAILED(made)) throw Exception("CoCreateGuid failed: " + SystemMessage(made));
  wchar_t text[40];
  if (StringFromGUID2(guid, text, 40) == 0) throw Exception("StringFromGUID2 failed");
  // Hex digits, hyphens and braces only: nothing a code page could change.
  std::string narrow;
  for (const wchar_t* c = text; *c != 0; ++c)
    narrow += static_cast<char>(*c);
  return narrow;
}

namespace {

SYSTEMTIME ToSystemTime(const CivilDateTime& c) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(c.year);
  time.wMonth = static_cast<WORD>(c.month);
  time.wDay = static_cast<WORD>(c.day);
  time.wHour = static_cast<WORD>(c.hour);
  time.wMinute = static_cast<WORD>(c.minute);
  time.wSecond = static_cast<WORD>(c.second);
  return time;
}

// The user's short date format; nothing when the system refuses the date (it knows no year
// before 1601).
std::optional<std::string> UserShortDate(const SYSTEMTIME& time) {
  char text[128];
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text))
    return std::nullopt;
  return std::string(text);
}

std::optional<std::string> UserTime(const SYSTEMTIME& time) {
  char text[128];
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text))
    return std::nullopt;
  return std::string(text);
}

}  // namespace

std::string Win32Environment::FormatShortDate(AutomationDate date) {
  try {
    if (auto text = UserShortDate(ToSystemTime(DecodeAutomationDate(date)))) return *text;
  } catch (const std::exception&) {
    // Not a date the system can be asked about; the ISO form says what it is.
  }
  return IsoDateText(date);
}

std::string Win32Environment::FormatDateTime(AutomationDate date) {
  try {
    const SYSTEMTIME time = ToSystemTime(DecodeAutomationDate(date));
    auto day = UserShortDate(time);
    auto clock = UserTime(time);
    if (day && clock) return *day + " " + *clock;
  } catch (const std::exception&) {
    // As above.
  }
  return IsoDateTimeText(date);
}

}  // namespace platform::win32
