#include "framework/trace.h"

#include "framework/text_util.h"
#include "framework/versit_property.h"
#include "platform/exception.h"
#include "platform/file_io.h"

namespace framework {
namespace {

constexpr std::string_view kBinaryMarker = ";VALUE=BINARY";
constexpr std::string_view kPlaceholder = "<BINARY STREAM>";
constexpr std::string_view kCleaningFailed = "!! ERROR CLEANING TEXT - CANNOT TRACE !! ";

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

// EXAMPLE: ATTACH;VALUE=BINARY:x;*00000003*abc  ->  ATTACH;VALUE=BINARY:x;*00000003*<BINARY STREAM>
// The text is copied once, front to back: after a replaced value the search goes on behind
// the data, so binary bytes are never searched and a long trace stays linear.
std::string CleanTraceText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;  // text before this position is already in `out`
  std::size_t searchFrom = 0;
  // Markers far from their ":" must not make each search run to it again.
  ForwardFinder colons(text, ":");
  ForwardFinder separators(text, ";");
  for (;;) {
    const std::size_t marker = text.find(kBinaryMarker, searchFrom);
    if (marker == std::string_view::npos) break;
    const std::size_t colon = colons.From(marker + 1);
    if (colon == std::string_view::npos) break;
    const std::size_t separator = separators.From(colon + 1);
    if (separator == std::string_view::npos) break;
    searchFrom = marker + kBinaryMarker.size();
    if (separator + 1 >= text.size() || text[separator + 1] != '*') continue;

    const std::string_view digits = text.substr(separator + 2, kBinaryLengthDigits);
    if (digits.size() < kBinaryLengthDigits) break;
    for (char c : digits) {
      if (!IsHexDigit(c)) {
        return std::string(kCleaningFailed) + "'" + std::string(digits) +
               "' is not a valid integer value";
      }
    }
    const int32_t length = ParseBinaryLength(digits);
    const std::size_t dataStart = separator + 2 + kBinaryLengthDigits + 1;
    const std::size_t dataEnd =
        length <= 0 ? dataStart
                    : std::min(text.size(), dataStart + static_cast<std::size_t>(length));
    if (dataStart > text.size()) break;
    out.append(text.substr(copied, dataStart - copied));
    out.append(kPlaceholder);
    copied = dataEnd;
    searchFrom = dataEnd;
  }
  out.append(text.substr(copied));
  return out;
}

std::string TraceFilePath(std::string_view modulePath) {
  const std::size_t folderEnd = modulePath.find_last_of("\\/:");
  const std::size_t nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
  std::string path(modulePath);
  for (std::size_t i = nameStart; i < path.size(); ++i) {
    if (path[i] == '.') path[i] = '_';
  }
  return path + ".txt";
}

// The trace of an earlier run stays whole until this one's is complete on the disk.
void SaveTraceFile(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text.append(line).append("\r\n");
  try {
    platform::ReplaceFile(path, text);
  } catch (const platform::FileError&) {
    throw platform::Exception("Cannot create file \"" + path + "\"");
  }
}

void TraceLog::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled && lines_) lines_->clear();
}

void TraceLog::Create() {
  if (!lines_) lines_.emplace();
}

void TraceLog::Add(std::string_view text) {
  if (!enabled_ || !lines_) return;
  lines_->push_back(CleanTraceText(text));
}

}  // namespace framework
