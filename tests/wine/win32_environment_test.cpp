// The machine services and object creation by ProgID, against the real system.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/com_object_factory.h"
#include "platform/win32/win32_environment.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

TEST(Win32EnvironmentTest, ModulePathNamesTheModuleTheCodeIsLinkedInto) {
  char program[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
  // The library is linked into this program, so the default module is the program itself.
  EXPECT_EQ(Win32Environment().ModulePath(), program);
}

TEST(Win32EnvironmentTest, TempFilesAreNewAndInTheTempFolder) {
  Win32Environment env;
  const std::string folder = env.TempDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  TempFile first(env.CreateTempFile("gws"));
  TempFile second(env.CreateTempFile("gws"));
  EXPECT_NE(first.Path(), second.Path());
  for (const TempFile* file : {&first, &second}) {
    EXPECT_EQ(file->Path().rfind(folder, 0), 0u) << file->Path();
    EXPECT_TRUE(std::filesystem::exists(file->Path())) << file->Path();
  }
}

TEST(Win32EnvironmentTest, ShellOpenOfAMissingFileRaisesNamingIt) {
  try {
    Win32Environment().ShellOpen("C:\\no such folder\\missing.txt", "C:\\");
    FAIL() << "opened a missing file";
  } catch (const Exception& error) {
    EXPECT_NE(std::string(error.what()).find("missing.txt"), std::string::npos) << error.what();
  }
}

// GetVersion packs the same numbers into one value; a field read from the wrong member of the
// structure shows up as a difference.
TEST(Win32EnvironmentTest, OsVersionAgreesWithThePackedVersion) {
  const OsVersion version = Win32Environment().GetOsVersion();
  const DWORD packed = GetVersion();
  EXPECT_EQ(version.platformId, OsVersion::kWindowsNT);
  EXPECT_GE(version.major, 5);
  EXPECT_EQ(version.major, LOBYTE(LOWORD(packed)));
  EXPECT_EQ(version.minor, HIBYTE(LOWORD(packed)));
  EXPECT_EQ(version.build, HIWORD(packed));
  EXPECT_GT(version.build, 0);
}

class ComObjectFactoryTest : public ComTest {};

TEST_F(ComObjectFactoryTest, UnknownProgIdRaisesWithTheProgIdAsMember) {
  try {
    ComObjectFactory().CreateObject("Nobody.HasThisClass");
    FAIL() << "created an object";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Member(), "Nobody.HasThisClass");
    EXPECT_EQ(error.HResult(), CO_E_CLASSSTRING) << Hex(error.HResult());
    EXPECT_FALSE(std::string(error.what()).empty());
  }
}

// A registered automation server of the system, driven through its type library: the same path
// the plug-ins take to the mail system's objects.
TEST_F(ComObjectFactoryTest, CreatesAndDrivesARegisteredServer) {
  Object dictionary = ComObjectFactory().CreateObject("Scripting.Dictionary");
  ASSERT_TRUE(dictionary);
  dictionary.Call("Add", {Variant(u"k1"), Variant(u"v1")});
  dictionary.Call("Add", {Variant(u"k2"), Variant(int32_t{2})});
  EXPECT_EQ(dictionary.GetProperty("Count"), Variant(int32_t{2}));
  EXPECT_EQ(dictionary.GetProperty("Item", {Variant(u"k1")}), Variant(u"v1"));
  EXPECT_EQ(dictionary.Call("Exists", {Variant(u"k3")}), Variant(false));
  EXPECT_EQ(dictionary.Call("Keys"), Variant(std::vector<std::u16string>{u"k1", u"k2"}));
}

}  // namespace
}  // namespace platform::win32::test
