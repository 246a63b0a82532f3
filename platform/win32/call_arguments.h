#pragma once

// The arguments of an IDispatch::Invoke call, in both directions. DISPPARAMS lists them last
// first; out parameters are VT_BYREF pointers into a variable of the caller, which the callee
// reads and overwrites. Neither class can be copied: the DISPPARAMS point into their storage.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <span>
#include <vector>

#include "platform/automation.h"
#include "platform/win32/ole_owners.h"

namespace platform::win32 {

// What DispatchObject hands to a COM callee. A Variant::Reference becomes VT_BYREF to a VARIANT
// owned here that holds its target's current value, typed as that value
// (VT_BYREF|VT_BSTR ...) or VT_BYREF|VT_VARIANT when the target is empty or null.
class OutgoingArguments {
 public:
  // For a property put the last argument is the new value, named DISPID_PROPERTYPUT.
  // Raises AutomationError (without a member name) for a value that cannot be converted.
  OutgoingArguments(std::span<const Variant> args, bool propertyPut);
  OutgoingArguments(const OutgoingArguments&) = delete;
  OutgoingArguments& operator=(const OutgoingArguments&) = delete;

  DISPPARAMS* Params() { return &params_; }
  // After a successful call: stores the callee's answers into the references' targets.
  void WriteBack() const;

 private:
  std::span<const Variant> args_;
  std::vector<UniqueVariant> reversed_;
  std::vector<UniqueVariant> referents_;  // in argument order; used for references only
  DISPID putId_ = DISPID_PROPERTYPUT;
  DISPPARAMS params_{};
};

// What ExportedDispatch hands to the C++ object: the values in natural order, each VT_BYREF one
// as a Variant::Reference to a copy of the caller's variable.
class IncomingArguments {
 public:
  // Raises AutomationError (without a member name) for a value that cannot be converted.
  explicit IncomingArguments(DISPPARAMS& params);
  IncomingArguments(const IncomingArguments&) = delete;
  IncomingArguments& operator=(const IncomingArguments&) = delete;

  std::span<const Variant> Values() const { return values_; }
  // After the call: stores each reference the callee changed into the caller's variable,
  // converted to that variable's type.
  void WriteBack();

 private:
  VARIANT& Raw(std::size_t index) { return params_.rgvarg[params_.cArgs - 1 - index]; }

  DISPPARAMS& params_;
  std::vector<Variant> referents_;  // in argument order; used for references only
  std::vector<Variant> originals_;
  std::vector<Variant> values_;
};

}  // namespace platform::win32
