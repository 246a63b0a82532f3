// The module's resource libraries: where they are looked for, what a missing one does, and
// what the framework reads from them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/module_globals.h"
#include "platform/portable/portable_platform.h"

namespace framework {
namespace {

TEST(ModuleLibraryPath, FollowsTheModulesNameAndFolder) {
  struct Case {
    const char* module;
    const char* wanted;
  };
  const Case cases[] = {
      {"C:\\Sync\\pimsync.dll", "C:\\Sync\\pimsync.DLR"},
      {"C:\\Sync\\UTLpimsync.dll", "C:\\Sync\\pimsync.DLR"},
      {"C:\\Sync\\utlMail.dll", "C:\\Sync\\Mail.DLR"},
      {"  C:\\Sync\\mailsync.DLL\r\n", "C:\\Sync\\mailsync.DLR"},
      // Every occurrence of the extension's text in the name, and none in the folder.
      {"C:\\x.dll\\a.dll.dll", "C:\\x.dll\\a.DLR.DLR"},
      {"C:\\Sync\\plugin", "C:\\Sync\\plugin"},
      {"/opt/sync/pimsync.dll", "/opt/sync/pimsync.DLR"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ModuleLibraryPath(c.module), c.wanted) << c.module;
}

class ModuleResourcesTest : public testing::Test {
 protected:
  void TearDown() override { FreeModuleResources(); }
  platform::PortablePlatform platform;
};

TEST_F(ModuleResourcesTest, TheBuildsLibrariesGiveTheirTexts) {
  platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/pimsync.dll";
  LoadModuleResources(platform.env, platform.resources, platform.ui);
  EXPECT_TRUE(platform.ui.messageBoxes.empty());
  EXPECT_EQ(LoadFrameworkString(2), "Reading appointments from %s");
  EXPECT_EQ(LoadFrameworkString(28), "Sending a mail message from %s");
  EXPECT_EQ(LoadFrameworkString(1), "");  // not in the table
  EXPECT_NE(LoadModuleString(2), "");
  EXPECT_TRUE(ModuleHasBitmap(102));
  EXPECT_FALSE(ModuleHasBitmap(144));

  FreeModuleResources();
  EXPECT_EQ(LoadFrameworkString(2), "");
  EXPECT_EQ(LoadModuleString(2), "");
}

TEST_F(ModuleResourcesTest, AMissingModuleLibraryIsAnnouncedOnceAndFrameworkTextsStayEmpty) {
  const auto folder = std::filesystem::temp_directory_path() / "gws_no_resources_here";
  std::filesystem::create_directories(folder);
  platform.env.modulePath = (folder / "mailsync.dll").string();
  LoadModuleResources(platform.env, platform.resources, platform.ui);
  EXPECT_EQ(LoadModuleString(261), "");
  EXPECT_EQ(LoadFrameworkString(2), "");
  EXPECT_EQ(LoadModuleString(262), "");
  ASSERT_EQ(platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(platform.ui.messageBoxes[0].text,
            "DLR library module [" + (folder / "mailsync.DLR").string() + "] does not exist.");
  EXPECT_EQ(platform.ui.messageBoxes[0].caption, "FWRES Exception in LoadDLR");
  EXPECT_EQ(platform.ui.messageBoxes[0].style, platform::mb::kSetForeground);
  EXPECT_EQ(platform.ui.beeps, std::vector<uint32_t>{platform::mb::kIconExclamation});
}

TEST_F(ModuleResourcesTest, WithoutTheModulePathNothingIsLoaded) {
  platform.env.modulePath.clear();  // the portable environment's way of failing the lookup
  LoadModuleResources(platform.env, platform.resources, platform.ui);
  ASSERT_EQ(platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(platform.ui.messageBoxes[0].text, "GetModuleFilename() returned 0.");
  EXPECT_EQ(LoadFrameworkString(2), "");
}

TEST_F(ModuleResourcesTest, AModuleLibraryThatCannotBeReadIsAnnouncedWithItsReason) {
  const auto folder = std::filesystem::temp_directory_path() / "gws_broken_resources";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "tool.DLR.strings", std::ios::binary) << "1 fine\n2\n";
  platform.env.modulePath = (folder / "tool.dll").string();
  LoadModuleResources(platform.env, platform.resources, platform.ui);
  ASSERT_EQ(platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(platform.ui.messageBoxes[0].text,
            "DLR library module [" + (folder / "tool.DLR").string() +
                "] could not be loaded: string table line 2: a string needs an id and a text");
  EXPECT_EQ(LoadModuleString(1), "");
  std::filesystem::remove_all(folder);
}

TEST_F(ModuleResourcesTest, StringsAreCutToTheReadBuffer) {
  const auto folder = std::filesystem::temp_directory_path() / "gws_long_strings";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "fwres.dll.strings", std::ios::binary)
      << "5 " << std::string(3000, 'x') << "\n6 short\n";
  std::ofstream(folder / "tool.DLR.strings", std::ios::binary) << "1 module\n";
  platform.env.modulePath = (folder / "tool.exe").string();
  LoadModuleResources(platform.env, platform.resources, platform.ui);
  EXPECT_EQ(LoadFrameworkString(5), std::string(2047, 'x'));
  EXPECT_EQ(LoadFrameworkString(6), "short");
  EXPECT_EQ(LoadModuleString(1), "module");
  FreeModuleResources();
  std::filesystem::remove_all(folder);
}

TEST(StringTable, ReadsIdsEscapesAndBitmapsAndRefusesWhatItCannotRead) {
  const platform::StringTable table =
      platform::ParseStringTable("# comment\r\n2 a\\r\\nb \\\\ c\r\n\n7 \nBITMAP 102 x.bmp\n");
  EXPECT_EQ(table.strings.at(2), "a\r\nb \\ c");
  EXPECT_EQ(table.strings.at(7), "");
  EXPECT_EQ(table.bitmaps.count(102), 1u);

  const char* bad[] = {"x text\n",       "2\n",        "2 a\n2 b\n",     "2 bad \\q escape\n",
                       "2 ends in \\\n", "BITMAP 5\n", "70000 too big\n"};
  for (const char* text : bad)
    EXPECT_THROW(platform::ParseStringTable(text), platform::Exception) << text;
}

}  // namespace
}  // namespace framework
