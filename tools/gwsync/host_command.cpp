#include "tools/gwsync/host_command.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "framework/data_types.h"
#include "sim/host/profile_file.h"
#include "sim/host/recording_progress.h"
#include "tools/gwsync/host_sequence.h"
#include "tools/gwsync/portable_site.h"
#include "tools/gwsync/run_script.h"

namespace gwsync {
namespace {

constexpr int kInputError = 2;

// The requests of a command, taken from its input before anything is set up, so that a
// command that cannot run changes nothing.
struct Requests {
  std::vector<ScriptStep> steps;
  std::string scriptName;  // empty: a single read or write, whose result goes to standard output
};

std::optional<Requests> RequestsOf(const Command& command, Console& console) {
  Requests requests;
  if (const auto* read = std::get_if<ReadCommand>(&command)) {
    ScriptStep step;
    step.request.type = read->type;
    step.request.op = framework::operation::kRead;
    requests.steps.push_back(step);
  } else if (const auto* write = std::get_if<WriteCommand>(&command)) {
    std::optional<std::string> record = ReadInput(write->file, console.in);
    if (!record) {
      console.err << "gwsync: cannot read " << write->file << "\n";
      return std::nullopt;
    }
    ScriptStep step;
    step.request = {true, write->type, write->op, std::move(*record)};
    requests.steps.push_back(step);
  } else if (const auto* run = std::get_if<RunCommand>(&command)) {
    const std::optional<std::string> script = ReadInput(run->script, console.in);
    if (!script || run->script.empty()) {
      console.err << "gwsync: cannot read " << run->script << "\n";
      return std::nullopt;
    }
    requests.scriptName = run->script;
    try {
      const std::filesystem::path folder = std::filesystem::path(run->script).parent_path();
      requests.steps = ParseScript(*script, folder);
    } catch (const ScriptError& error) {
      console.err << "gwsync: " << run->script << ":" << error.what() << "\n";
      return std::nullopt;
    }
  }
  return requests;
}

// The profile of --profile, made with the calendar defaults and saved when the file does not
// exist yet; without --profile, those defaults with no control file to derive paths from.
sim::Profile ProfileOf(const Options& options, int16_t logLevel) {
  if (options.profileFile.empty()) return sim::NewCalendarProfile("", logLevel);
  if (std::filesystem::exists(options.profileFile))
    return sim::LoadProfileFile(options.profileFile);
  sim::Profile profile = sim::NewCalendarProfile(options.profileFile, logLevel);
  sim::SaveProfileFile(options.profileFile, profile);
  return profile;
}

// Sends the requests; a single read or write puts its result on standard output.
int Send(const Requests& requests, HostSequence& sequence, Console& console,
         const std::function<void(std::string_view)>& note) {
  if (!requests.scriptName.empty())
    return RunScript(requests.steps, requests.scriptName, sequence, console.out, note);
  for (const ScriptStep& step : requests.steps) {
    if (const std::optional<std::string> result = sequence.Send(step.request)) {
      console.out << *result;
      console.out.flush();
    }
  }
  return 0;
}

}  // namespace

HostParts::HostParts(PluginFactory plugin, std::string modulePath)
    : site(PortableSite(std::move(plugin), std::move(modulePath))) {}

int RunHostCommand(const Options& options, const HostParts& parts, Console console) {
  const std::optional<Requests> requests = RequestsOf(options.command, console);
  if (!requests) return kInputError;

  ProgressPrinter printer(console.err, console.live);
  const auto note = [&printer](std::string_view line) { printer.Note(line); };
  try {
    const std::unique_ptr<HostSite> site = parts.site(options, printer);
    const platform::AutomationDate today = site->Today();
    sim::Profile profile = ProfileOf(options, site->LogLevel());
    sim::FillCalendarRange(
        profile.a, options.rangeFirst ? sim::CalendarRange{*options.rangeFirst, *options.rangeLast}
                                      : sim::HostCalendarRange(profile.a, today));
    site->UseStore(options.storeFile, today);

    int status = 0;
    {
      auto progress = std::make_shared<sim::RecordingProgress>();
      progress->abortFromCall = options.abortAfter;
      progress->sink = [&printer](const sim::RecordingProgress::Call& call) { printer.Show(call); };
      HostSequence sequence({[&site] { return site->CreatePlugin(); }, platform::Object(progress),
                             std::move(profile), note});
      const int sendStatus = sequence.Start() ? Send(*requests, sequence, console, note) : 0;
      sequence.Finish();
      status = std::max(sendStatus, sequence.ExitStatus());
    }
    printer.EndLiveLine();
    site->SaveStore();
    site->SaveRegistry();
    return status;
  } catch (const UsageError& refusal) {
    // An option this site cannot honour.
    note(std::string("gwsync: ") + refusal.what());
    return kInputError;
  } catch (const std::exception& failure) {
    note(std::string("gwsync: ") + failure.what());
    return 1;
  }
}

int RunSessionCommand(const Options& options, const HostParts& parts, Console console) {
  ProgressPrinter printer(console.err, false);
  std::unique_ptr<HostSite> site;
  try {
    site = parts.site(options, printer);
  } catch (const UsageError& refusal) {
    console.err << "gwsync: " << refusal.what() << "\n";
    return kInputError;
  }
  const int status = site->ShowSession(console.out);
  site->SaveRegistry();
  return status;
}

}  // namespace gwsync
