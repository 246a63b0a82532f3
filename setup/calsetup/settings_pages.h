#pragma once

// The four pages of calsetup's Settings sheet as models: General (CProfilePage), Date Range
// (CDatePage), Conflict Resolution (CConflictPage) and Delete Options (CDeleteOptions).
//
// How a Win32 dialog procedure uses a page model:
//   WM_INITDIALOG   set StaticTexts() into their controls; Fill(); move `controls` (or the
//                   range) into the dialog's controls and apply the enable rules
//   WM_COMMAND      a click or a change: move that control's value into the model (a number
//                   field through its CRangeEdit's TextChanged, applying the update it returns),
//                   then refresh what depends on it (the enable rules, the delete caption)
//   PSN_APPLY       Accept()
// A page that was never shown is never filled, and its Accept writes nothing.

#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "setup/calsetup/cal_range.h"
#include "setup/calsetup/cal_setup.h"
#include "setup/calsetup/control_ids.h"
#include "setup/common/page_model.h"
#include "setup/common/rule_pages.h"

namespace setup::cal {

// General: how pimsync logs into GroupWise.
class CProfilePage : public PageModel {
 public:
  struct Controls {
    bool manualLogin = false;  // 256
    std::u16string user;       // 254
    std::u16string params;     // 606
  };

  explicit CProfilePage(CalSetup& setup) : setup_(setup) {}

  // As stored, a new profile too: the wizard's login reaches it through CommitPages.
  void Fill();
  bool UserAndParamsEnabled() const { return controls.manualLogin; }  // 254, 606
  // ManualLogin 1 or 0 and both texts, each cut to its field.
  void Accept();

  Controls controls;

 private:
  CalSetup& setup_;
};

// Date Range: how far back and ahead calendar items are synchronized, and whether older items
// are deleted from the device.
class CDatePage : public PageModel {
 public:
  explicit CDatePage(CalSetup& setup) : range(setup.Session()), setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // The deletion shows as stored (on only where DeleteOldTypes is 15, so a new profile starts
  // with it off); a new profile starts one month back and six ahead, any other from the stored
  // counts and units.
  void Fill();
  // 248 and 250: a count's text changed. 244's and 246's selections need no call: set
  // range.pastUnit or range.futureUnit.
  CRangeEdit::Update PastCountChanged(std::u16string_view text, platform::WindowHandle owner) {
    return range.pastCount.TextChanged(text, Initialised(), owner);
  }
  CRangeEdit::Update FutureCountChanged(std::u16string_view text, platform::WindowHandle owner) {
    return range.futureCount.TextChanged(text, Initialised(), owner);
  }
  // Sets RangeChanged when a unit, a count, or the past range against the deletion's limit
  // differs from what is stored (whether or not the deletion is on), then stores the range.
  void Accept();

  CalRangeControls range;  // 248/249, 244, 250/251, 246, 256

 private:
  CalSetup& setup_;
};

// Conflict Resolution (GroupWise wins: 232, else 233).
class CConflictPage : public ConflictPage {
 public:
  explicit CConflictPage(CalSetup& setup)
      : ConflictPage(setup.Session(), {control::kConflictIntro, string_id::kConflictIntro,
                                       string_id::kConflictIntroEnd}) {}
};

// Delete Options: what a deletion on the device does in GroupWise (kept: 135, else 134).
class CDeleteOptions : public DeleteOptionsPage {
 public:
  explicit CDeleteOptions(CalSetup& setup)
      : DeleteOptionsPage(
            setup.Session(),
            {control::kDeleteIntro, string_id::kDeleteIntro, string_id::kDeleteIntroEnd},
            kCalendarTypeBits) {}
};

}  // namespace setup::cal
