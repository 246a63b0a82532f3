#pragma once

// Which plug-in a run hosts and what goes with it. The host runs one plug-in per profile, so a
// run never mixes the two: the data types of its requests choose, unless --plugin does.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"
#include "sim/host/profile.h"
#include "tools/gwsync/command_line.h"
#include "tools/gwsync/run_script.h"

namespace gwsync {

struct PluginInfo {
  PluginKind kind;
  std::string_view name;           // "pimsync"
  std::string_view moduleFile;     // the module the portable build plays, beside the program
  std::string_view moduleLibrary;  // its resource library
  // A string its library holds whatever the language: `gwsync session` looks for it.
  int libraryString;
  sim::ProfileKind profile;
  std::string_view progId;  // its COM class, which gwsync.exe creates
  // The string of its library that captions its folder-name dialog; 0 when it shows none.
  int folderNameCaption;
};

const PluginInfo& InfoOf(PluginKind kind);

// mailsync for EMAIL, pimsync for every other code: a code neither serves then meets pimsync's
// own refusal, as before there were two plug-ins.
PluginKind PluginOfType(int16_t type);

// --plugin when given, which then gets every request whatever its type; else the plug-in of the
// requests' types, pimsync when there are none. Raises ScriptError, naming the first line whose
// type needs the other plug-in than a line before it.
PluginKind ChoosePlugin(std::optional<PluginKind> option, const std::vector<ScriptStep>& steps);

// --folder-name first, then the script's answer lines. With none, the user presses Enter on the
// proposed name; with some, a dialog that outlasts them ends without OK, so that an answer the
// plug-in refuses is not followed by an OK nobody asked for.
platform::FolderNameAnswers FolderNameAnswersOf(const std::optional<std::string>& option,
                                                const std::vector<std::string>& script);

}  // namespace gwsync
