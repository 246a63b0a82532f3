#include "tests/support/bytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "framework/text_util.h"

#ifndef GWS_SOURCE_DIR
#error "GWS_SOURCE_DIR must name the source tree"
#endif

namespace testing_support {

std::string Crlf(std::string_view lines) {
  std::string out;
  for (char c : lines) {
    if (c == '|') {
      out += "\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string FirstDifference(std::string_view got, std::string_view wanted) {
  if (got == wanted) return {};
  std::size_t line = 1, start = 0;
  for (std::size_t i = 0;; ++i) {
    const bool gotEnds = i >= got.size(), wantedEnds = i >= wanted.size();
    if (gotEnds || wantedEnds || got[i] != wanted[i]) {
      auto lineOf = [start](std::string_view text) {
        if (start >= text.size()) return std::string("<end of text>");
        const std::size_t end = text.find('\n', start);
        return framework::EscapeForDisplay(
            text.substr(start, end == std::string_view::npos ? end : end - start + 1));
      };
      return "line " + std::to_string(line) + " differs:\n  got:    " + lineOf(got) +
             "\n  wanted: " + lineOf(wanted);
    }
    if (got[i] == '\n') {
      ++line;
      start = i + 1;
    }
  }
}

std::string SourcePath(std::string_view relativePath) {
  return std::string(GWS_SOURCE_DIR) + "/" + std::string(relativePath);
}

bool SourceFileExists(std::string_view relativePath) {
  return std::filesystem::exists(SourcePath(relativePath));
}

std::string ReadSourceFile(std::string_view relativePath) {
  std::ifstream file(SourcePath(relativePath), std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + SourcePath(relativePath));
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
