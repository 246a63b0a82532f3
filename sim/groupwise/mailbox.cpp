#include "sim/groupwise/mailbox.h"

#include <algorithm>

namespace sim {

std::u16string Mailbox::NewMessageId() {
  const std::string digits = std::to_string(nextMessageNumber++);
  std::u16string id = u"SIM.";
  id.append(digits.begin(), digits.end());
  id += u".1";
  return id;
}

CalendarItem* Mailbox::FindItem(std::u16string_view messageId) {
  auto found = std::find_if(calendar.begin(), calendar.end(),
                            [&](const CalendarItem& item) { return item.messageId == messageId; });
  return found == calendar.end() ? nullptr : &*found;
}

bool Mailbox::RemoveItem(std::u16string_view messageId) {
  return std::erase_if(calendar,
                       [&](const CalendarItem& item) { return item.messageId == messageId; }) > 0;
}

}  // namespace sim
