#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

// A copy of the text with the raw bytes of every binary property value replaced by
// "<BINARY STREAM>", so the trace stays readable; the prefix, length and parameters stay.
// A length that cannot be read gives the line "!! ERROR CLEANING TEXT - CANNOT TRACE !! ..."
// instead.
std::string CleanTraceText(std::string_view text);

// Where the trace of a module is saved: beside the module, its file name with every "."
// replaced by "_" and ".txt" appended (C:\App 2.0\pimsync.dll gives
// C:\App 2.0\pimsync_dll.txt). The folder is kept as it is.
std::string TraceFilePath(std::string_view modulePath);

// Writes one line per entry, each ending in CR LF. Raises platform::Exception on failure.
void SaveTraceFile(const std::string& path, const std::vector<std::string>& lines);

// The trace of one plug-in object: off unless switched on, lines kept in memory until saved.
class TraceLog {
 public:
  bool Enabled() const { return enabled_; }
  // Switching off drops the lines collected so far.
  void SetEnabled(bool enabled);
  // Starts collecting (the lines exist from Init on, even while tracing is off).
  void Create();
  bool Exists() const { return lines_.has_value(); }
  // Appends the cleaned text as one line, when enabled and collecting.
  void Add(std::string_view text);
  const std::vector<std::string>* Lines() const { return lines_ ? &*lines_ : nullptr; }
  void Free() { lines_.reset(); }

 private:
  bool enabled_ = false;
  std::optional<std::vector<std::string>> lines_;
};

}  // namespace framework
