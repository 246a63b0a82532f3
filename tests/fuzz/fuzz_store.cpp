// The GroupWise store over any text: a store is the user's mailbox, so whatever the reader
// takes, saving it and loading the save must give back the very same mailbox (the bytes of the
// two saves are equal), and a fault must be a StoreError naming the file, never another
// exception escaping from a conversion inside.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/groupwise/store.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::Escaped;
using fuzz::Require;

constexpr char kFile[] = "fuzz.json";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  sim::Mailbox mailbox;
  try {
    mailbox = sim::StoreFromJson(text, kFile);
  } catch (const sim::StoreError& error) {
    Require(error.File() == kFile, "a fault names the file",
            [&] { return std::string(error.what()) + "\ninput " + Escaped(text); });
    return 0;
  }
  const std::string saved = sim::StoreToJson(mailbox);
  std::string savedAgain;
  try {
    savedAgain = sim::StoreToJson(sim::StoreFromJson(saved, kFile));
  } catch (const sim::StoreError& error) {
    fuzz::Fail("a saved store loads again", std::string(error.what()) + "\ninput " + Escaped(text) +
                                                "\nsaved " + Escaped(saved));
  }
  Require(savedAgain == saved, "a saved store loads as the same mailbox", [&] {
    return "input " + Escaped(text) + "\nsaved " + Escaped(saved) + "\nsaved again " +
           Escaped(savedAgain);
  });
  return 0;
}
