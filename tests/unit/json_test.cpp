// The JSON files of the simulators and tools: what a person may write, and what the tools
// write back.

#include <gtest/gtest.h>

#include "sim/common/json.h"

namespace sim::json {
namespace {

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
    try {
      Parse(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const ParseError& error) {
      EXPECT_NE(std::string(error.what()).find(c.wanted), std::string::npos)
          << c.text << " gave: " << error.what();
    }
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

}  // namespace
}  // namespace sim::json
