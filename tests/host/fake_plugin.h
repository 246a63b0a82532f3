#pragma once

// A plug-in that plays back what a test tells it and remembers every host method called on it,
// for driving gwsync's host commands without GroupWise.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/base_isync.h"
#include "tools/gwsync/in_process_plugin.h"

namespace gwsync::testing_fake {

// What the test sets up and reads back; it outlives the plug-in objects of a run.
struct Script {
  // Value answered per method ("Init", "Open", ..., "ReadSource"); 0 when not listed.
  std::map<std::string, int32_t> values;
  // Methods that raise instead of answering.
  std::vector<std::string> raising;
  // What ReadSource puts into the host stream; WriteSource puts back the record it got plus
  // writeBackSuffix.
  std::string readStream = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";
  std::string writeBackSuffix = "UID:new\r\n";
  // How often ReadSource asks the progress object whether the user cancelled.
  int abortedQuestions = 0;
  // Progress calls made during ReadSource, as member and one text argument.
  std::vector<std::pair<std::string, std::string>> progressTexts;
  // When set, Open shows the folder-name dialog proposing this name, and takes any name but
  // the empty one, as mailsync does.
  std::optional<std::string> askFolderName;

  // Recorded: "Init", "Open", "ReadSource 0 0", "WriteSource 4 1", "Close", "Term" ...
  std::vector<std::string> calls;
  std::string synchSetup;  // the bytes of the streams Init was given
  std::string appSetup;
  std::vector<std::string> records;  // what each WriteSource found in its stream
  std::vector<bool> abortedAnswers;
  std::vector<std::optional<std::string>> folderNames;  // what each dialog ended with
};

PluginFactory FakePluginFactory(std::shared_ptr<Script> script);

}  // namespace gwsync::testing_fake
