#pragma once

#include <optional>
#include <string>

#include "platform/user_interface.h"

namespace platform::win32 {

// The folder-name dialog, modal on the calling thread; see UserInterface::AskFolderName. `ui`
// gives the beep and the message pump of its opening, so that a test can count them.
//
// A failure of `accept` ends the dialog without OK and is then rethrown from here: nothing may
// unwind through the system's dialog loop, yet the caller must still learn what went wrong.
// Throws platform::Exception when the dialog cannot be shown at all.
std::optional<std::string> RunFolderNameDialog(UserInterface& ui, WindowHandle owner,
                                               const FolderNameDialogTexts& texts,
                                               const std::string& proposed,
                                               const AcceptFolderName& accept);

}  // namespace platform::win32
