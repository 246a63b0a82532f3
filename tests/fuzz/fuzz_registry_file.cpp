// The registry file over any text: what the reader takes must be written so that it reads back
// as the same registry (its written text unchanged), and a fault must be a platform::Exception.
// Keys and values that differ only in case are one in the registry: a file naming one twice
// must be refused, or the write would silently drop one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "platform/portable/memory_registry.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/gwsync/registry_file.h"

namespace {

using fuzz::Escaped;
using fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::MemoryRegistry registry;
  try {
    gwsync::ReadRegistryText(text, registry);
  } catch (const platform::Exception&) {
    return 0;
  }
  const std::string written = gwsync::WriteRegistryText(registry);
  platform::MemoryRegistry again;
  try {
    gwsync::ReadRegistryText(written, again);
  } catch (const platform::Exception& error) {
    fuzz::Fail(
        "a written registry reads again",
        std::string(error.what()) + "\ninput " + Escaped(text) + "\nwritten " + Escaped(written));
  }
  const std::string rewritten = gwsync::WriteRegistryText(again);
  Require(rewritten == written, "a written registry reads as the same registry", [&] {
    return "input " + Escaped(text) + "\nwritten " + Escaped(written) + "\nrewritten " +
           Escaped(rewritten);
  });
  return 0;
}
