#include "tests/host/fake_plugin.h"

#include <algorithm>

#include "platform/exception.h"

namespace gwsync::testing_fake {
namespace {

class FakePlugin final : public framework::TBaseIsync {
 public:
  FakePlugin(platform::Platform& platform, std::shared_ptr<Script> script)
      : TBaseIsync(platform), script_(std::move(script)) {}

  int32_t Init(const platform::Object& progress, platform::ByteStream* synchSetup,
               platform::ByteStream* appSetup) override {
    Record("Init");
    if (TBaseIsync::Init(progress, synchSetup, appSetup) != 0) return 1;
    script_->synchSetup = platform::ReadToEnd(*synchSetup);
    script_->appSetup = platform::ReadToEnd(*appSetup);
    return Answer("Init");
  }
  int32_t Open(const platform::Object&) override {
    Record("Open");
    if (script_->askFolderName) {
      script_->folderNames.push_back(Services().Ui().AskFolderName(
          0, {"Folder", "Name the folder.", "&Name:"}, *script_->askFolderName,
          [](const std::string& name) { return !name.empty(); }));
    }
    return Answer("Open");
  }
  int32_t CheckSource(const platform::Object&) override { return Answer(Record("CheckSource")); }
  int32_t Close(const platform::Object&) override { return Answer(Record("Close")); }
  int32_t Term(const platform::Object&) override {
    Record("Term");
    // Without the progress object, so that the base does not call Close once more.
    TBaseIsync::Term(platform::Object());
    return Answer("Term");
  }
  int32_t ReadSource(const platform::Object&, platform::ByteStream* stream, int16_t type,
                     int16_t op, std::u16string_view) override {
    Record("ReadSource " + std::to_string(type) + " " + std::to_string(op));
    for (const auto& [member, text] : script_->progressTexts) {
      if (member == "Log") {
        Progress().Log(text, "Fake", 1);
      } else if (member == "SetSynchText") {
        Progress().SetSynchText(text);
      } else {
        Progress().SetAppText(text);
      }
    }
    for (int i = 0; i < script_->abortedQuestions; ++i)
      script_->abortedAnswers.push_back(Progress().Aborted());
    platform::WriteText(*stream, script_->readStream);
    return Answer("ReadSource");
  }
  int32_t WriteSource(const platform::Object&, platform::ByteStream* stream, int16_t type,
                      int16_t op, std::u16string_view) override {
    Record("WriteSource " + std::to_string(type) + " " + std::to_string(op));
    stream->Seek(0, platform::ByteStream::Origin::kBegin);
    const std::string record = platform::ReadToEnd(*stream);
    script_->records.push_back(record);
    stream->SetSize(0);
    stream->Seek(0, platform::ByteStream::Origin::kBegin);
    platform::WriteText(*stream, record + script_->writeBackSuffix);
    return Answer("WriteSource");
  }

 private:
  const std::string& Record(const std::string& call) {
    script_->calls.push_back(call);
    return call;
  }
  int32_t Answer(const std::string& method) {
    const std::vector<std::string>& raising = script_->raising;
    if (std::find(raising.begin(), raising.end(), method) != raising.end())
      throw platform::Exception(method + " raised");
    const auto value = script_->values.find(method);
    return value == script_->values.end() ? 0 : value->second;
  }

  std::shared_ptr<Script> script_;
};

}  // namespace

PluginFactory FakePluginFactory(std::shared_ptr<Script> script) {
  return [script](platform::Platform& platform) -> std::unique_ptr<framework::TBaseIsync> {
    return std::make_unique<FakePlugin>(platform, script);
  };
}

}  // namespace gwsync::testing_fake
