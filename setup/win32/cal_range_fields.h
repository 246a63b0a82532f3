#pragma once

// The calendar range's controls as the Date Range page and the wizard's range page both show
// them: the past and future counts (numeric fields), their unit lists and the delete check box
// whose caption follows the past count and unit, over the pages' shared model
// (setup/calsetup/cal_range.h).

#include "platform/win32/windows_api.h"

#include <functional>

#include "setup/calsetup/cal_range.h"
#include "setup/win32/range_edit_control.h"

namespace setup::win32 {

class CalRangeFields {
 public:
  struct Ids {
    int pastCount;
    int pastSpin;
    int pastUnit;
    int futureCount;
    int futureSpin;
    int futureUnit;
  };

  // `pageInitialised` as for RangeEditControl.
  CalRangeFields(cal::CalRangeControls& model, Ids ids, std::function<bool()> pageInitialised)
      : model_(model),
        ids_(ids),
        past_(model.pastCount, pageInitialised),
        future_(model.futureCount, pageInitialised) {}

  // After the model was filled: the unit names, the model's values, the caption.
  void Show(HWND page);
  // A WM_COMMAND of the page; the numeric fields have answered their own changes already.
  void OnCommand(HWND page, int id, int code);

 private:
  void ShowCaption(HWND page);

  cal::CalRangeControls& model_;
  Ids ids_;
  RangeEditControl past_;
  RangeEditControl future_;
};

}  // namespace setup::win32
