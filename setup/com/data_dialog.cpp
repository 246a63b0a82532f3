#include "setup/com/data_dialog.h"

#include <string>

#include "comserver/com_barrier.h"
#include "comserver/error_info.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/win32_registry.h"
#include "setup/com/wizard_data.h"
#include "setup/common/machine_settings.h"

namespace setup::com {
using comserver::SetErrorObject;

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
  return E_NOTIMPL;
}

HRESULT DataDialog::AddPages(ULONG) noexcept {
  return E_NOTIMPL;
}

HRESULT DataDialog::RemovePages() noexcept {
  return E_NOTIMPL;
}

HRESULT DataDialog::CommitPages(const VARIANT& profileName) noexcept {
  return Method("CommitPages", [&] {
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
