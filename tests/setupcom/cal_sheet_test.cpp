// calsetup.dll's pages as a person uses them, under a display: the Settings sheet of ShowDialog
// (Cancel writes nothing, OK writes what the pages hold, the Date Range page's numeric fields,
// unit lists and delete caption, a new profile's first view) and the wizard's range page of
// AddPages in the host's wizard, then CommitPages, or a cancelled wizard that writes nothing.
// The dialog driver types, clicks and presses through window messages from a thread of its
// own.

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include "framework/setup_blocks.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"
#include "setup/win32/cal_resources.h"
#include "setup/win32/property_page.h"
#include "tests/setupcom/cal_setup_fixture.h"
#include "tests/setupcom/sheet_steps.h"
#include "tools/gwsync/com_setup_host.h"

namespace setup::com::cal_test {
namespace {

using platform::win32::ComPtr;
using platform::win32::test::DialogDriver;
using setup::test::AnswerMessage;
using setup::test::ClickOnPage;
using setup::test::KeyOnPage;
using setup::test::OnPage;
using setup::test::Pause;
using setup::test::PressSheetButton;
using setup::test::SelectPage;
using setup::test::Step;
using setup::test::TypeInto;
using setup::win32::IsChecked;
using setup::win32::ReadControlText;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;

constexpr char kWizardCaption[] = "Didodudo Z380 - Synchronization Settings Wizard";
constexpr char16_t kCaptionStart[] = u"Delete calendar items older than ";
constexpr char16_t kCaptionEnd[] = u" from the smartphone after synchronization";

// What a page of the range shows: both counts, both units, the delete box and its caption.
struct RangeShown {
  std::u16string past, pastUnit, future, futureUnit, caption;
  bool deleteOld = false;
};

Step ReadRange(RangeShown& shown, int past, int pastUnit, int future, int futureUnit) {
  return OnPage([=, &shown](HWND, HWND page) {
    shown = {ReadControlText(page, past),
             ReadControlText(page, pastUnit),
             ReadControlText(page, future),
             ReadControlText(page, futureUnit),
             ReadControlText(page, IDC_CAL_DELETE_OLD),
             IsChecked(page, IDC_CAL_DELETE_OLD)};
  });
}

Step ReadDateRange(RangeShown& shown) {
  return ReadRange(shown, IDC_CAL_PAST_COUNT, IDC_CAL_PAST_UNIT, IDC_CAL_FUTURE_COUNT,
                   IDC_CAL_FUTURE_UNIT);
}

class CalSheetTest : public CalSetupTest {
 protected:
  void SetUp() override {
    CalSetupTest::SetUp();
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the pages need a display: run the tests under xvfb-run -a";
  }

