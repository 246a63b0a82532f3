#pragma once

// What tells the three data setup components (emailsetup, calsetup, contactsetup) apart, as
// data: the kinds of their blocks B and C, their internal-error texts, where their login
// fields lie, and the values each writes on every load, as defaults and as commit values. The
// shared profile logic (profile_session.h) runs on such a table; each component defines one
// (setup/emailsetup/email_values.h) and its COM shell hands it to the session.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/setup_blocks.h"
#include "setup/common/component_strings.h"

namespace setup {

// A profile's three setup blocks as one component reads and writes them.
struct Blocks {
  Blocks(framework::BlockKind bKind, framework::BlockKind cKind) : b(bKind), c(cKind) {}

  framework::SetupBlock a{framework::BlockKind::kA};
  framework::SetupBlock b;
  framework::SetupBlock c;
};

// The host's log and work files, named after the control file (load_values.h).
struct ProfilePaths {
  std::u16string log;
  std::u16string work;
};

// What a component's values are made of besides the blocks.
struct ValueContext {
  const ComponentStrings& strings;
  const ProfilePaths& paths;
  // The computer's network name, empty when it has none.
  std::u16string_view computerName;
};

// Block C's login fields, filled from the setup wizard's data by CommitPages.
struct LoginFields {
  framework::I16Field manualLogin;
  framework::TextField user;
  framework::TextField params;
};

// The texts of the three internal-error messages.
struct InternalErrors {
  std::string_view openFailed;     // the control file cannot be opened
  std::string_view engineMissing;  // the host's engine object cannot be created
  std::string_view saveFailed;     // the control file cannot be saved
};

// Ids every data component's string table shares.
namespace string_id {
inline constexpr int kMessageTitle = 57344;
// "Invalid number, please enter a number from " (CRangeEdit, range_edit.h).
inline constexpr int kInvalidNumber = 121;
}  // namespace string_id

struct Component {
  std::string_view name;    // "emailsetup"
  std::string_view progId;  // the versioned ProgID of its class, the source of its error object
  framework::BlockKind blockB;
  framework::BlockKind blockC;
  InternalErrors errors;
  // The string of one blank that ends CRangeEdit's message: 140 in emailsetup, 143 in calsetup.
  int blankStringId;
  // The help context the Help button opens (WinHelp, HELP_CONTEXT).
  int helpContext;
  LoginFields login;

  // Every load, after the fixed values all components share: the identity and the component's
  // own constants.
  void (*writeIdentity)(Blocks& blocks, const ValueContext& context);
  // InvisibleDialog, after the load values.
  void (*applyDefaults)(Blocks& blocks, const ValueContext& context);
  // CommitPages, after the wizard's login data.
  void (*applyCommitValues)(Blocks& blocks);
};

}  // namespace setup
