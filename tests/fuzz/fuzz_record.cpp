// The input as a record from the host: parsed into an entry (SetVersit), written back
// (GetVersit), and parsed once more as a single property text (TvProperty::SetText).
//
// Why these invariants: the plug-ins write back what they read, so a property that cannot be
// written and read again unchanged corrupts the user's data on the next synchronization; and a
// binary value whose length disagrees with its bytes makes every reader after it lose its place.
// Reading outside the input is left to AddressSanitizer: the bytes arrive in a buffer of
// exactly their size.
//
// A whole record read from arbitrary bytes cannot always be written back the same: a name may
// hold "VALUE=BINARY", a line may go on after "=0A=", a binary value that could not be read is
// written empty, and the reader trims blanks at the record's ends, all by design. A record of
// well-formed lines must, since a modified record is written back with its other lines as they
// were read. And the same bytes also describe an entry the plug-ins could build (plain, folded
// and binary values with arbitrary content), which is written and read back whole.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "framework/entry.h"
#include "framework/text_util.h"
#include "framework/versit_property.h"
#include "platform/portable/scripted_user_interface.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using framework::TvProperty;
using framework::TvPropertyView;
using fuzz::Escaped;
using fuzz::Require;

// A folded line break as the host writes it, and as the record parser hands it to SetText.
constexpr std::string_view kWireFold = "=0D=0A=\r\n";
constexpr std::string_view kParserFold = "=\r=\n=";
constexpr std::string_view kLineBreak = "\r\n";

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string Describe(TvPropertyView property) {
  return "Name=" + Escaped(property.Name) + " Parameters=" + Escaped(property.Parameters) +
         " Value=" + Escaped(property.Value);
}

bool SameFields(TvPropertyView a, TvPropertyView b) {
  return a.Name == b.Name && a.Parameters == b.Parameters && a.Value == b.Value;
}

void RequireSame(TvPropertyView read, TvPropertyView original, std::string_view invariant,
                 const std::string& written) {
  Require(SameFields(read, original), invariant, [&] {
    return "written " + Escaped(written) + "\nread back " + Describe(read) + "\noriginal  " +
           Describe(original);
  });
}

// prefix ";*" 8 upper-case hex digits "*" data, with exactly as many data bytes as announced.
void CheckBinaryLayout(TvPropertyView property) {
  const std::string_view value = property.Value;
  if (value.empty()) return;  // nothing kept of a value that could not be read
  const std::size_t separator = value.find(';');
  const std::size_t dataStart = separator + 2 + framework::kBinaryLengthDigits + 1;
  Require(separator != std::string_view::npos && value.size() >= dataStart &&
              value[separator + 1] == '*' && value[dataStart - 1] == '*',
          "a binary value is prefix;*digits*data", [&] { return Describe(property); });
  const std::string digits(value.substr(separator + 2, framework::kBinaryLengthDigits));
  Require(digits.find_first_not_of("0123456789ABCDEF") == std::string::npos,
          "a binary length is written as upper-case hex digits",
          [&] { return Describe(property); });
  const std::size_t dataSize = value.size() - dataStart;
  Require(digits == framework::FormatBinaryLength(dataSize),
          "a binary length equals the number of data bytes that follow", [&] {
            return "digits " + digits + ", data bytes " + std::to_string(dataSize) + "\n" +
                   Describe(property);
          });
}

void CheckProperty(TvPropertyView property) {
  // A separator inside a field would move the field boundaries when the line is read again.
  Require(!Contains(property.Name, ";") && !Contains(property.Name, ":"),
          "a name holds no ';' or ':'", [&] { return Describe(property); });
  Require(!Contains(property.Parameters, ":"), "parameters hold no ':'",
          [&] { return Describe(property); });

  const std::string written = property.GetText();
  if (property.IsBinary()) {
    CheckBinaryLayout(property);
    TvProperty read;
    read.SetText(written);
    RequireSame(read.View(), property, "a binary property reads back as written", written);
    return;
  }

  if (!Contains(property.Value, kLineBreak)) {
    TvProperty read;
    read.SetText(written);
    RequireSame(read.View(), property, "a text property without line breaks reads back as written",
                written);
    return;
  }

  // Only a fold can put a line break into a value, and only a quoted-printable value is
  // written with folds; a plain value holding one would end its line early when written.
  Require(property.HasParameter(framework::kQuotedPrintable),
          "a value with a line break is quoted-printable", [&] { return Describe(property); });
  // Read the way a record line is read: the host's folds turned into the parser's. A name or
  // parameter holding a fold of its own (possible only for a text that was not a record line)
  // would be changed by that, so such properties are left out.
  if (Contains(property.Name, "\r") || Contains(property.Parameters, "\r")) return;
  const std::string line = framework::ReplaceAllIgnoringCase(written, kWireFold, kParserFold);
  TvProperty read;
  read.SetText(line);
  RequireSame(read.View(), property, "a folded value reads back as written", written);
}

