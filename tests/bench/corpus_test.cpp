// The benchmark's corpus and its framing: figures are only comparable while every machine and
// every compiler makes the same bytes, the records have the shape the benchmark claims, the
// parser reads them as records rather than refusing them, and the measuring program cuts the
// files where the host would.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/entry.h"
#include "platform/portable/scripted_user_interface.h"
#include "tests/support/bytes.h"
#include "tools/bench/corpus.h"

namespace {

using testing_support::Crlf;

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3u;
  }
  return hash;
}

// The published figures (docs/performance.md) were measured on exactly these bytes. A change
// of the generator changes them: then measure the figures before and after anew.
struct Pinned {
  std::string_view fileName;
  std::string_view kind;
  std::size_t minBytes, maxBytes;
  std::uint64_t hash;
};
constexpr Pinned kPinned[] = {
    {"contacts.vcf", "VCARD", 6'500'000, 7'500'000, 0xADF90EBA4C9E4E6A},
    {"events.vcs", "VCALENDAR", 10'500'000, 11'500'000, 0x3924E0374E1993B1},
    {"mail.vmg", "VMAIL", 12'800'000, 13'500'000, 0xD479CD9CECC580C2},
};

TEST(BenchCorpus, IsTheSameBytesOfTheAdvertisedSizeEverywhere) {
  ASSERT_EQ(bench::CorpusKinds().size(), std::size(kPinned));
  for (std::size_t i = 0; i < std::size(kPinned); ++i) {
    const Pinned& pinned = kPinned[i];
    const bench::CorpusKind& kind = bench::CorpusKinds()[i];
    SCOPED_TRACE(pinned.fileName);
    ASSERT_EQ(kind.fileName, pinned.fileName);
    const std::string corpus = bench::Generate(kind);
    EXPECT_GE(corpus.size(), pinned.minBytes);
    EXPECT_LE(corpus.size(), pinned.maxBytes);
    EXPECT_EQ(Fnv1a(corpus), pinned.hash) << std::hex << "0x" << Fnv1a(corpus);

    const bench::Records records = bench::SplitRecords(corpus);
    EXPECT_EQ(records.kind, pinned.kind);
    EXPECT_EQ(records.texts.size(), static_cast<std::size_t>(kind.recordCount));
  }
}

// The attachment's bytes of a mail record.
std::string_view AttachmentOf(std::string_view mail) {
  constexpr std::string_view kLength = "*00010000*";
  const std::size_t at = mail.find(kLength);
  if (at == std::string_view::npos) return {};
  return mail.substr(at + kLength.size(), bench::kMailAttachmentSize);
}

// What makes parsing these records cost what it costs on a device's data: folded values,
// escaped UTF-8, binary values holding line ends and the texts a careless parser stops at.
struct Feature {
  std::string_view name;
  std::size_t kindIndex;
  bool inAttachment;  // looked for in the attachment's bytes rather than the whole record
  std::string_view text;
  double minShare;  // of the records that hold the text at least once
};
constexpr Feature kFeatures[] = {
    {"contacts with a quoted-printable value", 0, false, ";QUOTED-PRINTABLE;CHARSET=UTF-8:", 0.7},
    {"contacts with a folded value", 0, false, "=0D=0A=\r\n", 0.3},
    {"contacts with escaped UTF-8", 0, false, "=C3", 0.3},
    {"events with a folded value", 1, false, "=0D=0A=\r\n", 0.6},
    {"events with escaped UTF-8", 1, false, "=C3", 0.3},
    {"mail with a 64 KiB binary attachment", 2, false, ";VALUE=BINARY;CHARSET=UTF-8:", 1.0},
    {"attachments holding a line end", 2, true, "\r\n", 1.0},
    {"attachments holding a block's end", 2, true, "\r\nEND:VMEMO\r\n", 0.9},
    {"attachments holding a folded line end", 2, true, "=0D=0A=\r\n", 0.9},
};

