#pragma once

// Plays the person in front of a dialog that the test's own thread holds modally: from a thread
// of its own it waits for the dialog to show, then takes the steps it was given, the way the
// keyboard and the mouse would, through the dialog's own message loop. GoogleTest is built
// without thread support here, so the steps only record what they see; the test checks it after
// Finish, on its own thread.

#include "platform/win32/windows_api.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace platform::win32::test {

using Step = std::function<void(HWND dialog)>;

class DialogDriver {
 public:
  // Drives the visible dialog titled `caption` that the thread `thread` shows.
  DialogDriver(DWORD thread, std::string caption, std::vector<Step> steps);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  struct Outcome {
    bool appeared = false;
    // Still open long after the last step; it was then closed so that the test could go on.
    bool leftOpen = false;
  };
  // Called once the modal call has returned: waits for the steps to be taken and the dialog to
  // go.
  Outcome Finish();

 private:
  void Drive();

  DWORD thread_;
  std::string caption_;
  std::vector<Step> steps_;
  Outcome outcome_;
  std::atomic<bool> returned_{false};
  std::thread driver_;
};

// A visible dialog (class #32770) of the thread with this caption, or null.
HWND FindDialog(DWORD thread, const std::string& caption);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The window with the keyboard focus on that thread, or null.
HWND FocusOn(DWORD thread);

// Steps. Keys and characters go to the control with the focus, as the keyboard's do.
Step Type(std::string text);
Step Press(UINT key);
// Alt and a letter; waits a little for the focus to move.
Step PressAlt(char letter);
// Alt+F4.
Step PressAltF4();
// A click on the button with that identifier.
Step Click(int id);
// Moves the focus to the control with that identifier, as Tab would.
Step Focus(int id);
Step Post(UINT message);
// The same message sent: the step ends only once the dialog's thread has handled it (a modal
// loop it runs, a message box's, handles it too), so a step after it cannot overtake it.
Step Send(UINT message);
// Closes the dialog's owner, which takes its owned windows with it.
Step CloseOwner();
// Waits for a message box or dialog of the same thread with that caption to show.
Step WaitFor(std::string caption);
// Waits for it, presses its OK and waits until it has gone.
Step Answer(std::string caption);

}  // namespace platform::win32::test
