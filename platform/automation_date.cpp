#include "platform/automation_date.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/exception.h"

namespace platform {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;
// Days from 1970-01-01 back to 1899-12-30, the automation epoch.
constexpr int64_t kEpochOffset = 25'569;

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Howard Hinnant's civil calendar algorithms, days relative to 1970-01-01.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

}  // namespace

bool IsValidCivilDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

bool IsValidCivilTime(int hour, int minute, int second, int millisecond) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
         millisecond >= 0 && millisecond < 1000;
}

AutomationDate EncodeAutomationDate(const CivilDateTime& c) {
  if (!IsValidCivilDate(c.year, c.month, c.day) ||
      !IsValidCivilTime(c.hour, c.minute, c.second, c.millisecond)) {
    throw Exception("Invalid argument to date encode");
  }
  const double days = static_cast<double>(
      DaysFromCivil(c.year, static_cast<unsigned>(c.month), static_cast<unsigned>(c.day)) +
      kEpochOffset);
  const double time =
      static_cast<double>(((c.hour * 60 + c.minute) * 60 + c.second) * 1000 + c.millisecond) /
      static_cast<double>(kMsPerDay);
  return AutomationDate{days < 0 ? days - time : days + time};
}

CivilDateTime DecodeAutomationDate(AutomationDate date) {
  if (!std::isfinite(date.days) || std::fabs(date.days) > 3'000'000.0) {
    throw Exception("Invalid floating point date value");
  }
  const auto total = static_cast<int64_t>(std::nearbyint(date.days * kMsPerDay));
  const int64_t wholeDays = total / kMsPerDay;  // truncates towards zero, like the runtime
  int64_t ms = std::llabs(total) % kMsPerDay;
  CivilDateTime c;
  CivilFromDays(wholeDays - kEpochOffset, c.year, c.month, c.day);
  c.millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  c.second = static_cast<int>(ms % 60);
  ms /= 60;
  c.minute = static_cast<int>(ms % 60);
  c.hour = static_cast<int>(ms / 60);
  return c;
}

AutomationDate DateOnly(AutomationDate date) {
  CivilDateTime c = DecodeAutomationDate(date);
  return EncodeAutomationDate(CivilDateTime{c.year, c.month, c.day, 0, 0, 0, 0});
}

namespace {

std::string NoDateText(AutomationDate date) {
  char text[64];
  std::snprintf(text, sizeof text, "(no date: %g)", date.days);
  return text;
}

}  // namespace

std::string IsoDateText(AutomationDate date) noexcept {
  try {
    const CivilDateTime c = DecodeAutomationDate(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
  } catch (const std::exception&) {
    return NoDateText(date);
  }
}

std::string IsoDateTimeText(AutomationDate date) noexcept {
  try {
    const CivilDateTime c = DecodeAutomationDate(date);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return text;
  } catch (const std::exception&) {
    return NoDateText(date);
  }
}

}  // namespace platform
