#include "tools/gwsync/com_plugin.h"

#include "platform/byte_stream.h"
#include "platform/win32/com_object_factory.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/stream_adapter.h"
#include "platform/win32/system_message.h"
#include "platform/win32/variant_conversion.h"

namespace gwsync {
namespace {

using platform::Variant;
using platform::win32::ComPtr;

// A stream on global memory that the plug-in reads from its start, as the host hands it over.
ComPtr<IStream> NewStream(const std::string& bytes) {
  ComPtr<IStream> stream;
  const HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (FAILED(hr)) {
    throw platform::Exception("CreateStreamOnHGlobal failed: " +
                              platform::win32::DescribeHResult(hr));
  }
  platform::win32::StreamAdapter adapter(stream);
  platform::WriteText(adapter, bytes);
  adapter.Seek(0, platform::ByteStream::Origin::kBegin);
  return stream;
}

std::string ContentOf(const ComPtr<IStream>& stream) {
  platform::win32::StreamAdapter adapter(stream);
  adapter.Seek(0, platform::ByteStream::Origin::kBegin);
  return platform::ReadToEnd(adapter);
}

// The interface methods take the streams as IUnknown.
Variant AsArgument(const ComPtr<IStream>& stream) {
  return Variant(std::shared_ptr<platform::Unknown>(
      std::make_shared<platform::win32::UnknownHolder>(ComPtr<IUnknown>(stream))));
}

class ComPlugin final : public HostPlugin {
 public:
  ComPlugin(platform::Object plugin, std::function<void()> afterEachCall)
      : plugin_(std::move(plugin)), afterEachCall_(std::move(afterEachCall)) {}

  int32_t Init(const platform::Object& progress, const std::string& synchSetup,
               const std::string& appSetup) override {
    return ValueOf("Init",
                   {progress, AsArgument(NewStream(synchSetup)), AsArgument(NewStream(appSetup))});
  }
  int32_t Open(const platform::Object& progress) override { return ValueOf("Open", {progress}); }
  int32_t CheckSource(const platform::Object& progress) override {
    return ValueOf("CheckSource", {progress});
  }
  int32_t ReadSource(const platform::Object& progress, std::string& bytes, int16_t type,
                     int16_t op) override {
    return Request("ReadSource", progress, bytes, type, op);
  }
  int32_t WriteSource(const platform::Object& progress, std::string& bytes, int16_t type,
                      int16_t op) override {
    return Request("WriteSource", progress, bytes, type, op);
  }
  int32_t Close(const platform::Object& progress) override { return ValueOf("Close", {progress}); }
  int32_t Term(const platform::Object& progress) override { return ValueOf("Term", {progress}); }

 private:
  // The method's Value, its [out, retval] parameter.
  int32_t ValueOf(std::string_view method, std::initializer_list<Variant> args) {
    const AfterCall after{afterEachCall_};
    const Variant value = plugin_.Call(method, args);
    if (value.IsEmptyOrNull()) throw platform::Exception(std::string(method) + " gave no Value");
    return value.ToInt32();
  }

  int32_t Request(std::string_view method, const platform::Object& progress, std::string& bytes,
                  int16_t type, int16_t op) {
    const ComPtr<IStream> stream = NewStream(bytes);
    // The last argument is STime, which the plug-ins never read.
    const int32_t value =
        ValueOf(method, {progress, AsArgument(stream), Variant(type), Variant(op), Variant(u"")});
    bytes = ContentOf(stream);
    return value;
  }

  // Runs the hook however the call ends.
  struct AfterCall {
    const std::function<void()>& hook;
    ~AfterCall() {
      if (hook) hook();
    }
  };

  platform::Object plugin_;
  std::function<void()> afterEachCall_;
};

}  // namespace

std::unique_ptr<HostPlugin> CreateComPlugin(std::string_view progId,
                                            std::function<void()> afterEachCall) {
  platform::win32::ComObjectFactory factory;
  try {
    return std::make_unique<ComPlugin>(factory.CreateObject(progId), std::move(afterEachCall));
  } catch (const platform::AutomationError& failure) {
    throw platform::Exception("cannot create " + std::string(progId) +
                              " (its DLL must be registered with regsvr32): " + failure.what());
  }
}

}  // namespace gwsync
