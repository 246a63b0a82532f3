#pragma once

// One page of the setup components' property sheets (comctl32 property pages): its dialog
// template, its dialog procedure, and the system's page handle made from them.
//
// Implementation details:
// - The handle belongs to this object until a sheet takes it; a sheet destroys the pages it
//   was given when it goes, and the page's release callback records that, so the destructor
//   destroys only a handle that no sheet has taken care of.
// - Every page has the Help flag; the Help button opens the component's help file at its
//   context with the Windows help engine.
// - Notifications from the page's controls are first reflected to the control itself
//   (kReflectedCommand), so that a control with a subclass of its own, such as a numeric field,
//   answers its own changes; the page then gets them too, to refresh what depends on them.
// - Nothing may unwind through the system's dialog code. A failure inside a page's handler is
//   kept, the sheet is closed as if cancelled, and the owner of the sheet throws it again once
//   the sheet has returned (TakeFailure).

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "setup/common/page_model.h"
#include "setup/common/profile_session.h"

namespace setup::win32 {

// Sent to a control with the WM_COMMAND its parent page received from it.
inline constexpr UINT kReflectedCommand = WM_APP + 0x100;

class PropertyPage {
 public:
  // templateId: the page's dialog template in `module`.
  PropertyPage(HMODULE module, int templateId, ProfileSession& session);
  virtual ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // The system's page, made on the first call. Raises platform::Exception when it cannot be
  // made.
  HPROPSHEETPAGE Handle();
  // The failure a handler kept, which is then forgotten; null when there was none.
  std::exception_ptr TakeFailure() { return std::exchange(failure_, nullptr); }

 protected:
  // WM_INITDIALOG: the page is about to show for the first time.
  virtual void OnInitDialog(HWND page) = 0;
  // WM_COMMAND from a control.
  virtual void OnCommand(HWND, int /*id*/, int /*code*/) {}
  // PSN_SETACTIVE, PSN_APPLY, PSN_WIZNEXT ...: the value the notification answers with
  // (DWLP_MSGRESULT). PSN_HELP is answered here.
  virtual LRESULT OnNotify(HWND, const NMHDR&) { return 0; }

  ProfileSession& Session() { return session_; }
  // The window message boxes of a page belong to: the sheet.
  static platform::WindowHandle Owner(HWND page);

 private:
  static INT_PTR CALLBACK Procedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  static UINT CALLBACK Released(HWND, UINT message, PROPSHEETPAGEW* page);
  INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  void ShowHelp(HWND page);

  HMODULE module_;
  int templateId_;
  ProfileSession& session_;
  HPROPSHEETPAGE handle_ = nullptr;
  bool released_ = false;
  std::exception_ptr failure_;
};

// Text of a dialog's control as the user typed it: UTF-16, nothing through a code page.
std::u16string ReadControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::u16string& text);
// The static texts a page model makes of the component's strings.
void SetControlTexts(HWND dialog, const std::vector<ControlText>& texts);
void SetChecked(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
void Enable(HWND dialog, int id, bool enabled);
// The buttons of the host's wizard a wizard page offers: posted to the sheet, because a page
// sets them from inside the sheet's own notifications.
void SetWizardButtons(HWND page, WizardButtons buttons);

}  // namespace setup::win32
