// Self-registration as a person or an installer does it: Wine's regsvr32 loads pimsync.dll and
// calls its exports, and the registry is read back afterwards.

#include <gtest/gtest.h>

#include <cstring>

#include "tests/com/com_test_support.h"

namespace comserver::test {
namespace {

const std::string kClassKey = std::string("CLSID\\") + kClassId;
const std::string kLibraryKey = std::string("TypeLib\\") + kLibraryId;
const std::string kInterfaceKey = std::string("Interface\\") + kInterfaceId;
// The standard automation marshaller, which type-library registration names for a dual
// interface so that the host can call it across apartments.
constexpr char kAutomationMarshaller[] = "{00020424-0000-0000-C000-000000000046}";

class RegistrationTest : public ::testing::Test {
 protected:
  void TearDown() override { RunRegsvr32("/u /s", dll_); }
  const std::string dll_ = RuntimeFile("pimsync.dll");
};

TEST_F(RegistrationTest, WritesTheClassEntriesAndRegistersTheTypeLibrary) {
  ASSERT_EQ(RunRegsvr32("/s", dll_), 0u);
  const struct {
    std::string key;
    const char* name;
    std::string want;
  } values[] = {
      {kClassKey, "", kClassHelp},
      {kClassKey + "\\InprocServer32", "", dll_},
      {kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {kClassKey + "\\ProgID", "", kProgId},
      {kProgId, "", kClassHelp},
      {std::string(kProgId) + "\\Clsid", "", kClassId},
      {kClassKey + "\\TypeLib", "", kLibraryId},
      {kClassKey + "\\Version", "", "1.0"},
      {kLibraryKey + "\\1.0", "", kLibraryHelp},
      {kLibraryKey + "\\1.0\\409\\win32", "", dll_},
      {kInterfaceKey, "", "IGroupwiseSynchronizer"},
      {kInterfaceKey + "\\ProxyStubClsid32", "", kAutomationMarshaller},
      {kInterfaceKey + "\\TypeLib", "", kLibraryId},
  };
  for (const auto& v : values) {
    SCOPED_TRACE(v.key + " [" + v.name + "]");
    const std::optional<std::string> got = ReadClassesValue(v.key, v.name);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(SamePath(*got, v.want)) << "got " << *got << ", want " << v.want;
  }
  // Nothing besides the entries above: the host reads the class key as a whole.
  EXPECT_EQ(ClassesSubkeys(kClassKey),
            (std::vector<std::string>{"InprocServer32", "ProgID", "TypeLib", "Version"}));
  EXPECT_EQ(ClassesSubkeys(kProgId), std::vector<std::string>{"Clsid"});
}

TEST_F(RegistrationTest, UnregistrationLeavesNoKeyBehindAndCanBeRepeated) {
  ASSERT_EQ(RunRegsvr32("/s", dll_), 0u);
  ASSERT_TRUE(ClassesKeyExists(kClassKey));
  for (const char* round : {"first", "again, with nothing left to remove"}) {
    SCOPED_TRACE(round);
    EXPECT_EQ(RunRegsvr32("/u /s", dll_), 0u);
    for (const std::string& key : {kClassKey, std::string(kProgId), kLibraryKey, kInterfaceKey}) {
      EXPECT_FALSE(ClassesKeyExists(key)) << key;
    }
  }
}

// A module installed in a folder whose name the ANSI code page cannot write ("Test" in Greek)
// must be registered by its real path: one with "?" in it names no file, and the class could
// not be created.
TEST(RegistrationOutsideTheAnsiCodePage, EveryServerRegistersItsRealPath) {
  struct Case {
    const char* dll;
    std::string classKey;
  };
  const Case cases[] = {
      {"pimsync.dll", kClassKey},
      {"gwsim.dll", "CLSID\\{FBCA7969-E8EE-4CDB-9B24-A4CB475F558E}"},
  };
  TempFolder temp;
  const std::wstring folder = std::wstring(temp.Path().begin(), temp.Path().end()) +
                              L"\\\u0394\u03BF\u03BA\u03B9\u03BC\u03AE";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dll);
    const bool wasRegistered = ClassesKeyExists(c.classKey);
    const std::string from = RuntimeFile(c.dll);
    const std::wstring dll = folder + L"\\" + std::wstring(c.dll, c.dll + strlen(c.dll));
    ASSERT_TRUE(CopyFileW(std::wstring(from.begin(), from.end()).c_str(), dll.c_str(), FALSE));

    EXPECT_EQ(RunRegsvr32(L"/s", dll), 0u);
    const std::optional<std::wstring> server =
        ReadClassesWideValue(c.classKey + "\\InprocServer32", "");
    EXPECT_TRUE(server && _wcsicmp(server->c_str(), dll.c_str()) == 0);
    EXPECT_NE(GetFileAttributesW(server.value_or(L"").c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(RunRegsvr32(L"/u /s", dll), 0u);
    if (wasRegistered) RunRegsvr32("/s", from);  // as the other tests found it
    EXPECT_TRUE(DeleteFileW(dll.c_str()));
  }
  EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
}

}  // namespace
}  // namespace comserver::test
