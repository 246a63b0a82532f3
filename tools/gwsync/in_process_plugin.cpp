#include "tools/gwsync/in_process_plugin.h"

#include "platform/byte_stream.h"

namespace gwsync {
namespace {

// The host's STime argument; the plug-ins never read it.
constexpr std::u16string_view kTime = u"";

class InProcessPlugin final : public HostPlugin {
 public:
  explicit InProcessPlugin(std::unique_ptr<framework::TBaseIsync> plugin)
      : plugin_(std::move(plugin)) {}

  int32_t Init(const platform::Object& progress, const std::string& synchSetup,
               const std::string& appSetup) override {
    // Kept for the plug-in's lifetime, as the host keeps its objects while the plug-in may hold
    // them.
    synchSetup_ = platform::MemoryStream(synchSetup);
    appSetup_ = platform::MemoryStream(appSetup);
    return plugin_->Init(progress, &synchSetup_, &appSetup_);
  }
  int32_t Open(const platform::Object& progress) override { return plugin_->Open(progress); }
  int32_t CheckSource(const platform::Object& progress) override {
    return plugin_->CheckSource(progress);
  }
  int32_t ReadSource(const platform::Object& progress, std::string& bytes, int16_t type,
                     int16_t op) override {
    platform::MemoryStream stream(std::move(bytes));
    const int32_t value = plugin_->ReadSource(progress, &stream, type, op, kTime);
    bytes = stream.Bytes();
    return value;
  }
  int32_t WriteSource(const platform::Object& progress, std::string& bytes, int16_t type,
                      int16_t op) override {
    platform::MemoryStream stream(std::move(bytes));
    const int32_t value = plugin_->WriteSource(progress, &stream, type, op, kTime);
    bytes = stream.Bytes();
    return value;
  }
  int32_t Close(const platform::Object& progress) override { return plugin_->Close(progress); }
  int32_t Term(const platform::Object& progress) override { return plugin_->Term(progress); }

 private:
  std::unique_ptr<framework::TBaseIsync> plugin_;
  platform::MemoryStream synchSetup_;
  platform::MemoryStream appSetup_;
};

}  // namespace

std::unique_ptr<HostPlugin> MakeInProcessPlugin(std::unique_ptr<framework::TBaseIsync> plugin,
                                                const std::string& traceFile) {
  if (!traceFile.empty()) plugin->SetTraceFilePath(traceFile);
  return std::make_unique<InProcessPlugin>(std::move(plugin));
}

}  // namespace gwsync
