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

namespace {

// Small records are gathered into writes of about this size; a larger one goes alone.
constexpr std::size_t kStreamChunk = std::size_t{1} << 20;

void AppendHeader(std::string& text, int16_t listType) {
  text.append("BEGIN:").append(RecordKind(listType)).append("\r\n");
  text.append(listType == data_type::kCon ? "VERSION:2.1\r\n" : "VERSION:1.0\r\n");
}

}  // namespace

int TEntryList::Add(std::unique_ptr<TEntry> entry) {
  if (!entry) return -1;
  if (out_) {
    if (!writeFailed_) {
      entry->Properties.AppendVersit(pending_);
      if (pending_.size() >= kStreamChunk) Flush();
    }
    return streamed_++;
  }
  // A kept entry gives back the room it grew into while it was filled: a read keeps thousands.
  entry->Properties.ShrinkToFit();
  entries_.push_back(std::move(entry));
  return static_cast<int>(entries_.size() - 1);
}

void TEntryList::Clear() {
  entries_.clear();
  streamed_ = 0;
  if (out_) {
    pending_.clear();
    AppendHeader(pending_, ListType);
  }
}

platform::MemoryStream& TEntryList::BuildStream() {
  stream_.Clear();
  try {
    std::size_t size = 64;
    for (const auto& entry : entries_)
      size += entry->Properties.VersitSize();
    std::string text;
    text.reserve(size);
    AppendHeader(text, ListType);
    for (const auto& entry : entries_)
      entry->Properties.AppendVersit(text);
    text.append("END:").append(RecordKind(ListType));
    stream_ = platform::MemoryStream(std::move(text));
  } catch (const std::exception&) {
    stream_.Clear();  // a stream that is half there would be worse than none
  }
  return stream_;
}

void TEntryList::StreamInto(platform::ByteStream& out) {
  out_ = &out;
  pending_.clear();
  AppendHeader(pending_, ListType);
  for (std::unique_ptr<TEntry>& entry : entries_) {
    Add(std::move(entry));
  }
  entries_.clear();
}

void TEntryList::Flush() {
  try {
    if (!wroteToStream_) {
      wroteToStream_ = true;
      out_->SetSize(0);
      out_->Seek(0, platform::ByteStream::Origin::kBegin);
    }
    platform::WriteText(*out_, pending_);
    pending_.clear();
  } catch (const std::exception&) {
    writeFailed_ = true;
    pending_.clear();
    pending_.shrink_to_fit();
  }
}

void TEntryList::FinishStream() {
  if (!out_) throw platform::StreamError("The records have no stream to go to");
  if (!writeFailed_) {
    pending_.append("END:").append(RecordKind(ListType));
    Flush();
  }
  if (writeFailed_) throw platform::StreamError("The host's stream did not take the records");
}

}  // namespace framework
