// The registry file of gwsync: read as a person writes it, written back so it reads the same.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/common/json.h"
#include "tools/gwsync/registry_file.h"

namespace gwsync {
namespace {

using platform::RegistryRoot;

class RegistryFileTest : public testing::Test {
 protected:
  void SetUp() override {
    path = (std::filesystem::temp_directory_path() /
            (std::string("gws_registry_") +
             testing::UnitTest::GetInstance()->current_test_info()->name() + ".json"))
               .string();
  }
  void TearDown() override { std::filesystem::remove(path); }
  void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::string Read() {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  std::string path;
};

TEST_F(RegistryFileTest, ReadsStringsDwordsAndDefaultValuesAndWritesThemBack) {
  const std::string text = R"({
  "HKEY_CLASSES_ROOT\\CLSID\\{X}\\InstalledVersion": {
    "@": "4,71,0,3328"
  },
  "HKEY_CURRENT_USER\\Software\\Psion\\CurrentUser": {
    "MachineName": "Caf\u00e9 SERIES5 MX"
  },
  "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Settings": {
    "LogLevel": {
      "dword": 4294967295
    }
  }
}
)";
  Write(text);
  platform::MemoryRegistry registry;
  LoadRegistryFile(path, registry);
  auto user = registry.OpenKey(RegistryRoot::kCurrentUser, "Software\\Psion\\CurrentUser",
                               platform::registry_access::kRead, false);
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(user->ReadString("MachineName"), "Caf\xE9 SERIES5 MX");  // ANSI inside
  auto dcom = registry.OpenKey(RegistryRoot::kClassesRoot, "CLSID\\{X}\\InstalledVersion",
                               platform::registry_access::kRead, false);
  EXPECT_EQ(dcom->ReadString(""), "4,71,0,3328");
  auto settings = registry.OpenKey(RegistryRoot::kLocalMachine, "SOFTWARE\\VENDOR\\SETTINGS",
                                   platform::registry_access::kRead, false);
  EXPECT_EQ(settings->ReadDword("LogLevel"), 0xFFFFFFFFu);

  SaveRegistryFile(path, registry);
  EXPECT_EQ(Read(), std::string(R"({
  "HKEY_CLASSES_ROOT\\CLSID\\{X}\\InstalledVersion": {
    "@": "4,71,0,3328"
  },
  "HKEY_CURRENT_USER\\Software\\Psion\\CurrentUser": {
    "MachineName": "Café SERIES5 MX"
  },
  "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Settings": {
    "LogLevel": {
      "dword": 4294967295
    }
  }
}
)"));
}

TEST_F(RegistryFileTest, AMissingFileIsAnEmptyRegistry) {
  platform::MemoryRegistry registry;
  LoadRegistryFile(path + ".absent", registry);
  EXPECT_TRUE(registry.Empty());
}

// Keys and values are matched without regard to case, so a file may name one twice in two
// spellings: it is refused, as the next save would keep only one of them.
TEST_F(RegistryFileTest, FaultsNameTheFileAndWhatIsWrong) {
  const struct {
    std::string text;
    std::string fault;
  } rows[] = {
      {R"({"HKEY_NOWHERE\\X": {}})", "Unknown registry root"},
      {R"({"HKEY_CURRENT_USER\\X": {"v": {"dword": -1}}})", "from 0 to 4294967295"},
      {R"({"HKEY_CURRENT_USER\\X": {"v": {"dword": 1e19}}})", "from 0 to 4294967295"},
      {R"({"HKEY_CURRENT_USER\\X": {"v": {"dword": 1, "text": "x"}}})", "{\"dword\": NUMBER}"},
      {R"({"HKEY_CURRENT_USER\\X": {"v": 3}})", "expected an object"},
      {R"({"HKEY_CURRENT_USER\\X": {}, "hkey_current_user\\x\\": {}})",
       "the key \"hkey_current_user\\x\\\" is listed twice"},
      {R"({"HKEY_CURRENT_USER\\X": {"Name": "a", "NAME": "b"}})",
       "the value \"NAME\" of \"HKEY_CURRENT_USER\\X\" is listed twice"},
      {R"({"HKEY_CURRENT_USER\\X": {"v": 1, "v": 2}})", "is given twice"},
      {"[", "JSON line 1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    Write(row.text);
    platform::MemoryRegistry registry;
    try {
      LoadRegistryFile(path, registry);
      ADD_FAILURE() << "no error";
    } catch (const platform::Exception& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("registry file " + path + ": ", 0), 0u) << message;
      EXPECT_NE(message.find(row.fault), std::string::npos) << message;
    }
  }
}

// Keys are held part by part, so a deep path costs as much as its text; deeper than the real
// registry's 512 levels it is refused before any of it is made.
TEST_F(RegistryFileTest, AKeyPathIsAcceptedUpTo512LevelsAndRefusedBeyond) {
  const auto keyOf = [](std::size_t levels) {
    std::string path = "HKEY_CURRENT_USER";
    for (std::size_t i = 0; i < levels; ++i)
      path += "\\\\K" + std::to_string(i % 10);
    return "{\"" + path + "\": {\"v\": \"deep\"}}";
  };
  Write(keyOf(512));
  platform::MemoryRegistry registry;
  LoadRegistryFile(path, registry);
  std::string deepest;
  for (std::size_t i = 0; i < 512; ++i)
    deepest += (i ? "\\K" : "K") + std::to_string(i % 10);
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser, deepest, platform::registry_access::kRead,
                              false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("v"), "deep");
  // Written back as the one key it was: the parents, without values, are not written.
  const sim::json::Object written = sim::json::Parse(WriteRegistryText(registry)).AsObject();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written.front().first, "HKEY_CURRENT_USER\\" + deepest);

  for (std::size_t levels : {513u, 200000u}) {
    SCOPED_TRACE(levels);
    Write(keyOf(levels));
    platform::MemoryRegistry refused;
    try {
      LoadRegistryFile(path, refused);
      ADD_FAILURE() << "no error";
    } catch (const platform::Exception& error) {
      EXPECT_NE(std::string(error.what()).find("the registry allows 512"), std::string::npos)
          << std::string(error.what()).substr(0, 200);
    }
    EXPECT_TRUE(refused.Empty());
  }
}

// A failed save leaves the old file whole and says which file it was.
TEST_F(RegistryFileTest, AFailedSaveNamesTheFile) {
  std::filesystem::create_directories(path);
  platform::MemoryRegistry registry;
  registry.SetString(RegistryRoot::kCurrentUser, "X", "v", "text");
  try {
    SaveRegistryFile(path, registry);
    ADD_FAILURE() << "no error";
  } catch (const platform::Exception& error) {
    EXPECT_EQ(std::string(error.what()), "registry file " + path + ": is a folder");
  }
  std::filesystem::remove_all(path);
}

}  // namespace
}  // namespace gwsync
