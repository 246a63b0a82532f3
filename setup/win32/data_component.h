#pragma once

// One data setup component (emailsetup, calsetup, contactsetup) on Windows: its profile session
// and the pages it shows. The shared IEECDIALOG methods (setup/com/data_dialog.h) run on it.

#include "setup/common/profile_session.h"

namespace setup::win32 {

class DataComponent {
 public:
  virtual ~DataComponent() = default;
  virtual ProfileSession& Session() = 0;
};

}  // namespace setup::win32
