#pragma once

// gwsync.exe's user at mailsync's folder-name dialog. In mailsync.dll the dialog is the
// plug-in's own window, modal on the thread that calls the plug-in, so gwsync.exe cannot
// answer it through the user-interface seam as the portable build does. It answers it from a
// thread of its own instead, through the window's messages, the way the keyboard would: the
// name set into the edit box (which the dialog holds selected, so typing would replace it
// whole), OK pressed, a refusal's message box closed with its default button, the dialog
// closed without OK when the answers run out.
//
// Which answer comes next is FolderNameAnswers::Play, the rule the portable build plays, so
// both builds hand the plug-in the same names for the same --folder-name and script lines.

#include "platform/win32/windows_api.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/user_interface.h"

namespace gwsync {

class FolderNameAnswerer {
 public:
  // Answers each visible dialog titled `caption` among the top-level windows of `thread`.
  FolderNameAnswerer(DWORD thread, std::string caption, platform::FolderNameAnswers answers);
  ~FolderNameAnswerer();
  FolderNameAnswerer(const FolderNameAnswerer&) = delete;
  FolderNameAnswerer& operator=(const FolderNameAnswerer&) = delete;

  // What the dialogs showed and how they were answered since the last call, in the lines the
  // portable build prints ("[CAPTION] TEXT", "[CAPTION] OK: NAME", "[CAPTION] closed without
  // OK"). Kept rather than printed, because this thread may not write while the plug-in's runs;
  // a dialog that has just ended is waited for, so that its lines come before the caller's next.
  std::vector<std::string> TakeLines();

 private:
  void Watch();
  void Answer(HWND dialog);
  // Types the name and presses OK: true when the dialog took it and ended.
  bool Offer(HWND dialog, const std::string& name);
  void Say(std::string line);

  DWORD thread_;
  std::string caption_;
  platform::FolderNameAnswers answers_;
  std::mutex linesMutex_;
  std::vector<std::string> lines_;
  std::atomic<bool> answering_{false};
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

}  // namespace gwsync
