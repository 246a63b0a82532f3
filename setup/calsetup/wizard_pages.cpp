#include "setup/calsetup/wizard_pages.h"

#include "setup/calsetup/control_ids.h"

namespace setup::cal {

std::vector<ControlText> CWizRange::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kWizardRangeIntro, strings.Text(string_id::kWizardRangeIntro)},
          {control::kDeleteOldIntro, strings.Text(string_id::kDeleteOldIntro)}};
}

void CWizRange::Start() {
  range.FillDefaults(true);
  MarkInitialised();
}

void CWizRange::Next() {
  if (Initialised()) range.Store(setup_.Session().Data().a);
}

void CWizRange::Cancel() {
  setup_.Session().Release();
}

}  // namespace setup::cal
