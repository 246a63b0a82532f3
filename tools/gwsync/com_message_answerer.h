#pragma once

// gwsync.exe's user at a COM server's message boxes. The portable build prints each message box
// as "[CAPTION] TEXT" and answers it with its default button; in gwsync.exe the box is the
// server's real window, modal on the thread that called it, so a thread of its own finds each
// one with the caption, keeps its text and presses its default button through the window's
// messages, and the caller prints the lines once the call has returned.

#include "platform/win32/windows_api.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gwsync {

class MessageAnswerer {
 public:
  // Answers each visible message box titled `caption` among the top-level windows of `thread`.
  MessageAnswerer(DWORD thread, std::string caption);
  ~MessageAnswerer();
  MessageAnswerer(const MessageAnswerer&) = delete;
  MessageAnswerer& operator=(const MessageAnswerer&) = delete;

  // "[CAPTION] TEXT" of each box answered since the last call, in order.
  std::vector<std::string> TakeLines();

 private:
  void Watch();

  DWORD thread_;
  std::string caption_;
  std::mutex linesMutex_;
  std::vector<std::string> lines_;
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

}  // namespace gwsync
