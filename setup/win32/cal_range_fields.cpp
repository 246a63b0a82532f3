#include "setup/win32/cal_range_fields.h"

#include <optional>

#include "platform/win32/wide_text.h"
#include "setup/calsetup/control_ids.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {
namespace {

void ShowUnits(HWND page, int id, const std::vector<std::u16string>& names, int selected) {
  HWND units = GetDlgItem(page, id);
  SendMessageW(units, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& name : names) {
    SendMessageW(units, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(platform::win32::AsWide(name.c_str())));
  }
  SendMessageW(units, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// The entry a unit list's notification confirms, if it confirms one. A change while the list is
// open is not yet a choice; the arrow keys on a closed list choose at once.
std::optional<int> ChosenUnit(HWND page, int id, int code) {
  if (code != CBN_SELENDOK && code != CBN_SELCHANGE) return std::nullopt;
  HWND units = GetDlgItem(page, id);
  if (code == CBN_SELCHANGE && SendMessageW(units, CB_GETDROPPEDSTATE, 0, 0)) return std::nullopt;
  const LRESULT selected = SendMessageW(units, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return std::nullopt;
  return static_cast<int>(selected);
}

}  // namespace

void CalRangeFields::Show(HWND page) {
  const std::vector<std::u16string> names = model_.UnitNames();
  ShowUnits(page, ids_.pastUnit, names, model_.pastUnit);
  ShowUnits(page, ids_.futureUnit, names, model_.futureUnit);
  past_.Attach(page, ids_.pastCount, ids_.pastSpin);
  future_.Attach(page, ids_.futureCount, ids_.futureSpin);
  SetChecked(page, cal::control::kDeleteOldCheck, model_.deleteOld);
  ShowCaption(page);
}

void CalRangeFields::OnCommand(HWND page, int id, int code) {
  if (id == ids_.pastCount && code == EN_CHANGE) {
    ShowCaption(page);
  } else if (id == ids_.pastUnit) {
    if (const std::optional<int> unit = ChosenUnit(page, id, code)) {
      model_.pastUnit = *unit;
      ShowCaption(page);
    }
  } else if (id == ids_.futureUnit) {
    if (const std::optional<int> unit = ChosenUnit(page, id, code)) model_.futureUnit = *unit;
  } else if (id == cal::control::kDeleteOldCheck && code == BN_CLICKED) {
    model_.deleteOld = IsChecked(page, id);
  }
}

void CalRangeFields::ShowCaption(HWND page) {
  SetControlText(page, cal::control::kDeleteOldCheck, model_.DeleteCaption());
}

}  // namespace setup::win32
