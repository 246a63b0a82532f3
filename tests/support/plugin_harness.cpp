#include "tests/support/plugin_harness.h"

namespace testing_support {

uint64_t FaultyStream::Seek(int64_t offset, Origin origin) {
  ++seeks;
  if (failSeek || (failSeekFrom > 0 && seeks >= failSeekFrom))
    throw platform::StreamError("Simulated seek failure");
  return inner_.Seek(offset, origin);
}

std::size_t FaultyStream::Read(void* buffer, std::size_t size) {
  if (failRead) throw platform::StreamError("Simulated read failure");
  return inner_.Read(buffer, size);
}

void FaultyStream::Write(const void* data, std::size_t size) {
  if (failWrite) throw platform::StreamError("Simulated write failure");
  inner_.Write(data, size);
}

void FaultyStream::SetSize(uint64_t size) {
  if (failSetSize) throw platform::StreamError("Simulated SetSize failure");
  inner_.SetSize(size);
}

HostHarness::HostHarness()
    : progress(std::make_shared<sim::RecordingProgress>()), progressObject(progress) {}

}  // namespace testing_support
