// emailsetup.dll's pages as a person uses them, under a display: the Settings sheet of
// ShowDialog (Cancel writes nothing, OK writes what the pages hold, the General page refusing
// OK) and the wizard pages of AddPages in the host's wizard, then CommitPages. The dialog driver
// types, clicks and presses through window messages from a thread of its own.

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "framework/setup_blocks.h"
#include "platform/win32/system_message.h"
#include "setup/win32/email_resources.h"
#include "setup/win32/property_page.h"
#include "setup/win32/settings_sheet.h"
#include "sim/host/com/hostsim_exports.h"
#include "tests/setupcom/email_setup_fixture.h"
#include "tests/setupcom/sheet_steps.h"
#include "tools/gwsync/com_setup_host.h"

namespace setup::com::test {
namespace {

using platform::win32::ComPtr;
using platform::win32::HResultHex;
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
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;
using framework::block_b_mail::DeviceAccount;

constexpr char kWizardCaption[] = "Didodudo Z380 - Synchronization Settings Wizard";

class EmailSheetTest : public EmailSetupTest {
 protected:
  void SetUp() override {
    EmailSetupTest::SetUp();
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

TEST_F(EmailSheetTest, CancelWritesNothingEvenAfterEveryPageWasShown) {
  Save("cancel.json", StoredProfile());
  const sim::Profile before = Load("cancel.json");
  std::vector<Step> steps;
  for (int page = 0; page < 5; ++page)
    steps.push_back(SelectPage(page));
  steps.push_back(TypeInto(IDC_LOGIN_USER, L"someone else"));
  steps.push_back(PressSheetButton(PSBTN_CANCEL));
  EXPECT_EQ(Show("cancel.json", steps), S_OK);
  EXPECT_TRUE(Load("cancel.json") == before);
  const std::string calls = host_.TakeEngineCalls();
  EXPECT_EQ(calls.find("save"), std::string::npos) << calls;
  EXPECT_NE(calls.find("close"), std::string::npos) << calls;
}

// Every control of every page, changed the way a person changes it, reaches its field; the
// user name in Greek arrives as typed.
TEST_F(EmailSheetTest, OkWritesWhatEveryPageHolds) {
  Save("ok.json", StoredProfile());
  const std::vector<Step> steps = {
      ClickOnPage(IDC_MANUAL_LOGIN),  // the stored profile has it on: now off, and on again
      ClickOnPage(IDC_MANUAL_LOGIN),
      TypeInto(IDC_LOGIN_USER, L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae"),
      TypeInto(IDC_LOGIN_PARAMS, L"/ph-x"),
      SelectPage(1),
      TypeInto(IDC_RANGE_COUNT, L"7"),
      KeyOnPage(IDC_RANGE_UNIT, VK_DOWN),  // Week(s)
      ClickOnPage(IDC_DELETE_OLD),         // stored off
      SelectPage(2),
      TypeInto(IDC_SIZE_LIMIT, L"20"),
      ClickOnPage(IDC_SUPPORTED_ONLY),  // stored with attachments on, so it can be clicked
      ClickOnPage(IDC_ALL_FOLDERS),
      SelectPage(3),
      ClickOnPage(IDC_SMARTPHONE_WINS),
      SelectPage(4),
      ClickOnPage(IDC_KEEP_IN_GROUPWISE),
      Pause(),
      PressSheetButton(PSBTN_OK),
  };
  EXPECT_EQ(Show("ok.json", steps), S_OK);
  const sim::Profile profile = Load("ok.json");
  EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 1);
  EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae");
  EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"/ph-x");
  EXPECT_EQ(profile.b.Get(DeviceAccount), u"Home (PC mail)") << "unchanged: no question";
  EXPECT_EQ(profile.a.Get(block_a::AccountChanged), 0);
  EXPECT_EQ(profile.a.Get(block_a::MailRangeCount), 7);
  EXPECT_EQ(profile.a.Get(block_a::MailRangeUnit), 7);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldTypes), 64);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldCount[6]), 7);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldUnit[6]), 7);
  EXPECT_EQ(profile.a.Get(block_a::RangeChanged), 1);
  EXPECT_EQ(profile.a.Get(block_a::MemoLimit), 20u * 1024u);
  EXPECT_EQ(profile.a.Get(block_a::MailNoAttachments), 0);
  EXPECT_EQ(profile.c.Get(block_c::SupportedOnly), 1);
  EXPECT_EQ(profile.a.Get(block_a::MailFolders), 15u);
  EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 0);
  EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 64);
  const std::string calls = host_.TakeEngineCalls();
  EXPECT_NE(calls.find("save\nclose\n"), std::string::npos) << calls;
}

