// The resource-only libraries the build makes, read through the system, against the string
// tables they were generated from: the Windows and the portable build must show the same
// texts. Besides the product's three libraries, resource_edge_cases.dll holds the strings most
// likely to be mangled on the way (quotes, list separators, escapes, every Windows-1252
// character, block edges, a text longer than the read buffer).
//
// GWS_RUNTIME_DIR is the build's Unix path of the runtime folder; Wine reaches it through the
// Z: drive, which the first test checks so that the others fail for the right reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/portable/string_table_library.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_resource_library.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

// The buffer strings are read into, terminator included. The framework cuts the portable
// build's strings to the same length, so a longer text still reads the same in both builds.
constexpr std::size_t kStringBuffer = 2048;

std::string RuntimePath(std::string_view name) {
  return std::string(GWS_RUNTIME_DIR) + "/" + std::string(name);
}

StringTable ReadTable(const std::string& libraryPath) {
  std::ifstream file(libraryPath + std::string(kStringTableSuffix), std::ios::binary);
  if (!file) throw std::runtime_error("cannot read the table of " + libraryPath);
  return ParseStringTable(
      std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

std::string FolderOf(std::string path) {
  path.erase(path.find_last_of('\\'));
  return path;
}

TEST(RuntimeFolderTest, TheUnixPathReachesTheFolderThisProgramRunsFrom) {
  const DWORD attributes = GetFileAttributesA(GWS_RUNTIME_DIR);
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << GWS_RUNTIME_DIR << " error " << GetLastError();
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  char full[MAX_PATH];
  ASSERT_GT(GetFullPathNameA(GWS_RUNTIME_DIR, MAX_PATH, full, nullptr), 0u);
  char program[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
  EXPECT_EQ(
      CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, full, -1, FolderOf(program).c_str(), -1),
      CSTR_EQUAL)
      << full << " vs " << program;
}

class ResourceLibraryTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    path_ = RuntimePath(GetParam());
    table_ = ReadTable(path_);
    ASSERT_FALSE(table_.strings.empty());
    windows_ = loader_.Load(path_);
    portable_ = StringTableLoader().Load(path_);
    ASSERT_TRUE(windows_) << path_ << " error " << GetLastError();
    ASSERT_TRUE(portable_) << path_;
  }

  // Every id up to well past the table's last one, so gaps inside and after each block of
  // sixteen are asked for.
  int LastIdToTry() const {
    int last = table_.strings.rbegin()->first;
    if (!table_.bitmaps.empty()) last = std::max(last, *table_.bitmaps.rbegin());
    return std::min(last + 40, 0xFFFF);
  }

  std::string path_;
  StringTable table_;
  Win32ResourceLoader loader_;
  std::unique_ptr<ResourceLibrary> windows_;
  std::unique_ptr<ResourceLibrary> portable_;
};

TEST_P(ResourceLibraryTest, BothBuildsFindTheLibrary) {
  EXPECT_TRUE(loader_.LibraryExists(path_));
  EXPECT_TRUE(StringTableLoader().LibraryExists(path_));
}

TEST_P(ResourceLibraryTest, EveryStringReadsTheSameBytesThroughTheDll) {
  for (const auto& [id, text] : table_.strings) {
    SCOPED_TRACE("string " + std::to_string(id));
    const std::optional<std::string> loaded = windows_->LoadString(id);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(Escaped(*loaded), Escaped(std::string_view(text).substr(0, kStringBuffer - 1)));
  }
}

TEST_P(ResourceLibraryTest, IdsNotInTheTableGiveNothingThroughEitherBuild) {
  for (int id = 0; id <= LastIdToTry(); ++id) {
    SCOPED_TRACE("id " + std::to_string(id));
    if (!table_.strings.count(id)) {
      EXPECT_EQ(windows_->LoadString(id), std::nullopt);
      EXPECT_EQ(portable_->LoadString(id), std::nullopt);
    }
    if (!table_.bitmaps.count(id)) {
      EXPECT_FALSE(windows_->HasBitmap(id));
      EXPECT_FALSE(portable_->HasBitmap(id));
    }
  }
  // The system looks only at 16 bits of an id: these would find the table's first string or
  // bitmap if passed on as they are.
  const int firstString = table_.strings.begin()->first;
  for (int id : {firstString + 0x10000, firstString - 0x10000, -1}) {
    SCOPED_TRACE("id " + std::to_string(id));
    EXPECT_EQ(windows_->LoadString(id), std::nullopt);
    EXPECT_FALSE(windows_->HasBitmap(id));
  }
  for (int id : table_.bitmaps) {
    EXPECT_FALSE(windows_->HasBitmap(id + 0x10000)) << id;
  }
}

TEST_P(ResourceLibraryTest, EveryBitmapIsFound) {
  for (int id : table_.bitmaps) {
    EXPECT_TRUE(windows_->HasBitmap(id)) << "bitmap " << id;
    EXPECT_TRUE(portable_->HasBitmap(id)) << "bitmap " << id;
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, ResourceLibraryTest,
                         ::testing::Values("fwres.dll", "pimsync.DLR", "mailsync.DLR",
                                           "resource_edge_cases.dll"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

// The table of the awkward strings really holds what the tests above rely on it for.
TEST(ResourceEdgeCasesTest, TheTableReachesPastTheBufferAndTheBlockEdges) {
  const StringTable table = ReadTable(RuntimePath("resource_edge_cases.dll"));
  bool longer = false;
  for (const auto& entry : table.strings)
    longer = longer || entry.second.size() >= kStringBuffer;
  EXPECT_TRUE(longer);
  for (int id : {0, 15, 16, 31, 0xFFFF})
    EXPECT_TRUE(table.strings.count(id)) << id;
}

TEST(ResourceLoaderTest, LibrariesThatAreNotThereAreMissingInBothBuilds) {
  const struct {
    const char* row;
    std::string path;
  } cases[] = {
      {"missing file", RuntimePath("no_such_library.dll")},
      {"missing folder", RuntimePath("no_such_folder/fwres.dll")},
      {"a folder, not a file", GWS_RUNTIME_DIR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Win32ResourceLoader windows;
    StringTableLoader portable;
    EXPECT_FALSE(windows.LibraryExists(c.path));
    EXPECT_EQ(windows.Load(c.path), nullptr);
    EXPECT_FALSE(portable.LibraryExists(c.path));
    EXPECT_EQ(portable.Load(c.path), nullptr);
  }
}

TEST(ResourceLoaderTest, AFileThatIsNoLibraryExistsButDoesNotLoad) {
  Win32Platform platform;
  const std::string table = RuntimePath("fwres.dll") + std::string(kStringTableSuffix);
  EXPECT_TRUE(platform.Resources().LibraryExists(table));
  EXPECT_EQ(platform.Resources().Load(table), nullptr);
}

}  // namespace
}  // namespace platform::win32::test
