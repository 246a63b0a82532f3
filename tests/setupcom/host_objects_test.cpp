// The setup components' seams to the host's engine object and GroupWise's folder picker, as
// emailsetup.dll uses them (setup/win32), against hostsim.dll's simulated objects created by
// their real ProgIDs through COM: every call by dispatch identifier, the block streams as
// IStreams, faults as the host and GroupWise show them.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/automation.h"
#include "platform/win32/ole_owners.h"
#include "setup/win32/dispatch_folder_picker.h"
#include "setup/win32/dispatch_sync_engine.h"
#include "sim/host/com/hostsim_exports.h"
#include "sim/host/profile_file.h"
#include "tools/gwsync/com_server.h"

namespace setup::win32 {
namespace {

namespace hostsim = sim::hostsim;

std::string Read(platform::ByteStream& stream, std::size_t size) {
  stream.Seek(0, platform::ByteStream::Origin::kBegin);
  return platform::ReadUpTo(stream, size);
}

class HostObjectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        (std::string("hostsim_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    host_.TakeEngineCalls();
    host_.TakePickerCalls();
  }
  void TearDown() override {
    host_.SetEngineFaults(0);
    host_.SetFolderPicker(0, 0);
    std::filesystem::remove_all(folder_);
  }
  std::u16string Path(const char* name) const { return (folder_ / name).u16string(); }

  platform::win32::ComApartment apartment_;  // first made, last gone
  gwsync::HostModule host_;
  std::filesystem::path folder_;
};

TEST_F(HostObjectsTest, ANewControlFileIsWrittenThroughTheBlockStreamsAndReadBack) {
  const std::u16string path = Path("mail.json");
  const std::string a(7816, 'a'), b(136, 'b'), c(2054, 'c');
  {
    std::unique_ptr<SyncEngine> engine = HostSyncEngines()();
    ASSERT_EQ(engine->OpenControlFile(path), 0);
    for (int16_t index : {kBlockA, kBlockB, kBlockC})
      EXPECT_EQ(Read(engine->BlockStream(index), 100), "") << "a new file's block " << index;
    for (auto [index, bytes] : {std::pair{kBlockA, &a}, {kBlockB, &b}, {kBlockC, &c}}) {
      platform::ByteStream& stream = engine->BlockStream(index);
      stream.Seek(0, platform::ByteStream::Origin::kBegin);
      stream.Write(bytes->data(), bytes->size());
    }
    EXPECT_EQ(engine->Save(), 0);
    engine->Close();
  }
  // Each block's stream is asked for once: a commit writes into the stream it was read from.
  EXPECT_EQ(host_.TakeEngineCalls(), "create\nopen " + std::filesystem::path(path).string() +
                                         "\nstream -1\nstream 0\nstream 1\nsave\nclose\n");

  const sim::Profile saved = sim::LoadProfileFile(std::filesystem::path(path).string());
  EXPECT_EQ(saved.Kind(), sim::ProfileKind::kEmail);
  EXPECT_EQ(saved.a.Bytes(), a);
  EXPECT_EQ(saved.b.Bytes(), b);
  EXPECT_EQ(saved.c.Bytes(), c);

  std::unique_ptr<SyncEngine> again = HostSyncEngines()();
  ASSERT_EQ(again->OpenControlFile(path), 0);
  EXPECT_EQ(Read(again->BlockStream(kBlockC), 4096), c);
  EXPECT_EQ(Read(again->BlockStream(kBlockB), 4), "bbbb");
}

// What the engine's faults look like from the component's side of COM.
TEST_F(HostObjectsTest, FaultsReachTheComponentAsTheHostsEngineShowsThem) {
  const std::u16string path = Path("faults.json");
  host_.SetEngineFaults(hostsim::kEngineCannotCreate);
  EXPECT_THROW(HostSyncEngines()(), platform::AutomationError);

  host_.SetEngineFaults(hostsim::kEngineOpenFails);
  EXPECT_EQ(HostSyncEngines()()->OpenControlFile(path), -1);

  host_.SetEngineFaults(hostsim::kEngineSaveFails, 10);
  std::unique_ptr<SyncEngine> engine = HostSyncEngines()();
  ASSERT_EQ(engine->OpenControlFile(path), 0);
  EXPECT_NE(engine->Save(), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path)));

  host_.SetEngineFaults(hostsim::kEngineStreamsFail);
  std::unique_ptr<SyncEngine> failing = HostSyncEngines()();
  ASSERT_EQ(failing->OpenControlFile(path), 0);
  char byte = 0;
  EXPECT_THROW(failing->BlockStream(kBlockA).Read(&byte, 1), platform::StreamError);
  EXPECT_THROW(failing->BlockStream(2), platform::Exception) << "no block has the index 2";
}

TEST_F(HostObjectsTest, ShortStreamsHoldOnlyTheirFirstBytes) {
  const std::u16string path = Path("short.json");
  {
    std::unique_ptr<SyncEngine> engine = HostSyncEngines()();
    ASSERT_EQ(engine->OpenControlFile(path), 0);
    const std::string a(7816, 'x');
    engine->BlockStream(kBlockA).Write(a.data(), a.size());
    ASSERT_EQ(engine->Save(), 0);
  }
  host_.SetEngineFaults(0, 5);
  std::unique_ptr<SyncEngine> engine = HostSyncEngines()();
  ASSERT_EQ(engine->OpenControlFile(path), 0);
  EXPECT_EQ(Read(engine->BlockStream(kBlockA), 7816), "xxxxx");
}

TEST_F(HostObjectsTest, TheFolderPickerLogsInBrowsesAndLogsOutByItsIdentifiers) {
  const struct {
    const char* name;
    uint32_t faults;
    int32_t choice;
    bool loggedIn;
    bool chosen;
    const char* id;  // after Browse, which started from "OLD"
    const char* folderName;
  } cases[] = {
      {"a folder chosen", 0, 2, true, true, "GW.FOLDER.PROJECTS", "Projects"},
      {"the browser cancelled", 0, -1, true, false, "OLD", ""},
      {"the login refused", hostsim::kPickerLoginFails, 1, false, false, "OLD", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host_.SetFolderPicker(c.faults, c.choice);
    std::unique_ptr<email::FolderPicker> picker = HostFolderPickers()();
    EXPECT_EQ(picker->Login(u"J\u00f6rg", u"/ph-x") >= 0, c.loggedIn);
    std::u16string id = u"OLD";
    std::u16string name;
    EXPECT_EQ(picker->Browse(id, name) >= 0, c.chosen);
    EXPECT_EQ(id, std::u16string(c.id, c.id + strlen(c.id)));
    EXPECT_EQ(name, std::u16string(c.folderName, c.folderName + strlen(c.folderName)));
    picker->Logout();
    EXPECT_EQ(host_.TakePickerCalls(), "create\nlogin(J\xc3\xb6rg,/ph-x)\nbrowse(OLD)\nlogout\n");
  }
  host_.SetFolderPicker(hostsim::kPickerCannotCreate, 0);
  EXPECT_THROW(HostFolderPickers()(), platform::AutomationError);
}

}  // namespace
}  // namespace setup::win32
