#include "platform/win32/stream_adapter.h"

#include <algorithm>
#include <climits>

#include "platform/win32/system_message.h"

namespace platform::win32 {
namespace {

void Check(HRESULT hr, const char* operation) {
  if (FAILED(hr)) {
    throw StreamError(std::string("Stream ") + operation + " error: " + DescribeHResult(hr));
  }
}

// IStream counts bytes in ULONG; a larger request goes in pieces.
ULONG Piece(std::size_t remaining) {
  return static_cast<ULONG>(std::min<std::size_t>(remaining, ULONG_MAX));
}

}  // namespace

uint64_t StreamAdapter::Seek(int64_t offset, Origin origin) {
  DWORD from = STREAM_SEEK_SET;
  switch (origin) {
    case Origin::kBegin:
      from = STREAM_SEEK_SET;
      break;
    case Origin::kCurrent:
      from = STREAM_SEEK_CUR;
      break;
    case Origin::kEnd:
      from = STREAM_SEEK_END;
      break;
  }
  LARGE_INTEGER move;
  move.QuadPart = offset;
  ULARGE_INTEGER position{};
  Check(stream_->Seek(move, from, &position), "seek");
  return position.QuadPart;
}

std::size_t StreamAdapter::Read(void* buffer, std::size_t size) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < size) {
    ULONG got = 0;
    // S_FALSE (fewer bytes than asked for) is a success.
    Check(stream_->Read(bytes + total, Piece(size - total), &got), "read");
    if (got == 0) break;
    total += got;
  }
  return total;
}

void StreamAdapter::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  std::size_t total = 0;
  while (total < size) {
    ULONG written = 0;
    Check(stream_->Write(bytes + total, Piece(size - total), &written), "write");
    if (written == 0) Check(STG_E_MEDIUMFULL, "write");
    total += written;
  }
}

void StreamAdapter::SetSize(uint64_t size) {
  ULARGE_INTEGER newSize;
  newSize.QuadPart = size;
  Check(stream_->SetSize(newSize), "size");
}

}  // namespace platform::win32
