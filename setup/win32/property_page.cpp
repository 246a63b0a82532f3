#include "setup/win32/property_page.h"

#include "platform/exception.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

namespace setup::win32 {

using platform::win32::AsUtf16;
using platform::win32::AsWide;

PropertyPage::PropertyPage(HMODULE module, int templateId, ProfileSession& session)
    : module_(module), templateId_(templateId), session_(session) {}

PropertyPage::~PropertyPage() {
  if (handle_ != nullptr && !released_) DestroyPropertySheetPage(handle_);
}

HPROPSHEETPAGE PropertyPage::Handle() {
  if (handle_ != nullptr) return handle_;
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_HASHELP | PSP_USECALLBACK;
  page.hInstance = module_;
  page.pszTemplate = MAKEINTRESOURCEW(templateId_);
  page.pfnDlgProc = &PropertyPage::Procedure;
  page.pfnCallback = &PropertyPage::Released;
  page.lParam = reinterpret_cast<LPARAM>(this);
  handle_ = CreatePropertySheetPageW(&page);
  if (handle_ == nullptr) {
    throw platform::Exception("Cannot create the property page " + std::to_string(templateId_) +
                              ": " +
                              platform::win32::DescribeHResult(HRESULT_FROM_WIN32(GetLastError())));
  }
  return handle_;
}

UINT CALLBACK PropertyPage::Released(HWND, UINT message, PROPSHEETPAGEW* page) {
  if (message == PSPCB_RELEASE && page != nullptr) {
    reinterpret_cast<PropertyPage*>(page->lParam)->released_ = true;
  }
  return 1;
}

platform::WindowHandle PropertyPage::Owner(HWND page) {
  return reinterpret_cast<platform::WindowHandle>(GetParent(page));
}

INT_PTR CALLBACK PropertyPage::Procedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // lParam is the sheet's copy of the PROPSHEETPAGE, which carries this object.
    const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    SetWindowLongPtrW(page, DWLP_USER, sheetPage->lParam);
  }
  auto* self = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(page, DWLP_USER));
  if (self == nullptr) return FALSE;
  try {
    return self->Handle(page, message, wParam, lParam);
  } catch (...) {
    if (!self->failure_) self->failure_ = std::current_exception();
    PostMessageW(GetParent(page), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return FALSE;
  }
}

INT_PTR PropertyPage::Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(page);
      return TRUE;
    case WM_COMMAND: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control != nullptr) SendMessageW(control, kReflectedCommand, wParam, lParam);
      OnCommand(page, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.code == PSN_HELP) {
        ShowHelp(page);
        return TRUE;
      }
      SetWindowLongPtrW(page, DWLP_MSGRESULT, OnNotify(page, header));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void PropertyPage::ShowHelp(HWND page) {
  WinHelpA(GetParent(page), session_.HelpFile().c_str(), HELP_CONTEXT,
           static_cast<ULONG_PTR>(session_.Info().helpContext));
}

std::u16string ReadControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, AsWide(text.data()), static_cast<int>(text.size()))));
  return text;
}

void SetControlText(HWND dialog, int id, const std::u16string& text) {
  SetDlgItemTextW(dialog, id, AsWide(text.c_str()));
}

void SetControlTexts(HWND dialog, const std::vector<ControlText>& texts) {
  for (const ControlText& text : texts)
    SetControlText(dialog, text.id, text.text);
}

void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Enable(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

void SetWizardButtons(HWND page, WizardButtons buttons) {
  const LPARAM shown =
      buttons == WizardButtons::kBackAndNext ? PSWIZB_BACK | PSWIZB_NEXT : PSWIZB_BACK;
  PostMessageW(GetParent(page), PSM_SETWIZBUTTONS, 0, shown);
}

}  // namespace setup::win32
