#pragma once

// The host's progress object, called late-bound by member name. Every call raises like any
// other failure, so a broken progress object fails the host method that used it.

#include <cstdint>
#include <string_view>

#include "platform/automation.h"
#include "platform/code_page.h"
#include "platform/user_interface.h"

namespace framework {

class HostProgress {
 public:
  HostProgress(platform::Object object, const platform::CodePage& ansi)
      : object_(std::move(object)), ansi_(ansi) {}

  // Main progress line; empty clears it.
  void SetSynchText(std::string_view text) const;
  // Secondary progress line; empty clears it.
  void SetAppText(std::string_view text) const;
  void SetRange(int32_t low, int32_t high) const;
  void SetValue(int32_t position) const;
  // An entry in the host's log; the framework logs at level 1.
  void Log(std::string_view message, std::string_view title, int16_t level = 1) const;
  platform::WindowHandle GetParentWnd() const;
  // True when the user cancelled.
  bool Aborted() const;

 private:
  platform::Object object_;
  const platform::CodePage& ansi_;
};

}  // namespace framework
