// Records: the host's record text cut into properties, entries written back, record streams.

#include <gtest/gtest.h>

#include "framework/entry.h"
#include "framework/entry_list.h"
#include "framework/record_parser.h"
#include "framework/text_util.h"
#include "platform/portable/scripted_user_interface.h"
#include "tests/support/bytes.h"
#include "tests/support/plugin_harness.h"
#include "tools/gwsync/parse_command.h"

namespace framework {
namespace {

using testing_support::Crlf;

struct RecordCase {
  const char* name;
  std::string record;
  // gwsync parse's rendering of the properties: one "name\tparameters\tvalue" line each.
  std::string wantedProperties;
  std::string wantedMessage;  // empty: no message box
};

void PrintTo(const RecordCase& c, std::ostream* out) {
  *out << c.name;
}

class SetVersitTest : public testing::TestWithParam<RecordCase> {};

TEST_P(SetVersitTest, CutsTheRecordIntoProperties) {
  const auto& c = GetParam();
  platform::ScriptedUserInterface ui;
  TEntry entry;
  entry.SetVersit(c.record, ui);
  const std::string got = gwsync::FormatProperties(entry.Properties);
  EXPECT_EQ(entry.Properties.VersitSize(), entry.GetVersit().size());
  EXPECT_EQ(testing_support::FirstDifference(got, c.wantedProperties), "");
  if (c.wantedMessage.empty()) {
    EXPECT_TRUE(ui.messageBoxes.empty()) << ui.messageBoxes[0].text;
  } else {
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text.rfind(c.wantedMessage, 0), 0u) << ui.messageBoxes[0].text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetVersitTest,
    testing::Values(
        RecordCase{"folded_description",
                   Crlf("BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|UID:12|"
                        "DESCRIPTION;QUOTED-PRINTABLE:a=0D=0A=|b|END:VEVENT|END:VCALENDAR|"),
                   "BEGIN\t\tVCALENDAR\nVERSION\t\t1.0\nBEGIN\t\tVEVENT\nUID\t\t12\n"
                   "DESCRIPTION\tQUOTED-PRINTABLE\ta\\r\\nb\nEND\t\tVEVENT\nEND\t\tVCALENDAR\n",
                   ""},
        // Only "=0A=" (upper case) before the line end continues a value on the next line.
        RecordCase{"lower_case_fold_mark_ends_the_line", Crlf("D;QUOTED-PRINTABLE:a=0d=0a=|X:b|"),
                   "D\tQUOTED-PRINTABLE\ta=0d=0a=\nX\t\tb\n", ""},
        RecordCase{"fold_unfolded_whatever_the_case_of_0d", Crlf("D;QUOTED-PRINTABLE:a=0d=0A=|b|"),
                   "D\tQUOTED-PRINTABLE\ta\\r\\nb\n", ""},
        RecordCase{"no_colon_at_all", Crlf("just text|more text|"), "", ""},
        RecordCase{"separator_without_parameters", Crlf("X;:v|"), "X\t\tv\n", ""},
        // A line given up half way, after a fold, for the lone CR that follows it.
        RecordCase{"fold_then_lone_cr", "D;QUOTED-PRINTABLE:a=0D=0A=\r\nb\rc\r\nE:1",
                   "D\tQUOTED-PRINTABLE\ta\\r\\nb\\rc\nE\t\t1\n", ""},
        RecordCase{"empty_text_refused", "", "", "TEntry.SetVersit: "},
        RecordCase{"blanks_only", " \r\n\t ", "", ""},
        RecordCase{"lines_without_colon_before_one_with", Crlf("a|b|C:1|"),
                   "a\t\t\nb\t\t\nC\t\t1\n", ""},
        RecordCase{"last_line_ending_in_fold_mark_is_dropped", Crlf("A:1|B:x=0A=|"), "A\t\t1\n",
                   ""},
        RecordCase{"surrounding_blank_lines_trimmed", "\r\n\r\n  UID:7 \r\n\r\n", "UID\t\t7\n", ""},
        RecordCase{"binary_keeps_exactly_its_bytes",
                   "A:1\r\nATTACH;VALUE=BINARY:f;*00000010*0123\r\n6789abcdef\r\nEND:X",
                   "A\t\t1\nATTACH\tVALUE=BINARY\tf;*00000010*0123\\r\\n6789abcdef\nEND\t\tX\n",
                   ""},
        // A binary value that happens to contain a folded break must not be unfolded: that
        // would change the bytes its length counts.
        RecordCase{"binary_data_never_unfolded",
                   "ATTACH;VALUE=BINARY:m.txt;*0000000B*=0D=0A=\r\nxy\r\nEND:X",
                   "ATTACH\tVALUE=BINARY\tm.txt;*0000000B*=0D=0A=\\r\\nxy\nEND\t\tX\n", ""},
        RecordCase{"binary_zero_length_is_a_text_line", Crlf("B;VALUE=BINARY:n;*00000000*|END:X|"),
                   "B\tVALUE=BINARY\t;*00000000*\nEND\t\tX\n", ""},
        RecordCase{"binary_length_past_the_record_yields_nothing",
                   Crlf("BEGIN:VMAIL|ATTACH;VALUE=BINARY:f;*00001000*short|END:VMAIL"), "",
                   "TEntry.SetVersit: The binary value of ATTACH announces 4096 bytes"},
        RecordCase{"binary_length_reaching_into_added_line_end",
                   "ATTACH;VALUE=BINARY:f;*00000004*abc", "",
                   "TEntry.SetVersit: The binary value of ATTACH announces 4 bytes"},
        RecordCase{"binary_ending_the_record", "ATTACH;VALUE=BINARY:f;*00000003*abc",
                   "ATTACH\tVALUE=BINARY\tf;*00000003*abc\n", ""},
        // Only the parameters make a value binary; the same text inside a value is text, and
        // its line ends at the first CR LF.
        RecordCase{"binary_marker_in_a_value_is_text",
                   Crlf("NOTE:x;*00000004*a|bc|X:VALUE=BINARY|"),
                   "NOTE\t\tx;*00000004*a\nbc\t\t\nX\t\tVALUE=BINARY\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindLineEnd, PassesOverBreaksThatContinueAValue) {
  EXPECT_EQ(FindLineEnd("ab\r\ncd"), 2u);
  EXPECT_EQ(FindLineEnd("a=0A=\r\nb\r\n"), 8u);
  EXPECT_EQ(FindLineEnd("a=0a=\r\nb\r\n"), 5u);
  EXPECT_EQ(FindLineEnd("=0A\r\n"), 3u);        // within the first four characters it always ends
  EXPECT_EQ(FindLineEnd("=0A=\r\nb\r\n"), 7u);  // the first break that can follow "=0A="
  EXPECT_EQ(FindLineEnd("x=0A=\r\n"), std::string_view::npos);
  EXPECT_EQ(FindLineEnd("no break"), std::string_view::npos);
}

TEST(GetVersit, WritesEveryPropertyLineFollowedByCrLf) {
  platform::ScriptedUserInterface ui;
  TEntry entry;
  const std::string record = Crlf(
      "BEGIN:VEVENT|DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:a=0D=0A=|b|"
      "ATTACH;VALUE=BINARY:f;*00000002*\r\n|END:VEVENT|");
  entry.SetVersit(record, ui);
  ASSERT_EQ(entry.Properties.Count(), 4u);
  EXPECT_EQ(entry.Properties[1].Value, "a\r\nb");
  // What was read is written back byte for byte.
  EXPECT_EQ(testing_support::FirstDifference(entry.GetVersit(), record), "");
}

TEST(FindValue, MatchesNamesExactly) {
  TEntry entry;
  entry.Properties.Add("uid", "", "lower");
  entry.Properties.Add("UID", "", "first");
  entry.Properties.Add("UID", "", "second");
  EXPECT_EQ(entry.FindValue("UID"), "first");
  EXPECT_EQ(entry.FindValue(""), std::nullopt);
  EXPECT_EQ(entry.FindValue("Uid"), std::nullopt);
  EXPECT_EQ(entry.GetUID(), "first");

  TEntry lowerOnly;
  lowerOnly.Properties.Add("uid", "", "x");
  EXPECT_EQ(lowerOnly.GetUID(), "");
}

TEST(SetUID, ReplacesOrInsertsAfterTheItemBlock) {
  struct Case {
    const char* name;
    std::string record;
    std::string wanted;
  };
  const Case cases[] = {
      {"existing_uid_replaced", Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:old|END:VEVENT|"),
       Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:new|END:VEVENT|")},
      {"after_vtodo_begin", Crlf("BEGIN:VCALENDAR|BEGIN:VTODO|SUMMARY:x|END:VTODO|"),
       Crlf("BEGIN:VCALENDAR|BEGIN:VTODO|UID:new|SUMMARY:x|END:VTODO|")},
      {"after_first_block_only", Crlf("BEGIN:VMEMO|BEGIN:VEVENT|END:VEVENT|"),
       Crlf("BEGIN:VMEMO|UID:new|BEGIN:VEVENT|END:VEVENT|")},
      {"vmail_without_block_goes_first", Crlf("BEGIN:VMAIL|SUBJECT:x|END:VMAIL|"),
       Crlf("UID:new|BEGIN:VMAIL|SUBJECT:x|END:VMAIL|")},
  };
  for (const Case& c : cases) {
    platform::ScriptedUserInterface ui;
    TEntry entry;
    entry.SetVersit(c.record, ui);
    entry.SetUID("new");
    EXPECT_EQ(testing_support::FirstDifference(entry.GetVersit(), c.wanted), "") << c.name;
  }
}

std::unique_ptr<TEntry> EntryWith(std::string uid) {
  auto entry = std::make_unique<TEntry>();
  entry->Properties.Add("BEGIN", "", "VEVENT");
  entry->Properties.Add("UID", "", std::move(uid));
  entry->Properties.Add("END", "", "VEVENT");
  return entry;
}

TEST(BuildStream, FramesTheEntriesByListKind) {
  struct Case {
    int16_t type;
    std::string wanted;
  };
  const Case cases[] = {
      {0, "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nEND:VCALENDAR"},
      {3, "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nEND:VCALENDAR"},
      {4, "BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD"},
      {6, "BEGIN:VMAIL\r\nVERSION:1.0\r\nEND:VMAIL"},
      {5, "BEGIN:UNKNOWN\r\nVERSION:1.0\r\nEND:UNKNOWN"},
  };
  for (const Case& c : cases) {
    TEntryList list(c.type);
    EXPECT_EQ(EscapeForDisplay(list.BuildStream().Bytes()), EscapeForDisplay(c.wanted)) << c.type;
  }
}

TEST(BuildStream, WritesEntriesInOrderAndNeverANullOne) {
  TEntryList list(0);
  EXPECT_EQ(list.Add(EntryWith("1")), 0);
  EXPECT_EQ(list.Add(nullptr), -1);
  EXPECT_EQ(list.Add(EntryWith("3")), 1);
  EXPECT_EQ(list.Count(), 2);
  platform::MemoryStream& stream = list.BuildStream();
  EXPECT_EQ(stream.Position(), 0u);
  EXPECT_EQ(stream.Bytes(), Crlf("BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|UID:1|END:VEVENT|"
                                 "BEGIN:VEVENT|UID:3|END:VEVENT|END:VCALENDAR"));
  // Built again, not appended to.
  EXPECT_EQ(list.BuildStream().Bytes().size(), stream.Bytes().size());
}

// A read of several megabytes is handed over in pieces while it runs; the host must get the
// very bytes the whole stream would have held, and a write that fails must reach the caller,
// not the read that is adding entries.
TEST(StreamInto, WritesWhatBuildStreamBuildsInPiecesAsEntriesAreAdded) {
  const auto fill = [](TEntryList& list, int from, int to) {
    for (int i = from; i < to; ++i) {
      auto entry = EntryWith(std::to_string(i));
      entry->Properties.Add("DESCRIPTION", "", std::string(700, static_cast<char>('a' + i % 26)));
      list.Add(std::move(entry));
    }
  };
  for (const int16_t type : {int16_t{0}, int16_t{4}, int16_t{6}}) {
    TEntryList whole(type), pieces(type);
    fill(whole, 0, 3000);
    fill(pieces, 0, 10);  // entries already held go first
    platform::MemoryStream out(std::string(5000, 'x'));
    pieces.StreamInto(out);
    EXPECT_EQ(out.Bytes().size(), 5000u) << "nothing written for the first few entries";
    fill(pieces, 10, 3000);
    EXPECT_GT(out.Bytes().size(), std::size_t{1} << 20) << "written while the read runs";
    EXPECT_TRUE(pieces.Streamed());
    pieces.FinishStream();
    EXPECT_TRUE(out.Bytes() == whole.BuildStream().Bytes()) << type;
    EXPECT_EQ(pieces.Count(), 3000);
  }
  TEntryList list(0);
  testing_support::FaultyStream failing;
  failing.failWrite = true;
  list.StreamInto(failing);
  EXPECT_NO_THROW(fill(list, 0, 3000));
  EXPECT_THROW(list.FinishStream(), std::exception);
}

TEST(ParseGolden, RecordsInTestDataParseAsRecorded) {
  // Each tests/data/records/NAME.txt parses to tests/data/records/NAME.parsed.
  const char* names[] = {"appointment", "contact_with_photo", "mail_with_attachment",
                         "non_ascii_summary"};
  for (const char* name : names) {
    const std::string base = std::string("tests/data/records/") + name;
    std::ostringstream out, err;
    gwsync::RunParse(testing_support::ReadSourceFile(base + ".txt"), out, err);
    EXPECT_EQ(testing_support::FirstDifference(out.str(),
                                               testing_support::ReadSourceFile(base + ".parsed")),
              "")
        << name;
  }
}

}  // namespace
}  // namespace framework
