#pragma once

// The AboutBox export: the about dialog TAboutPluginForm with the module's info text, file
// version and picture from its .DLR library.

#include <string>
#include <string_view>

#include "comserver/synchronizer_module.h"

namespace comserver {

// What the dialog shows besides its picture.
struct AboutForm {
  std::string title;
  std::string versionLine;
  std::string info;
};
// fileVersion: the FileVersion item of the module's version resource, empty when unreadable.
AboutForm MakeAboutForm(std::string info, std::string_view fileVersion);

// Shows the dialog and returns when it is closed. Any failure, a missing picture first of all,
// shows a message box captioned "Frameworks AboutBox Exception" with the failure's text
// instead, and no dialog.
void ShowAboutBox(HMODULE module, const SynchronizerModule& identity) noexcept;

}  // namespace comserver
