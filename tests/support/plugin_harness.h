#pragma once

// What a test needs to drive a plug-in object as the host does: the portable platform, a
// recording progress object, and host streams (one of which can be told to fail).

#include <memory>
#include <string>

#include "platform/byte_stream.h"
#include "platform/portable/portable_platform.h"
#include "sim/host/recording_progress.h"

namespace testing_support {

// A host stream whose operations can be made to fail, to reach the failure paths.
class FaultyStream final : public platform::ByteStream {
 public:
  explicit FaultyStream(std::string bytes = {}) : inner_(std::move(bytes)) {}
  uint64_t Seek(int64_t offset, Origin origin) override;
  std::size_t Read(void* buffer, std::size_t size) override;
  void Write(const void* data, std::size_t size) override;
  void SetSize(uint64_t size) override;

  const std::string& Bytes() const { return inner_.Bytes(); }
  uint64_t Position() const { return inner_.Position(); }

  bool failSeek = false;
  // From the Nth call of Seek on (counting from 1), every seek fails; 0 for never.
  int failSeekFrom = 0;
  int seeks = 0;
  bool failRead = false;
  bool failWrite = false;
  bool failSetSize = false;

 private:
  platform::MemoryStream inner_;
};

struct HostHarness {
  HostHarness();

  platform::PortablePlatform platform;
  std::shared_ptr<sim::RecordingProgress> progress;
  platform::Object progressObject;
};

}  // namespace testing_support
