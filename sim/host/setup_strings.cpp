#include "sim/host/setup_strings.h"

#include "platform/portable/string_table_library.h"

namespace sim {

std::unique_ptr<platform::ResourceLibrary> EmailSetupStrings() {
  return std::make_unique<platform::StringTableLibrary>(
      platform::ParseStringTable(EmailSetupStringTable()));
}

}  // namespace sim
