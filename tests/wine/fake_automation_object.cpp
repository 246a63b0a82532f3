#include "tests/wine/fake_automation_object.h"

#include "platform/win32/ole_owners.h"
#include "platform/win32/wide_text.h"

namespace platform::win32::test {
namespace {

constexpr struct {
  const wchar_t* name;
  DISPID id;
} kMembers[] = {
    {L"Text", FakeAutomationObject::kText},
    {L"Item", FakeAutomationObject::kItem},
    {L"When", FakeAutomationObject::kWhen},
    {L"Decorate", FakeAutomationObject::kDecorate},
    {L"Increment", FakeAutomationObject::kIncrement},
    {L"ReturnNull", FakeAutomationObject::kReturnNull},
    {L"ReturnEmpty", FakeAutomationObject::kReturnEmpty},
    {L"FailDescribed", FakeAutomationObject::kFailDescribed},
    {L"FailDeferred", FakeAutomationObject::kFailDeferred},
    {L"FailPlain", FakeAutomationObject::kFailPlain},
    {L"Child", FakeAutomationObject::kChild},
    {L"Echo", FakeAutomationObject::kEcho},
};

void FillLocked(EXCEPINFO& exception) {
  exception.scode = FakeAutomationObject::kLockedError;
  exception.bstrDescription = UniqueBstr::FromText(FakeAutomationObject::kLockedText).Detach();
}

HRESULT STDMETHODCALLTYPE DeferredFillLocked(EXCEPINFO* exception) {
  FillLocked(*exception);
  return S_OK;
}

}  // namespace

ComPtr<FakeAutomationObject> FakeAutomationObject::Create(std::u16string text) {
  return ComPtr<FakeAutomationObject>::Attach(new FakeAutomationObject(std::move(text)));
}

HRESULT FakeAutomationObject::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FakeAutomationObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FakeAutomationObject::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT FakeAutomationObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT FakeAutomationObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) {
  ++nameLookups_;
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  for (const auto& member : kMembers) {
    if (lstrcmpiW(member.name, names[0]) == 0) {
      ids[0] = member.id;
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT FakeAutomationObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) {
  if (iid != IID_NULL || params == nullptr) return E_INVALIDARG;
  if (id == kText || id == kItem || id == kWhen) return Property(id, flags, *params, result);
  if (!(flags & DISPATCH_METHOD) || params->cNamedArgs != 0) return DISP_E_MEMBERNOTFOUND;
  return Method(id, *params, result, exception);
}

HRESULT FakeAutomationObject::Property(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) {
  const bool put = flags & DISPATCH_PROPERTYPUT;
  if (put) {
    if (params.cNamedArgs != 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTFOUND;
    }
  } else if (!(flags & DISPATCH_PROPERTYGET) || params.cNamedArgs != 0 || result == nullptr) {
    return DISP_E_MEMBERNOTFOUND;
  }
  const UINT indexes = id == kItem ? 1 : 0;
  if (params.cArgs != indexes + (put ? 1 : 0)) return DISP_E_BADPARAMCOUNT;
  std::u16string* text = &text_;
  if (id == kItem) {
    const VARIANT& index = params.rgvarg[params.cArgs - 1];
    if (V_VT(&index) != VT_I4) return DISP_E_TYPEMISMATCH;
    if (V_I4(&index) < 0 || static_cast<std::size_t>(V_I4(&index)) >= items_.size()) {
      return DISP_E_BADINDEX;
    }
    text = &items_[V_I4(&index)];
  }
  if (put) {
    const VARIANT& value = params.rgvarg[0];
    if (V_VT(&value) != (id == kWhen ? VT_DATE : VT_BSTR)) return DISP_E_TYPEMISMATCH;
    if (id == kWhen) {
      when_ = V_DATE(&value);
    } else {
      *text = BstrText(V_BSTR(&value));
    }
  } else if (id == kWhen) {
    V_DATE(result) = when_;
    V_VT(result) = VT_DATE;
  } else {
    V_BSTR(result) = UniqueBstr::FromText(*text).Detach();
    V_VT(result) = VT_BSTR;
  }
  return S_OK;
}

HRESULT FakeAutomationObject::Method(DISPID id, DISPPARAMS& params, VARIANT* result,
                                     EXCEPINFO* exception) {
  const UINT wanted = (id == kDecorate || id == kIncrement || id == kEcho) ? 1 : 0;
  if (params.cArgs != wanted) return DISP_E_BADPARAMCOUNT;
  VARIANT* argument = wanted ? &params.rgvarg[0] : nullptr;
  switch (id) {
    case kDecorate: {
      if (V_VT(argument) != (VT_BYREF | VT_BSTR)) return DISP_E_TYPEMISMATCH;
      UniqueBstr old(*V_BSTRREF(argument));
      *V_BSTRREF(argument) = UniqueBstr::FromText(u"[" + BstrText(old.Get()) + u"]").Detach();
      return S_OK;
    }
    case kIncrement:
      if (V_VT(argument) != (VT_BYREF | VT_I2)) return DISP_E_TYPEMISMATCH;
      if (result != nullptr) {
        V_I2(result) = *V_I2REF(argument);
        V_VT(result) = VT_I2;
      }
      *V_I2REF(argument) += 1;
      return S_OK;
    case kReturnNull:
      if (result != nullptr) V_VT(result) = VT_NULL;
      return S_OK;
    case kReturnEmpty:
      return S_OK;
    case kFailDescribed:
      if (exception != nullptr) FillLocked(*exception);
      return DISP_E_EXCEPTION;
    case kFailDeferred:
      if (exception != nullptr) exception->pfnDeferredFillIn = &DeferredFillLocked;
      return DISP_E_EXCEPTION;
    case kFailPlain:
      return E_ACCESSDENIED;
    case kChild:
      if (!child_) child_ = Create(u"child");
      if (result != nullptr) {
        V_DISPATCH(result) = ComPtr<IDispatch>(child_).Detach();
        V_VT(result) = VT_DISPATCH;
      }
      return S_OK;
    case kEcho:
      lastEchoType_ = V_VT(argument);
      // By value: a VT_BYREF result would point into the caller's argument storage.
      return result != nullptr ? VariantCopyInd(result, argument) : S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace platform::win32::test
