#pragma once

// The date texts of Versit properties: four digits of year, two each of month and day, "T",
// two each of hour, minute and second; local time, no zone.

#include <string>
#include <string_view>

#include "platform/automation_date.h"

namespace framework {

// 2000-03-05 07:08:09 gives 20000305T070809; the year has four digits (0999). Raises
// platform::Exception for a year outside 1 to 9999.
std::string DateTimeToVersit(platform::AutomationDate value);
// The date with the time of day written as 000000.
std::string DateToVersit(platform::AutomationDate value);
// Reads characters 1-4, 5-6, 7-8 and 10-15 of the trimmed text; what follows (a "Z") is not
// looked at. An empty or unreadable text gives the day of `now` at 00:00.
platform::AutomationDate VersitToDateTime(std::string_view text, platform::AutomationDate now);
platform::AutomationDate VersitToDate(std::string_view text, platform::AutomationDate now);

}  // namespace framework
