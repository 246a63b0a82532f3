#include "platform/win32/com_object_factory.h"

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

Object ComObjectFactory::CreateObject(std::string_view progId) {
  const std::u16string wide = AnsiToWide(progId);
  CLSID classId;
  HRESULT hr = CLSIDFromProgID(AsWide(wide.c_str()), &classId);
  if (SUCCEEDED(hr)) {
    ComPtr<IDispatch> dispatch;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                          IID_IDispatch, dispatch.PutVoid());
    if (SUCCEEDED(hr)) return Object(std::make_shared<DispatchObject>(std::move(dispatch)));
  }
  throw AutomationError(std::string(progId), hr, SystemMessage(hr));
}

}  // namespace platform::win32
