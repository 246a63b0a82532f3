#pragma once

// What tells the three kinds of calendar item apart, as data: appointments, tasks and notes are
// read, added, changed and deleted by the same operations, which take their class, query,
// texts and mapping from here.

#include <string_view>

#include "pimsync/pim_plugin.h"

namespace pimsync {

struct TISYNCHAPPU::CalendarKind {
  int16_t type;                   // the host's data-type code
  std::u16string_view className;  // what Add creates and what GetMessage must find
  std::string_view noun;          // "task": for the texts a person reads
  std::string_view operation;     // "Task": the operations' names, AddPIMTask
  std::string_view itemLabel;     // "Task": "Task extraction error: [%s]"
  // The query's expression; %s the range's first day, then its last (when it has a second).
  std::string_view query;
  std::string_view unknownUid;  // "Could not access task [%s] via UID"
  // A group item (one another user sent) is not changed at all, and its modify logs so; the
  // other kinds decide property by property (ItemWrite::personalOnly).
  bool keepsGroupItems;
  // Tasks assigned for a day after the range are not read, whenever they are due.
  bool skipsAssignedAfterRange;
  // The category a new item is given; empty: none.
  std::u16string_view newItemCategory;
  void (TISYNCHAPPU::*append)(framework::TEntry& entry, const platform::Object& item);
  void (TISYNCHAPPU::*plan)(framework::TvPropertyView property, ItemUpdate& update);
};

}  // namespace pimsync
