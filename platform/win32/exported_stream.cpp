#include "platform/win32/exported_stream.h"

#include <new>

namespace platform::win32 {
namespace {

template <typename Body>
HRESULT StreamBarrier(HRESULT failure, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception&) {
    return failure;
  }
}

}  // namespace

ComPtr<IStream> ExportedStream::Create(std::shared_ptr<void> owner, ByteStream& stream) {
  return ComPtr<IStream>::Attach(new ExportedStream(std::move(owner), stream));
}

HRESULT ExportedStream::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ExportedStream::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ExportedStream::Read(void* buffer, ULONG size, ULONG* read) {
  std::size_t got = 0;
  const HRESULT hr = StreamBarrier(STG_E_READFAULT, [&] { got = stream_.Read(buffer, size); });
  if (read != nullptr) *read = static_cast<ULONG>(got);
  if (FAILED(hr)) return hr;
  return got < size ? S_FALSE : S_OK;
}

HRESULT ExportedStream::Write(const void* data, ULONG size, ULONG* written) {
  const HRESULT hr = StreamBarrier(STG_E_WRITEFAULT, [&] { stream_.Write(data, size); });
  if (written != nullptr) *written = SUCCEEDED(hr) ? size : 0;
  return hr;
}

HRESULT ExportedStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  ByteStream::Origin from;
  switch (origin) {
    case STREAM_SEEK_SET:
      from = ByteStream::Origin::kBegin;
      break;
    case STREAM_SEEK_CUR:
      from = ByteStream::Origin::kCurrent;
      break;
    case STREAM_SEEK_END:
      from = ByteStream::Origin::kEnd;
      break;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  uint64_t at = 0;
  const HRESULT hr =
      StreamBarrier(STG_E_INVALIDFUNCTION, [&] { at = stream_.Seek(move.QuadPart, from); });
  if (SUCCEEDED(hr) && position != nullptr) position->QuadPart = at;
  return hr;
}

HRESULT ExportedStream::SetSize(ULARGE_INTEGER size) {
  return StreamBarrier(STG_E_INVALIDFUNCTION, [&] { stream_.SetSize(size.QuadPart); });
}

HRESULT ExportedStream::Stat(STATSTG* stat, DWORD) {
  if (stat == nullptr) return STG_E_INVALIDPOINTER;
  *stat = STATSTG{};
  stat->type = STGTY_STREAM;
  return StreamBarrier(STG_E_ACCESSDENIED, [&] {
    const uint64_t here = stream_.Seek(0, ByteStream::Origin::kCurrent);
    stat->cbSize.QuadPart = stream_.Seek(0, ByteStream::Origin::kEnd);
    stream_.Seek(static_cast<int64_t>(here), ByteStream::Origin::kBegin);
  });
}

}  // namespace platform::win32
