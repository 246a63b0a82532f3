#include "setup/com/wizard_dialog.h"

#include <string>
#include <vector>

#include "comserver/com_barrier.h"
#include "comserver/error_info.h"
#include "platform/automation.h"
#include "platform/win32/variant_conversion.h"

namespace setup::com {
namespace {

using platform::win32::UniqueSafeArray;

// A new one-dimensional array of two BSTRs from 0: the user name, then the start-up
// parameters. Raises std::bad_alloc when it cannot be made.
UniqueSafeArray NewWizardArray(const WizardData& logon) {
  VARIANT made =
      platform::win32::ToVariant(platform::Variant(std::vector{logon.user, logon.params})).Detach();
  return UniqueSafeArray(V_ARRAY(&made));
}

// The object's half that does not depend on Windows, over the module's registry and strings.
wizard::SetupWizard WizardOver(win32::Win32SetupServices& services) {
  SetupServices shared = services.Services();
  return wizard::SetupWizard(shared.registry, shared.strings);
}

}  // namespace

SAFEARRAY* WizardArrays::Keep(UniqueSafeArray array) {
  if (last_.Get() != nullptr) earlier_.push_back(std::move(last_));
  last_ = std::move(array);
  return last_.Get();
}

WizardDialog::WizardDialog(HMODULE module, REFIID interfaceId)
    : module_(module),
      interfaceId_(interfaceId),
      services_(module),
      wizard_(WizardOver(services_)) {}

template <typename Body>
HRESULT WizardDialog::Method(const char* name, Body&& body) noexcept {
  return comserver::Barrier(body, [&](HRESULT, const char* text) {
    comserver::SetErrorObject(interfaceId_, wizard::kProgId, std::string(name) + ": " + text);
    return S_FALSE;
  });
}

// The component has no control file: it answers with nothing and takes nothing.
HRESULT WizardDialog::GetControlFile(BSTR*) noexcept {
  return S_OK;
}

HRESULT WizardDialog::PutControlFile(BSTR) noexcept {
  return S_OK;
}

// There is nothing to show outside the host's wizard.
HRESULT WizardDialog::ShowDialog() noexcept {
  return Method("ShowDialog", [&] {
    wizard_.FindHelpFile();
    return S_OK;
  });
}

HRESULT WizardDialog::AddPages(ULONG propPage) noexcept {
  auto* hostVariable = reinterpret_cast<HPROPSHEETPAGE**>(static_cast<uintptr_t>(propPage));
  if (hostVariable == nullptr) return E_POINTER;
  return Method("AddPages", [&] {
    wizard_.FindHelpFile();
    page_ = std::make_unique<win32::LogonPage>(module_, wizard_);
    // As the data components do: the host's variable receives the address of the
    // null-terminated array of HPROPSHEETPAGE handles, which it puts into its own wizard.
    handles_ = {page_->Handle(), nullptr};
    *hostVariable = handles_.data();
    return S_OK;
  });
}

HRESULT WizardDialog::RemovePages() noexcept {
  return Method("RemovePages", [&] {
    const auto page = std::move(page_);
    handles_ = {};
    arrays_.DestroyLast();
    if (page) {
      if (std::exception_ptr failure = page->TakeFailure()) std::rethrow_exception(failure);
    }
    return S_OK;
  });
}

// The logon reaches the profiles through the data components' CommitPages; this one has none.
HRESULT WizardDialog::CommitPages(const VARIANT&) noexcept {
  return S_OK;
}

HRESULT WizardDialog::InvisibleDialog(VARIANT_BOOL* result) noexcept {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  return Method("InvisibleDialog", [&] {
    wizard_.FindHelpFile();
    *result = VARIANT_TRUE;
    return S_OK;
  });
}

HRESULT WizardDialog::GetWizardData(VARIANT* value) noexcept {
  if (value == nullptr) return E_POINTER;
  // Only the array slot is the component's to fill: the host reads it whatever the type tag
  // says, and a tag that said "array" would invite a caller to destroy what this object owns.
  V_ARRAY(value) = nullptr;
  const HRESULT hr = Method("WizardData", [&] {
    V_ARRAY(value) = arrays_.Keep(NewWizardArray(wizard_.Logon()));
    return S_OK;
  });
  // An array that could not be made is the null slot the host looks for; the reason is left
  // as the error info all the same.
  return hr == S_FALSE ? S_OK : hr;
}

HRESULT WizardDialog::PutWizardData(const VARIANT&) noexcept {
  return S_OK;
}

HRESULT WizardDialog::IsPIMInstalled(ULONG* installed) noexcept {
  if (installed == nullptr) return E_POINTER;
  return Method("IsPIMInstalled", [&] {
    *installed = wizard_.IsPIMInstalled() ? 1 : 0;
    return S_OK;
  });
}

}  // namespace setup::com
