#include "tools/gwsync/host_command.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "framework/data_types.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "sim/host/profile_file.h"
#include "sim/host/recording_progress.h"
#include "tools/gwsync/host_sequence.h"
#include "tools/gwsync/plugin_choice.h"
#include "tools/gwsync/portable_site.h"
#include "tools/gwsync/run_script.h"

namespace gwsync {
namespace {

constexpr int kInputError = 2;
constexpr int kRunError = 1;

// The requests of a command, taken from its input before anything is set up, so that a
// command that cannot run changes nothing.
struct Requests {
  std::vector<ScriptStep> steps;
  std::string scriptName;  // empty: a single read or write, whose result goes to standard output
  SitePlugin plugin;
};

std::optional<Requests> RequestsOf(const Options& options, Console& console) {
  const Command& command = options.command;
  Requests requests;
  std::vector<std::string> scriptAnswers;
  try {
    if (const auto* read = std::get_if<ReadCommand>(&command)) {
      ScriptStep step;
      step.request.type = read->type;
      step.request.op = framework::operation::kRead;
      requests.steps.push_back(step);
    } else if (const auto* write = std::get_if<WriteCommand>(&command)) {
      ScriptStep step;
      step.request = {true, write->type, write->op,
                      ReadInput(write->file, console.in, kRecordLimit)};
      requests.steps.push_back(step);
    } else if (const auto* run = std::get_if<RunCommand>(&command)) {
      if (run->script.empty()) {
        console.err << "gwsync: run needs the name of a SCRIPT file\n";
        return std::nullopt;
      }
      const std::string script = platform::ReadFileWithin(run->script, kScriptLimit);
      requests.scriptName = run->script;
      const std::filesystem::path folder = std::filesystem::path(run->script).parent_path();
      Script parsed = ParseRunScript(script, folder);
      requests.steps = std::move(parsed.steps);
      scriptAnswers = std::move(parsed.folderNames);
      RefuseFolders(requests.steps);
    }
    requests.plugin.kind = ChoosePlugin(options.plugin, requests.steps);
    requests.plugin.folderNames = FolderNameAnswersOf(options.folderName, scriptAnswers);
  } catch (const platform::FileError& error) {
    console.err << "gwsync: " << error.what() << "\n";
    return std::nullopt;
  } catch (const ScriptError& error) {
    console.err << "gwsync: " << requests.scriptName << ":" << error.what() << "\n";
    return std::nullopt;
  }
  return requests;
}

// The files of the options are used only once the run is under way; one that is a folder is
// refused before anything is locked, created or sent.
std::optional<std::string> FolderAmongOptionFiles(const Options& options) {
  std::error_code ignored;
  for (const std::string* file :
       {&options.storeFile, &options.profileFile, &options.registryFile, &options.traceFile}) {
    if (!file->empty() && std::filesystem::is_directory(*file, ignored)) return *file;
  }
  return std::nullopt;
}

// Two runs on one store would each save the mailbox they loaded, and the later save would
// drop what the earlier run did. The store is locked from before it is loaded until after it
// is saved; a second run is refused rather than kept waiting, so that a script never hangs.
std::optional<platform::FileLock> LockStore(const std::string& storeFile) {
  if (storeFile.empty()) return std::nullopt;
  const std::string lockFile = storeFile + ".lock";
  std::optional<platform::FileLock> lock;
  try {
    lock = platform::FileLock::TryAcquire(lockFile);
  } catch (const platform::FileError& error) {
    throw platform::Exception("cannot lock the store " + storeFile + ": " + error.what());
  }
  if (!lock) {
    throw platform::Exception("the store " + storeFile +
                              " is in use by another run of gwsync (its lock file " + lockFile +
                              " is held); this run did nothing");
  }
  return lock;
}

sim::Profile NewProfile(sim::ProfileKind kind, const std::string& controlFile, HostSite& site) {
  if (kind == sim::ProfileKind::kEmail)
    return sim::NewEmailProfile(controlFile, site.LogLevel(), site.ComputerName());
  return sim::NewCalendarProfile(controlFile, site.LogLevel());
}

// The profile of --profile, made with the defaults of the plug-in's kind and saved when the file
// does not exist yet; without --profile, those defaults with no control file to derive paths
// from. The host runs one plug-in per profile, so a profile of the other kind is refused.
sim::Profile ProfileOf(const Options& options, PluginKind plugin, HostSite& site) {
  const sim::ProfileKind kind = InfoOf(plugin).profile;
  if (options.profileFile.empty()) return NewProfile(kind, "", site);
  if (!std::filesystem::exists(options.profileFile)) {
    sim::Profile profile = NewProfile(kind, options.profileFile, site);
    sim::SaveProfileFile(options.profileFile, profile);
    return profile;
  }
  sim::Profile profile = sim::LoadProfileFile(options.profileFile);
  if (profile.Kind() != kind) {
    const std::string name(InfoOf(plugin).name);
    throw platform::Exception(
        "profile file " + options.profileFile + " holds " +
        sim::ProfileKindWithArticle(profile.Kind()) + " profile, and " + name + " needs " +
        sim::ProfileKindWithArticle(kind) + " one (the host runs one plug-in per profile): give " +
        name +
        " a profile of its own with --profile (a file that does not exist yet is made one), or "
        "choose the profile's plug-in with --plugin");
  }
  return profile;
}

// --range gives the first and last day of whichever range the profile's plug-in reads.
void FillRange(sim::Profile& profile, const Options& options, platform::AutomationDate today) {
  const std::optional<sim::DayRange> given =
      options.rangeFirst ? std::optional<sim::DayRange>({*options.rangeFirst, *options.rangeLast})
                         : std::nullopt;
  if (profile.Kind() == sim::ProfileKind::kEmail) {
    sim::FillMailRange(profile.a, given ? *given : sim::HostMailRange(profile.a, today));
  } else {
    sim::FillCalendarRange(profile.a, given ? *given : sim::HostCalendarRange(profile.a, today));
  }
}

// The sample mailbox spreads its items over months around today, so a day near the end of the
// calendar leaves some of them no date to have; the message says so rather than only which
// date conversion refused.
void UseStore(HostSite& site, const std::string& storeFile, platform::AutomationDate today) {
  if (!storeFile.empty()) return site.UseStore(storeFile, today);
  try {
    site.UseStore(storeFile, today);
  } catch (const platform::Exception& failure) {
    const platform::CivilDateTime day = platform::DecodeAutomationDate(today);
    throw platform::Exception("the sample mailbox cannot be built around " +
                              std::to_string(day.year) + "-" + std::to_string(day.month) + "-" +
                              std::to_string(day.day) + " (" + failure.what() +
                              "): its items reach months past that day; give --today an "
                              "earlier day, or --store a mailbox");
  }
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

// A read that logged an item and went on without it returns Value 0, as the host expects; the
// count at the end keeps a user from taking the records for all there are.
void ReportSkippedItems(std::size_t skipped, const std::function<void(std::string_view)>& note) {
  if (skipped == 0) return;
  note("gwsync: " + std::to_string(skipped) + (skipped == 1 ? " item was" : " items were") +
       " skipped by a read; the log entries above name " + (skipped == 1 ? "it" : "them"));
}

// Saves one file the run changed; a failure is said and fails the status, but does not keep
// the other files from being saved.
int Keep(const std::function<void()>& save, const std::function<void(std::string_view)>& note) {
  try {
    save();
    return 0;
  } catch (const std::exception& failure) {
    note(std::string("gwsync: ") + failure.what());
    return kRunError;
  }
}

}  // namespace

HostParts::HostParts(PluginModule pimsync, PluginModule mailsync)
    : site(PortableSite(std::move(pimsync), std::move(mailsync))) {}

HostParts::HostParts(PluginFactory plugin, std::string modulePath)
    : HostParts(PluginModule{plugin, modulePath}, PluginModule{plugin, modulePath}) {}

int RunHostCommand(const Options& options, const HostParts& parts, Console console) {
  const std::optional<Requests> requests = RequestsOf(options, console);
  if (!requests) return kInputError;
  if (const std::optional<std::string> folder = FolderAmongOptionFiles(options)) {
    console.err << "gwsync: " << *folder << ": is a folder\n";
    return kRunError;
  }

  ProgressPrinter printer(console.err, console.live);
  const auto note = [&printer](std::string_view line) { printer.Note(line); };
  std::optional<platform::FileLock> storeLock;
  std::unique_ptr<HostSite> site;
  std::size_t skipped = 0;
  int status = 0;
  try {
    storeLock = LockStore(options.storeFile);
    site = parts.site(options, requests->plugin, printer);
    const platform::AutomationDate today = site->Today();
    sim::Profile profile = ProfileOf(options, requests->plugin.kind, *site);
    FillRange(profile, options, today);
    UseStore(*site, options.storeFile, today);

    auto progress = std::make_shared<sim::RecordingProgress>();
    progress->abortFromCall = options.abortAfter;
    // The printer shows each call as it comes and nothing looks back at them, so none is kept:
    // a read makes several per item.
    progress->keepCalls = false;
    progress->Context().log.enabled = false;
    std::size_t logEntries = 0;
    progress->sink = [&printer, &logEntries](const sim::RecordingProgress::Call& call) {
      if (call.member == "Log") ++logEntries;
      printer.Show(call);
    };
    HostSequence sequence({[&site] { return site->CreatePlugin(); }, platform::Object(progress),
                           std::move(profile), note, [&logEntries] { return logEntries; }});
    const int sendStatus = sequence.Start() ? Send(*requests, sequence, console, note) : 0;
    sequence.Finish();
    skipped = sequence.SkippedItems();
    status = std::max(sendStatus, sequence.ExitStatus());
  } catch (const UsageError& refusal) {
    // An option this site cannot honour; nothing has run.
    note(std::string("gwsync: ") + refusal.what());
    return kInputError;
  } catch (const std::exception& failure) {
    note(std::string("gwsync: ") + failure.what());
    status = kRunError;
  }
  printer.EndLiveLine();
  // Whatever ended the run, what the plug-in did to the mailbox and the registry is kept.
  if (site) {
    status = std::max(status, Keep([&site] { site->SaveStore(); }, note));
    status = std::max(status, Keep([&site] { site->SaveRegistry(); }, note));
  }
  if (!OutputArrived(console.out)) {
    note("gwsync: cannot write standard output; the results of this run did not all arrive");
    status = std::max(status, kRunError);
  }
  ReportSkippedItems(skipped, note);
  return status;
}

int RunSessionCommand(const Options& options, const HostParts& parts, Console console) {
  ProgressPrinter printer(console.err, false);
  std::unique_ptr<HostSite> site;
  try {
    SitePlugin plugin;
    // Without --plugin, the plug-in of the calendar, as before there were two.
    plugin.kind = options.plugin.value_or(PluginKind::kPimsync);
    site = parts.site(options, plugin, printer);
  } catch (const UsageError& refusal) {
    console.err << "gwsync: " << refusal.what() << "\n";
    return kInputError;
  }
  int status = site->ShowSession(console.out);
  site->SaveRegistry();
  if (!OutputArrived(console.out)) {
    console.err << "gwsync: cannot write standard output\n";
    status = std::max(status, kRunError);
  }
  return status;
}

}  // namespace gwsync
