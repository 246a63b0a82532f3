// The machine services and object creation by ProgID, against the real system.

#include <gtest/gtest.h>

#include <algorithm>
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

// The plug-ins find their resource libraries and place their trace beside the module by this
// path, in the ANSI code page; a folder named outside it ("Test" in Greek) must still give a
// path that names the module.
TEST(Win32EnvironmentTest, ModulePathInAFolderOutsideTheAnsiCodePageNamesTheModule) {
  wchar_t temp[MAX_PATH + 1];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"\u0394\u03BF\u03BA\u03B9\u03BC\u03AE";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring dll = folder + L"\\resources.dll";
  std::string from = "Z:" + std::string(GWS_RUNTIME_DIR) + "/resource_edge_cases.dll";
  std::replace(from.begin(), from.end(), '/', '\\');
  ASSERT_TRUE(CopyFileW(std::wstring(from.begin(), from.end()).c_str(), dll.c_str(), FALSE));
  {
    UniqueModule module(LoadLibraryW(dll.c_str()));
    ASSERT_NE(module.Get(), nullptr);
    const std::string path = Win32Environment(module.Get()).ModulePath();
    EXPECT_EQ(path.find('?'), std::string::npos) << path;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  }
  DeleteFileW(dll.c_str());
  RemoveDirectoryW(folder.c_str());
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

// Dates reach the trace and the host's log through these; the system's formatter refuses years
// before 1601, and a refusal there must not fail the operation the text describes.
TEST(Win32EnvironmentTest, FormatsEveryDateAndFallsBackToIsoWhereTheSystemRefuses) {
  Win32Environment env;
  const AutomationDate modern = EncodeAutomationDate({2000, 3, 5, 14, 7, 9, 0});
  EXPECT_NE(env.FormatShortDate(modern).find("2000"), std::string::npos);
  EXPECT_NE(env.FormatShortDate(modern), "2000-03-05") << "the user's format was not used";
  EXPECT_NE(env.FormatDateTime(modern).find("07"), std::string::npos);

  const AutomationDate early = EncodeAutomationDate({1500, 6, 7, 8, 9, 10, 0});
  EXPECT_EQ(env.FormatShortDate(early), "1500-06-07");
  EXPECT_EQ(env.FormatDateTime(early), "1500-06-07 08:09:10");
  EXPECT_EQ(env.FormatShortDate(AutomationDate{1e300}).rfind("(no date", 0), 0u);
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
