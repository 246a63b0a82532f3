#pragma once

// The host's streams as the plug-ins use them: the IStream operations Seek, Read, Write and
// SetSize, plus a memory stream. Every operation raises platform::Exception on failure.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/exception.h"

namespace platform {

class StreamError : public Exception {
 public:
  using Exception::Exception;
};

class ByteStream {
 public:
  enum class Origin { kBegin, kCurrent, kEnd };  // STREAM_SEEK_SET, _CUR, _END
  virtual ~ByteStream() = default;
  // Returns the new position.
  virtual uint64_t Seek(int64_t offset, Origin origin) = 0;
  // Reads up to size bytes; fewer only at the end of the stream.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
  virtual void Write(const void* data, std::size_t size) = 0;
  virtual void SetSize(uint64_t size) = 0;
};

// Everything from the current position to the end.
std::string ReadToEnd(ByteStream& stream);
// Reads up to size bytes from the current position; the result is shorter only at the end.
std::string ReadUpTo(ByteStream& stream, std::size_t size);
void WriteText(ByteStream& stream, std::string_view bytes);

class MemoryStream final : public ByteStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  uint64_t Seek(int64_t offset, Origin origin) override;
  std::size_t Read(void* buffer, std::size_t size) override;
  void Write(const void* data, std::size_t size) override;
  void SetSize(uint64_t size) override;

  const std::string& Bytes() const { return bytes_; }
  uint64_t Position() const { return position_; }
  void Clear() {
    bytes_.clear();
    position_ = 0;
  }

 private:
  std::string bytes_;
  uint64_t position_ = 0;
};

}  // namespace platform