// A name of letters, digits and "-", parameters of printable ASCII, a value that neither goes
// on into the next line nor is an unreadable binary value.
bool IsWellFormed(TvPropertyView property) {
  if (property.Name.empty()) return false;
  for (char c : property.Name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') return false;
  }
  for (char c : property.Parameters) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  if (property.IsBinary()) return !property.Value.empty();
  return !property.Value.ends_with("=0A=");
}

void CheckWellFormedRecordReadsBack(const framework::TEntry& entry) {
  for (const TvPropertyView property : entry.Properties) {
    if (!IsWellFormed(property)) return;
  }
  const std::string written = entry.GetVersit();
  const std::string_view lastLine = std::string_view(written).substr(0, written.size() - 2);
  if (lastLine.empty() || static_cast<unsigned char>(lastLine.back()) <= 0x20) return;

  platform::ScriptedUserInterface ui;
  framework::TEntry read;
  read.SetVersit(written, ui);
  Require(read.Properties.Count() == entry.Properties.Count(),
          "a record of well-formed lines reads back with all its properties", [&] {
            return std::to_string(read.Properties.Count()) + " of " +
                   std::to_string(entry.Properties.Count()) + " read from " + Escaped(written);
          });
  for (std::size_t i = 0; i < entry.Properties.Count(); ++i) {
    RequireSame(read.Properties[i], entry.Properties[i],
                "a record of well-formed lines reads back as written", written);
  }
}

bool EndsWithContinuation(std::string_view value) {
  return value.ends_with("=0A=");  // the line would go on into the next one
}

// Adds one property described by the provider, when its value can be written at all.
void AddDescribedProperty(FuzzedDataProvider& provider, framework::TEntry& entry) {
  const int kind = provider.ConsumeIntegralInRange(0, 2);
  const std::string value = provider.ConsumeRandomLengthString(512);
  if (kind == 0) {
    // A plain value has no way to hold a line break.
    if (Contains(value, kLineBreak) || EndsWithContinuation(value)) return;
    entry.Properties.Add("SUMMARY", "", value);
  } else if (kind == 1) {
    // A lone CR, "=" and LF read as a fold once a "=" follows, from the value or from the
    // next fold: a value that only a fold could explain.
    if (Contains(value, "\r=\n") || EndsWithContinuation(value)) return;
    entry.Properties.Add("DESCRIPTION", "QUOTED-PRINTABLE;CHARSET=UTF-8", value);
  } else {
    const std::string prefix = provider.ConsumeRandomLengthString(16);
    // An empty value is written without its prefix; nothing else to read back then.
    if (Contains(prefix, ";") || value.empty()) return;
    entry.Properties.Add("ATTACH", "NAME=a.bin;VALUE=BINARY",
                         prefix + ";*" + framework::FormatBinaryLength(value.size()) + "*" + value);
  }
}

void CheckWrittenEntryReadsBack(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  framework::TEntry built;
  built.Properties.Add("BEGIN", "", "VEVENT");
  while (provider.remaining_bytes() > 0 && built.Properties.Count() < 16)
    AddDescribedProperty(provider, built);
  built.Properties.Add("END", "", "VEVENT");

  const std::string written = built.GetVersit();
  platform::ScriptedUserInterface ui;
  framework::TEntry read;
  read.SetVersit(written, ui);
  Require(ui.messageBoxes.empty(), "a written entry is not refused",
          [&] { return ui.messageBoxes.front().text + "\nwritten " + Escaped(written); });
  Require(read.Properties.Count() == built.Properties.Count(),
          "a written entry reads back with all its properties", [&] {
            return std::to_string(read.Properties.Count()) + " of " +
                   std::to_string(built.Properties.Count()) + " read from " + Escaped(written);
          });
  for (std::size_t i = 0; i < built.Properties.Count(); ++i)
    RequireSame(read.Properties[i], built.Properties[i], "a written entry reads back", written);
}

