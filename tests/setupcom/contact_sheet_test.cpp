// contactsetup.dll's pages as a person uses them, under a display: the Settings sheet of
// ShowDialog (Cancel writes nothing, OK writes what the pages hold, the Restrictions page with
// a group no visible button shows) and the address book page of AddPages in the host's wizard,
// then CommitPages. The dialog driver types, clicks and presses through window messages from a
// thread of its own.

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include "framework/setup_blocks.h"
#include "setup/win32/contact_resources.h"
#include "setup/win32/property_page.h"
#include "tests/setupcom/contact_setup_fixture.h"
#include "tests/setupcom/sheet_steps.h"
#include "tools/gwsync/com_setup_host.h"

namespace setup::com::test {
namespace {

using platform::win32::ComPtr;
using platform::win32::test::DialogDriver;
using setup::test::ClickOnPage;
using setup::test::OnPage;
using setup::test::Pause;
using setup::test::PressSheetButton;
using setup::test::SelectPage;
using setup::test::Step;
using setup::test::TypeInto;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;

// The host's wizard shows the caption of the page it shows.
constexpr char kWizardCaption[] = "Address Book";
constexpr int kNextButton = 0x3024;

class ContactSheetTest : public ContactSetupTest {
 protected:
  void SetUp() override {
    ContactSetupTest::SetUp();
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the pages need a display: run the tests under xvfb-run -a";
  }

  // ShowDialog on `file` while the driver takes the steps; its HRESULT.
  HRESULT Show(const char* file, std::vector<Step> steps) {
    const ComPtr<IEECDIALOG> component = ComponentFor(file);
    if (!component) return E_FAIL;
    DialogDriver driver(GetCurrentThreadId(), kSheetCaption, std::move(steps));
    const HRESULT hr = component->ShowDialog();
    const DialogDriver::Outcome outcome = driver.Finish();
    EXPECT_TRUE(outcome.appeared);
    EXPECT_FALSE(outcome.leftOpen);
    return hr;
  }
};

TEST_F(ContactSheetTest, CancelWritesNothingEvenAfterEveryPageWasShown) {
  Save("cancel.json", StoredProfile());
  const sim::Profile before = Load("cancel.json");
  std::vector<Step> steps = {TypeInto(IDC_CONTACT_ADDRESS_BOOK, L"Other")};
  for (int page = 1; page < 4; ++page)
    steps.push_back(SelectPage(page));
  steps.push_back(PressSheetButton(PSBTN_CANCEL));
  EXPECT_EQ(Show("cancel.json", steps), S_OK);
  EXPECT_TRUE(Load("cancel.json") == before);
  const std::string calls = host_.TakeEngineCalls();
  EXPECT_EQ(calls.find("save"), std::string::npos) << calls;
  EXPECT_NE(calls.find("close"), std::string::npos) << calls;
}

// Every control of every page, changed the way a person changes it, reaches its field; the
// login texts follow their check box.
TEST_F(ContactSheetTest, OkWritesWhatEveryPageHolds) {
  Save("ok.json", StoredProfile());
  bool userEnabledWhenOff = true;
  bool bookEnabledWhenOff = false;
  const std::vector<Step> steps = {
      ClickOnPage(IDC_CONTACT_MANUAL_LOGIN),  // stored on: now off
      Pause(),
      OnPage([&](HWND, HWND page) {
        userEnabledWhenOff = IsWindowEnabled(GetDlgItem(page, IDC_CONTACT_LOGIN_USER));
        bookEnabledWhenOff = IsWindowEnabled(GetDlgItem(page, IDC_CONTACT_ADDRESS_BOOK));
      }),
      ClickOnPage(IDC_CONTACT_MANUAL_LOGIN),
      TypeInto(IDC_CONTACT_LOGIN_USER, L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae"),
      TypeInto(IDC_CONTACT_LOGIN_PARAMS, L"/ph-x"),
      TypeInto(IDC_CONTACT_ADDRESS_BOOK, L"Family"),
      SelectPage(1),
      ClickOnPage(IDC_CONTACT_NAME_WORK_AND_NOTES),
      SelectPage(2),
      ClickOnPage(IDC_CONTACT_SMARTPHONE_WINS),
      SelectPage(3),
      ClickOnPage(IDC_CONTACT_KEEP_IN_GROUPWISE),
      Pause(),
      PressSheetButton(PSBTN_OK),
  };
  EXPECT_EQ(Show("ok.json", steps), S_OK);
  EXPECT_FALSE(userEnabledWhenOff);
  EXPECT_TRUE(bookEnabledWhenOff);
  const sim::Profile profile = Load("ok.json");
  EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 1);
  EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae");
  EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"/ph-x");
  EXPECT_EQ(profile.c.Get(block_c::AddressBook), u"Family");
  EXPECT_EQ(profile.a.Get(block_a::ContactFieldGroups), 8165u);
  EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 0);
  EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 16);
  const std::string calls = host_.TakeEngineCalls();
  EXPECT_NE(calls.find("save\nclose\n"), std::string::npos) << calls;
}

