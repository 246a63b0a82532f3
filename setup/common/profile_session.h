#pragma once

// One data setup component object's profile: its control file, the host's engine object while
// a profile is open, the three block buffers and what a load derives from them. Every
// IEECDIALOG method of a data component is a few calls on this object.
//
// How the Win32 shell uses it (each method inside its one exception barrier):
//   ControlFile put   SetControlFile(the BSTR)
//   ShowDialog        if (!OpenAndPrepare()) return S_FALSE; run the Settings sheet over the
//                     page models; after OK Commit(); Release(); return S_OK
//   AddPages          create the wizard pages, hand them over, then OpenAndPrepare(): the
//                     engine stays held for CommitPages, or is already released on failure
//   CommitPages       read the two wizard strings from the SAFEARRAY when it holds them and
//                     call CommitWizardData(them), or CommitWizardData(std::nullopt)
//   RemovePages       destroy the pages, Release()
//   InvisibleDialog   bResult = RunInvisible(); on false record the error object ("MAPIERROR",
//                     the component's ProgID, E_UNEXPECTED) and return S_FALSE
//   IsPIMInstalled    setup::IsPIMInstalled(registry) (machine_settings.h)
// Help opens HelpFile() at the component's help context. The page models (e.g.
// setup/emailsetup/settings_pages.h) read and write Data() directly.
//
// Implementation details:
// - Nothing is retried and no failure escapes: an engine that cannot be made, a control file
//   that cannot be opened or saved each show the component's internal-error message; a
//   stream's Seek, Read or Write that fails is ignored (a block read short stays zero past
//   what arrived), as the host's own streams are trusted to be whole or not there at all.
// - Texts reach the block fields as UTF-16 whatever the ANSI code page: a Greek user name from
//   the setup wizard arrives in LoginUser as typed, cut only at the field's size.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/user_interface.h"
#include "setup/common/component.h"
#include "setup/common/component_strings.h"
#include "setup/sync_engine.h"

namespace setup {

// The outside world of a setup component object.
struct SetupServices {
  platform::UserInterface& ui;
  platform::Registry& registry;
  ComponentStrings strings;
  SyncEngineFactory engines;
  // The computer's network name (GetComputerName); empty when it has none.
  std::function<std::u16string()> computerName;
};

// The setup wizard's data handed to CommitPages: element 0 and 1 of its array.
struct WizardData {
  std::u16string user;
  std::u16string params;
};

class ProfileSession {
 public:
  // The blocks start zeroed, as the pages see them when no profile could be opened.
  ProfileSession(const Component& component, SetupServices services);
  // Releases the engine if it is still held.
  ~ProfileSession();
  ProfileSession(const ProfileSession&) = delete;
  ProfileSession& operator=(const ProfileSession&) = delete;

  void SetControlFile(std::u16string path) { controlFile_ = std::move(path); }
  const std::u16string& ControlFile() const { return controlFile_; }

  // Creates the engine, opens the control file and reads the three blocks. False, after the
  // internal-error message, when the engine cannot be created (none is held) or the file cannot
  // be opened (the engine stays held until Release).
  bool Open();
  // Derives the paths, writes the fixed values and the identity, reads the log level and the
  // help file's folder from the registry. After every successful open, before any page is
  // filled or default applied.
  void Prepare();
  // Open, then Prepare; on failure Release instead. What ShowDialog, AddPages and
  // InvisibleDialog begin with.
  bool OpenAndPrepare();
  // Writes blocks A, B and C into their streams and saves. False when no engine is held, or
  // after the internal-error message when the save failed.
  bool Commit();
  // Closes and drops the engine, if one is held.
  void Release();
  bool HoldsEngine() const { return engine_ != nullptr; }

  void ApplyDefaults();
  void ApplyCommitValues();

  // InvisibleDialog: a complete profile with the component's defaults. False when the profile
  // could not be opened (its message shown); a failed save still counts as done.
  bool RunInvisible();
  // CommitPages: the login fields from the wizard's data (left as they are without it), then
  // the commit values, commit and release. Nothing is written when no profile is open.
  void CommitWizardData(const std::optional<WizardData>& data);

  Blocks& Data() { return blocks_; }
  const Blocks& Data() const { return blocks_; }
  // Set by Open when block A's Title was empty: the pages then start from the defaults.
  bool IsNewProfile() const { return newProfile_; }
  const ProfilePaths& Paths() const { return paths_; }
  const std::string& HelpFile() const { return helpFile_; }
  const Component& Info() const { return component_; }
  const ComponentStrings& Strings() const { return services_.strings; }
  std::u16string ComputerName() const;

  // A message box with the component's title (string 57344).
  int Message(platform::WindowHandle owner, const std::string& text,
              uint32_t style = platform::mb::kOk);

 private:
  ValueContext Context(const std::u16string& computerName) const;

  const Component& component_;
  SetupServices services_;
  std::u16string controlFile_;
  std::unique_ptr<SyncEngine> engine_;
  Blocks blocks_;
  bool newProfile_ = false;
  ProfilePaths paths_;
  std::string helpFile_;
};

}  // namespace setup
