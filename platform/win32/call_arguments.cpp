#include "platform/win32/call_arguments.h"

#include <cstring>

#include "platform/win32/system_message.h"
#include "platform/win32/variant_conversion.h"

namespace platform::win32 {
namespace {

void PointAt(VARIANT& reference, UniqueVariant& referent) {
  const VARTYPE type = V_VT(&referent);
  if (type == VT_EMPTY || type == VT_NULL) {
    // Nothing says what the callee will store: let it store any VARIANT.
    V_VARIANTREF(&reference) = &referent;
    V_VT(&reference) = VT_BYREF | VT_VARIANT;
  } else {
    V_BYREF(&reference) = ValueAddress(referent);
    V_VT(&reference) = VT_BYREF | type;
  }
}

// Stores value through a typed VT_BYREF pointer. The old value moves into a VARIANT of the same
// type that releases it, and the new one moves out of its VARIANT, so strings, interfaces and
// arrays change owner without a per-type case.
void StoreThrough(VARIANT& reference, const Variant& value) {
  const auto type = static_cast<VARTYPE>(V_VT(&reference) & ~VT_BYREF);
  UniqueVariant converted = ToVariant(value);
  if (type == VT_VARIANT) {
    converted.MoveTo(*V_VARIANTREF(&reference));
    return;
  }
  const std::size_t size = ValueSize(type);
  if (size == 0) {
    throw AutomationError("", hresult::kTypeMismatch, "Unsupported out parameter type");
  }
  if (HRESULT hr = VariantChangeType(&converted, &converted, 0, type); FAILED(hr)) {
    throw AutomationError("", hr, SystemMessage(hr));
  }
  UniqueVariant previous;
  std::memcpy(ValueAddress(previous), V_BYREF(&reference), size);
  V_VT(&previous) = type;
  std::memcpy(V_BYREF(&reference), ValueAddress(converted), size);
  V_VT(&converted) = VT_EMPTY;  // its value belongs to the caller's variable now
}

}  // namespace

OutgoingArguments::OutgoingArguments(std::span<const Variant> args, bool propertyPut)
    : args_(args), reversed_(args.size()), referents_(args.size()) {
  // Both vectors keep their size from here on, so the pointers taken into them stay valid.
  for (std::size_t i = 0; i < args.size(); ++i) {
    UniqueVariant& slot = reversed_[args.size() - 1 - i];
    if (args[i].GetKind() == Variant::Kind::kByRef) {
      referents_[i] = ToVariant(args[i].Target());
      PointAt(slot, referents_[i]);
    } else {
      slot = ToVariant(args[i]);
    }
  }
  params_.rgvarg = reversed_.data();
  params_.cArgs = static_cast<UINT>(reversed_.size());
  if (propertyPut) {
    params_.rgdispidNamedArgs = &putId_;
    params_.cNamedArgs = 1;
  }
}

void OutgoingArguments::WriteBack() const {
  for (std::size_t i = 0; i < args_.size(); ++i) {
    if (args_[i].GetKind() == Variant::Kind::kByRef) {
      args_[i].Target() = FromVariant(referents_[i]);
    }
  }
}

IncomingArguments::IncomingArguments(DISPPARAMS& params)
    : params_(params), referents_(params.cArgs), originals_(params.cArgs) {
  values_.reserve(params.cArgs);
  for (std::size_t i = 0; i < params.cArgs; ++i) {
    const VARIANT& raw = Raw(i);
    if (V_VT(&raw) & VT_BYREF) {
      referents_[i] = FromVariant(raw);
      originals_[i] = referents_[i];
      values_.push_back(Variant::Reference(referents_[i]));
    } else {
      values_.push_back(FromVariant(raw));
    }
  }
}

void IncomingArguments::WriteBack() {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    // An untouched variable keeps its exact type and value: a round trip through the portable
    // kinds could widen it (VT_UI1 to VT_I2) or copy a string for nothing.
    if ((V_VT(&Raw(i)) & VT_BYREF) && !(referents_[i] == originals_[i])) {
      StoreThrough(Raw(i), referents_[i]);
    }
  }
}

}  // namespace platform::win32
