// The JSON reader over any text: every file a tool writes back must read as what it wrote, so a
// text the reader takes must survive a write and a read unchanged, and no object may come out
// holding one name twice (saving it would keep only one of the two values).

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "sim/common/json.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::Escaped;
using fuzz::Require;
namespace json = sim::json;

void CheckNamesOnce(const json::Value& value, std::string_view text) {
  if (value.GetKind() == json::Value::Kind::kArray) {
    for (const json::Value& item : value.AsArray())
      CheckNamesOnce(item, text);
  }
  if (value.GetKind() != json::Value::Kind::kObject) return;
  std::set<std::string_view> names;
  for (const auto& member : value.AsObject()) {
    const std::string& name = member.first;
    Require(names.insert(name).second, "an object holds each name once",
            [&] { return "name " + Escaped(name) + "\ninput " + Escaped(text); });
    CheckNamesOnce(member.second, text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  json::Value value;
  try {
    value = json::Parse(text);
  } catch (const json::ParseError&) {
    return 0;
  }
  CheckNamesOnce(value, text);
  const std::string written = json::Write(value);
  json::Value again;
  try {
    again = json::Parse(written);
  } catch (const json::ParseError& error) {
    fuzz::Fail(
        "what the writer writes, the reader reads",
        std::string(error.what()) + "\ninput " + Escaped(text) + "\nwritten " + Escaped(written));
  }
  const std::string rewritten = json::Write(again);
  Require(rewritten == written, "a written text reads back as the same value", [&] {
    return "input " + Escaped(text) + "\nwritten " + Escaped(written) + "\nrewritten " +
           Escaped(rewritten);
  });
  return 0;
}
