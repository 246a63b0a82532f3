#include "platform/win32/variant_conversion.h"

#include <cstdio>
#include <limits>
#include <new>

#include "platform/win32/dispatch_object.h"
#include "platform/win32/exported_dispatch.h"

namespace platform::win32 {
namespace {

[[noreturn]] void ThrowUnsupported(VARTYPE type) {
  char text[80];
  std::snprintf(text, sizeof text, "Variant type 0x%04X is not supported", type);
  throw AutomationError("", hresult::kTypeMismatch, text);
}

UniqueVariant TextArrayToVariant(const std::vector<std::u16string>& texts) {
  if (texts.size() > std::numeric_limits<ULONG>::max()) ThrowUnsupported(VT_ARRAY | VT_BSTR);
  UniqueSafeArray array(SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size())));
  if (!array.Get()) throw std::bad_alloc();
  {
    // The array owns each string as soon as it is stored, so a failure part way frees them all.
    SafeArrayData<BSTR> data(array.Get());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      data.Elements()[i] = UniqueBstr::FromText(texts[i]).Detach();
    }
  }
  UniqueVariant result;
  V_ARRAY(&result) = array.Detach();
  V_VT(&result) = VT_ARRAY | VT_BSTR;
  return result;
}

Variant TextArrayFromVariant(const VARIANT& value) {
  std::vector<std::u16string> texts;
  if (V_VT(&value) == (VT_ARRAY | VT_BSTR)) {
    SafeArrayData<BSTR> data(V_ARRAY(&value));
    texts.reserve(data.Elements().size());
    for (BSTR text : data.Elements())
      texts.push_back(BstrText(text));
  } else {
    // Script engines build arrays of VARIANTs; they are welcome when each element is text.
    SafeArrayData<VARIANT> data(V_ARRAY(&value));
    texts.reserve(data.Elements().size());
    for (const VARIANT& element : data.Elements())
      texts.push_back(FromVariant(element).AsText());
  }
  return Variant(std::move(texts));
}

UniqueVariant UnknownToVariant(const std::shared_ptr<Unknown>& unknown) {
  UniqueVariant result;
  if (unknown) {
    const auto* holder = dynamic_cast<const UnknownHolder*>(unknown.get());
    // An opaque handle of the portable side has no interface to hand out.
    if (holder == nullptr) ThrowUnsupported(VT_UNKNOWN);
    V_UNKNOWN(&result) = ComPtr<IUnknown>(holder->Interface()).Detach();
  } else {
    V_UNKNOWN(&result) = nullptr;
  }
  V_VT(&result) = VT_UNKNOWN;
  return result;
}

Variant UnsignedFromVariant(uint32_t value) {
  if (value <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
    return Variant(static_cast<int32_t>(value));
  }
  return Variant(static_cast<double>(value));
}

Variant DoubleFromVariant(const VARIANT& value) {
  UniqueVariant converted;
  if (FAILED(converted.CopyByValue(value)) ||
      FAILED(VariantChangeType(&converted, &converted, 0, VT_R8))) {
    ThrowUnsupported(V_VT(&value));
  }
  return Variant(V_R8(&converted));
}

}  // namespace

UniqueVariant ToVariant(const Variant& value) {
  const Variant& v = value.Deref();
  UniqueVariant result;
  // Each case stores the value before the type, so a failing allocation leaves VT_EMPTY.
  switch (v.GetKind()) {
    case Variant::Kind::kEmpty:
      break;
    case Variant::Kind::kNull:
      V_VT(&result) = VT_NULL;
      break;
    case Variant::Kind::kBool:
      V_BOOL(&result) = v.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
      V_VT(&result) = VT_BOOL;
      break;
    case Variant::Kind::kInt16:
      V_I2(&result) = v.AsInt16();
      V_VT(&result) = VT_I2;
      break;
    case Variant::Kind::kInt32:
      V_I4(&result) = v.AsInt32();
      V_VT(&result) = VT_I4;
      break;
    case Variant::Kind::kDouble:
      V_R8(&result) = v.AsDouble();
      V_VT(&result) = VT_R8;
      break;
    case Variant::Kind::kDate:
      V_DATE(&result) = v.AsDate().days;
      V_VT(&result) = VT_DATE;
      break;
    case Variant::Kind::kText:
      V_BSTR(&result) = UniqueBstr::FromText(v.AsText()).Detach();
      V_VT(&result) = VT_BSTR;
      break;
    case Variant::Kind::kObject:
      V_DISPATCH(&result) = DispatchFromObject(v.AsObject()).Detach();
      V_VT(&result) = VT_DISPATCH;
      break;
    case Variant::Kind::kUnknown:
      return UnknownToVariant(v.AsUnknown());
    case Variant::Kind::kTextArray:
      return TextArrayToVariant(v.AsTextArray());
    case Variant::Kind::kByRef:
      ThrowUnsupported(VT_BYREF | VT_VARIANT);
  }
  return result;
}

