#pragma once

#include "platform/win32/windows_api.h"

#include "comserver/about_box.h"

namespace comserver {

// The hourglass while the about dialog is being built; the previous cursor comes back when
// the dialog is ready, or when building it failed.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { Restore(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  void Restore() {
    if (active_) SetCursor(previous_);
    active_ = false;
  }

 private:
  HCURSOR previous_;
  bool active_ = true;
};

// Shows TAboutPluginForm (template IDD_ABOUT_PLUGIN of module) modally. The picture stays the
// caller's. Raises platform::Exception when the dialog cannot be created.
void RunAboutDialog(HMODULE module, const AboutForm& form, HBITMAP picture, WaitCursor& wait);

}  // namespace comserver
