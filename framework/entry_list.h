#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/entry.h"
#include "platform/byte_stream.h"

namespace framework {

// The records of one read and the record stream built from them for the host.
class TEntryList {
 public:
  explicit TEntryList(int16_t listType) : ListType(listType) {}

  const int16_t ListType;

  // Appends the entry and returns its index; a null entry adds nothing and gives -1, so the
  // list never holds an empty slot and counting it costs nothing, however often a read asks.
  int Add(std::unique_ptr<TEntry> entry);
  void Clear() { entries_.clear(); }
  int Count() const { return static_cast<int>(entries_.size()); }

  // The record stream: "BEGIN:<kind>", the version line, every entry's text, "END:<kind>"
  // without a final line break. Positioned at 0.
  platform::MemoryStream& BuildStream();
  // The same bytes written to `out` a record at a time, each entry given up once it is
  // written, so that a large read (mail with its attachments) is never held twice. The list is
  // empty afterwards. Raises when `out` fails; what was written then stays written.
  void MoveInto(platform::ByteStream& out);

 private:
  std::vector<std::unique_ptr<TEntry>> entries_;
  platform::MemoryStream stream_;
};

// "VCALENDAR" for the calendar types, "VCARD", "VMAIL", else "UNKNOWN".
std::string_view RecordKind(int16_t listType);

}  // namespace framework
