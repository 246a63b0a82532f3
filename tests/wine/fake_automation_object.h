#pragma once

// A hand-written automation object with the shapes of member the plug-ins meet in GroupWise's
// objects. Like an object whose Invoke is driven by a type library, it refuses calls with the
// wrong dispatch flags, a missing DISPID_PROPERTYPUT or an out parameter of the wrong type, so
// a mistake in the caller shows as a failing call rather than as a silently wrong value.

#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/windows_api.h"

namespace platform::win32::test {

class FakeAutomationObject final : public IDispatch {
 public:
  // DISPIDs, as a type library would assign them.
  enum Member : DISPID {
    kText = 1,       // property, BSTR
    kItem,           // indexed property Item(index) of BSTR
    kWhen,           // property, VT_DATE
    kDecorate,       // method Decorate(BSTR* text): text = "[" + text + "]"
    kIncrement,      // method Increment(short* counter): counter + 1, returns the old value
    kReturnNull,     // method returning VT_NULL
    kReturnEmpty,    // method returning VT_EMPTY
    kFailDescribed,  // DISP_E_EXCEPTION with scode kLockedError and kLockedText
    kFailDeferred,   // the same, filled only by pfnDeferredFillIn
    kFailPlain,      // E_ACCESSDENIED, no EXCEPINFO
    kChild,          // method returning another of these objects (the same one each time)
    kEcho,           // method returning a copy of its argument as received
  };
  static constexpr HRESULT kLockedError = static_cast<HRESULT>(0x80040201);
  static constexpr const char16_t* kLockedText = u"The item is locked by another user";

  static ComPtr<FakeAutomationObject> Create(std::u16string text);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override;

  int NameLookups() const { return nameLookups_; }
  ULONG References() const { return references_; }
  const std::u16string& Text() const { return text_; }
  const std::u16string& Item(std::size_t index) const { return items_.at(index); }
  double When() const { return when_; }
  VARTYPE LastEchoType() const { return lastEchoType_; }

 private:
  explicit FakeAutomationObject(std::u16string text) : text_(std::move(text)) {}
  ~FakeAutomationObject() = default;

  HRESULT Property(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result);
  HRESULT Method(DISPID id, DISPPARAMS& params, VARIANT* result, EXCEPINFO* exception);

  ULONG references_ = 1;
  int nameLookups_ = 0;
  std::u16string text_;
  std::vector<std::u16string> items_{u"zero", u"one", u"two"};
  double when_ = 36526.5;  // 2000-01-01 12:00
  VARTYPE lastEchoType_ = VT_ILLEGAL;
  ComPtr<FakeAutomationObject> child_;
};

}  // namespace platform::win32::test
