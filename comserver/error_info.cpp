#include "comserver/error_info.h"

#include <oaidl.h>

#include <string>

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/wide_text.h"

namespace comserver {

void SetErrorObject(REFGUID iid, std::string_view source, std::string_view description) {
  platform::win32::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put()))) return;
  const std::u16string wideSource = platform::win32::AnsiToWide(source);
  const std::u16string wideDescription = platform::win32::AnsiToWide(description);
  create->SetGUID(iid);
  create->SetSource(const_cast<LPOLESTR>(platform::win32::AsWide(wideSource.c_str())));
  create->SetDescription(const_cast<LPOLESTR>(platform::win32::AsWide(wideDescription.c_str())));
  if (auto info = create.TryQuery<IErrorInfo>()) SetErrorInfo(0, info.Get());
}

}  // namespace comserver
