// The host's whole setup wizard as gwsync.exe runs it (tools/gwsync/com_setup_wizard.h), under a
// display: the setup wizard's logon page first, then the pages of the calendar, contacts and
// e-mail components, each for its own new control file; the logon asked once reaches every
// profile, and the profiles then drive the plug-ins through COM.

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <filesystem>
#include <sstream>

#include "framework/data_types.h"
#include "framework/setup_blocks.h"
#include "platform/win32/ole_owners.h"
#include "sim/host/profile_file.h"
#include "tests/com/com_test_support.h"
#include "tests/setupcom/sheet_steps.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/com_setup_wizard.h"
#include "tools/gwsync/com_site.h"
#include "tools/gwsync/host_command.h"

namespace setup::com::test {
namespace {

using platform::win32::test::DialogDriver;
using setup::test::ClickOnPage;
using setup::test::OnPage;
using setup::test::Pause;
using setup::test::PressSheetButton;
using setup::test::Step;
using setup::test::TypeInto;
namespace block_a = framework::block_a;

// The logon page's check box and edits.
constexpr int kManualLogin = 6000;
constexpr int kUser = 6001;
constexpr int kParams = 6003;
constexpr int kNextButton = 0x3024;

// The calendar, contacts and e-mail profiles' login fields, which differ by kind.
struct Login {
  std::u16string user;
  std::u16string params;
  int16_t manual;
};

Login LoginOf(const sim::Profile& profile) {
  if (profile.Kind() == sim::ProfileKind::kEmail) {
    namespace c = framework::block_c_mail;
    return {profile.c.Get(c::LoginUser), profile.c.Get(c::LoginParams),
            profile.c.Get(c::ManualLogin)};
  }
  namespace c = framework::block_c_pim;
  return {profile.c.Get(c::LoginUser), profile.c.Get(c::LoginParams),
          profile.c.Get(c::ManualLogin)};
}

class HostWizardTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* dll : {"emailsetup.dll", "calsetup.dll", "contactsetup.dll", "setupwizard.dll",
                            "pimsync.dll", "gwsim.dll"}) {
      ASSERT_EQ(comserver::test::RunRegsvr32("/s", comserver::test::RuntimeFile(dll)), 0u) << dll;
    }
  }

  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the wizard needs a display: run the tests under xvfb-run -a";
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("host_wizard_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    host_.SetEngineFaults(0);
    host_.UseProfileKind("any");
  }
  void TearDown() override {
    host_.UseProfileKind("email");
    std::filesystem::remove_all(folder_);
  }

  std::string File(const char* name) const { return (folder_ / name).string(); }
  std::vector<gwsync::WizardProfile> Profiles() const {
    return {{"calsetup.CalSetup.1", (folder_ / "cal.json").u16string()},
            {"contactsetup.ContactSetup.1", (folder_ / "contacts.json").u16string()},
            {"emailsetup.EmailSetup.1", (folder_ / "mail.json").u16string()}};
  }

  // Runs the wizard while the driver takes the steps; whether it was finished.
  bool RunWizard(std::vector<Step> steps) {
    DialogDriver driver(GetCurrentThreadId(), "Didodudo Z380 - Synchronization Settings Wizard",
                        std::move(steps));
    const bool finished = gwsync::RunSetupWizard(Profiles());
    EXPECT_TRUE(driver.Finish().appeared);
    return finished;
  }

  platform::win32::ComApartment apartment_;
  gwsync::HostModule host_;
  std::filesystem::path folder_;
};

Step Next() {
  return PressSheetButton(PSBTN_NEXT);
}

TEST_F(HostWizardTest, TheLogonAskedOnceReachesEveryProfileWhichThenDrivesItsPlugin) {
  bool nextWhenCheckedAndEmpty = true;
  std::vector<Step> steps = {
      ClickOnPage(kManualLogin),
      Pause(),
      OnPage([&](HWND sheet, HWND) {
        nextWhenCheckedAndEmpty = IsWindowEnabled(GetDlgItem(sheet, kNextButton));
      }),
      TypeInto(kUser, L"jdoe"),
      TypeInto(kParams, L"/ph-x"),
      Pause(),
      Next(),  // to the calendar's range
      Pause(),
      Next(),  // to the contacts' address book, which offers the sample mailbox's
      Pause(),
      Next(),  // to the e-mail account
      Pause(),
  };
  for (int page = 0; page < 3; ++page) {  // account, range, size
    steps.push_back(Next());
    steps.push_back(Pause());
  }
  steps.push_back(PressSheetButton(PSBTN_FINISH));
  ASSERT_TRUE(RunWizard(std::move(steps)));
  EXPECT_FALSE(nextWhenCheckedAndEmpty);

  const struct {
    const char* file;
    sim::ProfileKind kind;
    const char16_t* title;
  } rows[] = {
      {"cal.json", sim::ProfileKind::kCalendar, u"Didodudo Z380 - Synchronization (Calendar)"},
      {"contacts.json", sim::ProfileKind::kCalendar, u"Didodudo Z380 - Synchronization (Contacts)"},
      {"mail.json", sim::ProfileKind::kEmail, u"Didodudo Z380 - Synchronization (E-mail)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    const sim::Profile profile = sim::LoadProfileFile(File(row.file));
    EXPECT_EQ(profile.Kind(), row.kind);
    EXPECT_EQ(profile.a.Get(block_a::Title), row.title);
    const Login login = LoginOf(profile);
    EXPECT_EQ(login.user, u"jdoe");
    EXPECT_EQ(login.params, u"/ph-x");
    EXPECT_EQ(login.manual, 1);
  }
  EXPECT_EQ(sim::LoadProfileFile(File("contacts.json")).c.Get(framework::block_c_pim::AddressBook),
            u"Didodudo Z380");

  // The contacts profile drives pimsync.dll, logged in as the wizard said.
  host_.UseProfileKind("calendar");
  gwsync::Options options;
  options.profileFile = File("contacts.json");
  options.today = platform::EncodeAutomationDate({2001, 2, 15, 0, 0, 0, 0});
  options.command = gwsync::ReadCommand{framework::data_type::kCon};
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(
      gwsync::RunHostCommand(options, gwsync::HostParts(gwsync::ComSite()), {in, out, err, false}),
      0)
      << err.str();
  EXPECT_EQ(out.str().rfind("BEGIN:VCARD", 0), 0u) << out.str().substr(0, 200);
}

// Cancel on the logon page: no component commits, and every component's pages are removed.
TEST_F(HostWizardTest, CancelWritesNoProfile) {
  EXPECT_FALSE(RunWizard({Pause(), PressSheetButton(PSBTN_CANCEL)}));
  for (const char* file : {"cal.json", "contacts.json", "mail.json"})
    EXPECT_FALSE(std::filesystem::exists(File(file))) << file;
}

}  // namespace
}  // namespace setup::com::test
