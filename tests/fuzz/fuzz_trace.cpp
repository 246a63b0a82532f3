// CleanTraceText over any text: the trace must neither leak the raw bytes of a binary value
// (attachments can be large and private) nor lose or alter anything else, because the trace is
// what support reads to understand a failed synchronization.
//
// How long can the result get? Each placeholder replaces the data of one ";VALUE=BINARY"
// marker, and the search goes on behind the marker, so there are at most as many placeholders
// as markers; each costs its 15 characters at most (less the bytes it hides). A length that
// cannot be read gives a fixed-size error line instead.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/trace.h"
#include "framework/versit_property.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::Escaped;
using fuzz::Require;

constexpr std::string_view kMarker = ";VALUE=BINARY";
constexpr std::string_view kPlaceholder = "<BINARY STREAM>";
constexpr std::string_view kErrorStart = "!! ERROR CLEANING TEXT - CANNOT TRACE !! '";
constexpr std::string_view kErrorEnd = "' is not a valid integer value";

std::size_t CountOccurrences(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos;
       at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The error line names eight characters after a ";*" of the input, one of them no hex digit.
bool IsErrorLineFor(std::string_view text, std::string_view cleaned) {
  const std::size_t digitsSize = framework::kBinaryLengthDigits;
  if (cleaned.size() != kErrorStart.size() + digitsSize + kErrorEnd.size() ||
      !cleaned.starts_with(kErrorStart) || !cleaned.ends_with(kErrorEnd)) {
    return false;
  }
  const std::string_view digits = cleaned.substr(kErrorStart.size(), digitsSize);
  return !std::all_of(digits.begin(), digits.end(), IsHexDigit) &&
         text.find(kMarker) != std::string_view::npos &&
         text.find(";*" + std::string(digits)) != std::string_view::npos;
}

std::vector<std::string_view> SplitOnPlaceholder(std::string_view cleaned) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = cleaned.find(kPlaceholder, start);
    pieces.push_back(cleaned.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) return pieces;
    start = at + kPlaceholder.size();
  }
}

// The cleaned text must be the input with some stretches replaced by the placeholder, each
// stretch right behind a ";*<8 hex digits><one character>" header of a binary value and
// exactly as long as those digits announce (or as what is left of the text, when it ends
// early). Needs an input that does not itself hold the placeholder, or the split would guess.
void CheckOnlyBinaryDataHidden(std::string_view text, std::string_view cleaned) {
  const std::vector<std::string_view> pieces = SplitOnPlaceholder(cleaned);
  const auto details = [&] { return "input " + Escaped(text) + "\ncleaned " + Escaped(cleaned); };
  std::size_t at = 0;  // position in the input that the next piece must start at
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) {
      const std::string_view before = pieces[i - 1];
      const std::size_t headerSize = 2 + framework::kBinaryLengthDigits + 1;
      Require(before.size() >= headerSize && before.find(kMarker) != std::string_view::npos &&
                  before.substr(before.size() - headerSize, 2) == ";*",
              "a placeholder follows the header of a binary value", details);
      const std::string_view digits =
          before.substr(before.size() - headerSize + 2, framework::kBinaryLengthDigits);
      Require(std::all_of(digits.begin(), digits.end(), IsHexDigit),
              "a placeholder follows a readable length", details);
      const int32_t length = framework::ParseBinaryLength(digits);
      at += length <= 0 ? 0 : std::min(text.size() - at, static_cast<std::size_t>(length));
    }
    Require(text.substr(at, pieces[i].size()) == pieces[i],
            "everything but binary data is copied unchanged and in order", details);
    at += pieces[i].size();
  }
  Require(at == text.size(), "the cleaned text ends where the input ends", details);
}

// Whatever a binary value holds, markers and headers included, none of it reaches the trace.
void CheckDataNeverLeaks(std::string_view data) {
  const std::string header =
      "ATTACH;VALUE=BINARY:report.bin;*" + framework::FormatBinaryLength(data.size()) + "*";
  std::string line = header;
  line += data;
  line += "\r\nEND:VEVENT";
  const std::string cleaned = framework::CleanTraceText(line);
  const std::string wanted = header + std::string(kPlaceholder) + "\r\nEND:VEVENT";
  Require(cleaned == wanted, "a binary value's data is hidden whole",
          [&] { return "line " + Escaped(line) + "\ncleaned " + Escaped(cleaned); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string cleaned = framework::CleanTraceText(text);

  if (!IsErrorLineFor(text, cleaned)) {
    Require(!cleaned.starts_with(kErrorStart) || text.starts_with(kErrorStart),
            "the error line is given only for a length that is not hex digits",
            [&] { return "input " + Escaped(text) + "\ncleaned " + Escaped(cleaned); });
    const std::size_t markers = CountOccurrences(text, kMarker);
    Require(cleaned.size() <= text.size() + markers * kPlaceholder.size(),
            "cleaning adds at most one placeholder per marker", [&] {
              return std::to_string(markers) + " markers, input " + Escaped(text) + "\ncleaned " +
                     Escaped(cleaned);
            });
    if (text.find(kPlaceholder) == std::string_view::npos) CheckOnlyBinaryDataHidden(text, cleaned);
  }

  CheckDataNeverLeaks(text);
  return 0;
}