  // ShowDialog on `file` while the driver takes the steps; its HRESULT.
  HRESULT Show(const char* file, std::vector<Step> steps) {
    const ComPtr<IEECDIALOG> component = ComponentFor(file);
    if (!component) return E_FAIL;
    DialogDriver driver(GetCurrentThreadId(), kTitle, std::move(steps));
    const HRESULT hr = component->ShowDialog();
    const DialogDriver::Outcome outcome = driver.Finish();
    EXPECT_TRUE(outcome.appeared);
    EXPECT_FALSE(outcome.leftOpen);
    return hr;
  }
};

TEST_F(CalSheetTest, CancelWritesNothingEvenAfterEveryPageWasShown) {
  Save("cancel.json", StoredProfile());
  const sim::Profile before = Load("cancel.json");
  std::vector<Step> steps = {TypeInto(IDC_CAL_LOGIN_USER, L"someone else")};
  for (int page = 1; page < 4; ++page)
    steps.push_back(SelectPage(page));
  steps.push_back(SelectPage(1));
  steps.push_back(TypeInto(IDC_CAL_FUTURE_COUNT, L"9"));
  steps.push_back(PressSheetButton(PSBTN_CANCEL));
  EXPECT_EQ(Show("cancel.json", steps), S_OK);
  EXPECT_TRUE(Load("cancel.json") == before);
  const std::string calls = host_.TakeEngineCalls();
  EXPECT_EQ(calls.find("save"), std::string::npos) << calls;
  EXPECT_NE(calls.find("close"), std::string::npos) << calls;
}

// Every control of every page, changed the way a person changes it, reaches its field; the
// user name in Greek arrives as typed; the deletion switched off keeps its limits.
TEST_F(CalSheetTest, OkWritesWhatEveryPageHolds) {
  Save("ok.json", StoredProfile());
  bool editsEnabledWhenOff = true;
  RangeShown shown;
  const std::vector<Step> steps = {
      ClickOnPage(IDC_CAL_MANUAL_LOGIN),  // stored on: now off
      Pause(),
      OnPage([&](HWND, HWND page) {
        editsEnabledWhenOff = IsWindowEnabled(GetDlgItem(page, IDC_CAL_LOGIN_USER)) ||
                              IsWindowEnabled(GetDlgItem(page, IDC_CAL_LOGIN_PARAMS));
      }),
      ClickOnPage(IDC_CAL_MANUAL_LOGIN),
      TypeInto(IDC_CAL_LOGIN_USER, L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae"),
      TypeInto(IDC_CAL_LOGIN_PARAMS, L"/ph-x"),
      SelectPage(1),
      TypeInto(IDC_CAL_PAST_COUNT, L"2"),
      KeyOnPage(IDC_CAL_PAST_UNIT, VK_DOWN),  // Month(s) to Year(s)
      TypeInto(IDC_CAL_FUTURE_COUNT, L"9"),
      KeyOnPage(IDC_CAL_FUTURE_UNIT, VK_UP),  // Month(s) to Week(s)
      ClickOnPage(IDC_CAL_DELETE_OLD),        // stored on
      Pause(),
      ReadDateRange(shown),
      SelectPage(2),
      ClickOnPage(IDC_CAL_SMARTPHONE_WINS),
      SelectPage(3),
      ClickOnPage(IDC_CAL_KEEP_IN_GROUPWISE),
      Pause(),
      PressSheetButton(PSBTN_OK),
  };
  EXPECT_EQ(Show("ok.json", steps), S_OK);
  EXPECT_FALSE(editsEnabledWhenOff);
  EXPECT_EQ(shown.pastUnit, u"Year(s)");
  EXPECT_EQ(shown.futureUnit, u"Week(s)");
  EXPECT_EQ(shown.caption, std::u16string(kCaptionStart) + u"2 Year(s)" + kCaptionEnd);
  EXPECT_FALSE(shown.deleteOld);
  const sim::Profile profile = Load("ok.json");
  EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 1);
  EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae");
  EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"/ph-x");
  EXPECT_EQ(profile.a.Get(block_a::CalPastCount), 2);
  EXPECT_EQ(profile.a.Get(block_a::CalPastUnit), 365);
  EXPECT_EQ(profile.a.Get(block_a::CalFutureCount), 9);
  EXPECT_EQ(profile.a.Get(block_a::CalFutureUnit), 7);
  EXPECT_EQ(profile.a.Get(block_a::RangeChanged), 1);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldTypes), 0);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldCount[0]), 1) << "the limits stay";
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldUnit[3]), 30);
  EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 0);
  EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 15);
  const std::string calls = host_.TakeEngineCalls();
  EXPECT_NE(calls.find("save\nclose\n"), std::string::npos) << calls;
}

