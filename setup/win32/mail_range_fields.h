#pragma once

// The mail range's controls as the Date Range page and the wizard's range page both show them:
// the count (a numeric field), the unit list and the delete check box whose caption follows
// them, over the pages' shared model (setup/emailsetup/mail_range.h).

#include "platform/win32/windows_api.h"

#include "setup/emailsetup/mail_range.h"
#include "setup/win32/range_edit_control.h"

namespace setup::win32 {

class MailRangeFields {
 public:
  struct Ids {
    int count;
    int spin;
    int unit;
  };

  // `pageInitialised` as for RangeEditControl.
  MailRangeFields(email::MailRangeControls& model, Ids ids, std::function<bool()> pageInitialised)
      : model_(model), ids_(ids), count_(model.count, std::move(pageInitialised)) {}

  // After the model was filled: the unit names, the model's values, the caption.
  void Show(HWND page);
  // A WM_COMMAND of the page; the numeric field has answered its own change already.
  void OnCommand(HWND page, int id, int code);

 private:
  void ShowCaption(HWND page);

  email::MailRangeControls& model_;
  Ids ids_;
  RangeEditControl count_;
};

}  // namespace setup::win32
