#pragma once

// The portable half of calsetup's COM object (class CalSetup): its profile session over the
// component's table. The Win32 shell owns one per object, runs the IEECDIALOG methods on
// Session() (setup/common/profile_session.h) and builds the page models of settings_pages.h
// and wizard_pages.h over it.

#include "setup/calsetup/cal_values.h"
#include "setup/common/profile_session.h"

namespace setup::cal {

class CalSetup {
 public:
  explicit CalSetup(SetupServices services) : session_(kCalSetup, std::move(services)) {}

  ProfileSession& Session() { return session_; }

 private:
  ProfileSession session_;
};

}  // namespace setup::cal
