#include "sim/host/setup_strings.h"

#include "platform/portable/string_table_library.h"

namespace sim {
namespace {

std::unique_ptr<platform::ResourceLibrary> LibraryOf(std::string_view table) {
  return std::make_unique<platform::StringTableLibrary>(platform::ParseStringTable(table));
}

}  // namespace

std::unique_ptr<platform::ResourceLibrary> EmailSetupStrings() {
  return LibraryOf(EmailSetupStringTable());
}

std::unique_ptr<platform::ResourceLibrary> CalSetupStrings() {
  return LibraryOf(CalSetupStringTable());
}

std::unique_ptr<platform::ResourceLibrary> ContactSetupStrings() {
  return LibraryOf(ContactSetupStringTable());
}

std::unique_ptr<platform::ResourceLibrary> SetupWizardStrings() {
  return LibraryOf(SetupWizardStringTable());
}

}  // namespace sim
