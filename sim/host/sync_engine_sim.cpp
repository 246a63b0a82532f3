#include "sim/host/sync_engine_sim.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "framework/text_codec.h"
#include "platform/byte_stream.h"
#include "platform/exception.h"
#include "sim/host/profile_file.h"

namespace sim {

// One block's stream: a memory stream that can be made to fail every operation.
class BlockStream final : public platform::ByteStream {
 public:
  BlockStream(std::string bytes, const bool& fails) : memory_(std::move(bytes)), fails_(fails) {}

  uint64_t Seek(int64_t offset, Origin origin) override {
    Check("Seek");
    return memory_.Seek(offset, origin);
  }
  std::size_t Read(void* buffer, std::size_t size) override {
    Check("Read");
    return memory_.Read(buffer, size);
  }
  void Write(const void* data, std::size_t size) override {
    Check("Write");
    memory_.Write(data, size);
  }
  void SetSize(uint64_t size) override {
    Check("SetSize");
    memory_.SetSize(size);
  }
  const std::string& Bytes() const { return memory_.Bytes(); }

 private:
  void Check(const char* operation) const {
    if (fails_) throw platform::StreamError(std::string("block stream: ") + operation + " failed");
  }

  platform::MemoryStream memory_;
  const bool& fails_;
};

class SimulatedEngine final : public setup::SyncEngine {
 public:
  explicit SimulatedEngine(SimulatedEngines& owner) : owner_(owner) {
    ++owner_.alive;
    owner_.calls.push_back("create");
  }
  ~SimulatedEngine() override { --owner_.alive; }

  int32_t OpenControlFile(const std::u16string& path) override {
    path_ = framework::Utf16ToUtf8(path);
    owner_.calls.push_back("open " + path_);
    if (owner_.faults.openFails || path_.empty()) return -1;
    std::optional<Profile> profile = Load();
    if (!profile) return -1;
    const SetupBlock* blocks[] = {&profile->a, &profile->b, &profile->c};
    for (std::size_t i = 0; i < streams_.size(); ++i) {
      std::string bytes(blocks[i]->Bytes());
      if (isNew_) bytes.clear();
      if (owner_.faults.shortStreams)
        bytes.resize(std::min(bytes.size(), *owner_.faults.shortStreams));
      streams_[i].emplace(std::move(bytes), owner_.faults.streamsFail);
    }
    return 0;
  }

  void Close() override { owner_.calls.push_back("close"); }

  platform::ByteStream& BlockStream(int16_t index) override {
    owner_.calls.push_back("stream " + std::to_string(index));
    if (index < setup::kBlockA || index > setup::kBlockC || !streams_[0])
      throw platform::Exception("the engine has no stream " + std::to_string(index));
    return *streams_[static_cast<std::size_t>(index + 1)];
  }

  int32_t Save() override {
    owner_.calls.push_back("save");
    if (owner_.faults.saveFails || !streams_[0]) return FailedSave();
    Profile profile(owner_.kind_.value_or(KindWritten()));
    profile.a = SetupBlock(profile.a.Kind(), streams_[0]->Bytes());
    profile.b = SetupBlock(profile.b.Kind(), streams_[1]->Bytes());
    profile.c = SetupBlock(profile.c.Kind(), streams_[2]->Bytes());
    try {
      SaveProfileFile(path_, profile);
    } catch (const platform::Exception& failure) {
      Note(failure.what());
      return FailedSave();
    }
    return 0;
  }

 private:
  using SetupBlock = framework::SetupBlock;

  // The profile the file holds, or a new one of the engine's kind when there is no file.
  std::optional<Profile> Load() {
    std::error_code error;
    isNew_ = !std::filesystem::exists(path_, error);
    // A new file's streams start empty whatever their kind.
    if (isNew_) return Profile(owner_.kind_.value_or(ProfileKind::kCalendar));
    try {
      Profile profile = LoadProfileFile(path_);
      if (!owner_.kind_ || profile.Kind() == *owner_.kind_) return profile;
      Note("profile file " + path_ + " holds " + ProfileKindWithArticle(profile.Kind()) +
           " profile, not " + ProfileKindWithArticle(*owner_.kind_) + " one");
    } catch (const platform::Exception& failure) {
      Note(failure.what());
    }
    return std::nullopt;
  }

  // The kind of profile whose block B the component wrote: the blocks B of the two kinds differ
  // in size.
  ProfileKind KindWritten() const {
    return streams_[1]->Bytes().size() == framework::BlockSize(framework::BlockKind::kBMail)
               ? ProfileKind::kEmail
               : ProfileKind::kCalendar;
  }

  int32_t FailedSave() {
    ++owner_.failedSaves;
    return 1;
  }

  void Note(std::string_view text) const {
    if (owner_.note_) owner_.note_(text);
  }

  SimulatedEngines& owner_;
  std::string path_;
  bool isNew_ = false;
  std::array<std::optional<sim::BlockStream>, 3> streams_;
};

setup::SyncEngineFactory SimulatedEngines::Factory() {
  return [this]() -> std::unique_ptr<setup::SyncEngine> {
    if (faults.cannotCreate) {
      calls.push_back("create refused");
      throw platform::Exception("the class \"EPOCU.Symbian.SYNCH.ISYNCHU\" is not registered");
    }
    return std::make_unique<SimulatedEngine>(*this);
  };
}

}  // namespace sim
