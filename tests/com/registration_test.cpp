// Self-registration as a person or an installer does it: Wine's regsvr32 loads pimsync.dll and
// calls its exports, and the registry is read back afterwards.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace comserver::test
