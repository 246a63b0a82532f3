// The session's view of the machine: host suite folder, device kind, the DCOM98 check, and the
// registry walker under them.

#include <gtest/gtest.h>

#include "framework/registry_nt.h"
#include "framework/sync_session.h"
#include "platform/portable/portable_platform.h"

namespace framework {
namespace {

using platform::RegistryRoot;
namespace access = platform::registry_access;

constexpr std::string_view kConnectKey = "SOFTWARE\\Psion\\PsiWin32";
constexpr std::string_view kUserKey = "Software\\Psion\\CurrentUser";
constexpr std::string_view kDcomKey =
    "CLSID\\{bdc67890-4fc0-11d0-a805-00aa006d2ea4}\\InstalledVersion";

TEST(DeviceKind, FollowsTheMachineNameWithLaterTestsWinning) {
  struct Case {
    const char* name;
    DeviceKind wanted;
  };
  const Case cases[] = {
      {"Psion SERIES5 MX", DeviceKind::kEpoc32R5},
      {"Psion SERIES5 R1", DeviceKind::kEpoc32R4},
      {"REVO plus", DeviceKind::kEpoc32R5},
      {"SERIES5 REVO", DeviceKind::kEpoc32R5},  // "SERIES5 R" first, then REVO wins
      {"psion series5 mx", DeviceKind::kUnknown},
      {"", DeviceKind::kUnknown},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DeviceKindFromMachineName(c.name), c.wanted) << c.name;
}

TEST(SyncSession, ReadsTheHostSuiteFolderAndDevice) {
  struct Case {
    const char* name;
    std::optional<std::string> folder;
    std::string wanted;
  };
  const Case cases[] = {
      {"backslash_added", "C:\\Program Files\\Suite", "C:\\Program Files\\Suite\\"},
      {"backslash_kept", "C:\\Suite\\", "C:\\Suite\\"},
      {"empty_value", "", ""},
      {"no_value", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    platform::PortablePlatform platform;
    if (c.folder) {
      platform.registry.SetString(RegistryRoot::kLocalMachine, kConnectKey,
                                  "Installation Directory", *c.folder);
    }
    platform.registry.SetString(RegistryRoot::kCurrentUser, kUserKey, "MachineName", "SERIES5 MX");
    TSyncSession session(platform);
    EXPECT_EQ(session.ConnectLocation, c.wanted) << c.name;
    EXPECT_EQ(session.Device, DeviceKind::kEpoc32R5) << c.name;
    EXPECT_TRUE(platform.ui.messageBoxes.empty()) << c.name;
  }
}

TEST(SyncSession, AMissingRegistryIsQuietAndAFailingOneIsShown) {
  platform::PortablePlatform quiet;
  TSyncSession empty(quiet);
  EXPECT_EQ(empty.ConnectLocation, "");
  EXPECT_EQ(empty.Device, DeviceKind::kUnknown);
  EXPECT_TRUE(quiet.ui.messageBoxes.empty());

  platform::PortablePlatform broken;
  broken.registry.failure = "The registry is corrupt";
  TSyncSession failed(broken);
  EXPECT_EQ(failed.Device, DeviceKind::kUnknown);
  ASSERT_EQ(broken.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(broken.ui.messageBoxes[0].caption, "TSyncSession.Create");
  EXPECT_EQ(broken.ui.messageBoxes[0].text, "The registry is corrupt");
  EXPECT_EQ(broken.ui.messageBoxes[0].style, platform::mb::kSetForeground);
}

TEST(SyncSession, OpensItsKeysForReadingOnly) {
  // A user without administrator rights can read these keys but not write them; opening them
  // for more than reading would fail for that user.
  platform::PortablePlatform platform;
  platform.registry.SetString(RegistryRoot::kLocalMachine, kConnectKey, "Installation Directory",
                              "D:\\Suite");
  TRegistryNT registry(platform.registry);
  registry.SetRoot(RegistryRoot::kLocalMachine);
  registry.SetAccess(access::kRead);
  ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\Psion\\PsiWin32", false));
  EXPECT_THROW(registry.WriteString("Installation Directory", "x"), platform::RegistryError);
}

TEST(CheckDCOM98, AppliesOnlyFrom98OnAndComparesTheVersionText) {
  struct Case {
    const char* name;
    platform::OsVersion os;
    std::optional<std::string> installed;
    bool ok;
    bool applies;
  };
  const platform::OsVersion win98{platform::OsVersion::kWindows9x, 4, 10, 1998};
  const platform::OsVersion winMe{platform::OsVersion::kWindows9x, 4, 90, 3000};
  const platform::OsVersion win95{platform::OsVersion::kWindows9x, 4, 0, 950};
  const platform::OsVersion nt4{platform::OsVersion::kWindowsNT, 4, 0, 1381};
  const Case cases[] = {
      {"commas_count", win98, "4,71,0,3328", true, true},
      {"newer", winMe, "4.71.0.3329", true, true},
      {"older", win98, "4.70.0.1155", false, true},
      {"missing", win98, std::nullopt, false, true},
      {"empty", win98, "", false, true},
      {"nt_does_not_apply", nt4, "4.71.0.3328", false, false},
      {"95_does_not_apply", win95, "4.71.0.3328", false, false},
  };
  for (const Case& c : cases) {
    platform::PortablePlatform platform;
    platform.env.osVersion = c.os;
    if (c.installed)
      platform.registry.SetString(RegistryRoot::kClassesRoot, kDcomKey, "", *c.installed);
    const DcomCheck check = CheckDCOM98(platform);
    EXPECT_EQ(check.ok, c.ok) << c.name;
    EXPECT_EQ(check.applies, c.applies) << c.name;
  }
}

TEST(CheckDCOM98, AFailureClearsBothFlags) {
  platform::PortablePlatform platform;
  platform.env.osVersion = {platform::OsVersion::kWindows9x, 4, 10, 1998};
  platform.registry.failure = "broken";
  const DcomCheck check = CheckDCOM98(platform);
  EXPECT_FALSE(check.ok);
  EXPECT_FALSE(check.applies);
}

TEST(RegistryNT, RelativePathsGrowFromTheCurrentKey) {
  platform::PortablePlatform platform;
  platform.registry.SetString(RegistryRoot::kCurrentUser, "Software\\A\\B", "v", "1");
  TRegistryNT registry(platform.registry);
  ASSERT_TRUE(registry.OpenKey("Software", false));
  EXPECT_EQ(registry.CurrentPath(), "Software");
  ASSERT_TRUE(registry.OpenKey("A", false));
  EXPECT_EQ(registry.CurrentPath(), "Software\\A");
  ASSERT_TRUE(registry.OpenKey("B", false));
  EXPECT_EQ(registry.ReadString("v"), "1");
  // A failed open keeps the current key.
  EXPECT_FALSE(registry.OpenKey("Missing", false));
  EXPECT_EQ(registry.CurrentPath(), "Software\\A\\B");
  // An absolute path starts again from the root.
  ASSERT_TRUE(registry.OpenKey("\\Software\\A", false));
  EXPECT_EQ(registry.CurrentPath(), "Software\\A");
}

TEST(RegistryNT, CreatesOnlyWhenAskedAndOnlyForANonEmptyPath) {
  platform::PortablePlatform platform;
  TRegistryNT registry(platform.registry);
  EXPECT_FALSE(registry.OpenKey("\\Software\\New", false));
  EXPECT_EQ(platform.registry.Find(RegistryRoot::kCurrentUser, "Software\\New"), nullptr);
  ASSERT_TRUE(registry.OpenKey("\\Software\\New", true));
  registry.WriteDword("Count", 3);
  EXPECT_EQ(registry.ReadDword("Count"), 3u);
  EXPECT_NE(platform.registry.Find(RegistryRoot::kCurrentUser, "Software\\New"), nullptr);
  // With no key open nothing is read and writing raises.
  registry.CloseKey();
  EXPECT_EQ(registry.ReadString("x"), std::nullopt);
  EXPECT_THROW(registry.WriteString("x", "y"), platform::RegistryError);
}

}  // namespace
}  // namespace framework
