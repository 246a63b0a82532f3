// The profile file over any text: what the reader takes must be written back so that it loads
// as the same three blocks, byte for byte (the host's own bytes included), and a fault must be a
// platform::Exception, never another exception escaping from inside.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "sim/host/profile_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::Escaped;
using fuzz::Require;

bool SameBlocks(const sim::Profile& x, const sim::Profile& y) {
  return x.a.Bytes() == y.a.Bytes() && x.b.Bytes() == y.b.Bytes() && x.c.Bytes() == y.c.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  sim::Profile profile;
  try {
    profile = sim::ReadProfileText(text);
  } catch (const platform::Exception&) {
    return 0;
  }
  const std::string written = sim::WriteProfileText(profile);
  sim::Profile again;
  try {
    again = sim::ReadProfileText(written);
  } catch (const platform::Exception& error) {
    fuzz::Fail(
        "a written profile reads again",
        std::string(error.what()) + "\ninput " + Escaped(text) + "\nwritten " + Escaped(written));
  }
  Require(SameBlocks(profile, again), "a written profile reads as the same blocks",
          [&] { return "input " + Escaped(text) + "\nwritten " + Escaped(written); });
  return 0;
}