// A new profile's account is still empty: OK asks, Yes names it after the computer.
TEST_F(EmailSheetTest, OkOnANewProfileAsksBeforeItNamesTheAccount) {
  std::vector<std::string> questions;
  EXPECT_EQ(
      Show("new.json", {PressSheetButton(PSBTN_OK), AnswerMessage(kTitle, IDYES, &questions)}),
      S_OK);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].rfind("You have changed the PC mail account name.", 0), 0u)
      << questions[0];
  const sim::Profile profile = Load("new.json");
  EXPECT_EQ(profile.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (E-mail)");
  EXPECT_EQ(profile.a.Get(block_a::AccountChanged), 1);
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(GetComputerNameW(computer, &length));
  EXPECT_EQ(profile.b.Get(DeviceAccount),
            std::u16string(reinterpret_cast<const char16_t*>(computer), length) + u" (PC mail)");
}

// No to the question keeps the sheet open on the General page with nothing stored; a later
// Cancel leaves the file as it was.
TEST_F(EmailSheetTest, TheGeneralPageRefusesOkWhenTheAccountChangeIsNotWanted) {
  Save("refuse.json", StoredProfile());
  const sim::Profile before = Load("refuse.json");
  std::vector<std::string> questions;
  bool openAfterNo = false;
  HWND pageAfterNo = nullptr;
  HWND generalPage = nullptr;
  EXPECT_EQ(
      Show("refuse.json",
           {OnPage([&](HWND, HWND page) { generalPage = page; }), TypeInto(IDC_ACCOUNT, L"Work"),
            SelectPage(3), PressSheetButton(PSBTN_OK), AnswerMessage(kTitle, IDNO, &questions),
            Pause(), OnPage([&](HWND sheet, HWND page) {
              openAfterNo = IsWindowVisible(sheet);
              pageAfterNo = page;
            }),
            PressSheetButton(PSBTN_CANCEL)}),
      S_OK);
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_TRUE(openAfterNo);
  EXPECT_EQ(pageAfterNo, generalPage);
  EXPECT_TRUE(Load("refuse.json") == before);
}