// The record parser as it was first written, slow and plainly what a record means: the whole
// text copied with a CR LF after it, each line's folds marked and the line read by
// TvProperty::SetText. The parser, which decodes the usual line straight from the wire, must
// agree with it on every input. Nothing when the record is refused.
std::optional<std::vector<TvProperty>> ReferenceParse(std::string_view record) {
  if (record.empty()) return std::nullopt;
  const std::string_view trimmed = framework::TrimControl(record);
  const std::string text = std::string(trimmed) + "\r\n";
  const std::string_view all = text;
  const auto lineEnd = [](std::string_view rest) {
    for (std::size_t at = 0;; ++at) {
      at = rest.find(kLineBreak, at);
      if (at == std::string_view::npos || at < 4 || rest.substr(at - 4, 4) != "=0A=") return at;
    }
  };
  std::vector<TvProperty> properties;
  std::size_t pos = 0;
  while (pos < all.size()) {
    const std::size_t colon = all.find(':', pos);
    if (colon == std::string_view::npos) break;
    const std::size_t mark = all.find(framework::kBinaryParameter, pos);
    if (mark != std::string_view::npos && mark + framework::kBinaryParameter.size() <= colon) {
      const std::size_t separator = all.find(';', colon + 1);
      const int32_t length = separator == std::string_view::npos
                                 ? 0
                                 : framework::ParseBinaryLength(all.substr(separator + 2, 8));
      if (length > 0) {
        const std::size_t dataStart = separator + 2 + 8 + 1;
        const auto size = static_cast<std::size_t>(length);
        if (dataStart > trimmed.size() || trimmed.size() - dataStart < size) return std::nullopt;
        properties.emplace_back().SetText(all.substr(pos, dataStart + size - pos));
        pos = std::min(all.size(), dataStart + size + 2);
        continue;
      }
    }
    const std::size_t length = lineEnd(all.substr(pos));
    if (length == std::string_view::npos) break;
    properties.emplace_back().SetText(
        framework::ReplaceAllIgnoringCase(all.substr(pos, length), kWireFold, kParserFold));
    pos += length + kLineBreak.size();
  }
  return properties;
}

void CheckAgreesWithTheReference(std::string_view input, const framework::TEntry& entry,
                                 bool refused) {
  const std::optional<std::vector<TvProperty>> wanted = ReferenceParse(input);
  Require(refused == !wanted, "the parser refuses what the reference refuses",
          [&] { return std::string(refused ? "refused " : "read ") + Escaped(input); });
  if (!wanted) return;
  Require(entry.Properties.Count() == wanted->size(),
          "the parser finds the properties the reference finds", [&] {
            return std::to_string(entry.Properties.Count()) + " properties, the reference " +
                   std::to_string(wanted->size()) + ", in " + Escaped(input);
          });
  for (std::size_t i = 0; i < wanted->size(); ++i) {
    Require(SameFields(entry.Properties[i], (*wanted)[i].View()),
            "the parser reads each property as the reference does", [&] {
              return "input " + Escaped(input) + "\nparser    " + Describe(entry.Properties[i]) +
                     "\nreference " + Describe((*wanted)[i].View());
            });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  platform::ScriptedUserInterface ui;
  framework::TEntry entry;
  entry.SetVersit(input, ui);

  Require(ui.messageBoxes.size() <= 1, "a record is refused at most once",
          [&] { return std::to_string(ui.messageBoxes.size()) + " message boxes"; });
  if (!ui.messageBoxes.empty()) {
    Require(entry.Properties.Count() == 0, "a refused record leaves no property", [&] {
      return ui.messageBoxes.front().text + "\nbut " + std::to_string(entry.Properties.Count()) +
             " properties, the first " + Describe(entry.Properties[0]);
    });
  }

  CheckAgreesWithTheReference(input, entry, !ui.messageBoxes.empty());
  // Writers reserve what VersitSize says; a short answer makes every build grow twice.
  Require(entry.Properties.VersitSize() == entry.GetVersit().size(),
          "the size of a record's text is known before it is written", [&] {
            return std::to_string(entry.Properties.VersitSize()) + " announced, " +
                   std::to_string(entry.GetVersit().size()) + " written for " + Escaped(input);
          });
  for (const TvPropertyView property : entry.Properties)
    CheckProperty(property);
  CheckWellFormedRecordReadsBack(entry);

  TvProperty single;
  single.SetText(input);
  CheckProperty(single.View());

  CheckWrittenEntryReadsBack(data, size);
  return 0;
}
