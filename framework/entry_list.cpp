#include "framework/entry_list.h"

#include "framework/data_types.h"

namespace framework {

std::string_view RecordKind(int16_t listType) {
  switch (listType) {
    case data_type::kApt:
    case data_type::kEve:
    case data_type::kAnn:
    case data_type::kTodo:
      return "VCALENDAR";
    case data_type::kCon:
      return "VCARD";
    case data_type::kEmail:
      return "VMAIL";
    default:
      return "UNKNOWN";
  }
}

int TEntryList::Add(std::unique_ptr<TEntry> entry) {
  if (!entry) return -1;
  // A kept entry gives back the room it grew into while it was filled: a read keeps thousands.
  entry->Properties.ShrinkToFit();
  entries_.push_back(std::move(entry));
  return static_cast<int>(entries_.size() - 1);
}

platform::MemoryStream& TEntryList::BuildStream() {
  stream_.Clear();
  try {
    const std::string_view kind = RecordKind(ListType);
    std::size_t size = 64;
    for (const auto& entry : entries_)
      size += entry->Properties.VersitSize();
    std::string text;
    text.reserve(size);
    text.append("BEGIN:").append(kind).append("\r\n");
    text.append(ListType == data_type::kCon ? "VERSION:2.1\r\n" : "VERSION:1.0\r\n");
    for (const auto& entry : entries_)
      entry->Properties.AppendVersit(text);
    text.append("END:").append(kind);
    stream_ = platform::MemoryStream(std::move(text));
  } catch (const std::exception&) {
    stream_.Clear();  // a stream that is half there would be worse than none
  }
  return stream_;
}

void TEntryList::MoveInto(platform::ByteStream& out) {
  // Small records are gathered into writes of about this size; a larger one goes alone.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const std::string_view kind = RecordKind(ListType);
  std::string text;
  text.append("BEGIN:").append(kind).append("\r\n");
  text.append(ListType == data_type::kCon ? "VERSION:2.1\r\n" : "VERSION:1.0\r\n");
  for (std::unique_ptr<TEntry>& entry : entries_) {
    entry->Properties.AppendVersit(text);
    entry.reset();
    if (text.size() >= kChunk) {
      platform::WriteText(out, text);
      text.clear();
    }
  }
  entries_.clear();
  text.append("END:").append(kind);
  platform::WriteText(out, text);
}

}  // namespace framework
