#include "setup/win32/mail_range_fields.h"

#include "platform/win32/wide_text.h"
#include "setup/emailsetup/control_ids.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

void MailRangeFields::Show(HWND page) {
  HWND units = GetDlgItem(page, ids_.unit);
  SendMessageW(units, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& name : model_.UnitNames()) {
    SendMessageW(units, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(platform::win32::AsWide(name.c_str())));
  }
  SendMessageW(units, CB_SETCURSEL, static_cast<WPARAM>(model_.unit), 0);
  count_.Attach(page, ids_.count, ids_.spin);
  SetChecked(page, email::control::kDeleteOldCheck, model_.deleteOld);
  ShowCaption(page);
}

void MailRangeFields::OnCommand(HWND page, int id, int code) {
  if (id == ids_.count && code == EN_CHANGE) {
    ShowCaption(page);
  } else if (id == ids_.unit && (code == CBN_SELENDOK || code == CBN_SELCHANGE)) {
    // A change while the list is open is not yet a choice; the arrow keys on a closed list
    // choose at once.
    HWND units = GetDlgItem(page, ids_.unit);
    if (code == CBN_SELCHANGE && SendMessageW(units, CB_GETDROPPEDSTATE, 0, 0)) return;
    const LRESULT selected = SendMessageW(units, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    model_.unit = static_cast<int>(selected);
    ShowCaption(page);
  } else if (id == email::control::kDeleteOldCheck && code == BN_CLICKED) {
    model_.deleteOld = IsChecked(page, id);
  }
}

void MailRangeFields::ShowCaption(HWND page) {
  SetControlText(page, email::control::kDeleteOldCheck, model_.DeleteCaption());
}

}  // namespace setup::win32
