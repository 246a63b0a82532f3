// The numeric field of the setup pages (CRangeEdit): leading zeros, an emptied text, numbers
// outside the range with the message naming it, and the position the spin button keeps.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/text_codec.h"
#include "setup/common/range_edit.h"
#include "tests/setup/email_setup_harness.h"

namespace setup_tests {
namespace {

using Caret = setup::CRangeEdit::Caret;
using RangeEditTest = EmailSetupTest;

TEST_F(RangeEditTest, EachChangeOfTheTextFollowsTheRules) {
  const struct {
    const char* name;
    int minimum, maximum;
    bool initialised;
    std::vector<std::u16string> before;  // typed first, after filling 5
    std::u16string typed;
    std::optional<std::u16string> shown;  // put back into the control
    Caret caret;
    int lastValid, position;
    bool message;  // names the range
  } rows[] = {
      {"a number in range", 1, 30, true, {}, u"12", std::nullopt, Caret::kKeep, 12, 12, false},
      {"leading zeros go", 1, 30, true, {}, u"007", u"7", Caret::kStart, 7, 7, false},
      {"zeros only become 0", 0, 30, true, {}, u"000", u"0", Caret::kStart, 0, 0, false},
      {"a single zero stays", 0, 30, true, {}, u"0", std::nullopt, Caret::kKeep, 0, 0, false},
      {"zeros only, out of range", 1, 30, true, {}, u"00", u"5", Caret::kEnd, 5, 5, true},
      {"above the range", 1, 30, true, {}, u"31", u"5", Caret::kEnd, 5, 5, true},
      {"no number", 1, 30, true, {}, u"1a", u"5", Caret::kEnd, 5, 5, true},
      {"leading zeros, then above", 1, 30, true, {}, u"099", u"5", Caret::kEnd, 5, 5, true},
      {"emptied: put back", 1, 30, true, {u"9"}, u"", u"9", Caret::kSelectAll, 9, 9, false},
      {"emptied, not filled", 1, 30, false, {}, u"", std::nullopt, Caret::kKeep, -1, 5, false},
      {"nothing valid left", 1, 30, false, {u""}, u"31", u"", Caret::kEnd, -1, 5, true},
      {"the size limit refuses 31", 0, 30, true, {}, u"31", u"5", Caret::kEnd, 5, 5, true},
      {"the wizard's size", 1, 50, true, {}, u"50", std::nullopt, Caret::kKeep, 50, 50, false},
      {"the wizard's size refuses 0", 1, 50, true, {}, u"0", u"5", Caret::kEnd, 5, 5, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    setup::CRangeEdit field(Session(), row.minimum, row.maximum);
    field.Fill(5);
    for (const std::u16string& text : row.before)
      field.TextChanged(text, row.initialised, 0);
    ui.messageBoxes.clear();
    const setup::CRangeEdit::Update update = field.TextChanged(row.typed, row.initialised, 0);
    EXPECT_EQ(update.text.has_value(), row.shown.has_value());
    if (update.text && row.shown) {
      EXPECT_EQ(framework::Utf16ToUtf8(*update.text), framework::Utf16ToUtf8(*row.shown));
    }
    EXPECT_EQ(update.caret, row.caret);
    EXPECT_EQ(field.LastValid(), row.lastValid);
    EXPECT_EQ(field.Position(), row.position);
    ASSERT_EQ(ui.messageBoxes.size(), row.message ? 1u : 0u);
    if (row.message) {
      EXPECT_EQ(ui.messageBoxes[0].text, "Invalid number, please enter a number from " +
                                             std::to_string(row.minimum) + " - " +
                                             std::to_string(row.maximum) + " ");
      EXPECT_EQ(ui.messageBoxes[0].caption, kTitle);
    }
    // The control, once given the text put back, reports it again; that changes nothing more.
    if (update.text) {
      ui.messageBoxes.clear();
      const setup::CRangeEdit::Update again = field.TextChanged(*update.text, row.initialised, 0);
      EXPECT_FALSE(again.text.has_value());
      EXPECT_TRUE(ui.messageBoxes.empty());
    }
  }
}

// The spin button holds what it is given within its range: a stored limit of 50 KB shows 30 on
// a page that offers 0 to 30, and 0 stays 0.
TEST_F(RangeEditTest, FillingHoldsTheValueWithinTheRange) {
  setup::CRangeEdit field(Session(), 0, 30);
  const struct { int value, shown; } rows[] = {{50, 30}, {0, 0}, {-4, 0}, {12, 12}};
  for (const auto& row : rows) {
    field.Fill(row.value);
    EXPECT_EQ(field.Position(), row.shown) << row.value;
    EXPECT_EQ(framework::Utf16ToUtf8(field.Text()), std::to_string(row.shown));
  }
  EXPECT_TRUE(ui.messageBoxes.empty());
}

}  // namespace
}  // namespace setup_tests
