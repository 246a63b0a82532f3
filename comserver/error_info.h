#pragma once

// The error object a COM method leaves for its caller (SetErrorInfo), which ITypeInfo::Invoke
// turns into the EXCEPINFO of DISP_E_EXCEPTION and a dual-interface caller asks for with
// GetErrorInfo.

#include "platform/win32/windows_api.h"

#include <string_view>

namespace comserver {

// Source and description are 8-bit text in the ANSI code page. Nothing is left when the system
// cannot make the object.
void SetErrorObject(REFGUID iid, std::string_view source, std::string_view description);

}  // namespace comserver
