#pragma once

// The page calsetup hands to the host's setup wizard (AddPages) as a model: the calendar range
// (CWizRange). It starts from fixed values, not from the profile, and stores into the blocks
// when the user presses Next; CommitPages writes them (profile_session.h).
//
// How a Win32 dialog procedure uses it: WM_INITDIALOG sets StaticTexts() and calls Start();
// PSN_SETACTIVE sets the wizard's buttons from Buttons(); EN_CHANGE of a count passes its text
// on; PSN_WIZNEXT calls Next(); PSN_QUERYCANCEL calls Cancel() and lets the cancel go on.

#include <string>
#include <vector>

#include "setup/calsetup/cal_range.h"
#include "setup/calsetup/cal_setup.h"
#include "setup/common/page_model.h"

namespace setup::cal {

class CWizRange : public PageModel {
 public:
  explicit CWizRange(CalSetup& setup) : range(setup.Session()), setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // One month back (305, 303), six months ahead (306, 304), older items deleted (256).
  void Start();
  WizardButtons Buttons() const { return WizardButtons::kBackAndNext; }
  CRangeEdit::Update PastCountChanged(std::u16string_view text, platform::WindowHandle owner) {
    return range.pastCount.TextChanged(text, Initialised(), owner);
  }
  CRangeEdit::Update FutureCountChanged(std::u16string_view text, platform::WindowHandle owner) {
    return range.futureCount.TextChanged(text, Initialised(), owner);
  }
  // The range and the deletion as the Date Range page stores them, but RangeChanged stays.
  void Next();
  // The user cancels the wizard: the engine object goes at once, so nothing is written.
  void Cancel();

  CalRangeControls range;

 private:
  CalSetup& setup_;
};

}  // namespace setup::cal
