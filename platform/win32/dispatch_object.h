#pragma once

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <string>
#include <unordered_map>

#include "platform/automation.h"
#include "platform/win32/com_ptr.h"

namespace platform::win32 {

// A real IDispatch behind the portable Dispatch interface, bound late by member name as an
// automation controller binds: GetIDsOfNames once per name (case-insensitively) for the life of
// this object, then Invoke. Property gets go out as DISPATCH_PROPERTYGET | DISPATCH_METHOD,
// because many servers expose parameterless methods that controllers read like properties.
//
// A failure raises AutomationError with the member's name. For DISP_E_EXCEPTION the HRESULT is
// the EXCEPINFO's scode when it holds a failure (the callee's own reason) and the text is its
// description; otherwise both come from the system (FormatMessage) for the returned HRESULT.
class DispatchObject final : public Dispatch {
 public:
  explicit DispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  Variant InvokeMember(std::string_view name, Invoke kind, std::span<const Variant> args) override;
  // For objects that are known by dispatch identifiers only: no GetIDsOfNames. `name` is what a
  // failure calls the member.
  Variant InvokeById(DISPID id, std::string_view name, Invoke kind, std::span<const Variant> args);

  const ComPtr<IDispatch>& Interface() const { return dispatch_; }

 private:
  DISPID IdOf(std::string_view name);

  ComPtr<IDispatch> dispatch_;
  std::unordered_map<std::string, DISPID> ids_;  // keyed by the upper-case name
};

// Member names compare like IDispatch names: ASCII letters without regard to case.
std::string FoldMemberName(std::string_view name);

}  // namespace platform::win32
