#pragma once

#include <cstdint>
#include <string>

namespace platform {

// An automation date: days since 1899-12-30 as a double, local time, no zone. Before that day
// the whole part counts backwards while the fraction still counts forwards (-1.25 is
// 1899-12-29 06:00), which is why the conversions below are not a plain floor.
struct AutomationDate {
  double days = 0.0;
  friend bool operator==(const AutomationDate&, const AutomationDate&) = default;
};

struct CivilDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

bool IsValidCivilDate(int year, int month, int day);
bool IsValidCivilTime(int hour, int minute, int second, int millisecond = 0);

// Throws platform::Exception when a field is out of range (month 13, 31 April, hour 24 ...).
AutomationDate EncodeAutomationDate(const CivilDateTime& civil);

// Rounds to the millisecond, carrying into the next day, as the automation runtime does.
CivilDateTime DecodeAutomationDate(AutomationDate date);

// The date without its time of day.
AutomationDate DateOnly(AutomationDate date);

// The date as 2001-02-28 and the date and time as 2001-02-28 14:05:00: the forms a person
// still reads when the user's own formats refuse a date (the system's formatter knows no
// year before 1601). A value that is no date at all gives "(no date: <days>)". Never raise.
std::string IsoDateText(AutomationDate date) noexcept;
std::string IsoDateTimeText(AutomationDate date) noexcept;

}  // namespace platform
