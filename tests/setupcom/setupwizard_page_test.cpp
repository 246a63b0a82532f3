// setupwizard.dll's logon page in the host's wizard under a display, worked through window
// messages as a person would, and the logon it stores handed on as the host does: WizardData
// read through IDispatch and given to emailsetup.dll's CommitPages against hostsim.dll, whose
// profile then holds it.

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "platform/exception.h"
#include "setup/win32/logon_resources.h"
#include "tests/com/com_test_support.h"
#include "tests/setupcom/email_setup_fixture.h"
#include "tests/setupcom/sheet_steps.h"
#include "tests/wine/dialog_driver.h"
#include "tools/gwsync/com_setup_host.h"

namespace setup::com::test {
namespace {

using platform::win32::test::DialogDriver;
using setup::test::ClickOnPage;
using setup::test::OnPage;
using setup::test::Pause;
using setup::test::PressSheetButton;
using setup::test::Step;
using setup::test::TypeInto;
namespace block_c = framework::block_c_mail;

constexpr char kWizardCaption[] = "Didodudo Z380 - Synchronization Settings Wizard";
constexpr char kProgId[] = "setupwizard.SetupWizard.1";
// The wizard's own buttons.
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr wchar_t kGreek[] = L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae";

// IEECDIALOG's WizardData get through IDispatch, as a host that serves all four components
// calls it. The array in the slot stays the component's: the VARIANT is never cleared.
VARIANT ReadWizardData(IDispatch& component) {
  constexpr DISPID kWizardData = 7;
  DISPPARAMS none{};
  VARIANT value;
  VariantInit(&value);
  const HRESULT hr = component.Invoke(kWizardData, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
  if (FAILED(hr)) throw platform::Exception("WizardData: " + std::to_string(hr));
  return value;
}

class LogonPageTest : public EmailSetupTest {
 protected:
  static void SetUpTestSuite() {
    EmailSetupTest::SetUpTestSuite();
    ASSERT_EQ(comserver::test::RunRegsvr32("/s", comserver::test::RuntimeFile("setupwizard.dll")),
              0u);
  }
  void SetUp() override {
    EmailSetupTest::SetUp();
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the page needs a display: run the tests under xvfb-run -a";
  }

  // The host's wizard of the logon page while the driver takes the steps, then Next and
  // Finish; whether it finished.
  static bool RunWizard(gwsync::SetupComponentHost& wizard, std::vector<Step> steps) {
    const std::vector<HPROPSHEETPAGE> pages = wizard.AddPages();
    EXPECT_EQ(pages.size(), 1u);
    for (Step step :
         {Pause(), PressSheetButton(PSBTN_NEXT), Pause(), PressSheetButton(PSBTN_FINISH)})
      steps.push_back(step);
    DialogDriver driver(GetCurrentThreadId(), kWizardCaption, std::move(steps));
    const bool finished = gwsync::RunHostWizard(pages);
    const DialogDriver::Outcome outcome = driver.Finish();
    EXPECT_TRUE(outcome.appeared);
    EXPECT_FALSE(outcome.leftOpen);
    return finished;
  }
};

// What the page shows after each thing the user does.
struct Shown {
  bool checked = false;
  bool userEnabled = false;
  bool paramsEnabled = false;
  bool back = false;
  bool next = false;
  bool nextVisible = false;
  std::string intro;
};

std::string Describe(const Shown& shown) {
  return std::string(shown.checked ? "checked" : "unchecked") + ", edits " +
         (shown.userEnabled ? "on" : "off") + "/" + (shown.paramsEnabled ? "on" : "off") +
         ", Back " + (shown.back ? "on" : "off") + ", Next " + (shown.next ? "on" : "off") +
         (shown.nextVisible ? "" : " (hidden)");
}

Step Record(Shown* shown) {
  return OnPage([shown](HWND sheet, HWND page) {
    shown->checked = IsDlgButtonChecked(page, IDC_LOGON_MANUAL) == BST_CHECKED;
    shown->userEnabled = IsWindowEnabled(GetDlgItem(page, IDC_LOGON_USER));
    shown->paramsEnabled = IsWindowEnabled(GetDlgItem(page, IDC_LOGON_PARAMS));
    shown->back = IsWindowEnabled(GetDlgItem(sheet, kBackButton));
    shown->next = IsWindowEnabled(GetDlgItem(sheet, kNextButton));
    shown->nextVisible = IsWindowVisible(GetDlgItem(sheet, kNextButton));
    shown->intro = platform::win32::test::WindowText(GetDlgItem(page, IDC_LOGON_INTRO));
  });
}

TEST_F(LogonPageTest, TheEditsAndTheWizardsButtonsFollowTheUser) {
  const struct {
    const char* name;
    std::vector<Step> actions;
    const char* wanted;
  } rows[] = {
      {"as the page starts", {}, "unchecked, edits off/off, Back on, Next on"},
      {"manual login checked",
       {ClickOnPage(IDC_LOGON_MANUAL)},
       "checked, edits on/on, Back on, Next off"},
      {"a user name typed",
       {TypeInto(IDC_LOGON_USER, L"jdoe")},
       "checked, edits on/on, Back on, Next on"},
      {"the user name erased",
       {TypeInto(IDC_LOGON_USER, L"")},
       "checked, edits on/on, Back on, Next off"},
      {"parameters typed",
       {TypeInto(IDC_LOGON_PARAMS, L"/ph")},
       "checked, edits on/on, Back on, Next on"},
      {"on to the host's last page and back",
       {PressSheetButton(PSBTN_NEXT), Pause(), PressSheetButton(PSBTN_BACK)},
       "checked, edits on/on, Back on, Next on"},
      {"the parameters erased",
       {TypeInto(IDC_LOGON_PARAMS, L"")},
       "checked, edits on/on, Back on, Next off"},
      {"unchecked", {ClickOnPage(IDC_LOGON_MANUAL)}, "unchecked, edits off/off, Back on, Next on"},
  };
  std::vector<Shown> shown(std::size(rows));
  std::vector<Step> steps;
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    steps.insert(steps.end(), rows[i].actions.begin(), rows[i].actions.end());
    steps.push_back(Pause());
    steps.push_back(Record(&shown[i]));
  }
  gwsync::SetupComponentHost wizard(kProgId);
  EXPECT_TRUE(RunWizard(wizard, steps));
  for (std::size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(Describe(shown[i]), rows[i].wanted) << rows[i].name;
  EXPECT_EQ(shown[0].intro.rfind("In some cases it may be necessary to specify your user name", 0),
            0u)
      << shown[0].intro;
  wizard.RemovePages();
}

// The whole handover: the page's Next stores the texts, the host reads them as WizardData and
// hands them to the e-mail component's CommitPages, which logs in manually whenever either text
// is there. The stored profile starts with a manual login of its own.
TEST_F(LogonPageTest, WhatNextStoresReachesTheEmailProfile) {
  const struct {
    const char* name;
    std::vector<Step> actions;
    const char16_t* user;
    const char16_t* params;
    int16_t manualLogin;
  } rows[] = {
      {"user name and parameters",
       {ClickOnPage(IDC_LOGON_MANUAL), TypeInto(IDC_LOGON_USER, L"jdoe"),
        TypeInto(IDC_LOGON_PARAMS, L"/ph-x")},
       u"jdoe",
       u"/ph-x",
       1},
      {"a Greek user name, as typed",
       {ClickOnPage(IDC_LOGON_MANUAL), TypeInto(IDC_LOGON_USER, kGreek)},
       u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae",
       u"",
       1},
      {"parameters only",
       {ClickOnPage(IDC_LOGON_MANUAL), TypeInto(IDC_LOGON_PARAMS, L"/ph-x")},
       u"",
       u"/ph-x",
       1},
      {"typed, then unchecked: no manual login",
       {ClickOnPage(IDC_LOGON_MANUAL), TypeInto(IDC_LOGON_USER, L"jdoe"),
        TypeInto(IDC_LOGON_PARAMS, L"/ph-x"), Pause(), ClickOnPage(IDC_LOGON_MANUAL)},
       u"",
       u"",
       0},
      {"nothing done", {}, u"", u"", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Save("handover.json", StoredProfile());
    gwsync::SetupComponentHost wizard(kProgId);
    ASSERT_TRUE(RunWizard(wizard, row.actions));
    const VARIANT logon = ReadWizardData(*wizard.Dispatch());

    gwsync::SetupComponentHost email("emailsetup.EmailSetup.1");
    email.SetControlFile(Path("handover.json"));
    email.AddPages();
    email.CommitPages(logon);
    email.RemovePages();
    wizard.RemovePages();

    const sim::Profile profile = Load("handover.json");
    EXPECT_EQ(profile.c.Get(block_c::LoginUser), row.user);
    EXPECT_EQ(profile.c.Get(block_c::LoginParams), row.params);
    EXPECT_EQ(profile.c.Get(block_c::ManualLogin), row.manualLogin);
  }
}

}  // namespace
}  // namespace setup::com::test
