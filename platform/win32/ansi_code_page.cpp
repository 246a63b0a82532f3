#include "platform/win32/ansi_code_page.h"

#include "platform/win32/windows_api.h"

#include <climits>

#include "platform/exception.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) throw Exception("Text too long to convert");
  return static_cast<int>(size);
}

// Plain text only: the system message lookup itself converts through here, so a failure here
// must not ask for one.
[[noreturn]] void ThrowConversionFailure(const char* direction) {
  throw Exception(std::string("Cannot convert text ") + direction + " the ANSI code page (error " +
                  std::to_string(GetLastError()) + ")");
}

}  // namespace

std::u16string AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) ThrowConversionFailure("from");
  std::u16string result(static_cast<std::size_t>(needed), u'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text.data(), length, AsWide(result.data()), needed) !=
      needed) {
    ThrowConversionFailure("from");
  }
  return result;
}

std::string WideToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  // Best-fit mapping would turn characters the code page lacks into look-alikes ("a" for a
  // macron a); they must read as "?" instead. A UTF-8 system code page accepts neither option,
  // and can show every character anyway.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = utf8 ? nullptr : "?";
  const wchar_t* wide = AsWide(text.data());
  const int needed =
      WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, fallback, nullptr);
  if (needed <= 0) ThrowConversionFailure("to");
  std::string result(static_cast<std::size_t>(needed), '\0');
  if (WideCharToMultiByte(CP_ACP, flags, wide, length, result.data(), needed, fallback, nullptr) !=
      needed) {
    ThrowConversionFailure("to");
  }
  return result;
}

}  // namespace platform::win32
