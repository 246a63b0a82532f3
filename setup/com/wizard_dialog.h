#pragma once

// IEECDIALOG as setupwizard answers it: no control file and no profile, one page for the host's
// wizard, and the logon that page collects handed out as the wizard's data.
//
// Implementation details:
// - Each member is its own exception barrier; a failure nothing else caught answers S_FALSE
//   with the failure's text as the thread's error info, as the data components do.
// - WizardData get hands out a new SAFEARRAY each time, which stays this object's: the host
//   passes it on to the data components' CommitPages without owning it. The host may still be
//   passing an earlier one on when it reads again, so an earlier array lives until the object
//   ends; the last one until RemovePages, which is when the host is done with the wizard.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <array>
#include <memory>
#include <vector>

#include "platform/win32/ole_owners.h"
#include "setup/com/dialog_methods.h"
#include "setup/setupwizard/setup_wizard.h"
#include "setup/win32/logon_page.h"
#include "setup/win32/win32_setup_services.h"

namespace setup::com {

// The arrays WizardData get handed out, as wizard_dialog.h's details describe.
class WizardArrays {
 public:
  // `array` becomes the last one; the one before it is kept until this object goes.
  SAFEARRAY* Keep(platform::win32::UniqueSafeArray array);
  void DestroyLast() { last_.Reset(); }

 private:
  std::vector<platform::win32::UniqueSafeArray> earlier_;
  platform::win32::UniqueSafeArray last_;
};

class WizardDialog final : public DialogMethods {
 public:
  // module: setupwizard.dll, whose strings and template the page shows.
  WizardDialog(HMODULE module, REFIID interfaceId);

  HRESULT GetControlFile(BSTR* value) noexcept override;
  HRESULT PutControlFile(BSTR value) noexcept override;
  HRESULT ShowDialog() noexcept override;
  HRESULT AddPages(ULONG propPage) noexcept override;
  HRESULT RemovePages() noexcept override;
  HRESULT CommitPages(const VARIANT& profileName) noexcept override;
  HRESULT InvisibleDialog(VARIANT_BOOL* result) noexcept override;
  HRESULT GetWizardData(VARIANT* value) noexcept override;
  HRESULT PutWizardData(const VARIANT& value) noexcept override;
  HRESULT IsPIMInstalled(ULONG* installed) noexcept override;

 private:
  template <typename Body>
  HRESULT Method(const char* name, Body&& body) noexcept;

  HMODULE module_;
  IID interfaceId_;
  win32::Win32SetupServices services_;  // before wizard_, which refers to it
  wizard::SetupWizard wizard_;
  // From AddPages to RemovePages: the page and the null-terminated array of its handle that
  // the host reads in the same time.
  std::unique_ptr<win32::LogonPage> page_;
  std::array<HPROPSHEETPAGE, 2> handles_{};
  WizardArrays arrays_;
};

}  // namespace setup::com
