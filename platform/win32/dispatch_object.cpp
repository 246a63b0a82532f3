#include "platform/win32/dispatch_object.h"

#include "platform/win32/ansi_code_page.h"
#include "platform/win32/call_arguments.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "platform/win32/variant_conversion.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

WORD InvokeFlags(Dispatch::Invoke kind) {
  switch (kind) {
    case Dispatch::Invoke::kMethod:
      return DISPATCH_METHOD;
    case Dispatch::Invoke::kPropertyGet:
      return DISPATCH_PROPERTYGET | DISPATCH_METHOD;
    case Dispatch::Invoke::kPropertyPut:
      return DISPATCH_PROPERTYPUT;
  }
  return DISPATCH_METHOD;
}

AutomationError InvokeFailure(std::string_view name, HRESULT hr, ExcepInfo& info) {
  if (hr != DISP_E_EXCEPTION) return AutomationError(std::string(name), hr, SystemMessage(hr));
  info.FillIn();
  const HRESULT reason = FAILED(info.scode) ? info.scode : hr;
  std::u16string description = BstrText(info.bstrDescription);
  return AutomationError(std::string(name), reason,
                         description.empty() ? SystemMessage(reason) : WideToAnsi(description));
}

}  // namespace

std::string FoldMemberName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

Variant DispatchObject::InvokeMember(std::string_view name, Invoke kind,
                                     std::span<const Variant> args) {
  try {
    return InvokeById(IdOf(name), name, kind, args);
  } catch (const AutomationError& error) {
    // Value conversions do not know which member they serve; say it here.
    if (!error.Member().empty()) throw;
    throw AutomationError(std::string(name), error.HResult(), error.what());
  }
}

DISPID DispatchObject::IdOf(std::string_view name) {
  std::string key = FoldMemberName(name);
  if (auto found = ids_.find(key); found != ids_.end()) return found->second;
  std::u16string wide = AnsiToWide(name);
  LPOLESTR names[] = {AsWide(wide.data())};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw AutomationError(std::string(name), hr, SystemMessage(hr));
  ids_.emplace(std::move(key), id);
  return id;
}

Variant DispatchObject::InvokeById(DISPID id, std::string_view name, Invoke kind,
                                   std::span<const Variant> args) {
  const bool put = kind == Invoke::kPropertyPut;
  OutgoingArguments arguments(args, put);
  UniqueVariant result;
  ExcepInfo info;
  UINT argumentError = 0;
  // Some servers refuse a property put that asks for a result, so a put asks for none.
  HRESULT hr =
      dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, InvokeFlags(kind), arguments.Params(),
                        put ? nullptr : &result, &info, &argumentError);
  if (FAILED(hr)) throw InvokeFailure(name, hr, info);
  arguments.WriteBack();
  return FromVariant(result);
}

}  // namespace platform::win32
