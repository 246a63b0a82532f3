#include "tools/gwsync/run_script.h"

#include <optional>
#include <system_error>

#include "framework/data_types.h"
#include "platform/file_io.h"
#include "tools/gwsync/command_line.h"
#include "tools/gwsync/console.h"

namespace gwsync {
namespace {

// The words of a line, up to a "#" that begins a word. A word in double quotes may hold blanks
// and "#"; it ends at the next quote.
// Example: write APT insert "new items/lunch.vcs" > "out/lunch as stored.vcs"  # a comment
std::vector<std::string> Words(std::string_view line, int number) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < line.size()) {
    if (line[at] == ' ' || line[at] == '\t') {
      ++at;
    } else if (line[at] == '#') {
      break;
    } else if (line[at] == '"') {
      const std::size_t close = line.find('"', at + 1);
      if (close == std::string_view::npos)
        throw ScriptError(std::to_string(number) + ": a quote is not closed");
      words.emplace_back(line.substr(at + 1, close - at - 1));
      at = close + 1;
    } else {
      const std::size_t end = line.find_first_of(" \t\"", at);
      words.emplace_back(line.substr(at, end == std::string_view::npos ? end : end - at));
      at = end == std::string_view::npos ? line.size() : end;
    }
  }
  return words;
}

std::string InFolder(const std::filesystem::path& folder, const std::string& path) {
  const std::filesystem::path given(path);
  return given.is_absolute() ? path : (folder / given).string();
}

ScriptStep ParseLine(std::vector<std::string> words, int number,
                     const std::filesystem::path& folder) {
  const auto fail = [number](const std::string& why) -> ScriptError {
    return ScriptError(std::to_string(number) + ": " + why);
  };
  ScriptStep step;
  step.line = number;
  // "> FILE" at the end sends the result to a file.
  if (words.size() >= 2 && words[words.size() - 2] == ">") {
    step.output = InFolder(folder, words.back());
    words.resize(words.size() - 2);
  }
  if (words.empty()) throw fail("'>' needs a command before it");
  try {
    const std::string& command = words[0];
    if (command == "read" && words.size() == 2) {
      step.request.type = ParseTypeCode(words[1]);
      step.request.op = framework::operation::kRead;
    } else if (command == "write" && words.size() == 4) {
      step.request.write = true;
      step.request.type = ParseTypeCode(words[1]);
      step.request.op = ParseOperationCode(words[2]);
      step.input = InFolder(folder, words[3]);
    } else if (command == "read" || command == "write") {
      throw fail(command == "read" ? "expected: read TYPE [> FILE]"
                                   : "expected: write TYPE OP FILE [> FILE]");
    } else {
      throw fail("unknown command '" + command + "'");
    }
  } catch (const UsageError& error) {
    throw fail(error.what());
  }
  return step;
}

// `answer folder-name NAME`: the one dialog a plug-in shows.
std::string ParseAnswer(const std::vector<std::string>& words, int number, bool afterRequest) {
  const auto fail = [number](const std::string& why) -> ScriptError {
    return ScriptError(std::to_string(number) + ": " + why);
  };
  if (words.size() >= 2 && words[1] != "folder-name")
    throw fail("unknown dialog '" + words[1] + "' (folder-name)");
  if (words.size() != 3) throw fail("expected: answer folder-name NAME");
  // Taken before the run starts, the answer could not follow a request as the script reads.
  if (afterRequest) {
    throw fail(
        "answer lines come before the first request: the plug-in asks for its folder name at "
        "Open, before any request is sent");
  }
  return words[2];
}

}  // namespace

Script ParseRunScript(std::string_view text, const std::filesystem::path& folder) {
  Script script;
  std::vector<ScriptStep>& steps = script.steps;
  int number = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> words = Words(line, number);
    if (words.empty()) continue;
    if (words[0] == "answer") {
      script.folderNames.push_back(ParseAnswer(words, number, !steps.empty()));
      continue;
    }
    steps.push_back(ParseLine(std::move(words), number, folder));
  }
  return script;
}

std::vector<ScriptStep> ParseScript(std::string_view text, const std::filesystem::path& folder) {
  return ParseRunScript(text, folder).steps;
}

void RefuseFolders(const std::vector<ScriptStep>& steps) {
  std::error_code ignored;
  for (const ScriptStep& step : steps) {
    for (const std::string* file : {&step.input, &step.output}) {
      if (!file->empty() && std::filesystem::is_directory(*file, ignored))
        throw ScriptError(std::to_string(step.line) + ": " + *file + ": is a folder");
    }
  }
}

int RunScript(const std::vector<ScriptStep>& steps, std::string_view scriptName,
              HostSequence& sequence, std::ostream& out,
              const std::function<void(std::string_view)>& note) {
  const auto where = [scriptName](const ScriptStep& step) {
    return "gwsync: " + std::string(scriptName) + ":" + std::to_string(step.line) + ": ";
  };
  for (const ScriptStep& step : steps) {
    Request request = step.request;
    if (request.write) {
      try {
        request.record = platform::ReadFileWithin(step.input, kRecordLimit);
      } catch (const platform::FileError& error) {
        note(where(step) + error.what());
        return kScriptFileError;
      }
    }
    const std::optional<std::string> result = sequence.Send(request);
    if (!result) {
      // A later step must not take an older run's result for this one's.
      std::error_code ignored;
      if (!step.output.empty() && !std::filesystem::is_directory(step.output, ignored)) {
        std::filesystem::remove(step.output, ignored);
      }
      continue;
    }
    if (step.output.empty()) {
      out << *result;
      // Results that nobody receives would let the script go on blind.
      if (!OutputArrived(out)) {
        note(where(step) + "cannot write standard output");
        return kOutputError;
      }
      continue;
    }
    try {
      platform::ReplaceFile(step.output, *result);
    } catch (const platform::FileError& error) {
      note(where(step) + error.what());
      return kScriptFileError;
    }
  }
  return 0;
}

}  // namespace gwsync
