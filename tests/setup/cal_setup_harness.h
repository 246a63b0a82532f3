#pragma once

// calsetup's portable half with everything around it simulated: the user at the message boxes,
// the registry, the component's own string table and the host's engine object over calendar
// profile files in a scratch folder.

#include <memory>
#include <string>

#include "framework/text_codec.h"
#include "platform/portable/memory_registry.h"
#include "platform/portable/scripted_user_interface.h"
#include "setup/calsetup/cal_setup.h"
#include "sim/host/profile_file.h"
#include "sim/host/setup_strings.h"
#include "sim/host/sync_engine_sim.h"
#include "tests/support/scratch_folder_test.h"

namespace cal_setup_tests {

inline std::u16string Wide(const std::string& utf8) {
  std::u16string wide;
  framework::Utf8ToUtf16(utf8, wide);
  return wide;
}

inline std::string Utf8(const std::u16string& text) {
  return framework::Utf16ToUtf8(text);
}

inline constexpr std::string_view kTitle = "Calendar Options for Novell GroupWise";

class CalSetupTest : public testing_support::ScratchFolderTest {
 protected:
  CalSetupTest() : ScratchFolderTest("gws_calsetup_") {}

  setup::SetupServices Services() {
    return {ui, registry, {*library, ansi}, engines.Factory(), nullptr};
  }
  setup::ProfileSession& Session() { return setup.Session(); }
  setup::Blocks& Data() { return setup.Session().Data(); }

  // The control file cal.bin in the scratch folder, as the session names it.
  std::string ControlFile() const { return Path("cal.bin"); }
  // Stores `profile` as the control file and opens it: the profile as a page finds it.
  void OpenStored(const sim::Profile& profile) {
    sim::SaveProfileFile(ControlFile(), profile);
    OpenControlFile();
  }
  // Opens the control file, new when it does not exist yet.
  void OpenControlFile() {
    Session().SetControlFile(Wide(ControlFile()));
    ASSERT_TRUE(Session().OpenAndPrepare());
  }
  // A stored calendar profile that is not new: one month back, six ahead, the deletion on for
  // a month.
  static sim::Profile StoredProfile() { return sim::NewCalendarProfile(""); }
  platform::ScriptedUserInterface ui;
  platform::MemoryRegistry registry;
  std::unique_ptr<platform::ResourceLibrary> library = sim::CalSetupStrings();
  platform::Windows1252 ansi;
  sim::SimulatedEngines engines{sim::ProfileKind::kCalendar};
  setup::cal::CalSetup setup{Services()};
};

}  // namespace cal_setup_tests
