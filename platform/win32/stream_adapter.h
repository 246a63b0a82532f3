#pragma once

#include <objidl.h>
#include "platform/win32/windows_api.h"

#include "platform/byte_stream.h"
#include "platform/win32/com_ptr.h"

namespace platform::win32 {

// The host's IStream as a ByteStream. A failing call raises StreamError naming the operation,
// with the system's text and the HRESULT ("Stream read error: ... (0x80030005)").
class StreamAdapter final : public ByteStream {
 public:
  explicit StreamAdapter(ComPtr<IStream> stream) : stream_(std::move(stream)) {}

  uint64_t Seek(int64_t offset, Origin origin) override;
  // Reads until size bytes are in, or the stream has no more: an IStream may return fewer
  // bytes than asked for before its end.
  std::size_t Read(void* buffer, std::size_t size) override;
  void Write(const void* data, std::size_t size) override;
  void SetSize(uint64_t size) override;

 private:
  ComPtr<IStream> stream_;
};

}  // namespace platform::win32