// "..." of the General page: GroupWise's folder picker logged in with the login the page was
// opened with, its choice shown and stored after OK; its failures shown and nothing changed.
TEST_F(EmailSheetTest, TheFolderButtonChoosesTheFolderThroughGroupWisesPicker) {
  const struct {
    const char* name;
    uint32_t faults;
    int32_t choice;
    std::vector<std::string> messages;
    const char16_t* folderName;
    const char16_t* folderId;
    const char* calls;
  } cases[] = {
      {"a folder chosen",
       0,
       2,
       {},
       u"Projects",
       u"GW.FOLDER.PROJECTS",
       "create\nlogin(keep,/keep)\nbrowse(OLD-ID)\nlogout\n"},
      {"the browser cancelled",
       0,
       -1,
       {},
       u"Old",
       u"OLD-ID",
       "create\nlogin(keep,/keep)\nbrowse(OLD-ID)\nlogout\n"},
      {"the login refused",
       sim::hostsim::kPickerLoginFails,
       2,
       {"Sorry, could not log into GroupWise"},
       u"Old",
       u"OLD-ID",
       "create\nlogin(keep,/keep)\nlogout\n"},
      {"no picker",
       sim::hostsim::kPickerCannotCreate,
       2,
       {"Sorry, could not create the GroupWise file browser"},
       u"Old",
       u"OLD-ID",
       "create refused\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Profile stored = StoredProfile();
    stored.c.Set(block_c::InboxOverride, 1);
    stored.c.Set(block_c::InboxFolderName, u"Old");
    stored.c.Set(block_c::InboxFolderId, u"OLD-ID");
    Save("folder.json", stored);
    host_.SetFolderPicker(c.faults, c.choice);
    std::vector<std::string> messages;
    std::vector<Step> steps = {ClickOnPage(IDC_PICK_FOLDER)};
    for (std::size_t i = 0; i < c.messages.size(); ++i)
      steps.push_back(AnswerMessage(kTitle, IDOK, &messages));
    steps.push_back(Pause());
    std::u16string shown;
    steps.push_back(OnPage([&](HWND, HWND page) {
      shown = setup::win32::ReadControlText(page, IDC_INBOX_FOLDER_NAME);
    }));
    steps.push_back(PressSheetButton(PSBTN_OK));
    EXPECT_EQ(Show("folder.json", steps), S_OK);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(shown, c.folderName);
    EXPECT_EQ(host_.TakePickerCalls(), c.calls);
    const sim::Profile profile = Load("folder.json");
    EXPECT_EQ(profile.c.Get(block_c::InboxFolderName), c.folderName);
    EXPECT_EQ(profile.c.Get(block_c::InboxFolderId), c.folderId);
    EXPECT_EQ(profile.c.Get(block_c::InboxOverride), 1);
  }
}

struct ButtonPlaces {
  RECT ok, cancel, help;
};

Step ReadButtonPlaces(ButtonPlaces& places) {
  return [&places](HWND sheet) {
    const auto at = [sheet](int id) {
      RECT r{};
      GetWindowRect(GetDlgItem(sheet, id), &r);
      MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    places = {at(IDOK), at(IDCANCEL), at(IDHELP)};
  };
}

INT_PTR CALLBACK EmptyPage(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// Where comctl32 puts the buttons of a sheet like the Settings sheet (no Apply, Help, its
// largest page's size and font) that moves nothing.
ButtonPlaces UnmovedButtonPlaces() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
  DLGTEMPLATE header{};
  header.style = DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION;
  header.cx = 284;  // the General page
  header.cy = 226;
  std::memcpy(words.data(), &header, sizeof header);
  for (const wchar_t* text : {L"", L"", L"Page"})  // no menu, the standard class, a caption
    words.insert(words.end(), text, text + wcslen(text) + 1);
  words.push_back(8);
  const wchar_t font[] = L"MS Sans Serif";
  words.insert(words.end(), font, font + std::size(font));

  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT | PSP_HASHELP;
  page.pResource = reinterpret_cast<const DLGTEMPLATE*>(words.data());
  page.pfnDlgProc = &EmptyPage;
  PROPSHEETHEADERW sheet{};
  sheet.dwSize = sizeof sheet;
  sheet.dwFlags = PSH_NOAPPLYNOW | PSH_HASHELP | PSH_PROPSHEETPAGE;
  sheet.pszCaption = L"Unmoved";
  sheet.nPages = 1;
  sheet.ppsp = &page;
  ButtonPlaces places{};
  DialogDriver driver(GetCurrentThreadId(), "Unmoved",
                      {ReadButtonPlaces(places), PressSheetButton(PSBTN_CANCEL)});
  PropertySheetW(&sheet);
  EXPECT_TRUE(driver.Finish().appeared);
  return places;
}

// When the sheet opens, OK, Cancel and Help stand 140, 100 and 60 pixels left of where comctl32
// put them, each as large as it made them. (The sheet is as wide as the reference, whose page
// is as wide as the widest of the Settings pages.)
TEST_F(EmailSheetTest, TheSheetsButtonsAreMovedLeftWhenItOpens) {
  const ButtonPlaces unmoved = UnmovedButtonPlaces();
  ButtonPlaces shown{};
  Save("buttons.json", StoredProfile());
  EXPECT_EQ(Show("buttons.json", {ReadButtonPlaces(shown), PressSheetButton(PSBTN_CANCEL)}), S_OK);
  const struct {
    const char* name;
    RECT shown, unmoved;
    int shift;
  } buttons[] = {
      {"OK", shown.ok, unmoved.ok, 140},
      {"Cancel", shown.cancel, unmoved.cancel, 100},
      {"Help", shown.help, unmoved.help, 60},
  };
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.name);
    EXPECT_GT(b.unmoved.right, b.unmoved.left) << "the button is there";
    EXPECT_EQ(b.shown.left, b.unmoved.left - b.shift);
    EXPECT_EQ(b.shown.right, b.unmoved.right - b.shift);
    // The sheet's height follows its pages and tabs; the button's own height stays.
    EXPECT_EQ(b.shown.bottom - b.shown.top, b.unmoved.bottom - b.unmoved.top);
  }
}

