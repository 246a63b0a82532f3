// Reading and replacing the user's files (platform/file_io.h, platform/file_lock.h): a failed
// save leaves the old file whole, a read never takes more than its limit, and one lock holder
// excludes every other.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "tests/support/scratch_folder_test.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public testing_support::ScratchFolderTest {
 protected:
  FileIoTest() : ScratchFolderTest("gws_file_io_") {}
  // The FileError's message, or "" when nothing was raised.
  template <typename Action>
  static std::string FailureOf(Action action) {
    try {
      action();
    } catch (const FileError& error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(FileIoTest, ReplaceFileGivesTheFileExactlyTheBytesAndLeavesNothingElse) {
  const struct {
    const char* name;
    std::string before;  // "": no file before
    std::string bytes;
  } rows[] = {
      {"a new file", "", "first\r\n"},
      {"a longer file", "short", std::string(200000, 'x')},
      {"a shorter file", std::string(5000, 'y'), "z"},
      {"an empty file", "something", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    if (!row.before.empty()) Write("data.json", row.before);
    ReplaceFile(Path("data.json"), row.bytes);
    EXPECT_EQ(Read("data.json"), row.bytes);
    EXPECT_EQ(Names(), std::vector<std::string>{"data.json"});
  }
}

TEST_F(FileIoTest, AFailedReplaceLeavesWhatWasThereAndNamesTheFile) {
  fs::create_directories(folder / "taken");
  Write("taken/inside", "kept");
  EXPECT_EQ(FailureOf([&] { ReplaceFile(Path("taken"), "new"); }), Path("taken") + ": is a folder");
  EXPECT_EQ(Read("taken/inside"), "kept");

  const std::string message = FailureOf([&] { ReplaceFile(Path("no folder/data.json"), "x"); });
  EXPECT_EQ(message.rfind(Path("no folder/data.json") + ": cannot be saved", 0), 0u) << message;
  EXPECT_EQ(Names(), std::vector<std::string>{"taken"});
}

#if !defined(_WIN32)
// A file size limit makes every write past it fail, as a full disk does: the save must fail
// as a whole, with the old file untouched and the half-written temporary file gone.
TEST_F(FileIoTest, AWriteThatFailsMidwayLeavesTheOldFileWhole) {
  Write("mailbox.json", "the old mailbox");
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message =
      FailureOf([&] { ReplaceFile(Path("mailbox.json"), std::string(100000, 'n')); });
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_NE(message.find(Path("mailbox.json") + ": cannot be saved"), std::string::npos) << message;
  EXPECT_NE(message.find("the file is as it was before"), std::string::npos) << message;
  EXPECT_EQ(Read("mailbox.json"), "the old mailbox");
  EXPECT_EQ(Names(), std::vector<std::string>{"mailbox.json"});
}

TEST_F(FileIoTest, ReplaceFileKeepsPermissionsAndFollowsALink) {
  Write("private.json", "old");
  ASSERT_EQ(chmod(Path("private.json").c_str(), 0600), 0);
  fs::create_symlink(Path("private.json"), folder / "link.json");
  ReplaceFile(Path("link.json"), "new");
  EXPECT_TRUE(fs::is_symlink(folder / "link.json"));
  EXPECT_EQ(Read("private.json"), "new");
  struct stat status {};
  ASSERT_EQ(stat(Path("private.json").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(FileIoTest, ADeviceWithoutEndIsReadOnlyUpToTheLimit) {
  EXPECT_EQ(FailureOf([] { ReadFileWithin("/dev/zero", 100000); }),
            "/dev/zero: is larger than 100000 bytes, the most that is read of it");
}
#endif

TEST_F(FileIoTest, ReadFileWithinRefusesWhatItCannotTakeWhole) {
  Write("ten.txt", "0123456789");
  fs::create_directories(folder / "sub");
  const struct {
    const char* name;
    std::string path;
    std::size_t limit;
    std::string failure;  // "": the file's bytes come back
  } rows[] = {
      {"within the limit", Path("ten.txt"), 10, ""},
      {"past the limit", Path("ten.txt"), 9,
       Path("ten.txt") + ": is larger than 9 bytes, the most that is read of it"},
      {"a folder", Path("sub"), 100, Path("sub") + ": is a folder"},
      {"missing", Path("none.txt"), 100, Path("none.txt") + ": does not exist"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string bytes;
    EXPECT_EQ(FailureOf([&] { bytes = ReadFileWithin(row.path, row.limit); }), row.failure);
    if (row.failure.empty()) {
      EXPECT_EQ(bytes, "0123456789");
    }
  }
}

TEST_F(FileIoTest, ReadStreamWithinStopsAtItsLimit) {
  std::istringstream fits(std::string(70000, 'a'));
  EXPECT_EQ(ReadStreamWithin(fits, 70000, "standard input").size(), 70000u);
  std::istringstream tooLong(std::string(70001, 'a'));
  EXPECT_EQ(FailureOf([&] { ReadStreamWithin(tooLong, 70000, "standard input"); }),
            "standard input: is larger than 70000 bytes, the most that is read of it");
}

TEST(SizeText, NamesALimitInTheLargestWholeUnit) {
  EXPECT_EQ(SizeText(64 << 20), "64 MiB");
  EXPECT_EQ(SizeText(16 << 10), "16 KiB");
  EXPECT_EQ(SizeText(1000), "1000 bytes");
  EXPECT_EQ(SizeText(1), "1 byte");
}

TEST_F(FileIoTest, OneLockHolderExcludesEveryOtherUntilItLetsGo) {
  const std::string lockFile = Path("mailbox.json.lock");
  std::optional<FileLock> first = FileLock::TryAcquire(lockFile);
  ASSERT_TRUE(first.has_value());
  EXPECT_FALSE(FileLock::TryAcquire(lockFile).has_value());
  // Moving the lock keeps it held.
  std::optional<FileLock> moved = std::move(first);
  first.reset();
  EXPECT_FALSE(FileLock::TryAcquire(lockFile).has_value());
  moved.reset();
  EXPECT_TRUE(FileLock::TryAcquire(lockFile).has_value());
}

}  // namespace
}  // namespace platform
