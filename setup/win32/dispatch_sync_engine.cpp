#include "setup/win32/dispatch_sync_engine.h"

#include <string>

#include "platform/exception.h"
#include "platform/win32/com_object_factory.h"
#include "platform/win32/variant_conversion.h"

namespace setup::win32 {
namespace {

using platform::Variant;
using platform::win32::ComPtr;

constexpr DISPID kOpen = 1;
constexpr DISPID kClose = 2;
constexpr DISPID kBlockStream = 3;
constexpr DISPID kSave = 4;

constexpr auto kMethod = platform::Dispatch::Invoke::kMethod;

// Whatever interface the engine answered with, as the IStream it must be.
ComPtr<IStream> StreamOf(const Variant& answer) {
  ComPtr<IUnknown> unknown;
  if (answer.GetKind() == Variant::Kind::kUnknown) {
    if (const auto* holder =
            dynamic_cast<const platform::win32::UnknownHolder*>(answer.AsUnknown().get())) {
      unknown = holder->Interface();
    }
  } else if (answer.GetKind() == Variant::Kind::kObject) {
    unknown = platform::win32::DispatchFromObject(answer.AsObject());
  }
  return unknown.TryQuery<IStream>();
}

}  // namespace

int32_t DispatchSyncEngine::OpenControlFile(const std::u16string& path) {
  const Variant args[] = {Variant(path), Variant(int32_t{0})};
  return engine_.InvokeById(kOpen, "Open", kMethod, args).ToInt32();
}

void DispatchSyncEngine::Close() {
  engine_.InvokeById(kClose, "Close", kMethod, {});
}

platform::ByteStream& DispatchSyncEngine::BlockStream(int16_t index) {
  if (index < kBlockA || index > kBlockC) {
    throw platform::Exception("no setup block has the index " + std::to_string(index));
  }
  std::optional<platform::win32::StreamAdapter>& slot = streams_[index - kBlockA];
  if (!slot) {
    const Variant args[] = {Variant(index)};
    ComPtr<IStream> stream = StreamOf(engine_.InvokeById(kBlockStream, "Stream", kMethod, args));
    if (!stream) {
      throw platform::Exception("the engine gave no stream for the block " + std::to_string(index));
    }
    slot.emplace(std::move(stream));
  }
  return *slot;
}

int32_t DispatchSyncEngine::Save() {
  return engine_.InvokeById(kSave, "Save", kMethod, {}).ToInt32();
}

SyncEngineFactory HostSyncEngines() {
  return []() -> std::unique_ptr<SyncEngine> {
    const platform::Object object = platform::win32::ComObjectFactory().CreateObject(kEngineProgId);
    return std::make_unique<DispatchSyncEngine>(platform::win32::DispatchFromObject(object));
  };
}

}  // namespace setup::win32
