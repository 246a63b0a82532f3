// The system's ANSI code page through AnsiCodePage. The Wine prefix of the tests uses
// Windows-1252, so the portable build's own table is the reference: both builds must turn the
// same bytes into the same text.

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "platform/win32/ansi_code_page.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

using namespace std::string_literals;

class AnsiCodePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "system code page is " << GetACP() << ", not 1252";
  }
  AnsiCodePage ansi_;
};

TEST_F(AnsiCodePageTest, EveryByteReadsAsThePortableTableSays) {
  std::string all(256, '\0');
  for (int i = 0; i < 256; ++i)
    all[i] = static_cast<char>(i);
  const std::u16string wide = ansi_.ToWide(all);
  const std::u16string expected = Windows1252().ToWide(all);
  ASSERT_EQ(wide.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(static_cast<unsigned>(wide[i]), static_cast<unsigned>(expected[i])) << "byte " << i;
  }
}

TEST_F(AnsiCodePageTest, CharactersRoundTripAndTheUnmappableBecomeQuestionMarks) {
  const struct {
    const char* row;
    std::u16string wide;
    std::string ansi;
    bool roundTrips;
  } cases[] = {
      {"e acute", u"caf\u00e9", "caf\xe9", true},
      {"euro sign", u"\u20ac 5", "\x80 5", true},
      {"typographic quotes", u"\u201chi\u201d", "\x93hi\x94", true},
      {"embedded NUL", u"a\0b"s, "a\0b"s, true},
      {"CJK", u"\u4e2d", "?", false},
      {"a with macron, no look-alike", u"\u0101", "?", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(ansi_.ToAnsi(c.wide), c.ansi);
    if (c.roundTrips) {
      EXPECT_TRUE(ansi_.ToWide(c.ansi) == c.wide);
    }
  }
}

}  // namespace
}  // namespace platform::win32::test
