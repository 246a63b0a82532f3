#include "tools/gwsync/com_folder_name.h"

#include <functional>
#include <optional>
#include <utility>

namespace gwsync {
namespace {

constexpr DWORD kPollMilliseconds = 20;
// How long a window may take to answer a message or to go, before it is taken as stuck: the
// dialog's thread only pumps while the plug-in waits in it, and a window that does not answer
// within this time will not be answered at all.
constexpr UINT kReplyMilliseconds = 10000;
// The static control of a message box that holds its text, in every version of the system.
constexpr int kMessageBoxTextId = 0xFFFF;

bool WaitUntil(const std::function<bool()>& condition) {
  const ULONGLONG end = GetTickCount64() + kReplyMilliseconds;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMilliseconds);
  }
  return true;
}

// The window belongs to another thread, which may be busy: a message that is not answered in
// time gives the empty text rather than holding this thread.
std::string TextOf(HWND window) {
  char text[2048];
  DWORD_PTR length = 0;
  if (window == nullptr ||
      !SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, kReplyMilliseconds, &length)) {
    return {};
  }
  return std::string(text, length);
}

bool IsDialog(HWND window) {
  char name[16];
  const int length = GetClassNameA(window, name, sizeof name);
  return IsWindowVisible(window) && std::string(name, length > 0 ? length : 0) == "#32770";
}

struct Search {
  std::function<bool(HWND)> matches;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (!IsDialog(window) || !search.matches(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// A visible dialog (message boxes are dialogs too) among the thread's top-level windows.
HWND FindDialog(DWORD thread, std::function<bool(HWND)> matches) {
  Search search{std::move(matches)};
  EnumThreadWindows(thread, Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Ended(HWND dialog) {
  return !IsWindow(dialog) || !IsWindowVisible(dialog);
}

// Enter on a message box: its default button.
void PressDefaultButton(HWND box) {
  DWORD_PTR answer = 0;
  const bool has =
      SendMessageTimeoutA(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, kReplyMilliseconds, &answer) &&
      HIWORD(answer) == DC_HASDEFID;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(has ? LOWORD(answer) : IDOK, BN_CLICKED), 0);
}

}  // namespace

FolderNameAnswerer::FolderNameAnswerer(DWORD thread, std::string caption,
                                       platform::FolderNameAnswers answers)
    : thread_(thread),
      caption_(std::move(caption)),
      answers_(std::move(answers)),
      watcher_([this] { Watch(); }) {}

FolderNameAnswerer::~FolderNameAnswerer() {
  stop_ = true;
  watcher_.join();
}

std::vector<std::string> FolderNameAnswerer::TakeLines() {
  // A dialog that has just ended may not have had its last line yet.
  WaitUntil([this] { return !answering_; });
  const std::lock_guard lock(linesMutex_);
  return std::exchange(lines_, {});
}

void FolderNameAnswerer::Say(std::string line) {
  const std::lock_guard lock(linesMutex_);
  lines_.push_back(std::move(line));
}

void FolderNameAnswerer::Watch() {
  while (!stop_) {
    const HWND dialog =
        FindDialog(thread_, [this](HWND window) { return TextOf(window) == caption_; });
    if (dialog != nullptr) {
      answering_ = true;
      Answer(dialog);
      answering_ = false;
    }
    Sleep(kPollMilliseconds);
  }
}

void FolderNameAnswerer::Answer(HWND dialog) {
  // The first static control is the description, made before the label.
  Say("[" + caption_ + "] " + TextOf(FindWindowExA(dialog, nullptr, "Static", nullptr)));
  const std::string proposed = TextOf(FindWindowExA(dialog, nullptr, "Edit", nullptr));
  const std::optional<std::string> name =
      answers_.Play(proposed, [&](const std::string& offered) { return Offer(dialog, offered); });
  if (!name && !Ended(dialog)) {
    // Escape: the dialog has no Cancel button, but a window can always be got rid of.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  Say("[" + caption_ + "] " + (name ? "OK: " + *name : std::string("closed without OK")));
  // Not to be met again while it goes.
  WaitUntil([dialog] { return !IsWindow(dialog); });
}

bool FolderNameAnswerer::Offer(HWND dialog, const std::string& name) {
  if (Ended(dialog)) return false;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(FindWindowExA(dialog, nullptr, "Edit", nullptr), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(name.c_str()), SMTO_ABORTIFHUNG, kReplyMilliseconds,
                      &ignored);
  // Posted: the dialog's answer to OK may be a modal message box, which this thread must be
  // free to close.
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  HWND refusal = nullptr;
  WaitUntil([&] {
    if (Ended(dialog)) return true;
    refusal = FindDialog(thread_, [dialog](HWND window) { return window != dialog; });
    return refusal != nullptr;
  });
  if (Ended(dialog)) return true;
  if (refusal == nullptr) return false;  // neither taken nor refused: the next answer is tried
  Say("[" + TextOf(refusal) + "] " + TextOf(GetDlgItem(refusal, kMessageBoxTextId)));
  PressDefaultButton(refusal);
  WaitUntil([refusal] { return !IsWindow(refusal); });
  return false;
}

}  // namespace gwsync
