#pragma once

// What every page model of the setup components shares. A page is filled once, when it first
// becomes visible, and only then counts as initialised: its change handlers act, and accepting
// writes into the blocks, only on an initialised page (a page never shown writes nothing).

#include <string>
#include <vector>

namespace setup {

// A static text of a page made of strings of the component's table, for the Win32 shell to
// set into the control of that id when the dialog starts.
struct ControlText {
  int id;
  std::u16string text;
  friend bool operator==(const ControlText&, const ControlText&) = default;
};

// The buttons a wizard page leaves enabled (PSWIZB_BACK, with or without PSWIZB_NEXT).
enum class WizardButtons { kBackAndNext, kBackOnly };

class PageModel {
 public:
  bool Initialised() const { return initialised_; }

 protected:
  void MarkInitialised() { initialised_ = true; }

 private:
  bool initialised_ = false;
};

}  // namespace setup
