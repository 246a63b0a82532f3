#pragma once

// Closes the dialogs and message boxes this process shows, from a thread of its own, so that a
// test can call something modal on its own thread and never leave a window for a person.

#include "platform/win32/windows_api.h"

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace comserver::test {

class WindowWatcher {
 public:
  struct Seen {
    std::string caption;
    std::vector<std::string> texts;  // of its static controls that have any, in z-order
  };
  // Called on the watcher's thread while the window is still open.
  using Inspector = std::function<void(HWND)>;

  // Each dialog window (class #32770, message boxes included) of this process is recorded
  // once it is visible, inspected, then closed by posting WM_COMMAND IDOK, as a click on OK.
  explicit WindowWatcher(Inspector inspect = nullptr);
  ~WindowWatcher();
  WindowWatcher(const WindowWatcher&) = delete;
  WindowWatcher& operator=(const WindowWatcher&) = delete;

  // Stops watching; the windows seen, in the order they appeared.
  std::vector<Seen> Stop();

 private:
  void Watch();
  static BOOL CALLBACK HandleWindow(HWND window, LPARAM self);
  void Handle(HWND window);

  Inspector inspect_;
  std::atomic<bool> stop_{false};
  std::set<HWND> handled_;
  std::vector<Seen> seen_;
  std::thread thread_;
};

std::string WindowText(HWND window);

}  // namespace comserver::test
