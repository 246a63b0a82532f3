// One property line: writing, parsing, binary values and the value helpers.

#include <gtest/gtest.h>

#include "framework/text_util.h"
#include "framework/versit_property.h"

namespace framework {
namespace {

struct ParseCase {
  const char* name;
  std::string text;
  std::string wantedName;
  std::string wantedParameters;
  std::string wantedValue;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
  *out << c.name;
}

class SetTextTest : public testing::TestWithParam<ParseCase> {};

TEST_P(SetTextTest, FillsNameParametersAndValue) {
  const auto& c = GetParam();
  TvProperty property;
  property.SetText(c.text);
  EXPECT_EQ(EscapeForDisplay(property.Name), EscapeForDisplay(c.wantedName));
  EXPECT_EQ(EscapeForDisplay(property.Parameters), EscapeForDisplay(c.wantedParameters));
  EXPECT_EQ(EscapeForDisplay(property.Value), EscapeForDisplay(c.wantedValue));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetTextTest,
    testing::Values(ParseCase{"simple", "UID:12", "UID", "", "12"},
                    ParseCase{"parameters_keep_separator", "X;A;B:v", "X", "A;B", "v"},
                    ParseCase{"no_colon_fills_name_only", "NOCOLON;P", "NOCOLON", "P", ""},
                    ParseCase{"value_keeps_colons", "URL:http://x:80/", "URL", "", "http://x:80/"},
                    ParseCase{"crlf_ends_value", "A:one\r\ntwo", "A", "", "one"},
                    ParseCase{"lone_cr_is_kept", "A:one\rtwo", "A", "", "one\rtwo"},
                    ParseCase{"fold_restored_under_qp", "D;QUOTED-PRINTABLE:a=\r=\n=b", "D",
                              "QUOTED-PRINTABLE", "a\r\nb"},
                    ParseCase{"two_folds", "D;QUOTED-PRINTABLE:a=\r=\n==\r=\n=b", "D",
                              "QUOTED-PRINTABLE", "a\r\n\r\nb"},
                    ParseCase{"fold_not_restored_without_qp", "D:a=\r=\n=b", "D", "", "a=\r=\n=b"},
                    ParseCase{"binary", "ATTACH;VALUE=BINARY:a.txt;*00000003*abc", "ATTACH",
                              "VALUE=BINARY", "a.txt;*00000003*abc"},
                    ParseCase{"binary_lower_case_length", "B;VALUE=BINARY:f;*0000000a*0123456789",
                              "B", "VALUE=BINARY", "f;*0000000A*0123456789"},
                    ParseCase{"binary_data_holds_crlf", "B;VALUE=BINARY:f;*00000004*a\r\nb", "B",
                              "VALUE=BINARY", "f;*00000004*a\r\nb"},
                    ParseCase{"binary_ignores_trailing_bytes", "B;VALUE=BINARY:f;*00000001*xyz",
                              "B", "VALUE=BINARY", "f;*00000001*x"},
                    ParseCase{"binary_zero_length_drops_prefix", "B;VALUE=BINARY:name;*00000000*",
                              "B", "VALUE=BINARY", ";*00000000*"},
                    ParseCase{"binary_negative_length_counts_as_none",
                              "B;VALUE=BINARY:n;*FFFFFFFF*x", "B", "VALUE=BINARY", ";*00000000*"},
                    ParseCase{"binary_unreadable_length", "B;VALUE=BINARY:n;*0000ZZ01*x", "B",
                              "VALUE=BINARY", ";*00000000*"},
                    ParseCase{"binary_without_separator", "B;VALUE=BINARY:noseparator", "B",
                              "VALUE=BINARY", ""},
                    // Announcing more bytes than the text holds must not read past its end.
                    ParseCase{"binary_length_past_end", "B;VALUE=BINARY:n;*00000010*short", "B",
                              "VALUE=BINARY", ""},
                    ParseCase{"binary_header_cut_short", "B;VALUE=BINARY:n;*0000", "B",
                              "VALUE=BINARY", ";*00000000*"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetText, WritesNameParametersAndValue) {
  struct Case {
    const char* name;
    TvProperty property;
    std::string wanted;
  };
  const Case cases[] = {
      {"no_parameters", {"UID", "", "12"}, "UID:12"},
      {"parameters", {"X", "A;B", "v"}, "X;A;B:v"},
      // Without QUOTED-PRINTABLE a line break is written as it is.
      {"no_qp_no_fold", {"NOTE", "", "a\r\nb"}, "NOTE:a\r\nb"},
      {"qp_folds",
       {"DESCRIPTION", "QUOTED-PRINTABLE;CHARSET=UTF-8", "a\r\nb"},
       "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:a=0D=0A=\r\nb"},
      {"qp_leaves_other_bytes", {"S", "QUOTED-PRINTABLE", "\xE9=\r"}, "S;QUOTED-PRINTABLE:\xE9=\r"},
      // Folding binary data would change the bytes its length counts.
      {"binary_never_folded",
       {"B", "VALUE=BINARY;QUOTED-PRINTABLE", "f;*00000002*\r\n"},
       "B;VALUE=BINARY;QUOTED-PRINTABLE:f;*00000002*\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeForDisplay(c.property.GetText()), EscapeForDisplay(c.wanted)) << c.name;
  }
}

TEST(GetValueComponent, SplitsOnlyValuesThatHaveASeparator) {
  TvProperty name{"N", "", "Smith;John;;Dr"};
  EXPECT_EQ(name.GetValueComponent(0), "Smith");
  EXPECT_EQ(name.GetValueComponent(2), "");
  EXPECT_EQ(name.GetValueComponent(3), "Dr");
  EXPECT_EQ(name.GetValueComponent(4), "");
  TvProperty single{"N", "", "Smith"};
  EXPECT_EQ(single.GetValueComponent(0), "");
}

TEST(GetParameterValue, StopsAtTheNextSeparator) {
  TvProperty property{"ATTACH", "VALUE=BINARY;ENCODING=8BIT;TYPE=X", ""};
  EXPECT_EQ(property.GetParameterValue("ENCODING"), "8BIT");
  EXPECT_EQ(property.GetParameterValue("TYPE"), "X");
  EXPECT_EQ(property.GetParameterValue("CHARSET"), std::nullopt);
}

TEST(HasParameter, EmptyMatchesOnlyEmpty) {
  EXPECT_TRUE((TvProperty{"A", "", ""}.HasParameter("")));
  EXPECT_FALSE((TvProperty{"A", "X", ""}.HasParameter("")));
  EXPECT_TRUE((TvProperty{"A", "QUOTED-PRINTABLE;CHARSET=UTF-8", ""}.HasParameter("CHARSET")));
  EXPECT_FALSE((TvProperty{"A", "", ""}.HasParameter("CHARSET")));
}

std::string Render(const TvProperties& properties) {
  std::string out;
  for (const TvPropertyView property : properties) {
    out.append(property.Name).append("|").append(property.Parameters).append("|");
    out.append(property.Value).append("\n");
  }
  return out;
}

// A record's texts are kept back to back: an edit in the middle must move every property after
// it whole and leave the ones before it alone.
// Writers reserve exactly what VersitSize announces: folds written longer than they are kept,
// binary data never folded, values changed after the fact.
TEST(TvProperties, KnowTheSizeOfTheirTextBeforeWritingIt) {
  TvProperties properties;
  properties.Add("DESCRIPTION", "QUOTED-PRINTABLE;CHARSET=UTF-8", "a\r\nb\r\n\r\nc");
  properties.Add("NOTE", "", "plain\r\nbreak");
  properties.Add("ATTACH", "VALUE=BINARY;QUOTED-PRINTABLE", "x;*00000002*\r\n");
  properties.Insert(0, "SUMMARY", "QUOTED-PRINTABLE", "1\r\n2");
  properties.SetValue(1, "only one\r\nbreak now");
  std::string text;
  properties.AppendVersit(text);
  EXPECT_EQ(properties.VersitSize(), text.size()) << EscapeForDisplay(text);
}

TEST(TvProperties, EditsAnywhereKeepEveryOtherProperty) {
  TvProperties properties;
  properties.Add("A", "X", "1");
  properties.Add("B", "", "22");
  properties.Add("C", "Y;Z", "333");
  properties.Insert(1, "NEW", "P", "v");
  properties.SetValue(2, "a much longer value");
  properties.SetValue(0, "");
  properties.Insert(99, "END", "", "X");
  properties.Insert(0, "", "", "");
  // A value taken from the record itself is copied before the record changes under it.
  properties.SetValue(1, properties[3].Value);
  properties.Add(properties[4].Name, properties[2].Parameters, properties[4].Value);
  EXPECT_EQ(Render(properties),
            "||\nA|X|a much longer value\nNEW|P|v\nB||a much longer value\nC|Y;Z|333\nEND||X\n"
            "C|P|333\n");
  EXPECT_THROW(properties[7], std::out_of_range);
  EXPECT_EQ(properties.VersitSize(), [&] {
    std::string text;
    properties.AppendVersit(text);
    return text.size();
  }());
  EXPECT_THROW(properties.SetValue(7, "x"), std::out_of_range);
}

}  // namespace
}  // namespace framework