// The three pages as the host's wizard shows them, through the component's IDispatch as the host
// calls it: the account page offers Next only with a name, each page stores what it shows when
// the user goes on, and CommitPages adds the setup wizard's login and the commit values.
TEST_F(EmailSheetTest, TheWizardPagesStoreWhatTheyShowAndCommitPagesAddsTheLogin) {
  gwsync::SetupComponentHost component("emailsetup.EmailSetup.1");
  component.SetControlFile(Path("wizard.json"));
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  ASSERT_EQ(pages.size(), 3u);
  constexpr int kNextButton = 0x3024;
  bool nextWhenEmpty = true;
  bool nextWithName = false;
  const auto next = [](bool& enabled) {
    return OnPage([&enabled](HWND sheet, HWND) {
      enabled = IsWindowEnabled(GetDlgItem(sheet, kNextButton));
    });
  };
  DialogDriver driver(GetCurrentThreadId(), kWizardCaption,
                      {TypeInto(IDC_WIZARD_ACCOUNT, L""),
                       Pause(),
                       next(nextWhenEmpty),
                       TypeInto(IDC_WIZARD_ACCOUNT, L"Home"),
                       Pause(),
                       next(nextWithName),
                       PressSheetButton(PSBTN_NEXT),
                       Pause(),
                       TypeInto(IDC_WIZARD_RANGE_COUNT, L"5"),
                       KeyOnPage(IDC_WIZARD_RANGE_UNIT, VK_DOWN),  // Week(s)
                       ClickOnPage(IDC_DELETE_OLD),                // starts on
                       PressSheetButton(PSBTN_NEXT),
                       Pause(),
                       TypeInto(IDC_WIZARD_SIZE, L"45"),
                       ClickOnPage(IDC_WIZARD_ATTACHMENTS),
                       Pause(),
                       ClickOnPage(IDC_WIZARD_SUPPORTED_ONLY),
                       PressSheetButton(PSBTN_NEXT),
                       Pause(),
                       PressSheetButton(PSBTN_FINISH)});
  EXPECT_TRUE(gwsync::RunHostWizard(pages));
  EXPECT_TRUE(driver.Finish().appeared);
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
  EXPECT_EQ(profile.b.Get(DeviceAccount), u"Home (PC mail)");
  EXPECT_EQ(profile.a.Get(block_a::AccountChanged), 0) << "nothing asked";
  EXPECT_EQ(profile.a.Get(block_a::MailRangeCount), 5);
  EXPECT_EQ(profile.a.Get(block_a::MailRangeUnit), 7);
  EXPECT_EQ(profile.a.Get(block_a::DeleteOldTypes), 0);
  EXPECT_EQ(profile.a.Get(block_a::RangeChanged), 0);
  EXPECT_EQ(profile.a.Get(block_a::MemoLimit), 45u * 1024u);
  EXPECT_EQ(profile.a.Get(block_a::MailNoAttachments), 0);
  EXPECT_EQ(profile.c.Get(block_c::SupportedOnly), 1);
  EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"jdoe");
  EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"/ph-x");
  EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 1);
  EXPECT_EQ(profile.a.Get(block_a::MailFolders), 10u);
  EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 1);
  EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 0);
  EXPECT_EQ(profile.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (E-mail)");
}

}  // namespace
}  // namespace setup::com::test
