#pragma once

// The reverse of StreamAdapter: a portable ByteStream as a real IStream, for handing the
// simulators' streams to COM code. Seek, Read, Write, SetSize and Stat (its size) are served;
// the rest of IStream answers E_NOTIMPL. A failing operation of the ByteStream answers
// STG_E_READFAULT, STG_E_WRITEFAULT, STG_E_INVALIDFUNCTION (seek, size) or E_OUTOFMEMORY; no
// exception leaves a method of this class.

#include <objidl.h>
#include "platform/win32/windows_api.h"

#include <atomic>
#include <memory>

#include "platform/byte_stream.h"
#include "platform/win32/com_ptr.h"

namespace platform::win32 {

class ExportedStream final : public IStream {
 public:
  // `owner` keeps the stream alive while COM holds references.
  static ComPtr<IStream> Create(std::shared_ptr<void> owner, ByteStream& stream);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 private:
  ExportedStream(std::shared_ptr<void> owner, ByteStream& stream)
      : owner_(std::move(owner)), stream_(stream) {}
  ~ExportedStream() = default;

  std::atomic<ULONG> references_{1};
  std::shared_ptr<void> owner_;
  ByteStream& stream_;
};

}  // namespace platform::win32
