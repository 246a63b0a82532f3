#include "comserver/synchronizer_core.h"

#include <optional>

#include "comserver/com_barrier.h"
#include "comserver/error_info.h"
#include "comserver/module_state.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/stream_adapter.h"

namespace comserver {
namespace {

using platform::win32::ComPtr;

platform::Object ProgressObject(IDispatch* progress) {
  if (progress == nullptr) return platform::Object();
  return platform::Object(
      std::make_shared<platform::win32::DispatchObject>(ComPtr<IDispatch>::Borrow(progress)));
}

// The host's stream for one call; null when the host's object has no IStream.
class HostStream {
 public:
  explicit HostStream(IUnknown* unknown) {
    if (ComPtr<IStream> stream = ComPtr<IUnknown>::Borrow(unknown).TryQuery<IStream>()) {
      adapter_.emplace(std::move(stream));
    }
  }
  platform::ByteStream* Get() { return adapter_ ? &*adapter_ : nullptr; }

 private:
  std::optional<platform::win32::StreamAdapter> adapter_;
};

}  // namespace

SynchronizerCore::SynchronizerCore(const SynchronizerModule& module, REFIID interfaceId)
    : module_(module),
      interfaceId_(interfaceId),
      platform_(ModuleHandle()),
      plugin_(module.createPlugin(platform_)) {}

template <typename Body>
HRESULT SynchronizerCore::HostMethod(const char* method, LONG* value, Body&& body) noexcept {
  if (value == nullptr) return E_POINTER;
  *value = 1;
  return Barrier(
      [&] {
        *value = body();
        return S_OK;
      },
      [&](HRESULT hr, const char* text) {
        // Left where a caller of a failing COM method looks for it.
        SetErrorObject(interfaceId_, module_.progId, std::string(method) + ": " + text);
        return hr;
      });
}

HRESULT SynchronizerCore::Init(IDispatch* progress, IUnknown* synchSetup, IUnknown* appSetup,
                               LONG* value) noexcept {
  return HostMethod("Init", value, [&] {
    HostStream a(synchSetup);
    HostStream c(appSetup);
    return plugin_->Init(ProgressObject(progress), a.Get(), c.Get());
  });
}

HRESULT SynchronizerCore::Term(IDispatch* progress, LONG* value) noexcept {
  return HostMethod("Term", value, [&] { return plugin_->Term(ProgressObject(progress)); });
}

HRESULT SynchronizerCore::Open(IDispatch* progress, LONG* value) noexcept {
  return HostMethod("Open", value, [&] { return plugin_->Open(ProgressObject(progress)); });
}

HRESULT SynchronizerCore::Close(IDispatch* progress, LONG* value) noexcept {
  return HostMethod("Close", value, [&] { return plugin_->Close(ProgressObject(progress)); });
}

HRESULT SynchronizerCore::CheckSource(IDispatch* progress, LONG* value) noexcept {
  return HostMethod("CheckSource", value,
                    [&] { return plugin_->CheckSource(ProgressObject(progress)); });
}

HRESULT SynchronizerCore::ReadSource(IDispatch* progress, IUnknown* stream, short type, short op,
                                     BSTR sTime, LONG* value) noexcept {
  return HostMethod("ReadSource", value, [&] {
    HostStream host(stream);
    return plugin_->ReadSource(ProgressObject(progress), host.Get(), type, op,
                               platform::win32::BstrText(sTime));
  });
}

HRESULT SynchronizerCore::WriteSource(IDispatch* progress, IUnknown* stream, short type, short op,
                                      BSTR sTime, LONG* value) noexcept {
  return HostMethod("WriteSource", value, [&] {
    HostStream host(stream);
    return plugin_->WriteSource(ProgressObject(progress), host.Get(), type, op,
                                platform::win32::BstrText(sTime));
  });
}

}  // namespace comserver
