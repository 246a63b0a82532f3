#include "setup/win32/logon_page.h"

#include <string>

#include "platform/exception.h"
#include "platform/win32/system_message.h"
#include "setup/setupwizard/control_ids.h"
#include "setup/win32/logon_resources.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {
namespace {

namespace control = wizard::control;
static_assert(IDC_LOGON_MANUAL == control::kManualLogin && IDC_LOGON_USER == control::kUserName &&
              IDC_LOGON_PARAMS == control::kParams && IDC_LOGON_INTRO == control::kLogonIntro);

}  // namespace

LogonPage::LogonPage(HMODULE module, wizard::SetupWizard& wizard)
    : module_(module), wizard_(wizard), model_(wizard) {}

LogonPage::~LogonPage() {
  if (handle_ != nullptr && !released_) DestroyPropertySheetPage(handle_);
}

HPROPSHEETPAGE LogonPage::Handle() {
  if (handle_ != nullptr) return handle_;
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_HASHELP | PSP_USECALLBACK;
  page.hInstance = module_;
  page.pszTemplate = MAKEINTRESOURCEW(IDD_LOGON_PAGE);
  page.pfnDlgProc = &LogonPage::Procedure;
  page.pfnCallback = &LogonPage::Released;
  page.lParam = reinterpret_cast<LPARAM>(this);
  handle_ = CreatePropertySheetPageW(&page);
  if (handle_ == nullptr) {
    throw platform::Exception("Cannot create the logon page: " +
                              platform::win32::DescribeHResult(HRESULT_FROM_WIN32(GetLastError())));
  }
  return handle_;
}

UINT CALLBACK LogonPage::Released(HWND, UINT message, PROPSHEETPAGEW* page) {
  if (message == PSPCB_RELEASE && page != nullptr) {
    reinterpret_cast<LogonPage*>(page->lParam)->released_ = true;
  }
  return 1;
}

INT_PTR CALLBACK LogonPage::Procedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // lParam is the sheet's copy of the PROPSHEETPAGE, which carries this object.
    const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    SetWindowLongPtrW(page, DWLP_USER, sheetPage->lParam);
  }
  auto* self = reinterpret_cast<LogonPage*>(GetWindowLongPtrW(page, DWLP_USER));
  if (self == nullptr) return FALSE;
  try {
    return self->Handle(page, message, wParam, lParam);
  } catch (...) {
    if (!self->failure_) self->failure_ = std::current_exception();
    PostMessageW(GetParent(page), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return FALSE;
  }
}

INT_PTR LogonPage::Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(page);
      return TRUE;
    case WM_COMMAND:
      OnCommand(page, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      SetWindowLongPtrW(page, DWLP_MSGRESULT, OnNotify(page, header));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void LogonPage::OnInitDialog(HWND page) {
  SetControlTexts(page, model_.StaticTexts());
  model_.Start();
  SetChecked(page, IDC_LOGON_MANUAL, model_.manualLogin);
  SetControlText(page, IDC_LOGON_USER, model_.userName);
  SetControlText(page, IDC_LOGON_PARAMS, model_.params);
  ShowEditsEnabled(page);
}

void LogonPage::OnCommand(HWND page, int id, int code) {
  // The edits announce the texts the page sets while it starts, before the model has.
  if (!model_.Initialised()) return;
  if (id == IDC_LOGON_MANUAL && code == BN_CLICKED) {
    SetWizardButtons(page, model_.ManualLoginClicked(IsChecked(page, IDC_LOGON_MANUAL)));
    ShowEditsEnabled(page);
  } else if (id == IDC_LOGON_USER && code == EN_CHANGE) {
    SetWizardButtons(page, model_.UserNameChanged(ReadControlText(page, IDC_LOGON_USER)));
  } else if (id == IDC_LOGON_PARAMS && code == EN_CHANGE) {
    SetWizardButtons(page, model_.ParamsChanged(ReadControlText(page, IDC_LOGON_PARAMS)));
  }
}

LRESULT LogonPage::OnNotify(HWND page, const NMHDR& header) {
  switch (header.code) {
    case PSN_SETACTIVE:
      // Coming back from a later page shows the buttons this page's state allows.
      SetWizardButtons(page, model_.Buttons());
      break;
    case PSN_WIZNEXT:
      model_.ManualLoginClicked(IsChecked(page, IDC_LOGON_MANUAL));
      model_.UserNameChanged(ReadControlText(page, IDC_LOGON_USER));
      model_.ParamsChanged(ReadControlText(page, IDC_LOGON_PARAMS));
      model_.Next();
      break;
    case PSN_HELP:
      WinHelpA(GetParent(page), wizard_.HelpFile().c_str(), HELP_FINDER, 0);
      break;
  }
  return 0;
}

void LogonPage::ShowEditsEnabled(HWND page) {
  for (int id : {IDC_LOGON_USER, IDC_LOGON_PARAMS})
    Enable(page, id, model_.EditsEnabled());
}

}  // namespace setup::win32
