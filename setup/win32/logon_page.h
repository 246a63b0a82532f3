#pragma once

// setupwizard's logon page on Windows: the comctl32 property page it hands to the host's
// wizard, whose dialog procedure moves the check box's and the edits' values between the
// template's controls and the page model (setup/setupwizard/logon_page.h).
//
// Implementation details:
// - It keeps the page handle, the release record and the kept failure as PropertyPage
//   (property_page.h) does for the data components' pages, but is not one: a PropertyPage
//   belongs to a profile session, and this component has none.
// - The handle belongs to this object until a sheet takes it; a sheet destroys the pages it was
//   given when it goes, and the release callback records that, so the destructor destroys only
//   a handle that no sheet took care of.
// - The page has the Help flag. The component has no help topic of its own, so Help opens the
//   help file's contents.
// - Nothing may unwind through the system's dialog code: a failure inside a handler is kept,
//   the wizard is closed as if cancelled, and the component reports it at its next call
//   (TakeFailure).

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <exception>
#include <utility>

#include "setup/setupwizard/logon_page.h"
#include "setup/setupwizard/setup_wizard.h"

namespace setup::win32 {

class LogonPage {
 public:
  // module: setupwizard.dll, whose template and strings the page shows. `wizard` must outlive
  // the page.
  LogonPage(HMODULE module, wizard::SetupWizard& wizard);
  ~LogonPage();
  LogonPage(const LogonPage&) = delete;
  LogonPage& operator=(const LogonPage&) = delete;

  // The system's page, made on the first call. Raises platform::Exception when it cannot be
  // made.
  HPROPSHEETPAGE Handle();
  // The failure a handler kept, which is then forgotten; null when there was none.
  std::exception_ptr TakeFailure() { return std::exchange(failure_, nullptr); }

 private:
  static INT_PTR CALLBACK Procedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  static UINT CALLBACK Released(HWND, UINT message, PROPSHEETPAGEW* page);
  INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND page);
  void OnCommand(HWND page, int id, int code);
  LRESULT OnNotify(HWND page, const NMHDR& header);
  void ShowEditsEnabled(HWND page);

  HMODULE module_;
  wizard::SetupWizard& wizard_;
  wizard::CLogonPage model_;
  HPROPSHEETPAGE handle_ = nullptr;
  bool released_ = false;
  std::exception_ptr failure_;
};

}  // namespace setup::win32
