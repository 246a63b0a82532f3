#pragma once

// The portable side keeps wide text as char16_t; the Windows API takes wchar_t. On Windows both
// are UTF-16 code units of the same size and representation, and the buffers are only ever read
// or written by the system through the other type, so a pointer cast is all the bridge needs.

#include "platform/win32/windows_api.h"

#include <string>
#include <string_view>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

inline const wchar_t* AsWide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* AsWide(char16_t* text) {
  return reinterpret_cast<wchar_t*>(text);
}
inline const char16_t* AsUtf16(const wchar_t* text) {
  return reinterpret_cast<const char16_t*>(text);
}

}  // namespace platform::win32
