#include "platform/win32/ole_owners.h"

#include <cstring>
#include <new>

#include "platform/exception.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::u16string BstrText(BSTR bstr) {
  if (bstr == nullptr) return {};
  return std::u16string(AsUtf16(bstr), SysStringLen(bstr));
}

UniqueBstr& UniqueBstr::operator=(UniqueBstr&& other) noexcept {
  if (this != &other) {
    Reset();
    bstr_ = other.Detach();
  }
  return *this;
}

UniqueBstr UniqueBstr::FromText(std::u16string_view text) {
  // SysAllocStringLen copies exactly the given length, so embedded NULs survive.
  BSTR bstr = SysAllocStringLen(AsWide(text.data()), static_cast<UINT>(text.size()));
  if (bstr == nullptr) throw std::bad_alloc();
  return UniqueBstr(bstr);
}

void UniqueBstr::Reset() {
  SysFreeString(std::exchange(bstr_, nullptr));
}

UniqueVariant::UniqueVariant(UniqueVariant&& other) noexcept : VARIANT(other) {
  VariantInit(&other);
}

UniqueVariant& UniqueVariant::operator=(UniqueVariant&& other) noexcept {
  if (this != &other) {
    Clear();
    static_cast<VARIANT&>(*this) = other;
    VariantInit(&other);
  }
  return *this;
}

void UniqueVariant::Clear() {
  VariantClear(this);
}

VARIANT UniqueVariant::Detach() {
  VARIANT value = *this;
  VariantInit(this);
  return value;
}

void UniqueVariant::MoveTo(VARIANT& destination) {
  VariantClear(&destination);
  destination = Detach();
}

HRESULT UniqueVariant::CopyByValue(const VARIANT& source) {
  Clear();
  // The source is only read; the declaration just predates const.
  return VariantCopyInd(this, const_cast<VARIANT*>(&source));
}

ExcepInfo::~ExcepInfo() {
  SysFreeString(bstrSource);
  SysFreeString(bstrDescription);
  SysFreeString(bstrHelpFile);
}

void ExcepInfo::FillIn() {
  if (pfnDeferredFillIn != nullptr) {
    pfnDeferredFillIn(this);
    pfnDeferredFillIn = nullptr;
  }
}

UniqueSafeArray& UniqueSafeArray::operator=(UniqueSafeArray&& other) noexcept {
  if (this != &other) {
    Reset();
    array_ = other.Detach();
  }
  return *this;
}

void UniqueSafeArray::Reset() {
  if (SAFEARRAY* old = std::exchange(array_, nullptr)) SafeArrayDestroy(old);
}

void LockSafeArray(SAFEARRAY* array, void** data, std::size_t* count) {
  if (array == nullptr || SafeArrayGetDim(array) != 1) {
    throw Exception("Only one-dimensional arrays are supported");
  }
  HRESULT hr = SafeArrayAccessData(array, data);
  if (FAILED(hr)) throw Exception("Cannot lock an array: " + DescribeHResult(hr));
  *count = array->rgsabound[0].cElements;
}

UniqueHGlobal& UniqueHGlobal::operator=(UniqueHGlobal&& other) noexcept {
  if (this != &other) {
    Reset();
    global_ = other.Detach();
  }
  return *this;
}

void UniqueHGlobal::Reset() {
  if (HGLOBAL old = std::exchange(global_, nullptr)) GlobalFree(old);
}

GlobalLockScope::GlobalLockScope(HGLOBAL global)
    : global_(global), data_(GlobalLock(global)), size_(GlobalSize(global)) {
  if (data_ == nullptr) {
    throw Exception("Cannot lock global memory: " +
                    DescribeHResult(HRESULT_FROM_WIN32(GetLastError())));
  }
}

ComApartment::ComApartment() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE (already initialized) still counts and must be balanced; RPC_E_CHANGED_MODE means
  // the thread lives in another apartment, which serves as well and is not ours to leave.
  if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) {
    throw Exception("CoInitializeEx failed: " + DescribeHResult(hr));
  }
  entered_ = SUCCEEDED(hr);
}

ComApartment::~ComApartment() {
  if (entered_) CoUninitialize();
}

}  // namespace platform::win32
