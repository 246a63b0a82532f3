#include "tools/gwsync/setup_components.h"

#include "platform/code_page.h"
#include "setup/calsetup/cal_values.h"
#include "setup/contactsetup/contact_values.h"
#include "setup/emailsetup/email_values.h"
#include "sim/host/setup_strings.h"

namespace gwsync {

const SetupComponentInfo& SetupComponentOf(SetupComponent component) {
  static const SetupComponentInfo kEmail{"email", "the e-mail setup", setup::email::kEmailSetup,
                                         sim::EmailSetupStrings, sim::ProfileKind::kEmail};
  static const SetupComponentInfo kCalendar{"calendar", "the calendar setup", setup::cal::kCalSetup,
                                            sim::CalSetupStrings, sim::ProfileKind::kCalendar};
  // A contacts profile is pimsync's, with the calendar profile's blocks.
  static const SetupComponentInfo kContacts{"contacts", "the contacts setup",
                                            setup::contact::kContactSetup, sim::ContactSetupStrings,
                                            sim::ProfileKind::kCalendar};
  switch (component) {
    case SetupComponent::kCalendar:
      return kCalendar;
    case SetupComponent::kContacts:
      return kContacts;
    case SetupComponent::kEmail:
      break;
  }
  return kEmail;
}

std::string SetupMessageTitle(const SetupComponentInfo& component) {
  const std::unique_ptr<platform::ResourceLibrary> library = component.strings();
  const platform::Windows1252 ansi;
  return setup::ComponentStrings(*library, ansi).Ansi(setup::string_id::kMessageTitle);
}

}  // namespace gwsync
