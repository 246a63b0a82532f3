#pragma once

// Conversions between the portable Variant and the OLE VARIANT. An Object converts to the
// IDispatch it wraps (DispatchObject) or to a new ExportedDispatch over the C++ object; an
// IDispatch converts back to the C++ object it exports, or else to a new DispatchObject.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include "platform/automation.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/ole_owners.h"

namespace platform::win32 {

// What a VT_UNKNOWN becomes on the portable side: the interface, kept alive and handed back
// unchanged when the value goes out to COM again.
class UnknownHolder final : public Unknown {
 public:
  explicit UnknownHolder(ComPtr<IUnknown> unknown) : unknown_(std::move(unknown)) {}
  const ComPtr<IUnknown>& Interface() const { return unknown_; }

 private:
  ComPtr<IUnknown> unknown_;
};

// A by-reference Variant converts its target's value. Raises a type-mismatch AutomationError
// (without a member name) for an opaque portable Unknown or a reference to a reference.
UniqueVariant ToVariant(const Variant& value);

// VT_BYREF values are read through. Integer types the portable side lacks widen to the next
// Variant kind that holds every value; currency, decimals and 64-bit integers become doubles.
// Raises a type-mismatch AutomationError (without a member name) for anything else.
Variant FromVariant(const VARIANT& value);

// The IDispatch a COM caller sees for an object: null for the null object.
ComPtr<IDispatch> DispatchFromObject(const Object& object);
// The Object the portable side sees for an IDispatch: the null object for a null pointer.
Object ObjectFromDispatch(IDispatch* dispatch);

// Where a VARIANT keeps a value of its type, and how many bytes that value takes: what a
// VT_BYREF pointer points at. Zero bytes for types an out parameter cannot have.
void* ValueAddress(VARIANT& value);
std::size_t ValueSize(VARTYPE type);

}  // namespace platform::win32
