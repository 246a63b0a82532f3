#pragma once

// The portable half of contactsetup's COM object (class ContactSetup): its profile session over
// the component's table. The Win32 shell owns one per object, runs the IEECDIALOG methods on
// Session() (setup/common/profile_session.h) and builds the page models of settings_pages.h and
// wizard_pages.h over it.

#include <utility>

#include "setup/common/profile_session.h"
#include "setup/contactsetup/contact_values.h"

namespace setup::contact {

class ContactSetup {
 public:
  explicit ContactSetup(SetupServices services) : session_(kContactSetup, std::move(services)) {}

  ProfileSession& Session() { return session_; }

 private:
  ProfileSession session_;
};

}  // namespace setup::contact
