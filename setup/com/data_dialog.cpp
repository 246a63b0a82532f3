#include "setup/com/data_dialog.h"

#include <string>

#include "comserver/com_barrier.h"
#include "comserver/error_info.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/win32_registry.h"
#include "setup/com/wizard_data.h"
#include "setup/common/machine_settings.h"
#include "setup/win32/settings_sheet.h"

namespace setup::com {
namespace {

using comserver::SetErrorObject;

// The caption of every data component's Settings sheet.
constexpr int kSheetCaption = 106;

// A wizard page that failed in the host's wizard closed it; the failure is this object's to
// report at the next call.
void RethrowPageFailure(const std::vector<std::unique_ptr<win32::PropertyPage>>& pages) {
  for (const auto& page : pages) {
    if (std::exception_ptr failure = page->TakeFailure()) std::rethrow_exception(failure);
  }
}

}  // namespace

DataDialog::DataDialog(std::unique_ptr<win32::DataComponent> component, REFIID interfaceId)
    : component_(std::move(component)), interfaceId_(interfaceId) {}

template <typename Body>
HRESULT DataDialog::Method(const char* name, Body&& body) noexcept {
  return comserver::Barrier(body, [&](HRESULT, const char* text) {
    SetErrorObject(interfaceId_, component_->Session().Info().progId,
                   std::string(name) + ": " + text);
    return S_FALSE;
  });
}

// The host reads the path back from its own copy; the component answers with nothing.
HRESULT DataDialog::GetControlFile(BSTR*) noexcept {
  return S_OK;
}

HRESULT DataDialog::PutControlFile(BSTR value) noexcept {
  return Method("ControlFile", [&] {
    component_->Session().SetControlFile(platform::win32::BstrText(value));
    return S_OK;
  });
}

HRESULT DataDialog::ShowDialog() noexcept {
  return Method("ShowDialog", [&] {
    ProfileSession& session = component_->Session();
    const auto pages = component_->SettingsPages();
    if (!session.OpenAndPrepare()) return S_FALSE;
    // The host's window, when it has one active, is the sheet's owner.
    if (win32::RunSettingsSheet(GetActiveWindow(), session.Strings().Text(kSheetCaption), pages)) {
      session.Commit();
    }
    session.Release();
    return S_OK;
  });
}

HRESULT DataDialog::AddPages(ULONG propPage) noexcept {
  auto* hostVariable = reinterpret_cast<HPROPSHEETPAGE**>(static_cast<uintptr_t>(propPage));
  if (hostVariable == nullptr) return E_POINTER;
  return Method("AddPages", [&] {
    ProfileSession& session = component_->Session();
    wizardPages_ = component_->WizardPages();
    wizardHandles_.clear();
    for (const auto& page : wizardPages_)
      wizardHandles_.push_back(page->Handle());
    wizardHandles_.push_back(nullptr);
    // Here the pages are handed over: the host and the component share comctl32 in process,
    // so "page objects of the shared dialog framework" are HPROPSHEETPAGE handles, and the
    // host's variable receives the address of their null-terminated array. The host puts them
    // into its own wizard sheet, which destroys them with itself; the pages stay this
    // object's until RemovePages.
    *hostVariable = wizardHandles_.data();
    // Held for CommitPages when the profile opens; released already when it does not, and the
    // pages then start from zeroed blocks that nothing stores.
    session.OpenAndPrepare();
    return S_OK;
  });
}

HRESULT DataDialog::RemovePages() noexcept {
  return Method("RemovePages", [&] {
    const auto pages = std::move(wizardPages_);
    wizardPages_.clear();
    wizardHandles_.clear();
    component_->Session().Release();
    RethrowPageFailure(pages);
    return S_OK;
  });
}

HRESULT DataDialog::CommitPages(const VARIANT& profileName) noexcept {
  return Method("CommitPages", [&] {
    // What a failed page may have left half stored is not saved.
    RethrowPageFailure(wizardPages_);
    component_->Session().CommitWizardData(ReadWizardData(profileName));
    return S_OK;
  });
}

HRESULT DataDialog::InvisibleDialog(VARIANT_BOOL* result) noexcept {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  return Method("InvisibleDialog", [&] {
    ProfileSession& session = component_->Session();
    if (!session.RunInvisible()) {
      SetErrorObject(GUID_NULL, session.Info().progId, "MAPIERROR");
      return S_FALSE;
    }
    *result = VARIANT_TRUE;
    return S_OK;
  });
}

// Only the setup wizard has data of its own to give; a data component has none and takes none.
HRESULT DataDialog::GetWizardData(VARIANT*) noexcept {
  return S_OK;
}

HRESULT DataDialog::PutWizardData(const VARIANT&) noexcept {
  return S_OK;
}

HRESULT DataDialog::IsPIMInstalled(ULONG* installed) noexcept {
  if (installed == nullptr) return E_POINTER;
  return Method("IsPIMInstalled", [&] {
    platform::win32::Win32Registry registry;
    *installed = setup::IsPIMInstalled(registry) ? 1 : 0;
    return S_OK;
  });
}

}  // namespace setup::com
