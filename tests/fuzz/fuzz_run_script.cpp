// Run scripts over any text: every step the parser finds must come from a later line than the
// one before, and must be what its own line says. The steps are written out again as a script
// of quoted words, one line each, and that script must parse to the same requests, files and
// lines: a word split or joined differently, a comment taken for a word or a file name turned
// into another would all change it. A fault must be a ScriptError naming a line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "tools/gwsync/run_script.h"

namespace {

using fuzz::Escaped;
using fuzz::Require;
using gwsync::ScriptStep;

const std::filesystem::path kFolder = "/scripts";

std::string Quoted(const std::string& word) {
  return "\"" + word + "\"";
}

// The step as a line of a script, at its own line number (blank lines before it).
std::string Line(const ScriptStep& step) {
  std::string line = step.request.write ? "write " : "read ";
  line += std::to_string(step.request.type);
  if (step.request.write) line += " " + std::to_string(step.request.op) + " " + Quoted(step.input);
  if (!step.output.empty()) line += " > " + Quoted(step.output);
  return line;
}

std::string Describe(const std::vector<ScriptStep>& steps) {
  std::string text;
  for (const ScriptStep& step : steps)
    text += std::to_string(step.line) + ": " + Line(step) + "\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ScriptStep> steps;
  try {
    steps = gwsync::ParseScript(text, kFolder);
  } catch (const gwsync::ScriptError& error) {
    const std::string message = error.what();
    Require(!message.empty() && message[0] >= '1' && message[0] <= '9',
            "a refusal begins with the line's number",
            [&] { return message + "\ninput " + Escaped(text); });
    return 0;
  }
  std::string rewritten;
  int line = 0;
  for (const ScriptStep& step : steps) {
    Require(step.line > line, "steps come from lines in order, one step a line",
            [&] { return Describe(steps) + "input " + Escaped(text); });
    for (; line + 1 < step.line; ++line)
      rewritten += "\n";
    rewritten += Line(step) + "\n";
    line = step.line;
  }
  std::vector<ScriptStep> again;
  try {
    again = gwsync::ParseScript(rewritten, kFolder);
  } catch (const gwsync::ScriptError& error) {
    fuzz::Fail("the steps written as a script parse again", std::string(error.what()) + "\ninput " +
                                                                Escaped(text) + "\nrewritten " +
                                                                Escaped(rewritten));
  }
  Require(Describe(again) == Describe(steps), "the steps written as a script mean the same", [&] {
    return "input " + Escaped(text) + "\nsteps\n" + Describe(steps) + "again\n" + Describe(again);
  });
  return 0;
}
