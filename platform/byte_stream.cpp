#include "platform/byte_stream.h"

#include <cstring>
#include <limits>

namespace platform {

std::string ReadToEnd(ByteStream& stream) {
  std::string result;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t got = stream.Read(buffer, sizeof buffer);
    if (got == 0) break;
    result.append(buffer, got);
  }
  return result;
}

std::string ReadUpTo(ByteStream& stream, std::size_t size) {
  std::string result(size, '\0');
  std::size_t total = 0;
  while (total < size) {
    std::size_t got = stream.Read(result.data() + total, size - total);
    if (got == 0) break;
    total += got;
  }
  result.resize(total);
  return result;
}

void WriteText(ByteStream& stream, std::string_view bytes) {
  stream.Write(bytes.data(), bytes.size());
}

uint64_t MemoryStream::Seek(int64_t offset, Origin origin) {
  int64_t base = 0;
  switch (origin) {
    case Origin::kBegin:
      base = 0;
      break;
    case Origin::kCurrent:
      base = static_cast<int64_t>(position_);
      break;
    case Origin::kEnd:
      base = static_cast<int64_t>(bytes_.size());
      break;
  }
  if ((offset < 0 && base + offset < 0) ||
      (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset)) {
    throw StreamError("Stream seek error: position out of range");
  }
  position_ = static_cast<uint64_t>(base + offset);
  return position_;
}

std::size_t MemoryStream::Read(void* buffer, std::size_t size) {
  if (position_ >= bytes_.size() || size == 0) return 0;
  std::size_t count = std::min<uint64_t>(size, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

void MemoryStream::Write(const void* data, std::size_t size) {
  if (size == 0) return;
  if (position_ > bytes_.max_size() - size) throw StreamError("Stream write error: too large");
  const std::size_t end = static_cast<std::size_t>(position_) + size;
  if (end > bytes_.size())
    bytes_.resize(end, '\0');  // a gap after a seek past the end reads as zeros
  std::memcpy(bytes_.data() + position_, data, size);
  position_ = end;
}

void MemoryStream::SetSize(uint64_t size) {
  if (size > bytes_.max_size()) throw StreamError("Stream size error: too large");
  bytes_.resize(static_cast<std::size_t>(size), '\0');
}

}  // namespace platform
