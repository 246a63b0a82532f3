#pragma once

// emailsetup's portable half with everything around it simulated: the user at the message
// boxes, the registry, the component's own string table, the host's engine object over
// profile files in a scratch folder, the folder picker and the computer's name.

#include <memory>
#include <string>

#include "framework/text_codec.h"
#include "platform/portable/memory_registry.h"
#include "platform/portable/scripted_user_interface.h"
#include "setup/emailsetup/email_setup.h"
#include "sim/host/folder_picker_sim.h"
#include "sim/host/profile_file.h"
#include "sim/host/setup_strings.h"
#include "sim/host/sync_engine_sim.h"
#include "tests/support/scratch_folder_test.h"

namespace setup_tests {

// A path of the scratch folder as a BSTR holds it.
inline std::u16string Wide(const std::string& utf8) {
  std::u16string wide;
  framework::Utf8ToUtf16(utf8, wide);
  return wide;
}

inline constexpr std::string_view kTitle = "E-mail Options for Novell GroupWise";

class EmailSetupTest : public testing_support::ScratchFolderTest {
 protected:
  EmailSetupTest() : ScratchFolderTest("gws_setup_") {}

  setup::SetupServices Services() {
    return {ui, registry, {*library, ansi}, engines.Factory(), [this] { return computerName; }};
  }
  setup::ProfileSession& Session() { return setup.Session(); }
  setup::Blocks& Data() { return setup.Session().Data(); }

  // The control file mail.bin in the scratch folder, as the session names it.
  std::string ControlFile() const { return Path("mail.bin"); }
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
  // A stored e-mail profile that is not new.
  static sim::Profile StoredProfile() { return sim::NewEmailProfile("", 3, u"DESK-7"); }

  platform::ScriptedUserInterface ui;
  platform::MemoryRegistry registry;
  std::unique_ptr<platform::ResourceLibrary> library = sim::EmailSetupStrings();
  platform::Windows1252 ansi;
  sim::SimulatedEngines engines{sim::ProfileKind::kEmail};
  sim::SimulatedFolderPickers pickers;
  std::u16string computerName = u"DESK-7";
  setup::email::EmailSetup setup{Services(), pickers.Factory()};
};

}  // namespace setup_tests
