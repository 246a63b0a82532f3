// Escapes and UTF-8 between GroupWise's wide text and the device's 8-bit values.

#include <gtest/gtest.h>

#include "framework/text_codec.h"
#include "framework/text_util.h"

namespace framework {
namespace {

const platform::Windows1252 kAnsi;

struct DecodeEscapesCase {
  const char* name;
  std::string input;
  std::string wanted;
};

void PrintTo(const DecodeEscapesCase& c, std::ostream* out) {
  *out << c.name;
}

class DecodeEscapesTest : public testing::TestWithParam<DecodeEscapesCase> {};

TEST_P(DecodeEscapesTest, DecodesOnlyWhatEncodeHighBytesCouldHaveWritten) {
  const auto& c = GetParam();
  EXPECT_EQ(EscapeForDisplay(DecodeEscapes(c.input)), EscapeForDisplay(c.wanted));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeEscapesTest,
    testing::Values(DecodeEscapesCase{"pair", "=C3=A9", "\xC3\xA9"},
                    DecodeEscapesCase{"lone_escape_stays", "=E9", "=E9"},
                    DecodeEscapesCase{"lower_case_stays", "=c3=a9", "=c3=a9"},
                    DecodeEscapesCase{"mixed_case_pair_stays", "=C3=a9", "=C3=a9"},
                    // Three-byte characters used to lose their last byte to the pair rule.
                    DecodeEscapesCase{"euro_whole", "=E2=82=AC", "\xE2\x82\xAC"},
                    DecodeEscapesCase{"cjk_in_text", "a=E4=B8=AD=E6=96=87b",
                                      "a\xE4\xB8\xAD\xE6\x96\x87"
                                      "b"},
                    DecodeEscapesCase{"surrogate_halves_each_whole", "=ED=A0=BD=ED=B8=80",
                                      "\xED\xA0\xBD\xED\xB8\x80"},
                    DecodeEscapesCase{"odd_non_utf8_run_keeps_last", "=E9=E9=E9", "\xE9\xE9=E9"},
                    DecodeEscapesCase{"utf8_then_lone_latin1", "=C3=A9=E9", "\xC3\xA9=E9"},
                    DecodeEscapesCase{"incomplete_sequence_falls_back_to_pairs", "=E2=82",
                                      "\xE2\x82"},
                    DecodeEscapesCase{"broken_sequence_falls_back", "=E2=41=AC",
                                      "\xE2"
                                      "A=AC"},
                    DecodeEscapesCase{"equals_without_digits", "a=b=", "a=b="},
                    DecodeEscapesCase{"escape_cut_at_end", "x=C", "x=C"},
                    DecodeEscapesCase{"separate_runs", "=C3=A9 =E9", "\xC3\xA9 =E9"},
                    DecodeEscapesCase{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeHighBytes, EscapesOnlyHighBytesAndReportsIt) {
  EncodedText high = EncodeHighBytes("A\xE9=");
  EXPECT_EQ(high.text, "A=E9=");  // "=" itself is not escaped
  EXPECT_TRUE(high.escaped);

  EncodedText plain = EncodeHighBytes("a=b\r\n\x01");
  EXPECT_EQ(plain.text, "a=b\r\n\x01");
  EXPECT_FALSE(plain.escaped);
}

TEST(EncodeUtf8, EncodesEachCodeUnitOnItsOwn) {
  struct Case {
    std::u16string input;
    std::string wanted;
  };
  const Case cases[] = {
      {u"\u00E9", "=C3=A9"},
      {u"\u20AC1", "=E2=82=AC1"},
      {u"\u07FF\u0800", "=DF=BF=E0=A0=80"},
      // A surrogate pair is not combined: each half is a three-byte sequence of its own.
      {u"\U0001F600", "=ED=A0=BD=ED=B8=80"},
      {u"plain", "plain"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeUtf8(c.input).text, c.wanted) << c.wanted;
  }
}

TEST(DecodeUtf8, RoundTripsWhatEncodeUtf8Wrote) {
  const std::u16string samples[] = {u"caf\u00E9",
                                    u"\u20AC 12",
                                    u"\u4E2D\u6587\u00E9\u20AC",
                                    u"\u0416\u0438\u0437\u043D\u044C",
                                    u"\U0001F600 smile",
                                    u"no escapes at all"};
  for (const std::u16string& sample : samples) {
    EXPECT_TRUE(DecodeUtf8(EncodeUtf8(sample).text, kAnsi) == sample)
        << EscapeForDisplay(EncodeUtf8(sample).text);
  }
}

TEST(DecodeUtf8, CombinesFourByteSequencesIntoSurrogatePairs) {
  EXPECT_TRUE(DecodeUtf8("\xF0\x9F\x98\x80", kAnsi) == u"\U0001F600");
}

// A code page that is not Windows-1252, so a fallback through the wrong one shows.
class CyrillicLikeCodePage final : public platform::CodePage {
 public:
  std::u16string ToWide(std::string_view text) const override {
    std::u16string wide;
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      wide.push_back(byte < 0x80 ? byte : static_cast<char16_t>(0x0400 + byte - 0x80));
    }
    return wide;
  }
  std::string ToAnsi(std::u16string_view) const override { return {}; }
};

TEST(DecodeUtf8, TextEndingInsideASequenceComesBackUndecodedInTheAnsiCodePage) {
  const CyrillicLikeCodePage ansi;
  // The escapes decode to E2 82, the start of a three-byte sequence: nothing past the end may
  // be read, and the input is kept with its escapes.
  EXPECT_TRUE(DecodeUtf8("Caf=E2=82", ansi) == u"Caf=E2=82");
  EXPECT_TRUE(DecodeUtf8("ab\xE2\x82", ansi) == u"ab\u0462\u0402");
  EXPECT_TRUE(DecodeUtf8("ab\xE2\x82", platform::Windows1252()) == u"ab\u00E2\u201A");
}

TEST(HasHighBytes, FindsAByteAbove0x7F) {
  EXPECT_TRUE(HasHighBytes("abc\x80"));
  EXPECT_FALSE(HasHighBytes("abc=E9\x7F"));
}

TEST(FormatText, FillsPlaceholdersAndNeverFails) {
  EXPECT_EQ(FormatText("Reading %s appointments", {"GroupWise"}), "Reading GroupWise appointments");
  EXPECT_EQ(FormatText("%s: %s", {"Title", "Message"}), "Title: Message");
  EXPECT_EQ(FormatText("count %d, 100%%", {"7"}), "count 7, 100%");
  // A resource text with more placeholders than arguments, or stray percent signs.
  EXPECT_EQ(FormatText("%s and %s", {"one"}), "one and ");
  EXPECT_EQ(FormatText("50% %x %", {}), "50% %x %");
}

TEST(EscapeForDisplay, ShowsEveryByteOnOneLine) {
  EXPECT_EQ(EscapeForDisplay(std::string("a\r\n\t\\\x01\xE9~ ", 9)), "a\\r\\n\\t\\\\\\x01\\xe9~ ");
  EXPECT_EQ(EscapeForDisplay(std::string("\0", 1)), "\\x00");
}

}  // namespace
}  // namespace framework
