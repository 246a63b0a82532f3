#include "framework/record_parser.h"

#include <cstring>

#include "framework/text_util.h"

namespace framework {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kFoldMark = "=0A=";
// A folded line break on the wire, and what the property parser expects in its place.
constexpr std::string_view kWireFold = "=0D=0A=\r\n";
constexpr std::string_view kParserFold = "=\r=\n=";
// The part of a fold before its CR LF.
constexpr std::string_view kFoldStart = kWireFold.substr(0, kWireFold.size() - kLineBreak.size());

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::size_t Find(std::string_view text, char c, std::size_t from = 0) {
  if (from >= text.size()) return std::string_view::npos;
  const void* found = std::memchr(text.data() + from, c, text.size() - from);
  return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
               : std::string_view::npos;
}

}  // namespace

// Builds the properties of one record in place, in the record's own buffer. The usual line is
// decoded straight from the wire in one pass: its name and parameters cut at the first ";" and
// ":", its value copied in runs between folds. A line of an unusual shape (a lone CR, a break
// in its name) goes the long way, through TvProperty::SetText on the line with its folds
// marked, which defines what every line means; the fuzz tests hold the two to the same result.
class RecordReader {
 public:
  explicit RecordReader(TvProperties& properties) : properties_(properties) {}

  void ReserveFor(std::size_t recordSize) { properties_.bytes_.reserve(recordSize); }

  // A line without its CR LF; `colon` is the position of its first ":", if it has one.
  void AddTextLine(std::string_view line, std::size_t colon) {
    if (!TryAddPlainLine(line, colon)) {
      TvProperty property;
      property.SetText(ReplaceAllIgnoringCase(line, kWireFold, kParserFold));
      properties_.Add(property);
    }
  }

  // A property whose parameters announce binary data: everything up to the data's end.
  void AddBinaryText(std::string_view text, std::size_t colon) {
    const std::string_view head = text.substr(0, colon);
    const std::size_t separator = Find(head, ';');
    const std::string_view parameters =
        separator == std::string_view::npos ? std::string_view() : head.substr(separator + 1);
    if (!Contains(parameters, kBinaryParameter)) {
      // The marker stood in the name: then it is no binary value at all.
      TvProperty property;
      property.SetText(text);
      properties_.Add(property);
      return;
    }
    std::string& bytes = properties_.bytes_;
    bytes.append(head.substr(0, separator));
    const std::size_t parametersStart = bytes.size();
    bytes.append(parameters);
    const std::size_t valueStart = bytes.size();
    AppendBinaryValue(bytes, text.substr(colon + 1));
    properties_.CloseProperty(parametersStart, valueStart);
  }

  void Finish() { properties_.ShrinkToFit(); }

 private:
  // EXAMPLE: DESCRIPTION;QUOTED-PRINTABLE:a=0D=0A=<CR><LF>b
  //   name DESCRIPTION, parameters QUOTED-PRINTABLE, value a CR LF b
  // False, with nothing added, for a line this cannot read in one pass.
  bool TryAddPlainLine(std::string_view line, std::size_t colon) {
    if (colon >= line.size()) return false;
    const std::string_view head = line.substr(0, colon);
    if (Find(head, '\r') != std::string_view::npos) return false;
    const std::size_t separator = Find(head, ';');
    const std::string_view parameters =
        separator == std::string_view::npos ? std::string_view() : head.substr(separator + 1);
    // A binary value that the record parser read as a line (its length unreadable or 0).
    if (Contains(parameters, kBinaryParameter)) return false;
    const bool quotedPrintable = Contains(parameters, kQuotedPrintable);

    std::string& bytes = properties_.bytes_;
    const std::size_t rollback = bytes.size();
    bytes.append(head.substr(0, separator));
    const std::size_t parametersStart = bytes.size();
    bytes.append(parameters);
    const std::size_t valueStart = bytes.size();

    const std::string_view value = line.substr(colon + 1);
    std::size_t from = 0;
    for (;;) {
      const std::size_t cr = Find(value, '\r', from);
      if (cr == std::string_view::npos) {
        bytes.append(value.substr(from));
        break;
      }
      bytes.append(value.substr(from, cr - from));
      if (cr + 1 >= value.size() || value[cr + 1] != '\n') {
        bytes.resize(rollback);  // a lone CR: the long way decides what it means
        return false;
      }
      if (cr < kFoldStart.size() ||
          !EqualIgnoringCase(value.substr(cr - kFoldStart.size(), kFoldStart.size()), kFoldStart)) {
        break;  // a break that is no fold ends the value; the rest of the line is not read
      }
      // The fold's marks, already copied, give way to the break they stand for; without
      // QUOTED-PRINTABLE they are only marked, as the line parser has always kept them.
      bytes.resize(bytes.size() - kFoldStart.size());
      bytes.append(quotedPrintable ? kLineBreak : kParserFold);
      from = cr + kLineBreak.size();
    }
    properties_.CloseProperty(parametersStart, valueStart);
    return true;
  }

  TvProperties& properties_;
};

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
//
// The record is read as if a CR LF followed its last line, which is how it has always been
// cut; that last break is only imagined, so the record is never copied.
std::optional<std::string> ParseRecord(std::string_view record, TvProperties& properties) {
  properties.Clear();
  if (record.empty()) return "Operation aborted";

  const std::string_view text = TrimControl(record);
  RecordReader reader(properties);
  reader.ReserveFor(text.size());
  ForwardFinder colons(text, ":");
  ForwardFinder binaryMarks(text, kBinaryParameter);
  ForwardFinder semicolons(text, ";");
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t colon = colons.From(pos);
    if (colon == std::string_view::npos) break;
    const std::size_t mark = binaryMarks.From(pos);
    const bool binary = mark != std::string_view::npos && mark + kBinaryParameter.size() <= colon;

    if (binary) {
      const std::size_t separator = semicolons.From(colon + 1);
      const std::size_t digits = separator == std::string_view::npos ? text.size() : separator + 2;
      const int32_t length =
          digits >= text.size() ? 0 : ParseBinaryLength(text.substr(digits, kBinaryLengthDigits));
      if (length > 0) {
        const std::size_t dataStart = separator + 2 + kBinaryLengthDigits + 1;
        const auto size = static_cast<std::size_t>(length);
        if (dataStart > text.size() || text.size() - dataStart < size) {
          properties.Clear();
          const std::string_view name = text.substr(pos, text.find_first_of(";:", pos) - pos);
          return "The binary value of " + std::string(name) + " announces " + std::to_string(size) +
                 " bytes, more than the record holds";
        }
        reader.AddBinaryText(text.substr(pos, dataStart + size - pos), colon - pos);
        pos = dataStart + size + kLineBreak.size();
        continue;
      }
    }

    std::size_t lineLength = FindLineEnd(text.substr(pos));
    if (lineLength == std::string_view::npos) {
      // The imagined CR LF after the last line ends it, unless a fold mark stands before it.
      lineLength = text.size() - pos;
      if (lineLength >= kFoldMark.size() && text.ends_with(kFoldMark)) break;
    }
    reader.AddTextLine(text.substr(pos, lineLength), colon - pos);
    pos += lineLength + kLineBreak.size();
  }
  reader.Finish();
  return std::nullopt;
}

}  // namespace framework
