#include "setup/common/range_edit.h"

#include <algorithm>

#include "setup/common/profile_session.h"

namespace setup {
namespace {

// The digits of a text as a number; nothing for anything else or more digits than a range
// can reach.
std::optional<int> Decimal(std::u16string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + (unit - u'0');
  }
  return value;
}

std::u16string NumberText(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Rule 1: "007" shows 7, "000" shows 0.
std::u16string WithoutLeadingZeros(std::u16string text) {
  if (text.size() < 2) return text;
  const std::size_t first = text.find_first_of(u"123456789");
  if (first != std::u16string::npos) return text.substr(first);
  if (text.find_first_not_of(u'0') == std::u16string::npos) return u"0";
  return text;
}

}  // namespace

CRangeEdit::CRangeEdit(ProfileSession& session, int minimum, int maximum)
    : session_(session),
      minimum_(minimum),
      maximum_(maximum),
      message_(session.Strings().Ansi(string_id::kInvalidNumber) + std::to_string(minimum) + " - " +
               std::to_string(maximum) + session.Strings().Ansi(session.Info().blankStringId)),
      lastValid_(minimum),
      position_(minimum) {}

void CRangeEdit::Fill(int value) {
  lastValid_ = position_ = std::clamp(value, minimum_, maximum_);
  text_ = NumberText(position_);
}

CRangeEdit::Update CRangeEdit::TextChanged(std::u16string_view changed, bool pageInitialised,
                                           platform::WindowHandle owner) {
  Update update;
  std::u16string text = WithoutLeadingZeros(std::u16string(changed));
  if (text != changed) {
    update.text = text;
    update.caret = Caret::kStart;
  }
  if (!text.empty()) {
    TakeNumber(std::move(text), update, owner);
    return update;
  }
  lastValid_ = -1;
  // The text before the change holds a number of the range, or nothing: putting back nothing
  // would only come back here.
  if (!pageInitialised || text_.empty()) {
    text_.clear();
    return update;
  }
  update.text = text_;
  update.caret = Caret::kSelectAll;
  TakeNumber(text_, update, owner);
  return update;
}

void CRangeEdit::TakeNumber(std::u16string text, Update& update, platform::WindowHandle owner) {
  const std::optional<int> value = Decimal(text);
  if (value && *value >= minimum_ && *value <= maximum_) {
    lastValid_ = position_ = *value;
    text_ = std::move(text);
    return;
  }
  text_ = lastValid_ < 0 ? std::u16string() : NumberText(lastValid_);
  update.text = text_;
  update.caret = Caret::kEnd;
  session_.Message(owner, message_);
}

}  // namespace setup
