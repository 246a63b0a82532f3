#include "platform/win32/exported_dispatch.h"

#include <new>

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/call_arguments.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/variant_conversion.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

// Answered only by ExportedDispatch, so Unwrap can recognise one. It has no proxy, so an
// object seen from another apartment stays an ordinary IDispatch.
constexpr IID kExportedDispatchIid = {
    0x3e74bb78, 0xa214, 0x4e5b, {0x91, 0xca, 0xac, 0xf3, 0xff, 0x60, 0x3d, 0x1f}};

// Each module that links this file (a plug-in DLL, gwsim.dll, a program) has a copy of its own,
// so its address tells which module made an object. Unwrap hands out only this module's objects:
// another module's C++ object carries that module's runtime, and an exception it throws cannot
// unwind through our frames.
const char kThisModule = 0;

// Runs inside the exception barrier's handlers, so it must not throw: no C++ strings.
BSTR NewBstrFromAnsi(const char* text) noexcept {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return nullptr;
  BSTR bstr = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (bstr != nullptr) MultiByteToWideChar(CP_ACP, 0, text, -1, bstr, length);
  return bstr;
}

HRESULT Raise(EXCEPINFO* exception, HRESULT scode, const char* source, const char* text) noexcept {
  if (!FAILED(scode)) scode = E_FAIL;
  if (exception == nullptr) return scode;
  *exception = EXCEPINFO{};
  exception->scode = scode;
  exception->bstrSource = NewBstrFromAnsi(source);
  exception->bstrDescription = NewBstrFromAnsi(text);
  return DISP_E_EXCEPTION;
}

// The one place where exceptions stop before crossing the COM boundary.
template <typename Body>
HRESULT ExceptionBarrier(EXCEPINFO* exception, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const AutomationError& error) {
    return Raise(exception, error.HResult(), error.Member().c_str(), error.what());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    return Raise(exception, E_FAIL, "", error.what());
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace

ExportedDispatch::ExportedDispatch(std::shared_ptr<Dispatch> target)
    : module_(&kThisModule), target_(std::move(target)) {}

ComPtr<IDispatch> ExportedDispatch::Create(std::shared_ptr<Dispatch> target) {
  if (!target) return nullptr;
  return ComPtr<IDispatch>::Attach(new ExportedDispatch(std::move(target)));
}

std::shared_ptr<Dispatch> ExportedDispatch::Unwrap(IUnknown* unknown) {
  ComPtr<IDispatch> ours;
  if (unknown == nullptr || FAILED(unknown->QueryInterface(kExportedDispatchIid, ours.PutVoid())) ||
      !ours) {
    return nullptr;
  }
  const auto* exported = static_cast<ExportedDispatch*>(ours.Get());
  return exported->module_ == &kThisModule ? exported->target_ : nullptr;
}

HRESULT ExportedDispatch::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kExportedDispatchIid) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ExportedDispatch::AddRef() {
  return ++references_;
}

ULONG ExportedDispatch::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ExportedDispatch::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ExportedDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT ExportedDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                        DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || names[0] == nullptr || ids == nullptr || count == 0) {
    return E_INVALIDARG;
  }
  HRESULT hr = ExceptionBarrier(nullptr, [&] { ids[0] = IdOf(names[0]); });
  if (FAILED(hr)) return hr;
  // The members take no named arguments, so no parameter name is known.
  for (UINT i = 1; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

DISPID ExportedDispatch::IdOf(LPOLESTR name) {
  std::string ansi = WideToAnsi(AsUtf16(name));
  std::string key = FoldMemberName(ansi);
  if (auto found = ids_.find(key); found != ids_.end()) return found->second;
  names_.push_back(std::move(ansi));
  const auto id = static_cast<DISPID>(names_.size());
  ids_.emplace(std::move(key), id);
  return id;
}

HRESULT ExportedDispatch::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT*) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (id < 1 || static_cast<std::size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) return E_INVALIDARG;

  Dispatch::Invoke kind;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    // The new value is rgvarg[0], named DISPID_PROPERTYPUT; reversing all the arguments puts it
    // last, where Dispatch expects it.
    if (params->cArgs == 0 || params->cNamedArgs != 1 || params->rgdispidNamedArgs == nullptr ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTFOUND;
    }
    kind = Dispatch::Invoke::kPropertyPut;
  } else if (params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  } else if (flags & DISPATCH_PROPERTYGET) {
    kind = Dispatch::Invoke::kPropertyGet;
  } else if (flags & DISPATCH_METHOD) {
    kind = Dispatch::Invoke::kMethod;
  } else {
    return E_INVALIDARG;
  }
  // A callback from the target may drop the caller's last reference to this object, or ask
  // for new names and so move names_: hold a reference, and pass the name by value.
  ComPtr<IDispatch> keepAlive = ComPtr<IDispatch>::Borrow(this);
  return ExceptionBarrier(exception, [&] { InvokeTarget(names_[id - 1], kind, *params, result); });
}

void ExportedDispatch::InvokeTarget(std::string name, Dispatch::Invoke kind, DISPPARAMS& params,
                                    VARIANT* result) {
  IncomingArguments arguments(params);
  Variant value = target_->InvokeMember(name, kind, arguments.Values());
  arguments.WriteBack();
  if (result != nullptr && kind != Dispatch::Invoke::kPropertyPut) {
    // An [out] VARIANT: whatever it held is not ours to release.
    *result = ToVariant(value).Detach();
  }
}

}  // namespace platform::win32