TEST(BenchCorpus, HasTheShapeOfDeviceData) {
  constexpr int kSample = 200;
  std::vector<std::vector<std::string>> samples;
  for (const bench::CorpusKind& kind : bench::CorpusKinds()) {
    const std::string corpus = bench::Generate(kind, kSample);
    std::vector<std::string> records;
    for (std::string_view text : bench::SplitRecords(corpus).texts)
      records.emplace_back(text);
    samples.push_back(std::move(records));
  }
  for (const Feature& feature : kFeatures) {
    SCOPED_TRACE(feature.name);
    std::size_t holding = 0;
    for (const std::string& record : samples[feature.kindIndex]) {
      const std::string_view where = feature.inAttachment ? AttachmentOf(record) : record;
      holding += where.find(feature.text) != std::string_view::npos ? 1 : 0;
    }
    EXPECT_GE(static_cast<double>(holding) / kSample, feature.minShare) << holding;
  }
}

// A benchmark over records the parser refuses, or cuts wrongly, measures nothing: each record
// must parse without complaint and come back byte for byte, the attachment whole.
TEST(BenchCorpus, RecordsParseAndComeBackUnchanged) {
  for (const bench::CorpusKind& kind : bench::CorpusKinds()) {
    SCOPED_TRACE(kind.fileName);
    const std::string corpus = bench::Generate(kind, 100);
    for (std::string_view text : bench::SplitRecords(corpus).texts) {
      platform::ScriptedUserInterface ui;
      framework::TEntry entry;
      entry.SetVersit(text, ui);
      ASSERT_TRUE(ui.messageBoxes.empty()) << ui.messageBoxes.front().text;
      ASSERT_EQ(testing_support::FirstDifference(entry.GetVersit(), text), "");
      if (kind.fileName == "mail.vmg") {
        const std::string value = entry.FindValue("ATTACH").value_or("");
        EXPECT_TRUE(AttachmentOf(value) == AttachmentOf(text));
        EXPECT_EQ(AttachmentOf(value).size(), bench::kMailAttachmentSize);
      }
    }
  }
}

struct SplitCase {
  std::string_view name;
  std::string file;
  std::vector<std::string> records;  // empty: the file is refused
};

std::vector<SplitCase> SplitCases() {
  const std::string binary = "ATTACH;VALUE=BINARY:a;*0000000E*\r\nEND:VMEMO\r\nxy\r\n";
  return {
      {"two records",
       Crlf("BEGIN:VCARD|N:A|END:VCARD|BEGIN:VCARD|N:B|END:VCARD|"),
       {Crlf("BEGIN:VCARD|N:A|END:VCARD|"), Crlf("BEGIN:VCARD|N:B|END:VCARD|")}},
      {"a record with nothing inside",
       Crlf("BEGIN:VCARD|END:VCARD|"),
       {Crlf("BEGIN:VCARD|END:VCARD|")}},
      {"inner blocks end inside the record",
       Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|END:VEVENT|END:VCALENDAR|"),
       {Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|END:VEVENT|END:VCALENDAR|")}},
      {"an inner block's end in binary data",
       "BEGIN:VMAIL\r\n" + binary + "END:VMAIL\r\n",
       {"BEGIN:VMAIL\r\n" + binary + "END:VMAIL\r\n"}},
      {"an empty file", "", {}},
      {"no BEGIN line first", Crlf("N:A|END:VCARD|"), {}},
      {"no line end after BEGIN", "BEGIN:VCARD", {}},
      {"no END line", Crlf("BEGIN:VCARD|N:A|"), {}},
      {"an END of another kind", Crlf("BEGIN:VCARD|N:A|END:VCALENDAR|"), {}},
      {"an END without its line end", Crlf("BEGIN:VCARD|N:A|") + "END:VCARD", {}},
      {"text between records", Crlf("BEGIN:VCARD|END:VCARD||BEGIN:VCARD|END:VCARD|"), {}},
      {"records of two kinds", Crlf("BEGIN:VCARD|END:VCARD|BEGIN:VMAIL|END:VMAIL|"), {}},
  };
}

TEST(BenchCorpus, SplitsAFileWhereEachRecordEnds) {
  for (const SplitCase& row : SplitCases()) {
    SCOPED_TRACE(row.name);
    if (row.records.empty()) {
      EXPECT_THROW(bench::SplitRecords(row.file), std::runtime_error);
      continue;
    }
    const std::vector<std::string_view> texts = bench::SplitRecords(row.file).texts;
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()), row.records);
  }
}

}  // namespace
