#pragma once

// contactsetup's portable half with everything around it simulated: the user at the message
// boxes, the registry, the component's own string table and the host's engine object over
// profile files in a scratch folder.

#include <memory>
#include <string>

#include "framework/text_codec.h"
#include "platform/portable/memory_registry.h"
#include "platform/portable/scripted_user_interface.h"
#include "setup/contactsetup/contact_setup.h"
#include "sim/host/profile_file.h"
#include "sim/host/setup_strings.h"
#include "sim/host/sync_engine_sim.h"
#include "tests/support/scratch_folder_test.h"

namespace setup_tests {

class ContactSetupTest : public testing_support::ScratchFolderTest {
 protected:
  ContactSetupTest() : ScratchFolderTest("gws_contactsetup_") {}

  setup::SetupServices Services() {
    return {ui, registry, {*library, ansi}, engines.Factory(), [] { return u"DESK-7"; }};
  }
  setup::ProfileSession& Session() { return setup.Session(); }
  setup::Blocks& Data() { return setup.Session().Data(); }

  // The control file contacts.bin in the scratch folder, as the session names it.
  std::string ControlFile() const { return Path("contacts.bin"); }
  std::u16string WideControlFile() const {
    std::u16string wide;
    framework::Utf8ToUtf16(ControlFile(), wide);
    return wide;
  }
  // Stores `profile` as the control file and opens it: the profile as a page finds it.
  void OpenStored(const sim::Profile& profile) {
    sim::SaveProfileFile(ControlFile(), profile);
    Session().SetControlFile(WideControlFile());
    ASSERT_TRUE(Session().OpenAndPrepare());
  }
  // A contacts profile that is not new: it has a title, nothing else.
  static sim::Profile StoredProfile() {
    sim::Profile profile(sim::ProfileKind::kCalendar);
    profile.a.Set(framework::block_a::Title, u"Didodudo Z380 - Synchronization (Contacts)");
    return profile;
  }

  platform::ScriptedUserInterface ui;
  platform::MemoryRegistry registry;
  std::unique_ptr<platform::ResourceLibrary> library = sim::ContactSetupStrings();
  platform::Windows1252 ansi;
  sim::SimulatedEngines engines{sim::ProfileKind::kCalendar};
  setup::contact::ContactSetup setup{Services()};
};

}  // namespace setup_tests
