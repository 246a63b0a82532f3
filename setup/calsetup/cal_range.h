#pragma once

// The calendar range controls that the Date Range page and the wizard's range page share: a
// past and a future count of 1 to 30, each with its unit list, and the check box that deletes
// older items from the device, whose caption follows the past count and unit.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "setup/common/range_edit.h"

namespace setup::cal {

class CalRangeControls {
 public:
  explicit CalRangeControls(ProfileSession& session);

  // One month back and six months ahead: where a new profile and the wizard start.
  void FillDefaults(bool deleteOld);
  // The stored counts and units; a unit no list entry has shows the first entry, Day(s).
  void Fill(int pastCount, int16_t pastUnitDays, int futureCount, int16_t futureUnitDays,
            bool deleteOld);

  std::vector<std::u16string> UnitNames() const;
  // The caption of the delete check box (256), rebuilt from the past count and unit: the shell
  // sets it again after each change of the past count's text and each confirmed selection of
  // the past unit.
  std::u16string DeleteCaption() const;
  int16_t PastDays() const;
  int16_t FutureDays() const;

  // CalPastCount, CalPastUnit, CalFutureCount and CalFutureUnit from the spin positions and the
  // selected names, then the deletion: on, DeleteOldTypes 15 and every calendar type's limit
  // the past count and unit; off, DeleteOldTypes 0 (the limits stay). RangeChanged is the
  // page's to decide.
  void Store(framework::SetupBlock& a) const;

  CRangeEdit pastCount;
  int pastUnit = 0;  // index into the unit list
  CRangeEdit futureCount;
  int futureUnit = 0;
  bool deleteOld = false;

 private:
  ProfileSession& session_;
};

}  // namespace setup::cal
