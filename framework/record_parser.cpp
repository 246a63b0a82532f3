#include "framework/record_parser.h"

#include <algorithm>
#include <cstring>

#include "framework/text_util.h"

namespace framework {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kFoldMark = "=0A=";
// A folded line break on the wire, and what the property parser expects in its place.
constexpr std::string_view kWireFold = "=0D=0A=\r\n";
constexpr std::string_view kParserFold = "=\r=\n=";
// Longer than any name and parameters a host writes: searched on the spot up to this length.
constexpr std::size_t kLongestUsualHead = 256;
// The part of a fold before its CR LF.
constexpr std::string_view kFoldStart = kWireFold.substr(0, kWireFold.size() - kLineBreak.size());

std::size_t Find(std::string_view text, char c, std::size_t from = 0) {
  if (from >= text.size()) return std::string_view::npos;
  const void* found = std::memchr(text.data() + from, c, text.size() - from);
  return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
               : std::string_view::npos;
}

}  // namespace

// Where the line that starts at `lineStart` ends: the first CR LF at or after `from` that is not
// preceded by "=0A=" within the line; npos when there is none.
std::size_t LineEndFrom(std::string_view text, std::size_t lineStart, std::size_t from) {
  for (std::size_t at = from;; ++at) {
    at = text.find(kLineBreak, at);
    if (at == std::string_view::npos) return at;
    if (at - lineStart < kFoldMark.size() ||
        text.substr(at - kFoldMark.size(), kFoldMark.size()) != kFoldMark) {
      return at;
    }
  }
}

// Builds the properties of one record in place, in the record's own buffer. The usual line is
// read in one pass straight from the wire: its name and parameters cut at the first ";" and
// ":", its value copied in runs between folds, its end found on the way. A line of an unusual
// shape (a lone CR, a break before its ":", a binary marker in its parameters) goes the long
// way, through TvProperty::SetText on the line with its folds marked, which is what defines
// every line; the fuzz tests hold the two to the same result.
class RecordReader {
 public:
  // What reading a line at a position came to.
  enum class Outcome { kRead, kLongWay, kNoLineEnd };

  // The properties' texts are written through a cursor into a buffer as large as the record,
  // which is enough for every usual record; what is left over is given back at Finish.
  RecordReader(TvProperties& properties, std::string_view text)
      : properties_(properties), bytes_(properties.bytes_), text_(text) {
    bytes_.resize(text.size());
    // About one property per 24 bytes of record: one allocation for most records.
    properties_.slots_.reserve(text.size() / 24 + 4);
  }

  void Finish() { bytes_.resize(used_); }

  // Reads the text line starting at `pos`, whose first ":" (the text's first after `pos`) is
  // at `colon`, if it is a usual one; `next` is then where the following line starts.
  [[gnu::always_inline]] Outcome TryAddPlainLine(std::size_t pos, std::size_t colon,
                                                 std::size_t& next) {
    // The first CR of the line; before the ":" it means the line ended without one.
    std::size_t cr = Find(text_, '\r', pos);
    if (cr < colon) return Outcome::kLongWay;
    const std::size_t separator = Find(text_.substr(0, colon), ';', pos);
    const std::string_view name =
        text_.substr(pos, (separator == std::string_view::npos ? colon : separator) - pos);
    const std::string_view parameters = separator == std::string_view::npos
                                            ? std::string_view()
                                            : text_.substr(separator + 1, colon - separator - 1);
    // Parameters holding VALUE=BINARY never come this way: ParseRecord sends them to the binary
    // reader or, when their length is unreadable, the long way.
    // Parameters most often begin with it, so that is looked at first.
    const bool quotedPrintable =
        parameters.starts_with(kQuotedPrintable) || Holds(parameters, kQuotedPrintable);

    // The head as it stands: the name, and the parameters behind their ";" (a ";" with nothing
    // behind it is dropped, as it is never written again).
    const std::size_t rollback = used_;
    const std::size_t nameEnd = used_ + name.size();
    Put(parameters.empty() ? name : text_.substr(pos, colon - pos));
    const std::size_t valueStart = used_;

    const std::size_t valueFrom = colon + 1;
    std::size_t from = valueFrom;
    std::size_t folds = 0;  // counted once the line is read, not before it may be given up
    for (;; cr = Find(text_, '\r', from)) {
      if (cr == std::string_view::npos) {
        // The imagined CR LF after the last line ends it, unless a fold mark stands before it.
        if (text_.size() - pos >= kFoldMark.size() && text_.ends_with(kFoldMark)) {
          used_ = rollback;
          return Outcome::kNoLineEnd;
        }
        Put(text_.substr(from));
        next = text_.size() + kLineBreak.size();
        break;
      }
      Put(text_.substr(from, cr - from));
      if (cr + 1 >= text_.size() || text_[cr + 1] != '\n') {
        used_ = rollback;  // a lone CR: the long way decides what it means
        return Outcome::kLongWay;
      }
      if (cr - pos < kFoldMark.size() || !FoldMarkBefore(cr)) {
        next = cr + kLineBreak.size();  // the line's end
        break;
      }
      if (cr - valueFrom < kFoldStart.size() || !FoldStartBefore(cr)) {
        // A break that is no fold ends the value; the rest of the line is not read.
        const std::size_t end = LineEndFrom(text_, pos, cr + 1);
        if (end == std::string_view::npos) {
          used_ = rollback;
          return Outcome::kLongWay;
        }
        next = end + kLineBreak.size();
        break;
      }
      // The fold's marks, already copied, give way to the break they stand for; without
      // QUOTED-PRINTABLE they are only marked, as the line parser has always kept them.
      used_ -= kFoldStart.size();
      if (quotedPrintable) {
        bytes_[used_++] = '\r';  // the marks were longer: this fits where they stood
        bytes_[used_++] = '\n';
        ++folds;
      } else {
        Put(kParserFold);
      }
      from = cr + kLineBreak.size();
    }
    properties_.foldedBreaks_ += folds;
    properties_.CloseProperty(nameEnd, valueStart, used_);
    return Outcome::kRead;
  }

