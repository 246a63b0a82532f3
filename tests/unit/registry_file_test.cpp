// The registry file of gwsync: read as a person writes it, written back so it reads the same.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
  EXPECT_TRUE(registry.Keys().empty());
}

TEST_F(RegistryFileTest, FaultsNameTheFile) {
  const char* bad[] = {
      "{\"HKEY_NOWHERE\\\\X\": {}}",
      "{\"HKEY_CURRENT_USER\\\\X\": {\"v\": {\"dword\": -1}}}",
      "{\"HKEY_CURRENT_USER\\\\X\": {\"v\": 3}}",
      "[",
  };
  for (const char* text : bad) {
    Write(text);
    platform::MemoryRegistry registry;
    try {
      LoadRegistryFile(path, registry);
      ADD_FAILURE() << "no error for " << text;
    } catch (const platform::Exception& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace gwsync
