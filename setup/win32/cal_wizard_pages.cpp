// The wizard's page of calsetup (cal_pages.h): it starts from fixed values, offers Back and
// Next when it becomes active, stores into the blocks when the user goes on, and lets go of
// the profile when the user cancels the wizard.

#include "setup/calsetup/wizard_pages.h"

#include "setup/calsetup/control_ids.h"

#include "setup/win32/cal_pages.h"
#include "setup/win32/cal_range_fields.h"
#include "setup/win32/cal_resources.h"

namespace setup::win32 {
namespace {

static_assert(IDC_CAL_WIZARD_RANGE_INTRO == cal::control::kWizardRangeIntro);

class WizardRangePage final : public PropertyPage {
 public:
  WizardRangePage(HMODULE module, cal::CalSetup& setup)
      : PropertyPage(module, IDD_CAL_WIZARD_RANGE, setup.Session()),
        model_(setup),
        fields_(
            model_.range,
            {IDC_CAL_WIZARD_PAST_COUNT, IDC_CAL_WIZARD_PAST_SPIN, IDC_CAL_WIZARD_PAST_UNIT,
             IDC_CAL_WIZARD_FUTURE_COUNT, IDC_CAL_WIZARD_FUTURE_SPIN, IDC_CAL_WIZARD_FUTURE_UNIT},
            [this] { return model_.Initialised(); }) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Start();
    fields_.Show(page);
  }
  void OnCommand(HWND page, int id, int code) override { fields_.OnCommand(page, id, code); }
  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    switch (header.code) {
      case PSN_SETACTIVE:
        SetWizardButtons(page, model_.Buttons());
        break;
      case PSN_WIZNEXT:
        model_.Next();
        break;
      case PSN_QUERYCANCEL:
        // Released before the cancel goes on, which the answer FALSE lets it do.
        model_.Cancel();
        return FALSE;
    }
    return 0;
  }

  cal::CWizRange model_;
  CalRangeFields fields_;
};

}  // namespace

std::vector<std::unique_ptr<PropertyPage>> CalWizardPages(HMODULE module, cal::CalSetup& setup) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  pages.push_back(std::make_unique<WizardRangePage>(module, setup));
  return pages;
}

}  // namespace setup::win32
