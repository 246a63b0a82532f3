// calsetup.dll's IEECDIALOG members that need no page: InvisibleDialog against the simulated
// host and the native component, the internal errors as each member meets them, and CommitPages
// into the calendar's block C.

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "framework/setup_blocks.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_user_interface.h"
#include "setup/calsetup/cal_setup.h"
#include "setup/common/load_values.h"
#include "setup/win32/win32_setup_services.h"
#include "sim/host/com/hostsim_exports.h"
#include "sim/host/profile_file.h"
#include "sim/host/setup_strings.h"
#include "sim/host/sync_engine_sim.h"
#include "tests/com/com_test_support.h"
#include "tests/com/window_watcher.h"
#include "tests/setupcom/cal_setup_fixture.h"

namespace setup::com::cal_test {
namespace {

using comserver::test::WindowWatcher;
using platform::win32::ComPtr;
using platform::win32::HResultHex;
using platform::win32::UniqueBstr;
using platform::win32::UniqueSafeArray;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;

std::string Ascii(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text)
    bytes += static_cast<char>(unit);  // the paths here are ASCII
  return bytes;
}

// The profile the portable component writes for the same control file on this machine: the
// same table, the same strings, the same registry and computer name, the simulated engine in
// process instead of through COM.
sim::Profile NativeInvisibleProfile(const std::u16string& path, const std::string& file) {
  platform::win32::Win32UserInterface ui;
  platform::win32::Win32Registry registry;
  platform::win32::AnsiCodePage ansi;
  const std::unique_ptr<platform::ResourceLibrary> strings = sim::CalSetupStrings();
  sim::SimulatedEngines engines(sim::ProfileKind::kCalendar);
  cal::CalSetup component({ui, registry, {*strings, ansi}, engines.Factory(), win32::ComputerName});
  component.Session().SetControlFile(path);
  EXPECT_TRUE(component.Session().RunInvisible());
  return sim::LoadProfileFile(file);
}

TEST_F(CalSetupTest, InvisibleDialogWritesTheProfileTheNativeComponentWrites) {
  const ComPtr<IEECDIALOG> component = ComponentFor("invisible.json");
  ASSERT_TRUE(component);
  VARIANT_BOOL result = VARIANT_FALSE;
  EXPECT_EQ(component->InvisibleDialog(&result), S_OK);
  EXPECT_EQ(result, VARIANT_TRUE);
  // Open, read A, B and C, write them back into the same streams, save, close.
  EXPECT_EQ(host_.TakeEngineCalls(), "create\nopen " + Ascii(Path("invisible.json")) +
                                         "\nstream -1\nstream 0\nstream 1\nsave\nclose\n");
  const sim::Profile throughCom = Load("invisible.json");
  std::filesystem::remove(File("invisible.json"));
  EXPECT_TRUE(throughCom ==
              NativeInvisibleProfile(Path("invisible.json"), File("invisible.json").string()));
  EXPECT_EQ(throughCom.Kind(), sim::ProfileKind::kCalendar);
  EXPECT_EQ(throughCom.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (Calendar)");
  EXPECT_EQ(throughCom.a.Get(block_a::DeleteOldTypes), 15);
  EXPECT_EQ(throughCom.b.Get(framework::block_b_pim::WorkPath),
            setup::DerivedPath(Path("invisible.json"), u".WKF"));
}

struct ErrorObject {
  std::string source;
  std::string description;
  GUID guid;
};

std::optional<ErrorObject> TakeErrorObject() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return std::nullopt;
  UniqueBstr source, description;
  ErrorObject error{};
  info->GetSource(source.Put());
  info->GetDescription(description.Put());
  info->GetGUID(&error.guid);
  error.source = comserver::test::Text(source.Get());
  error.description = comserver::test::Text(description.Get());
  return error;
}

// Each internal error as the member that meets it shows it, and what the member answers.
TEST_F(CalSetupTest, EveryMemberShowsItsInternalErrorAndAnswersAsTheHostExpects) {
  enum class Member { kInvisible, kShow, kAddPages };
  const struct {
    const char* name;
    Member member;
    uint32_t fault;
    const char* message;
    HRESULT hr;
    bool result;       // InvisibleDialog's bResult
    bool errorObject;  // "MAPIERROR"
  } cases[] = {
      {"engine missing, InvisibleDialog", Member::kInvisible, sim::hostsim::kEngineCannotCreate,
       "Internal Error 10102: Sync.dll missing?", S_FALSE, false, true},
      {"file unopenable, InvisibleDialog", Member::kInvisible, sim::hostsim::kEngineOpenFails,
       "Internal Error 10101: pISynch: Sync file missing", S_FALSE, false, true},
      {"save failed, InvisibleDialog", Member::kInvisible, sim::hostsim::kEngineSaveFails,
       "Internal Error 10103: Could not write control file", S_OK, true, false},
      {"engine missing, ShowDialog", Member::kShow, sim::hostsim::kEngineCannotCreate,
       "Internal Error 10102: Sync.dll missing?", S_FALSE, false, false},
      {"file unopenable, ShowDialog", Member::kShow, sim::hostsim::kEngineOpenFails,
       "Internal Error 10101: pISynch: Sync file missing", S_FALSE, false, false},
      {"engine missing, AddPages", Member::kAddPages, sim::hostsim::kEngineCannotCreate,
       "Internal Error 10102: Sync.dll missing?", S_OK, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host_.SetEngineFaults(c.fault);
    const ComPtr<IEECDIALOG> component = ComponentFor("error.json");
    ASSERT_TRUE(component);
    SetErrorInfo(0, nullptr);
    WindowWatcher watcher;
    VARIANT_BOOL result = VARIANT_FALSE;
    HPROPSHEETPAGE* pages = nullptr;
    HRESULT hr = E_FAIL;
    switch (c.member) {
      case Member::kInvisible:
        hr = component->InvisibleDialog(&result);
        break;
      case Member::kShow:
        hr = component->ShowDialog();
        break;
      case Member::kAddPages:
        hr = component->AddPages(static_cast<ULONG>(reinterpret_cast<uintptr_t>(&pages)));
        break;
    }
    const std::optional<ErrorObject> error = TakeErrorObject();
    const std::vector<WindowWatcher::Seen> seen = watcher.Stop();
    EXPECT_EQ(hr, c.hr) << HResultHex(hr);
    ASSERT_EQ(seen.size(), 1u) << "the message and nothing else, no sheet";
    EXPECT_EQ(seen[0].caption, kTitle);
    EXPECT_EQ(seen[0].texts, std::vector<std::string>{c.message});
    if (c.member == Member::kInvisible) {
      EXPECT_EQ(result != VARIANT_FALSE, c.result);
    }
    EXPECT_EQ(error.has_value(), c.errorObject);
    if (error && c.errorObject) {
      EXPECT_EQ(error->source, "calsetup.CalSetup.1");
      EXPECT_EQ(error->description, "MAPIERROR");
      EXPECT_TRUE(IsEqualGUID(error->guid, GUID_NULL));
    }
    if (c.member == Member::kAddPages) {
      // The one page is handed over all the same, and with no profile open nothing is stored.
      ASSERT_NE(pages, nullptr);
      EXPECT_TRUE(pages[0] && !pages[1]);
      const UniqueSafeArray login = WizardLogin(L"jdoe", L"/ph");
      VARIANT profileName{};
      V_VT(&profileName) = VT_ARRAY | VT_BSTR;
      V_ARRAY(&profileName) = login.Get();
      EXPECT_EQ(component->CommitPages(profileName), S_OK);
      EXPECT_EQ(component->RemovePages(), S_OK);
    }
    EXPECT_FALSE(Exists("error.json"));
    host_.TakeEngineCalls();
  }
}

// The setup wizard's login reaches the calendar's block C, with the commit values; a page the
// wizard never showed leaves the stored range alone.
TEST_F(CalSetupTest, CommitPagesTakesTheWizardsLoginIntoTheCalendarsBlockC) {
  const struct {
    const char* name;
    const wchar_t *user, *params;
    int16_t manualLogin;
  } cases[] = {
      {"user and parameters", L"jdoe", L"/ph-x", 1},
      {"a Greek user name, as typed", L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae", L"", 1},
      {"two empty strings", L"", L"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::CalPastCount, 3);
    stored.a.Set(block_a::CalPastUnit, 7);
    stored.a.Set(block_a::ConflictRule, 0);
    stored.a.Set(block_a::DeleteRule, 15);
    stored.c.Set(block_c::AddressBook, u"Book");
    Save("commit.json", stored);
    const ComPtr<IEECDIALOG> component = ComponentFor("commit.json");
    ASSERT_TRUE(component);
    HPROPSHEETPAGE* pages = nullptr;
    ASSERT_EQ(component->AddPages(static_cast<ULONG>(reinterpret_cast<uintptr_t>(&pages))), S_OK);
    const UniqueSafeArray login = WizardLogin(c.user, c.params);
    VARIANT profileName{};
    V_VT(&profileName) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&profileName) = login.Get();
    EXPECT_EQ(component->CommitPages(profileName), S_OK);
    EXPECT_EQ(component->RemovePages(), S_OK);

    const sim::Profile profile = Load("commit.json");
    EXPECT_EQ(profile.c.Get(block_c::LoginUser), reinterpret_cast<const char16_t*>(c.user));
    EXPECT_EQ(profile.c.Get(block_c::LoginParams), reinterpret_cast<const char16_t*>(c.params));
    EXPECT_EQ(profile.c.Get(block_c::ManualLogin), c.manualLogin);
    EXPECT_EQ(profile.c.Get(block_c::AddressBook), u"Book");
    EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 1);
    EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 0);
    EXPECT_EQ(profile.a.Get(block_a::CalPastCount), 3);
    EXPECT_EQ(profile.a.Get(block_a::CalPastUnit), 7);
  }
}

TEST_F(CalSetupTest, CommitPagesWithoutAddPagesWritesNothing) {
  const ComPtr<IEECDIALOG> component = ComponentFor("never.json");
  ASSERT_TRUE(component);
  const UniqueSafeArray login = WizardLogin(L"jdoe", L"/ph");
  VARIANT profileName{};
  V_VT(&profileName) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&profileName) = login.Get();
  EXPECT_EQ(component->CommitPages(profileName), S_OK);
  EXPECT_FALSE(Exists("never.json"));
  EXPECT_EQ(host_.TakeEngineCalls(), "");
}

}  // namespace
}  // namespace setup::com::cal_test
