#include "framework/versit_date.h"

#include <optional>

#include "framework/text_util.h"
#include "platform/exception.h"

namespace framework {
namespace {

void AppendTwoDigits(std::string& out, int value) {
  if (value < 10) out.push_back('0');
  out += std::to_string(value);
}

// A decimal field of the text at a 1-based position; nothing when it is missing or not a number.
std::optional<int> Field(std::string_view text, std::size_t first, std::size_t length) {
  if (text.size() < first - 1 + length) return std::nullopt;
  int value = 0;
  for (char c : text.substr(first - 1, length)) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::string DateTimeToVersit(platform::AutomationDate value) {
  const platform::CivilDateTime c = platform::DecodeAutomationDate(value);
  // Readers take the text apart at fixed places, so the year always has four digits; a year
  // that has more (or none) cannot be written at all.
  if (c.year < 1 || c.year > 9999) {
    throw platform::Exception("The year " + std::to_string(c.year) +
                              " cannot be written as a Versit date");
  }
  std::string out = std::to_string(c.year);
  out.insert(0, 4 - out.size(), '0');
  AppendTwoDigits(out, c.month);
  AppendTwoDigits(out, c.day);
  out.push_back('T');
  AppendTwoDigits(out, c.hour);
  AppendTwoDigits(out, c.minute);
  AppendTwoDigits(out, c.second);
  return out;
}

std::string DateToVersit(platform::AutomationDate value) {
  return DateTimeToVersit(value).substr(0, 9) + "000000";
}

platform::AutomationDate VersitToDateTime(std::string_view text, platform::AutomationDate now) {
  const std::string_view trimmed = TrimControl(text);
  const auto year = Field(trimmed, 1, 4), month = Field(trimmed, 5, 2), day = Field(trimmed, 7, 2);
  const auto hour = Field(trimmed, 10, 2), minute = Field(trimmed, 12, 2),
             second = Field(trimmed, 14, 2);
  if (year && month && day && hour && minute && second &&
      platform::IsValidCivilDate(*year, *month, *day) &&
      platform::IsValidCivilTime(*hour, *minute, *second)) {
    return platform::EncodeAutomationDate({*year, *month, *day, *hour, *minute, *second, 0});
  }
  return platform::DateOnly(now);
}

platform::AutomationDate VersitToDate(std::string_view text, platform::AutomationDate now) {
  return platform::DateOnly(VersitToDateTime(text, now));
}

}  // namespace framework
