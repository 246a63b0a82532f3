#pragma once

// The mail range controls that the Date Range page and the wizard's range page share: a count
// of 1 to 30, a unit list, and the check box that deletes older mail from the device, whose
// caption follows the count and the unit.

#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "setup/common/range_edit.h"

namespace setup::email {

class MailRangeControls {
 public:
  explicit MailRangeControls(ProfileSession& session);

  // Three days, older mail deleted: where a new profile and the wizard start.
  void FillDefaults();
  void Fill(int count, int16_t unitDays, bool deleteOld);

  std::vector<std::u16string> UnitNames() const;
  // The caption of the delete check box (706), rebuilt from the count and the unit: the shell
  // sets it again after each change of the count's text and each confirmed unit selection.
  std::u16string DeleteCaption() const;
  int16_t SelectedDays() const;

  // MailRangeUnit and MailRangeCount; with the check box DeleteOldTypes 64 and the deletion's
  // unit and count alike, without it DeleteOldTypes 0 (the deletion's unit and count stay).
  void Store(framework::SetupBlock& a) const;

  CRangeEdit count;
  int unit = 0;  // index into the unit list
  bool deleteOld = true;

 private:
  ProfileSession& session_;
};

}  // namespace setup::email
