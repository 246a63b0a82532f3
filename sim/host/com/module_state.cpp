#include "sim/host/com/module_state.h"

#include "platform/exception.h"
#include "sim/host/com/hostsim_exports.h"

namespace sim::hostsim {
namespace {

// Made with the kind of their profile. A note on why an open or a save failed goes into the
// engines' own log, where the test that caused it reads it: the engines are made first and then
// given a note that knows where they live.
std::unique_ptr<SimulatedEngines> MakeEngines(std::optional<ProfileKind> kind) {
  auto engines = std::make_unique<SimulatedEngines>(kind);
  SimulatedEngines* log = engines.get();
  *engines = SimulatedEngines(
      kind, [log](std::string_view note) { log->calls.push_back("note: " + std::string(note)); });
  return engines;
}

}  // namespace

ModuleState& State() {
  static ModuleState state{MakeEngines(ProfileKind::kEmail), {}};
  return state;
}

// Only between objects: an engine object still alive refers to the engines it was made by.
// "any" makes engines without a kind (sync_engine_sim.h).
void UseProfileKind(std::string_view kind) {
  for (std::optional<ProfileKind> each :
       {std::optional(ProfileKind::kEmail), std::optional(ProfileKind::kCalendar),
        std::optional<ProfileKind>()}) {
    if (kind != (each ? ProfileKindName(*each) : "any")) continue;
    // The faults chosen stay; the log goes with the engines of the other kind.
    const EngineFaults faults = State().engines->faults;
    State().engines = MakeEngines(each);
    State().engines->faults = faults;
    return;
  }
  throw platform::Exception("no profile kind is called \"" + std::string(kind) + "\"");
}

void SetEngineFaults(uint32_t faults, int32_t shortStreams) {
  EngineFaults& set = State().engines->faults;
  set.cannotCreate = (faults & kEngineCannotCreate) != 0;
  set.openFails = (faults & kEngineOpenFails) != 0;
  set.saveFails = (faults & kEngineSaveFails) != 0;
  set.streamsFail = (faults & kEngineStreamsFail) != 0;
  set.shortStreams.reset();
  if (shortStreams >= 0) set.shortStreams = static_cast<std::size_t>(shortStreams);
}

void SetFolderPicker(uint32_t faults, int32_t choice) {
  SimulatedFolderPickers& pickers = State().pickers;
  pickers.cannotCreate = (faults & kPickerCannotCreate) != 0;
  pickers.loginFails = (faults & kPickerLoginFails) != 0;
  pickers.choice.reset();
  if (choice >= 0) pickers.choice = static_cast<std::size_t>(choice);
}

std::string TakeCalls(std::vector<std::string>& calls) {
  std::string lines;
  for (const std::string& call : calls)
    lines += call + "\n";
  calls.clear();
  return lines;
}

}  // namespace sim::hostsim
