#include "tools/gwsync/parse_command.h"

#include <ostream>

#include "framework/entry.h"
#include "framework/text_util.h"
#include "platform/portable/console_user_interface.h"

namespace gwsync {

std::string FormatProperties(const framework::TvProperties& properties) {
  std::string out;
  for (const framework::TvPropertyView property : properties) {
    out += framework::EscapeForDisplay(property.Name);
    out += '\t';
    out += framework::EscapeForDisplay(property.Parameters);
    out += '\t';
    out += framework::EscapeForDisplay(property.Value);
    out += '\n';
  }
  return out;
}

int RunParse(std::string_view record, std::ostream& out, std::ostream& err) {
  platform::ConsoleUserInterface ui(err);
  framework::TEntry entry;
  entry.SetVersit(record, ui);
  out << FormatProperties(entry.Properties);
  out.flush();
  return entry.Properties.Count() > 0 ? 0 : 1;
}

}  // namespace gwsync
