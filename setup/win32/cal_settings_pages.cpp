// The Settings sheet's pages of calsetup (cal_pages.h).

#include "setup/calsetup/settings_pages.h"

#include "setup/calsetup/control_ids.h"

#include "setup/win32/cal_pages.h"
#include "setup/win32/cal_range_fields.h"
#include "setup/win32/cal_resources.h"
#include "setup/win32/rule_page_dialogs.h"

namespace setup::win32 {
namespace {

// The templates and the page models name the same controls.
namespace control = cal::control;
static_assert(IDC_CAL_RANGE_INTRO == control::kRangeIntro &&
              IDC_CAL_DELETE_OLD_INTRO == control::kDeleteOldIntro &&
              IDC_CAL_DELETE_OLD == control::kDeleteOldCheck &&
              IDC_CAL_CONFLICT_INTRO == control::kConflictIntro &&
              IDC_CAL_DELETE_INTRO == control::kDeleteIntro);

class GeneralPage final : public PropertyPage {
 public:
  GeneralPage(HMODULE module, cal::CalSetup& setup)
      : PropertyPage(module, IDD_CAL_GENERAL, setup.Session()), model_(setup) {}

 private:
  void OnInitDialog(HWND page) override {
    model_.Fill();
    const auto& c = model_.controls;
    SetChecked(page, IDC_CAL_MANUAL_LOGIN, c.manualLogin);
    SetControlText(page, IDC_CAL_LOGIN_USER, c.user);
    SetControlText(page, IDC_CAL_LOGIN_PARAMS, c.params);
    ShowEnabled(page);
  }

  void OnCommand(HWND page, int id, int code) override {
    if (id != IDC_CAL_MANUAL_LOGIN || code != BN_CLICKED) return;
    model_.controls.manualLogin = IsChecked(page, IDC_CAL_MANUAL_LOGIN);
    ShowEnabled(page);
  }

  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    if (header.code != PSN_APPLY) return PSNRET_NOERROR;
    auto& c = model_.controls;
    c.manualLogin = IsChecked(page, IDC_CAL_MANUAL_LOGIN);
    c.user = ReadControlText(page, IDC_CAL_LOGIN_USER);
    c.params = ReadControlText(page, IDC_CAL_LOGIN_PARAMS);
    model_.Accept();
    return PSNRET_NOERROR;
  }

  void ShowEnabled(HWND page) {
    for (int id : {IDC_CAL_LOGIN_USER, IDC_CAL_LOGIN_PARAMS})
      Enable(page, id, model_.UserAndParamsEnabled());
  }

  cal::CProfilePage model_;
};

class DateRangePage final : public PropertyPage {
 public:
  DateRangePage(HMODULE module, cal::CalSetup& setup)
      : PropertyPage(module, IDD_CAL_DATE_RANGE, setup.Session()),
        model_(setup),
        fields_(model_.range,
                {IDC_CAL_PAST_COUNT, IDC_CAL_PAST_SPIN, IDC_CAL_PAST_UNIT, IDC_CAL_FUTURE_COUNT,
                 IDC_CAL_FUTURE_SPIN, IDC_CAL_FUTURE_UNIT},
                [this] { return model_.Initialised(); }) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Fill();
    fields_.Show(page);
  }
  void OnCommand(HWND page, int id, int code) override { fields_.OnCommand(page, id, code); }
  LRESULT OnNotify(HWND, const NMHDR& header) override {
    if (header.code == PSN_APPLY) model_.Accept();
    return PSNRET_NOERROR;
  }

  cal::CDatePage model_;
  CalRangeFields fields_;
};

}  // namespace

std::vector<std::unique_ptr<PropertyPage>> CalSettingsPages(HMODULE module, cal::CalSetup& setup) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  pages.push_back(std::make_unique<GeneralPage>(module, setup));
  pages.push_back(std::make_unique<DateRangePage>(module, setup));
  pages.push_back(
      NewConflictPage(module, setup.Session(), cal::CConflictPage(setup),
                      {IDD_CAL_CONFLICT, IDC_CAL_GROUPWISE_WINS, IDC_CAL_SMARTPHONE_WINS}));
  pages.push_back(NewDeleteOptionsPage(
      module, setup.Session(), cal::CDeleteOptions(setup),
      {IDD_CAL_DELETE, IDC_CAL_KEEP_IN_GROUPWISE, IDC_CAL_DELETE_IN_GROUPWISE}));
  return pages;
}

}  // namespace setup::win32
