// emailsetup.dll's IEECDIALOG members that need no page: InvisibleDialog against the simulated
// host and the native component, the internal errors as each member meets them, CommitPages
// with every kind of wizard data, IsPIMInstalled with and without GroupWise.

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "framework/setup_blocks.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_user_interface.h"
#include "setup/emailsetup/email_setup.h"
#include "setup/win32/win32_setup_services.h"
#include "sim/host/com/hostsim_exports.h"
#include "sim/host/profile_file.h"
#include "sim/host/setup_strings.h"
#include "sim/host/sync_engine_sim.h"
#include "tests/com/com_test_support.h"
#include "tests/com/window_watcher.h"
#include "tests/setupcom/email_setup_fixture.h"

namespace setup::com::test {
namespace {

using comserver::test::WindowWatcher;
using platform::win32::ComPtr;
using platform::win32::HResultHex;
using platform::win32::UniqueBstr;
using platform::win32::UniqueSafeArray;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;

std::string Utf8(const std::u16string& text) {
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
  const std::unique_ptr<platform::ResourceLibrary> strings = sim::EmailSetupStrings();
  sim::SimulatedEngines engines(sim::ProfileKind::kEmail);
  email::EmailSetup component(
      {ui, registry, {*strings, ansi}, engines.Factory(), win32::ComputerName}, nullptr);
  component.Session().SetControlFile(path);
  EXPECT_TRUE(component.Session().RunInvisible());
  return sim::LoadProfileFile(file);
}

TEST_F(EmailSetupTest, InvisibleDialogWritesTheProfileTheNativeComponentWrites) {
  const ComPtr<IEECDIALOG> component = ComponentFor("invisible.json");
  ASSERT_TRUE(component);
  VARIANT_BOOL result = VARIANT_FALSE;
  EXPECT_EQ(component->InvisibleDialog(&result), S_OK);
  EXPECT_EQ(result, VARIANT_TRUE);
  // Open, read A, B and C, write them back into the same streams, save, close.
  EXPECT_EQ(host_.TakeEngineCalls(), "create\nopen " + Utf8(Path("invisible.json")) +
                                         "\nstream -1\nstream 0\nstream 1\nsave\nclose\n");
  const sim::Profile throughCom = Load("invisible.json");
  std::filesystem::remove(File("invisible.json"));
  EXPECT_TRUE(throughCom ==
              NativeInvisibleProfile(Path("invisible.json"), File("invisible.json").string()));
  EXPECT_EQ(throughCom.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (E-mail)");
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
TEST_F(EmailSetupTest, EveryMemberShowsItsInternalErrorAndAnswersAsTheHostExpects) {
  enum class Member { kInvisible, kShow, kAddPages };
  const struct {
    const char* name;
    Member member;
    uint32_t fault;
    const char* message;
    HRESULT hr;
    bool result;       // InvisibleDialog's bResult
    bool errorObject;  // "MAPIERROR"
    bool written;
  } cases[] = {
      {"engine missing, InvisibleDialog", Member::kInvisible, sim::hostsim::kEngineCannotCreate,
       "Internal Error 10108: Sync.dll missing?", S_FALSE, false, true, false},
      {"file unopenable, InvisibleDialog", Member::kInvisible, sim::hostsim::kEngineOpenFails,
       "Internal Error 10107: pISynch: Sync file missing", S_FALSE, false, true, false},
      {"save failed, InvisibleDialog", Member::kInvisible, sim::hostsim::kEngineSaveFails,
       "Internal Error 10109: Could not write control file", S_OK, true, false, false},
      {"engine missing, ShowDialog", Member::kShow, sim::hostsim::kEngineCannotCreate,
       "Internal Error 10108: Sync.dll missing?", S_FALSE, false, false, false},
      {"file unopenable, ShowDialog", Member::kShow, sim::hostsim::kEngineOpenFails,
       "Internal Error 10107: pISynch: Sync file missing", S_FALSE, false, false, false},
      {"file unopenable, AddPages", Member::kAddPages, sim::hostsim::kEngineOpenFails,
       "Internal Error 10107: pISynch: Sync file missing", S_OK, false, false, false},
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
      EXPECT_EQ(error->source, "emailsetup.EmailSetup.1");
      EXPECT_EQ(error->description, "MAPIERROR");
      EXPECT_TRUE(IsEqualGUID(error->guid, GUID_NULL));
    }
    if (c.member == Member::kAddPages) {
      // The pages are handed over all the same, and with no profile open nothing is stored.
      ASSERT_NE(pages, nullptr);
      EXPECT_TRUE(pages[0] && pages[1] && pages[2] && !pages[3]);
      VARIANT none{};
      EXPECT_EQ(component->CommitPages(none), S_OK);
      EXPECT_EQ(component->RemovePages(), S_OK);
    }
    EXPECT_EQ(Exists("error.json"), c.written);
    host_.TakeEngineCalls();
  }
}

// A one-dimensional array of BSTRs, each element given or null.
UniqueSafeArray BstrArray(std::initializer_list<const wchar_t*> texts, LONG lowerBound = 0) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(texts.size()), lowerBound};
  UniqueSafeArray array(SafeArrayCreate(VT_BSTR, 1, &bound));
  LONG index = lowerBound;
  for (const wchar_t* text : texts) {
    if (text != nullptr) {
      UniqueBstr element(SysAllocString(text));
      SafeArrayPutElement(array.Get(), &index, element.Get());
    }
    ++index;
  }
  return array;
}

UniqueSafeArray ArrayOf(VARTYPE type, UINT dimensions, ULONG elements) {
  SAFEARRAYBOUND bounds[2] = {{elements, 0}, {elements, 0}};
  return UniqueSafeArray(SafeArrayCreate(type, dimensions, bounds));
}

// The wizard's data read only when it is what the wizard makes; anything else leaves the login
// fields as the profile held them. The commit values and the save come all the same.
TEST_F(EmailSetupTest, CommitPagesTakesTheWizardsTwoStringsAndNothingElse) {
  const wchar_t kGreek[] = L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae";
  const struct {
    const char* name;
    std::function<UniqueSafeArray()> array;
    VARTYPE tag;
    const char16_t* user;  // null: unchanged
    const char16_t* params;
    int16_t manualLogin;
  } cases[] = {
      {"user and parameters",
       [] {
         return BstrArray({L"jdoe", L"/ph-x"});
       },
       VT_ARRAY | VT_BSTR, u"jdoe", u"/ph-x", 1},
      {"a Greek user name, as typed",
       [&] {
         return BstrArray({kGreek, L""});
       },
       VT_ARRAY | VT_BSTR, u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae", u"", 1},
      {"parameters only",
       [] {
         return BstrArray({L"", L"/ph-x"});
       },
       VT_ARRAY | VT_BSTR, u"", u"/ph-x", 1},
      {"two empty strings",
       [] {
         return BstrArray({L"", L""});
       },
       VT_ARRAY | VT_BSTR, u"", u"", 0},
      {"two null strings",
       [] {
         return BstrArray({nullptr, nullptr});
       },
       VT_ARRAY | VT_BSTR, u"", u"", 0},
      {"more than two, from 1",
       [] {
         return BstrArray({L"jdoe", L"/ph", L"x"}, 1);
       },
       VT_ARRAY | VT_BSTR, u"jdoe", u"/ph", 1},
      {"the slot read whatever the tag says",
       [] {
         return BstrArray({L"jdoe", L"/ph"});
       },
       VT_EMPTY, u"jdoe", u"/ph", 1},
      {"one string", [] { return BstrArray({L"jdoe"}); }, VT_ARRAY | VT_BSTR, nullptr, nullptr, 1},
      {"no strings", [] { return BstrArray({}); }, VT_ARRAY | VT_BSTR, nullptr, nullptr, 1},
      {"no array", [] { return UniqueSafeArray(); }, VT_ARRAY | VT_BSTR, nullptr, nullptr, 1},
      {"numbers", [] { return ArrayOf(VT_I4, 1, 2); }, VT_ARRAY | VT_I4, nullptr, nullptr, 1},
      {"variants", [] { return ArrayOf(VT_VARIANT, 1, 2); }, VT_ARRAY | VT_VARIANT, nullptr,
       nullptr, 1},
      {"two dimensions of strings", [] { return ArrayOf(VT_BSTR, 2, 2); }, VT_ARRAY | VT_BSTR,
       nullptr, nullptr, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Save("commit.json", StoredProfile());
    const ComPtr<IEECDIALOG> component = ComponentFor("commit.json");
    ASSERT_TRUE(component);
    HPROPSHEETPAGE* pages = nullptr;
    ASSERT_EQ(component->AddPages(static_cast<ULONG>(reinterpret_cast<uintptr_t>(&pages))), S_OK);
    const UniqueSafeArray array = c.array();
    VARIANT profileName{};  // not cleared: the array is owned above, whatever the tag says
    V_VT(&profileName) = c.tag;
    V_ARRAY(&profileName) = array.Get();
    EXPECT_EQ(component->CommitPages(profileName), S_OK);
    EXPECT_EQ(component->RemovePages(), S_OK);

    const sim::Profile profile = Load("commit.json");
    EXPECT_EQ(profile.c.Get(block_c::LoginUser), c.user ? c.user : u"keep");
    EXPECT_EQ(profile.c.Get(block_c::LoginParams), c.params ? c.params : u"/keep");
    EXPECT_EQ(profile.c.Get(block_c::ManualLogin), c.manualLogin);
    EXPECT_EQ(profile.a.Get(block_a::MailFolders), 10u);
    EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 1);
  }
}

TEST_F(EmailSetupTest, CommitPagesWithoutAddPagesWritesNothing) {
  const ComPtr<IEECDIALOG> component = ComponentFor("never.json");
  ASSERT_TRUE(component);
  const UniqueSafeArray array = BstrArray({L"jdoe", L"/ph"});
  VARIANT profileName{};
  V_VT(&profileName) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&profileName) = array.Get();
  EXPECT_EQ(component->CommitPages(profileName), S_OK);
  EXPECT_FALSE(Exists("never.json"));
  EXPECT_EQ(host_.TakeEngineCalls(), "");
}

// GroupWise's application path key, made for the test and removed again.
class GroupWiseAppPath {
 public:
  GroupWiseAppPath() {
    platform::win32::UniqueHKey key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              key.Put(), nullptr),
              ERROR_SUCCESS);
    const char path[] = "C:\\Novell\\GroupWise\\grpwise.exe";
    RegSetValueExA(key.Get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof path);
  }
  ~GroupWiseAppPath() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey); }

 private:
  static constexpr char kKey[] =
      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\GrpWise.exe";
};

TEST_F(EmailSetupTest, IsPimInstalledWhenGroupWisesApplicationPathCanBeRead) {
  const ComPtr<IEECDIALOG> component = CreateComponent();
  ASSERT_TRUE(component);
  ULONG installed = 7;
  EXPECT_EQ(component->IsPIMInstalled(&installed), S_OK);
  EXPECT_EQ(installed, 0u);
  {
    GroupWiseAppPath groupWise;
    EXPECT_EQ(component->IsPIMInstalled(&installed), S_OK);
    EXPECT_EQ(installed, 1u);
  }
  EXPECT_EQ(component->IsPIMInstalled(&installed), S_OK);
  EXPECT_EQ(installed, 0u);
}

}  // namespace
}  // namespace setup::com::test
