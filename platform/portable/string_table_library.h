#pragma once

// The portable build's resource libraries. Each library is a text file beside where the
// Windows build puts the real one, named after it with ".strings" appended (fwres.dll.strings).
// It is the very file the Windows resource script is generated from:
//
//   # comment
//   2 Reading appointments from %s
//   BITMAP 102 pimsync_about.bmp
//
// A string line is its id, one blank and the text; "\r", "\n", "\t" and "\\" are escapes.

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/resource_library.h"

namespace platform {

inline constexpr std::string_view kStringTableSuffix = ".strings";

struct StringTable {
  std::map<int, std::string> strings;
  std::set<int> bitmaps;
};

// Raises platform::Exception naming the line of the first fault.
StringTable ParseStringTable(std::string_view text);

class StringTableLibrary final : public ResourceLibrary {
 public:
  explicit StringTableLibrary(StringTable table) : table_(std::move(table)) {}
  std::optional<std::string> LoadString(int id) override;
  bool HasBitmap(int id) override { return table_.bitmaps.count(id) > 0; }

 private:
  StringTable table_;
};

class StringTableLoader final : public ResourceLoader {
 public:
  bool LibraryExists(const std::string& path) override;
  std::unique_ptr<ResourceLibrary> Load(const std::string& path) override;
};

}  // namespace platform
