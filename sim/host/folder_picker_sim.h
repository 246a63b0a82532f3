#pragma once

// A simulated GroupWise folder picker ("gwfoldpick.FolderBrowser") for the e-mail setup's
// General page: a small list of folders, a user who chooses one of them or cancels, and a
// login that fails on demand. Every call is logged with its arguments.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setup/emailsetup/folder_picker.h"

namespace sim {

struct PickerFolder {
  std::u16string id;
  std::u16string name;
};

class SimulatedFolderPickers {
 public:
  // A mailbox's usual folders.
  SimulatedFolderPickers();

  // The factory the e-mail setup takes; it refers to this object, which must outlive it.
  setup::email::FolderPickerFactory Factory();

  std::vector<PickerFolder> folders;
  bool cannotCreate = false;
  bool loginFails = false;
  // The folder the user chooses in the browser (an index into `folders`); nothing: Cancel.
  std::optional<std::size_t> choice = 0;
  // "create", "login(jdoe,/ph)", "browse(OLD-ID)", "logout" ... in order.
  std::vector<std::string> calls;
  int alive = 0;
};

}  // namespace sim
