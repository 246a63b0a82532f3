#include "framework/record_parser.h"

#include "framework/text_util.h"

namespace framework {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kFoldMark = "=0A=";
// A folded line break on the wire, and what the property parser expects in its place.
constexpr std::string_view kWireFold = "=0D=0A=\r\n";
constexpr std::string_view kParserFold = "=\r=\n=";

}  // namespace

std::size_t FindLineEnd(std::string_view text) {
  std::size_t at = 0;
  for (;;) {
    at = text.find(kLineBreak, at);
    if (at == std::string_view::npos) return at;
    if (at < kFoldMark.size() ||
        text.substr(at - kFoldMark.size(), kFoldMark.size()) != kFoldMark) {
      return at;
    }
    ++at;
  }
}

// EXAMPLE (each line ends in CR LF):
//   BEGIN:VEVENT
//   DESCRIPTION;QUOTED-PRINTABLE:a=0D=0A=
//   b
//   ATTACH;VALUE=BINARY:x;*00000003*a<CR><LF>
//   END:VEVENT
// gives BEGIN, DESCRIPTION (value a CR LF b), ATTACH (three bytes, CR LF among them), END.
std::optional<std::string> ParseRecord(std::string_view record, TvProperties& properties) {
  properties.Clear();
  if (record.empty()) return "Operation aborted";

  const std::string_view trimmed = TrimControl(record);
  std::string text;
  text.reserve(trimmed.size() + kLineBreak.size());
  text.append(trimmed).append(kLineBreak);
  const std::string_view all = text;

  ForwardFinder colons(all, ":");
  ForwardFinder binaryMarks(all, kBinaryParameter);
  ForwardFinder semicolons(all, ";");
  std::size_t pos = 0;
  while (pos < all.size()) {
    const std::size_t colon = colons.From(pos);
    if (colon == std::string_view::npos) break;
    const std::size_t mark = binaryMarks.From(pos);
    const bool binary = mark != std::string_view::npos && mark + kBinaryParameter.size() <= colon;

    if (binary) {
      const std::size_t separator = semicolons.From(colon + 1);
      // The text always ends in CR LF, so the digits' start is still inside it.
      const int32_t length =
          separator == std::string_view::npos
              ? 0
              : ParseBinaryLength(all.substr(separator + 2, kBinaryLengthDigits));
      if (length > 0) {
        const std::size_t dataStart = separator + 2 + kBinaryLengthDigits + 1;
        const auto size = static_cast<std::size_t>(length);
        if (dataStart > trimmed.size() || trimmed.size() - dataStart < size) {
          properties.Clear();
          const std::string_view name = all.substr(pos, all.find_first_of(";:", pos) - pos);
          return "The binary value of " + std::string(name) + " announces " + std::to_string(size) +
                 " bytes, more than the record holds";
        }
        properties.Add().SetText(all.substr(pos, dataStart + size - pos));
        pos = std::min(all.size(), dataStart + size + kLineBreak.size());
        continue;
      }
    }

    const std::size_t lineLength = FindLineEnd(all.substr(pos));
    if (lineLength == std::string_view::npos) break;
    // Only text lines carry folds; binary data is taken byte for byte.
    properties.Add().SetText(
        ReplaceAllIgnoringCase(all.substr(pos, lineLength), kWireFold, kParserFold));
    pos += lineLength + kLineBreak.size();
  }
  return std::nullopt;
}

}  // namespace framework
