#include "platform/win32/system_message.h"

#include <cstdio>
#include <string_view>

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

std::u16string FormatSystemText(DWORD code) {
  wchar_t buffer[1024];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::u16string_view text(AsUtf16(buffer), length);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.remove_suffix(1);
  }
  return std::u16string(text);
}

}  // namespace

std::string SystemMessage(HRESULT hr) {
  std::u16string text = FormatSystemText(static_cast<DWORD>(hr));
  // Not every system looks up a Win32 error wrapped in an HRESULT by the HRESULT's value.
  if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32) {
    text = FormatSystemText(HRESULT_CODE(hr));
  }
  if (text.empty()) return "Error " + HResultHex(hr);
  return WideToAnsi(text);
}

std::string HResultHex(HRESULT hr) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(hr));
  return buffer;
}

std::string DescribeHResult(HRESULT hr) {
  return SystemMessage(hr) + " (" + HResultHex(hr) + ")";
}

}  // namespace platform::win32
