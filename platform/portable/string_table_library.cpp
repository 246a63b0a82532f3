#include "platform/portable/string_table_library.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/exception.h"

namespace platform {
namespace {

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
  throw Exception("string table line " + std::to_string(line) + ": " + what);
}

std::string Unescape(std::string_view text, std::size_t line) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i >= text.size()) Fail(line, "a line may not end in a lone backslash");
    switch (text[i]) {
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case '\\':
        out.push_back('\\');
        break;
      default:
        Fail(line, std::string("unknown escape \\") + text[i]);
    }
  }
  return out;
}

int ParseId(std::string_view digits, std::size_t line) {
  int id = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || id < 0 ||
      id > 65535) {
    // Appended, not "'" + std::string(digits) + ...: gcc 12 at -O3 warns (-Wrestrict) about a
    // literal put in front of a string, falsely.
    std::string message(1, '\'');
    message.append(digits).append("' is not a resource id");
    Fail(line, message);
  }
  return id;
}

}  // namespace

StringTable ParseStringTable(std::string_view text) {
  StringTable table;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    const std::size_t blank = line.find(' ');
    const std::string_view head = line.substr(0, blank);
    const std::string_view rest =
        blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    if (head == "BITMAP") {
      const std::size_t fileStart = rest.find(' ');
      if (fileStart == std::string_view::npos) Fail(lineNumber, "BITMAP needs an id and a file");
      if (!table.bitmaps.insert(ParseId(rest.substr(0, fileStart), lineNumber)).second) {
        Fail(lineNumber, "bitmap id used twice");
      }
      continue;
    }
    if (blank == std::string_view::npos) Fail(lineNumber, "a string needs an id and a text");
    const int id = ParseId(head, lineNumber);
    if (!table.strings.emplace(id, Unescape(rest, lineNumber)).second) {
      Fail(lineNumber, "string id " + std::to_string(id) + " used twice");
    }
  }
  return table;
}

std::optional<std::string> StringTableLibrary::LoadString(int id) {
  auto found = table_.strings.find(id);
  if (found == table_.strings.end()) return std::nullopt;
  return found->second;
}

bool StringTableLoader::LibraryExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path + std::string(kStringTableSuffix), error);
}

std::unique_ptr<ResourceLibrary> StringTableLoader::Load(const std::string& path) {
  std::ifstream file(path + std::string(kStringTableSuffix), std::ios::binary);
  if (!file) return nullptr;
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return std::make_unique<StringTableLibrary>(ParseStringTable(text));
}

}  // namespace platform