  // A line without its CR LF, read the long way.
  void AddLine(std::string_view line) {
    TvProperty property;
    property.SetText(ReplaceAllIgnoringCase(line, kWireFold, kParserFold));
    Add(property.Name, property.Parameters, property.Value);
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
      Add(property.Name, property.Parameters, property.Value);
      return;
    }
    const std::size_t nameEnd = used_ + separator;
    Put(head);
    const std::size_t valueStart = used_;
    if (const std::optional<BinaryValue> value = ReadBinaryValue(text.substr(colon + 1))) {
      Put(value->prefix);
      Put(";*");
      Put(FormatBinaryLength(value->data.size()));
      Put("*");
      Put(value->data);
    }
    properties_.CloseProperty(nameEnd, valueStart, used_);
  }

 private:
  void Add(std::string_view name, std::string_view parameters, std::string_view value) {
    Put(name);
    const std::size_t nameEnd = used_;
    if (!parameters.empty()) {
      Put(";");
      Put(parameters);
    }
    const std::size_t valueStart = used_;
    Put(value);
    properties_.foldedBreaks_ += TvProperties::FoldedBreaks(parameters, value);
    properties_.CloseProperty(nameEnd, valueStart, used_);
  }

  [[gnu::always_inline]] void Put(std::string_view text) {
    if (bytes_.size() - used_ < text.size()) [[unlikely]]
      Grow(text.size());
    std::memcpy(bytes_.data() + used_, text.data(), text.size());
    used_ += text.size();
  }

  // Only a line read the long way can come out longer than it went in.
  void Grow(std::size_t more) { bytes_.resize(std::max(2 * bytes_.size(), used_ + more)); }

  // Whether "=0D=0A=", the D in either case, stands right before `position`, where "=0A="
  // already does; the caller makes sure it fits.
  bool FoldStartBefore(std::size_t position) const {
    const char* at = text_.data() + position - kFoldStart.size();
    return at[0] == '=' && at[1] == '0' && (at[2] == 'D' || at[2] == 'd');
  }

  // Whether "=0A=" stands right before `position`; the caller makes sure it fits.
  bool FoldMarkBefore(std::size_t position) const {
    const char* at = text_.data() + position - kFoldMark.size();
    return at[0] == '=' && at[1] == '0' && at[2] == 'A' && at[3] == '=';
  }

  static bool Holds(std::string_view parameters, std::string_view part) {
    return parameters.size() >= part.size() && parameters.find(part) != std::string_view::npos;
  }

  TvProperties& properties_;
  std::string& bytes_;
  std::size_t used_ = 0;
  std::string_view text_;
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
  RecordReader reader(properties, text);
  ForwardFinder colons(text, ":");
  ForwardFinder binaryMarks(text, kBinaryParameter);
  ForwardFinder semicolons(text, ";");
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t colon = colons.From(pos);
    if (colon == std::string_view::npos) break;
    // Binary when the marker stands before the ":". A usual head is searched on the spot, which
    // is cheaper than keeping track of the record's markers; a head that runs on over many
    // lines to a distant ":" asks the finder, which searches each part of the record once.
    const std::size_t headLength = colon - pos;
    bool binary;
    if (headLength <= kLongestUsualHead) {
      binary = headLength >= kBinaryParameter.size() &&
               text.substr(pos, headLength).find(kBinaryParameter) != std::string_view::npos;
    } else {
      const std::size_t mark = binaryMarks.From(pos);
      binary = mark != std::string_view::npos && mark + kBinaryParameter.size() <= colon;
    }

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
    } else {
      std::size_t next = 0;
      const RecordReader::Outcome outcome = reader.TryAddPlainLine(pos, colon, next);
      if (outcome == RecordReader::Outcome::kNoLineEnd) break;
      if (outcome == RecordReader::Outcome::kRead) {
        pos = next;
        continue;
      }
    }

    std::size_t lineLength = FindLineEnd(text.substr(pos));
    if (lineLength == std::string_view::npos) {
      // The imagined CR LF after the last line ends it, unless a fold mark stands before it.
      lineLength = text.size() - pos;
      if (lineLength >= kFoldMark.size() && text.ends_with(kFoldMark)) break;
    }
    reader.AddLine(text.substr(pos, lineLength));
    pos += lineLength + kLineBreak.size();
  }
  reader.Finish();
  return std::nullopt;
}

}  // namespace framework
