#include "sim/groupwise/com/module_state.h"

#include "platform/win32/ansi_code_page.h"
#include "sim/groupwise/sample_mailbox.h"

namespace sim::gwsim {

ModuleState& State() {
  // Made on first use and destroyed when the module unloads, after COM let go of its objects.
  static ModuleState state = [] {
    ModuleState made;
    // No one can read the log of a server; it would only grow for the life of the process.
    made.groupwise.context->log.enabled = false;
    // Attachments are saved where the plug-in, an ANSI program, names the path.
    made.groupwise.ansi = std::make_shared<platform::win32::AnsiCodePage>();
    return made;
  }();
  return state;
}

// Objects made before keep the mailbox they were made with: the host chooses the mailbox
// before it lets the plug-in create any, and the call log stays one for the whole process.
void UseStore(const std::string& path) {
  ModuleState& state = State();
  state.store.reset();
  state.store.emplace(path);
  state.groupwise.mailbox = state.store->State();
}

void UseSample(platform::AutomationDate today) {
  ModuleState& state = State();
  state.store.reset();
  state.groupwise.mailbox = std::make_shared<Mailbox>(BuildSampleMailbox(today));
}

void SetClock(std::optional<platform::AutomationDate> now) {
  State().groupwise.now = nullptr;
  if (now) State().groupwise.now = [at = *now] { return at; };
}

void SaveIfChanged() {
  if (std::optional<StoreFile>& store = State().store) store->SaveIfChanged();
}

}  // namespace sim::gwsim
