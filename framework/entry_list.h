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
  void Clear();
  int Count() const { return streamed_ + static_cast<int>(entries_.size()); }

  // The record stream: "BEGIN:<kind>", the version line, every entry's text, "END:<kind>"
  // without a final line break. Positioned at 0.
  platform::MemoryStream& BuildStream();

  // From now on the same bytes go to `out` while the read runs: each entry added is written and
  // given up, so a large read (mail with its attachments) is never held whole, only the host's
  // stream holds it. Records are gathered into writes of about a megabyte and `out` is emptied
  // before the first one, so a read that fails before then has not touched it. Add does not
  // raise for a failed write (a read goes on past the items it cannot build and must not take
  // a lost record for one of them): FinishStream raises it.
  void StreamInto(platform::ByteStream& out);
  // Writes what is gathered and the trailer. Raises when any write to the stream failed.
  void FinishStream();
  // Whether records already reached the stream given to StreamInto.
  bool Streamed() const { return wroteToStream_; }

 private:
  void Flush();

  std::vector<std::unique_ptr<TEntry>> entries_;
  platform::MemoryStream stream_;
  platform::ByteStream* out_ = nullptr;
  std::string pending_;
  int streamed_ = 0;
  bool wroteToStream_ = false;
  bool writeFailed_ = false;
};

// "VCALENDAR" for the calendar types, "VCARD", "VMAIL", else "UNKNOWN".
std::string_view RecordKind(int16_t listType);

}  // namespace framework
