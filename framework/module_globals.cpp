#include "framework/module_globals.h"

namespace framework {

std::string PIMName;

std::string LoadFrameworkString(int /*id*/) {
  // The string library is not loaded by this build yet, so every progress text is empty.
  return {};
}

}  // namespace framework
