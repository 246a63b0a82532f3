#pragma once

// A plug-in's trace as tests read it: its lines (none while tracing is off), the whole text for
// a failure's explanation, and whether one line was written.

#include <string>
#include <string_view>
#include <vector>

#include "framework/base_isync.h"

namespace testing_support {

inline std::vector<std::string> TraceOf(const framework::TBaseIsync& plugin) {
  return plugin.TraceLines() ? *plugin.TraceLines() : std::vector<std::string>();
}

inline std::string TraceTextOf(const framework::TBaseIsync& plugin) {
  std::string text;
  for (const std::string& line : TraceOf(plugin))
    text += line + "\n";
  return text;
}

inline bool Traced(const framework::TBaseIsync& plugin, std::string_view line) {
  for (const std::string& traced : TraceOf(plugin)) {
    if (traced == line) return true;
  }
  return false;
}

}  // namespace testing_support