Variant FromVariant(const VARIANT& value) {
  const VARTYPE type = V_VT(&value);
  if (type & VT_BYREF) {
    UniqueVariant referent;
    if (FAILED(referent.CopyByValue(value))) ThrowUnsupported(type);
    return FromVariant(referent);
  }
  switch (type) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::Null();
    case VT_BOOL:
      return Variant(V_BOOL(&value) != VARIANT_FALSE);
    case VT_I2:
      return Variant(static_cast<int16_t>(V_I2(&value)));
    case VT_I4:
      return Variant(static_cast<int32_t>(V_I4(&value)));
    case VT_R8:
      return Variant(static_cast<double>(V_R8(&value)));
    case VT_DATE:
      return Variant(AutomationDate{V_DATE(&value)});
    case VT_BSTR:
      return Variant(BstrText(V_BSTR(&value)));
    case VT_DISPATCH:
      return Variant(ObjectFromDispatch(V_DISPATCH(&value)));
    case VT_UNKNOWN:
      if (V_UNKNOWN(&value) == nullptr) return Variant(std::shared_ptr<Unknown>());
      return Variant(std::shared_ptr<Unknown>(
          std::make_shared<UnknownHolder>(ComPtr<IUnknown>::Borrow(V_UNKNOWN(&value)))));
    case VT_ARRAY | VT_BSTR:
    case VT_ARRAY | VT_VARIANT:
      return TextArrayFromVariant(value);
    case VT_I1:
      return Variant(static_cast<int16_t>(static_cast<signed char>(V_I1(&value))));
    case VT_UI1:
      return Variant(static_cast<int16_t>(V_UI1(&value)));
    case VT_UI2:
      return Variant(static_cast<int32_t>(V_UI2(&value)));
    case VT_INT:
      return Variant(static_cast<int32_t>(V_INT(&value)));
    case VT_ERROR:
      return Variant(static_cast<int32_t>(V_ERROR(&value)));
    case VT_UI4:
      return UnsignedFromVariant(V_UI4(&value));
    case VT_UINT:
      return UnsignedFromVariant(V_UINT(&value));
    case VT_R4:
      return Variant(static_cast<double>(V_R4(&value)));
    case VT_CY:
    case VT_DECIMAL:
    case VT_I8:
    case VT_UI8:
      return DoubleFromVariant(value);
    default:
      ThrowUnsupported(type);
  }
}

ComPtr<IDispatch> DispatchFromObject(const Object& object) {
  if (!object) return nullptr;
  if (const auto* wrapped = dynamic_cast<const DispatchObject*>(object.Get())) {
    return wrapped->Interface();
  }
  return ExportedDispatch::Create(object.Shared());
}

Object ObjectFromDispatch(IDispatch* dispatch) {
  if (dispatch == nullptr) return Object();
  if (std::shared_ptr<Dispatch> exported = ExportedDispatch::Unwrap(dispatch)) {
    return Object(std::move(exported));
  }
  return Object(std::make_shared<DispatchObject>(ComPtr<IDispatch>::Borrow(dispatch)));
}

void* ValueAddress(VARIANT& value) {
  // Every member of the value union starts at the same address.
  return &V_UI1(&value);
}

std::size_t ValueSize(VARTYPE type) {
  if (type & VT_ARRAY) return sizeof(SAFEARRAY*);
  switch (type) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_R8:
    case VT_DATE:
    case VT_CY:
    case VT_I8:
    case VT_UI8:
      return 8;
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_DISPATCH:
      return sizeof(IDispatch*);
    case VT_UNKNOWN:
      return sizeof(IUnknown*);
    default:
      return 0;
  }
}

}  // namespace platform::win32
