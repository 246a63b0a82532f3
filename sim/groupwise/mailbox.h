#pragma once

// The state of a simulated GroupWise mailbox: what the automation objects of simulated_groupwise.h
// show and change.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation_date.h"

namespace sim {

struct CalendarItem {
  std::u16string messageId;
  std::u16string className;  // "GW.MESSAGE.APPOINTMENT", "GW.MESSAGE.TASK", "GW.MESSAGE.NOTE"
  std::u16string subject;
  std::u16string bodyText;
  std::u16string place;
  platform::AutomationDate startDate{};
  platform::AutomationDate endDate{};
  bool isPrivate = false;
  bool personal = true;  // false for a group item someone else sent
};

struct Mailbox {
  std::u16string fullName = u"GroupWise";
  std::u16string ownerName = u"Test User";
  int16_t majorVersion = 5;
  int16_t minorVersion = 5;
  // Login fails by returning no account (the user cancelled or the password was wrong).
  bool loginReturnsNoAccount = false;
  std::vector<CalendarItem> calendar;
  int nextMessageNumber = 1;

  // A new, stable identity in GroupWise's style.
  std::u16string NewMessageId();
  CalendarItem* FindItem(std::u16string_view messageId);
  bool RemoveItem(std::u16string_view messageId);
};

}  // namespace sim