// The Date Range page as it is edited: RangeChanged only when something changed, a count out
// of its range refused with the component's message, the caption after the past count.
TEST_F(CalSheetTest, TheDateRangePageStoresWhatItShowsAndMarksOnlyChanges) {
  const struct {
    const char* name;
    std::vector<Step> edits;
    std::vector<std::string> messages;
    int16_t pastCount, pastUnit, futureCount, rangeChanged, deleteCount;
    const char16_t* caption;
  } cases[] = {
      {"nothing changed", {}, {}, 1, 30, 6, 0, 1, u"1 Month(s)"},
      {"only the future count",
       {TypeInto(IDC_CAL_FUTURE_COUNT, L"7")},
       {},
       1,
       30,
       7,
       1,
       1,
       u"1 Month(s)"},
      {"a past count beyond 30, refused",
       {TypeInto(IDC_CAL_PAST_COUNT, L"45")},
       // "4" is taken, "45" refused: the field goes back to 4.
       {"Invalid number, please enter a number from 1 - 30 "},
       4,
       30,
       6,
       1,
       4,
       u"4 Month(s)"},
      {"the past unit chosen",
       {KeyOnPage(IDC_CAL_PAST_UNIT, VK_UP)},
       {},
       1,
       7,
       6,
       1,
       1,
       u"1 Week(s)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Save("range.json", StoredProfile());
    std::vector<std::string> messages;
    RangeShown shown;
    std::vector<Step> steps = {SelectPage(1)};
    steps.insert(steps.end(), c.edits.begin(), c.edits.end());
    for (std::size_t i = 0; i < c.messages.size(); ++i)
      steps.push_back(AnswerMessage(kTitle, IDOK, &messages));
    steps.push_back(Pause());
    steps.push_back(ReadDateRange(shown));
    steps.push_back(PressSheetButton(PSBTN_OK));
    EXPECT_EQ(Show("range.json", steps), S_OK);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(shown.caption, kCaptionStart + std::u16string(c.caption) + kCaptionEnd);
    const sim::Profile profile = Load("range.json");
    EXPECT_EQ(profile.a.Get(block_a::CalPastCount), c.pastCount);
    EXPECT_EQ(profile.a.Get(block_a::CalPastUnit), c.pastUnit);
    EXPECT_EQ(profile.a.Get(block_a::CalFutureCount), c.futureCount);
    EXPECT_EQ(profile.a.Get(block_a::CalFutureUnit), 30);
    EXPECT_EQ(profile.a.Get(block_a::RangeChanged), c.rangeChanged);
    EXPECT_EQ(profile.a.Get(block_a::DeleteOldTypes), 15);
    EXPECT_EQ(profile.a.Get(block_a::DeleteOldCount[2]), c.deleteCount);
    EXPECT_EQ(profile.a.Get(block_a::DeleteOldUnit[2]), c.pastUnit);
  }
}

// A profile the host has just made shows a month back, six ahead and no deletion, and keeps
// that after OK; InvisibleDialog on the same new profile turns the deletion on.
TEST_F(CalSheetTest, ANewProfileStartsWithoutTheDeletionThatInvisibleDialogTurnsOn) {
  RangeShown shown;
  EXPECT_EQ(
      Show("new.json", {SelectPage(1), Pause(), ReadDateRange(shown), PressSheetButton(PSBTN_OK)}),
      S_OK);
  EXPECT_EQ(shown.past, u"1");
  EXPECT_EQ(shown.pastUnit, u"Month(s)");
  EXPECT_EQ(shown.future, u"6");
  EXPECT_EQ(shown.futureUnit, u"Month(s)");
  EXPECT_FALSE(shown.deleteOld);
  const sim::Profile shownProfile = Load("new.json");
  EXPECT_EQ(shownProfile.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (Calendar)");
  EXPECT_EQ(shownProfile.a.Get(block_a::CalPastUnit), 30);
  EXPECT_EQ(shownProfile.a.Get(block_a::CalFutureCount), 6);
  EXPECT_EQ(shownProfile.a.Get(block_a::DeleteOldTypes), 0);

  const ComPtr<IEECDIALOG> component = ComponentFor("new-invisible.json");
  ASSERT_TRUE(component);
  VARIANT_BOOL result = VARIANT_FALSE;
  EXPECT_EQ(component->InvisibleDialog(&result), S_OK);
  EXPECT_EQ(Load("new-invisible.json").a.Get(block_a::DeleteOldTypes), 15);
}

// The host's wizard as the host drives it through IDispatch: the range page offers Back and
// Next, stores what it shows when the user goes on (RangeChanged untouched), and CommitPages
// adds the setup wizard's login and the commit values.
TEST_F(CalSheetTest, TheWizardPageStoresWhatItShowsAndCommitPagesAddsTheLogin) {
  sim::Profile stored = StoredProfile();
  stored.a.Set(block_a::DeleteRule, 15);
  Save("wizard.json", stored);
  gwsync::SetupComponentHost component("calsetup.CalSetup.1");
  component.SetControlFile(Path("wizard.json"));
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  ASSERT_EQ(pages.size(), 1u);
  constexpr int kNextButton = 0x3024;
  bool nextEnabled = false;
  RangeShown started;
  DialogDriver driver(
      GetCurrentThreadId(), kWizardCaption,
      {Pause(), OnPage([&](HWND sheet, HWND) {
         nextEnabled = IsWindowEnabled(GetDlgItem(sheet, kNextButton));
       }),
       ReadRange(started, IDC_CAL_WIZARD_PAST_COUNT, IDC_CAL_WIZARD_PAST_UNIT,
                 IDC_CAL_WIZARD_FUTURE_COUNT, IDC_CAL_WIZARD_FUTURE_UNIT),
       TypeInto(IDC_CAL_WIZARD_PAST_COUNT, L"3"), KeyOnPage(IDC_CAL_WIZARD_PAST_UNIT, VK_UP),
       TypeInto(IDC_CAL_WIZARD_FUTURE_COUNT, L"2"), KeyOnPage(IDC_CAL_WIZARD_FUTURE_UNIT, VK_DOWN),
       Pause(), PressSheetButton(PSBTN_NEXT), Pause(), PressSheetButton(PSBTN_FINISH)});
  EXPECT_TRUE(gwsync::RunHostWizard(pages));
  EXPECT_TRUE(driver.Finish().appeared);
  EXPECT_TRUE(nextEnabled);
  EXPECT_EQ(started.past, u"1");
  EXPECT_EQ(started.pastUnit, u"Month(s)");
  EXPECT_EQ(started.future, u"6");
  EXPECT_EQ(started.futureUnit, u"Month(s)");
  EXPECT_TRUE(started.deleteOld);
  EXPECT_EQ(started.caption, std::u16string(kCaptionStart) + u"1 Month(s)" + kCaptionEnd);

  const platform::win32::UniqueSafeArray login = WizardLogin(L"jdoe", L"/ph-x");
  VARIANT profileName{};
  V_VT(&profileName) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&profileName) = login.Get();
  component.CommitPages(profileName);
  component.RemovePages();

  const sim::Profile profile = Load("wizard.json");
  EXPECT_EQ(profile.a.Get(block_a::CalPastCount), 3);
  EXPECT_EQ(profile.a.Get(block_a::CalPastUnit), 7);
  EXPECT_EQ(profile.a.Get(block_a::CalFutureCount), 2);
  EXPECT_EQ(profile.a.Get(block_a::CalFutureUnit), 365);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldTypes), 15);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldCount[3]), 3);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldUnit[3]), 7);
  EXPECT_EQ(profile.a.Get(block_a::RangeChanged), 0);
  EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"jdoe");
  EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"/ph-x");
  EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 1);
  EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 1);
  EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 0);
}

