// The JSON files of the simulators and tools: what a person may write, and what the tools
// write back.

#include <gtest/gtest.h>

#include "sim/common/json.h"

namespace sim::json {
namespace {

// Parsing the text raises a ParseError whose message holds `failure`.
void ExpectRefused(std::string_view text, std::string_view failure) {
  try {
    Parse(text);
    ADD_FAILURE() << "no error";
  } catch (const ParseError& error) {
    EXPECT_NE(std::string(error.what()).find(failure), std::string::npos) << error.what();
  }
}

TEST(Json, ReadsWhatAPersonWritesAndWritesItBackInOrder) {
  const std::string text = R"({
  "name": "Caf\u00e9 \ud83d\ude00",
  "count": 3,
  "ratio": 0.5,
  "on": true,
  "none": null,
  "items": [
    1,
    "two"
  ],
  "empty": {}
}
)";
  const Value value = Parse(text);
  EXPECT_EQ(value.At("name").AsString(), "Caf\xC3\xA9 \xF0\x9F\x98\x80");
  EXPECT_EQ(value.At("count").AsInteger(), 3);
  EXPECT_TRUE(value.At("none").IsNull());
  EXPECT_EQ(value.At("items").AsArray()[1].AsString(), "two");
  EXPECT_EQ(value.Find("missing"), nullptr);
  // Written back: members in file order, non-ASCII as UTF-8 rather than escapes.
  EXPECT_EQ(Write(value), R"({
  "name": "Café 😀",
  "count": 3,
  "ratio": 0.5,
  "on": true,
  "none": null,
  "items": [
    1,
    "two"
  ],
  "empty": {}
}
)");
}

TEST(Json, StringsSurviveAWriteAndARead) {
  const std::string tricky = std::string("quote \" backslash \\ tab \t nul ") + '\0' + " \x01 end";
  Object members;
  members.emplace_back("text", Value(tricky));
  EXPECT_EQ(Parse(Write(Value(members))).At("text").AsString(), tricky);
}

TEST(Json, NamesTheLineAndColumnOfAFault) {
  struct Case {
    const char* text;
    const char* wanted;
  };
  const Case cases[] = {
      {"{\n  \"a\": 1,\n  \"b\" 2\n}", "line 3, column 7"},
      {"[1, 2", "column 6: expected ',' or ']'"},
      {"{\"a\": tru}", "unexpected character 't'"},
      {"\"unterminated", "unterminated string"},
      {"{} x", "unexpected text after the value"},
      {"\"\\ud800x\"", "unpaired surrogate"},
      {"\"\\udc00\"", "unpaired surrogate"},
      {"1.2.3", "bad number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ExpectRefused(c.text, c.wanted);
  }
}

TEST(Json, RefusesDeepNestingInsteadOfOverflowingTheStack) {
  EXPECT_THROW(Parse(std::string(100000, '[')), ParseError);
}

TEST(Json, TypedAccessNamesWhatItExpected) {
  const Value value = Parse(R"({"n": 1.5, "s": "x"})");
  EXPECT_THROW(value.At("n").AsInteger(), ParseError);
  EXPECT_THROW(value.At("s").AsNumber(), ParseError);
  EXPECT_THROW(value.At("absent"), ParseError);
  EXPECT_THROW(Value(3).Find("x"), ParseError);
}

// Numbers as JSON writes them, not as far as a C library would read: "01" or "1." in a file
// is a typing mistake, and reading it as 1 would hide it.
TEST(Json, NumbersFollowJsonsOwnSyntax) {
  const struct {
    const char* text;
    double value;         // when accepted
    const char* failure;  // nullptr: accepted
  } rows[] = {
      {"0", 0, nullptr},
      {"-0.5e+3", -500, nullptr},
      {"1E2", 100, nullptr},
      {"120", 120, nullptr},
      {"01", 0, "bad number '01'"},
      {"-01", 0, "bad number '-01'"},
      {"1.", 0, "bad number '1.'"},
      {"1.e3", 0, "bad number '1.e3'"},
      {"-", 0, "bad number '-'"},
      {"1e", 0, "bad number '1e'"},
      {"1e+", 0, "bad number '1e+'"},
      {".5", 0, "unexpected character '.'"},
      {"+1", 0, "unexpected character '+'"},
      {"1e400", 0, "the number 1e400 is out of range"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    if (!row.failure) {
      EXPECT_EQ(Parse(row.text).AsNumber(), row.value);
      continue;
    }
    ExpectRefused(row.text, row.failure);
  }
}

// A member given twice would keep one value on the next save and silently lose the other.
TEST(Json, AMemberGivenTwiceIsRefusedWhereItRepeats) {
  const struct {
    const char* text;
    const char* failure;  // nullptr: accepted
  } rows[] = {
      {R"({"a": 1, "b": 2, "a": 3})", "column 23: the member \"a\" is given twice"},
      {R"({"x": {"b": 1, "b": 1}})", "column 21: the member \"b\" is given twice"},
      {R"({"b": 1, "a": 1, "a": 2, "b": 2})", "column 23: the member \"a\" is given twice"},
      {R"({"a": 1, "A": 2, "a ": 3})", nullptr},
      {R"([{"a": 1}, {"a": 2}])", nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    if (!row.failure) {
      EXPECT_NO_THROW(Parse(row.text));
      continue;
    }
    ExpectRefused(row.text, row.failure);
  }
}

// The range is checked on the double: converting 1e19 to int64_t first would be undefined
// (the sanitizer build fails on it).
TEST(Json, AnIntegerOutsideItsRangeIsRefusedBeforeAnyConversion) {
  const struct {
    const char* text;
    int64_t min;
    int64_t max;
    bool accepted;
  } rows[] = {
      {"4294967295", 0, 0xFFFFFFFF, true},
      {"-32768", -32768, 32767, true},
      {"4294967296", 0, 0xFFFFFFFF, false},
      {"-1", 0, 10, false},
      {"1e19", 0, 0xFFFFFFFF, false},
      {"-1e19", -32768, 32767, false},
      {"1e300", 0, 10, false},
      {"2.5", 0, 10, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const Value value = Parse(row.text);
    if (row.accepted) {
      EXPECT_EQ(value.AsIntegerIn(row.min, row.max), static_cast<int64_t>(value.AsNumber()));
    } else {
      EXPECT_THROW(value.AsIntegerIn(row.min, row.max), ParseError);
    }
  }
  EXPECT_THROW(Parse("1e19").AsInteger(), ParseError);
}

}  // namespace
}  // namespace sim::json
