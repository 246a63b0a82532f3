#pragma once

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/automation.h"
#include "platform/win32/com_ptr.h"

namespace platform::win32 {

// A C++ Dispatch object as a real COM object (IUnknown + IDispatch), for handing the portable
// side's objects to COM code. It keeps the C++ object alive while COM holds references.
//
// There is no type library: GetIDsOfNames gives each new name the next DISPID (from 1), the
// same one for the same name in any case for the life of the object, and whether the member
// exists only shows at Invoke. PROPERTYPUT and PROPERTYPUTREF become kPropertyPut, anything
// with PROPERTYGET kPropertyGet, plain METHOD kMethod. A failing member becomes
// DISP_E_EXCEPTION with the EXCEPINFO filled (an AutomationError's HRESULT as scode, its text as
// description, its member as source; E_FAIL for other exceptions); without an EXCEPINFO the
// scode itself is returned. No exception leaves a method of this class.
class ExportedDispatch final : public IDispatch {
 public:
  // Null for a null target.
  static ComPtr<IDispatch> Create(std::shared_ptr<Dispatch> target);
  // The C++ object behind an interface when it is one of these, made by this module in this
  // apartment; else null.
  static std::shared_ptr<Dispatch> Unwrap(IUnknown* unknown);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

 private:
  explicit ExportedDispatch(std::shared_ptr<Dispatch> target);
  ~ExportedDispatch() = default;

  DISPID IdOf(LPOLESTR name);
  void InvokeTarget(std::string name, Dispatch::Invoke kind, DISPPARAMS& params, VARIANT* result);

  std::atomic<ULONG> references_{1};
  const void* const module_;  // which module made this object
  std::shared_ptr<Dispatch> target_;
  std::vector<std::string> names_;               // names_[id - 1], as first asked for
  std::unordered_map<std::string, DISPID> ids_;  // keyed by the upper-case name
};

}  // namespace platform::win32