// Cancel on the range page lets go of the engine at once; the CommitPages a host may still
// send writes nothing.
TEST_F(CalSheetTest, ACancelledWizardWritesNothing) {
  Save("cancelled.json", StoredProfile());
  const sim::Profile before = Load("cancelled.json");
  gwsync::SetupComponentHost component("calsetup.CalSetup.1");
  component.SetControlFile(Path("cancelled.json"));
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  ASSERT_EQ(pages.size(), 1u);
  host_.TakeEngineCalls();
  DialogDriver driver(GetCurrentThreadId(), kWizardCaption,
                      {TypeInto(IDC_CAL_WIZARD_PAST_COUNT, L"3"), ClickOnPage(IDC_CAL_DELETE_OLD),
                       Pause(), PressSheetButton(PSBTN_CANCEL)});
  EXPECT_FALSE(gwsync::RunHostWizard(pages));
  EXPECT_TRUE(driver.Finish().appeared);
  EXPECT_EQ(host_.TakeEngineCalls(), "close\n");

  const platform::win32::UniqueSafeArray login = WizardLogin(L"jdoe", L"/ph");
  VARIANT profileName{};
  V_VT(&profileName) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&profileName) = login.Get();
  component.CommitPages(profileName);
  component.RemovePages();
  EXPECT_EQ(host_.TakeEngineCalls(), "");
  EXPECT_TRUE(Load("cancelled.json") == before);
}

}  // namespace
}  // namespace setup::com::cal_test
