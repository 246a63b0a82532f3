#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace platform::win32 {

// The system's text for an HRESULT or Win32 error code in the ANSI code page, without the
// trailing line break; "Error 0x80040201" when the system has no text for it.
std::string SystemMessage(HRESULT hr);

// "0x80020009", as HRESULTs are written everywhere else.
std::string HResultHex(HRESULT hr);

// "Unknown name. (0x80020006)": the text with the number, for messages read by people.
std::string DescribeHResult(HRESULT hr);

}  // namespace platform::win32