// A group the page has no visible button for is shown with none selected and kept through OK;
// a click on a visible one replaces it.
TEST_F(ContactSheetTest, TheRestrictionsPageKeepsAGroupItDoesNotShow) {
  const struct {
    const char* name;
    int click;  // 0: none
    uint32_t stored;
  } cases[] = {
      {"untouched", 0, 27},
      {"All fields clicked", IDC_CONTACT_ALL_FIELDS, 0},
      {"Name and all numbers clicked", IDC_CONTACT_NAME_AND_NUMBERS, 551},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::ContactFieldGroups, 27);
    Save("groups.json", stored);
    int checkedButtons = -1;
    bool homeVisible = true;
    std::vector<Step> steps = {
        SelectPage(1), OnPage([&](HWND, HWND page) {
          checkedButtons = 0;
          for (int id = IDC_CONTACT_ALL_FIELDS; id <= IDC_CONTACT_NAME_AND_HOME; ++id)
            checkedButtons += IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
          homeVisible = IsWindowVisible(GetDlgItem(page, IDC_CONTACT_NAME_AND_HOME));
        })};
    if (c.click != 0) steps.push_back(ClickOnPage(c.click));
    steps.push_back(Pause());
    steps.push_back(PressSheetButton(PSBTN_OK));
    EXPECT_EQ(Show("groups.json", steps), S_OK);
    EXPECT_EQ(checkedButtons, 0);
    EXPECT_FALSE(homeVisible);
    EXPECT_EQ(Load("groups.json").a.Get(block_a::ContactFieldGroups), c.stored);
  }
}

// The address book page as the host's wizard shows it, through the component's IDispatch as the
// host calls it: it starts with the default book whatever is stored, offers Next only with a
// name, stores the name when the user goes on, and CommitPages adds the setup wizard's login.
TEST_F(ContactSheetTest, TheWizardPageStoresTheBookAndCommitPagesAddsTheLogin) {
  Save("wizard.json", StoredProfile());
  gwsync::SetupComponentHost component("contactsetup.ContactSetup.1");
  component.SetControlFile(Path("wizard.json"));
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  ASSERT_EQ(pages.size(), 1u);
  std::u16string shown;
  bool nextAtStart = false;
  bool nextWhenEmpty = true;
  bool nextWithName = false;
  const auto next = [](bool& enabled) {
    return OnPage([&enabled](HWND sheet, HWND) {
      enabled = IsWindowEnabled(GetDlgItem(sheet, kNextButton));
    });
  };
  DialogDriver driver(GetCurrentThreadId(), kWizardCaption,
                      {Pause(), OnPage([&](HWND, HWND page) {
                         shown = win32::ReadControlText(page, IDC_CONTACT_ADDRESS_BOOK);
                       }),
                       next(nextAtStart), TypeInto(IDC_CONTACT_ADDRESS_BOOK, L""), Pause(),
                       next(nextWhenEmpty), TypeInto(IDC_CONTACT_ADDRESS_BOOK, L"F"), Pause(),
                       next(nextWithName), TypeInto(IDC_CONTACT_ADDRESS_BOOK, L"Family"),
                       PressSheetButton(PSBTN_NEXT), Pause(), PressSheetButton(PSBTN_FINISH)});
  EXPECT_TRUE(gwsync::RunHostWizard(pages));
  EXPECT_TRUE(driver.Finish().appeared);
  EXPECT_EQ(shown, u"Didodudo Z380");
  EXPECT_TRUE(nextAtStart);
  EXPECT_FALSE(nextWhenEmpty);
  EXPECT_TRUE(nextWithName);

  SAFEARRAYBOUND bound{2, 0};
  platform::win32::UniqueSafeArray array(SafeArrayCreate(VT_BSTR, 1, &bound));
  LONG index = 0;
  for (const wchar_t* text : {L"jdoe", L"/ph-x"}) {
    platform::win32::UniqueBstr element(SysAllocString(text));
    SafeArrayPutElement(array.Get(), &index, element.Get());
    ++index;
  }
  VARIANT profileName{};
  V_VT(&profileName) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&profileName) = array.Get();
  component.CommitPages(profileName);
  component.RemovePages();

  const sim::Profile profile = Load("wizard.json");
  EXPECT_EQ(profile.c.Get(block_c::AddressBook), u"Family");
  EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"jdoe");
  EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"/ph-x");
  EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 1);
  EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 1);
  EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 0);
  EXPECT_EQ(profile.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (Contacts)");
}

}  // namespace
}  // namespace setup::com::test
