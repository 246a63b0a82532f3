#include "tools/gwsync/com_message_answerer.h"

#include <set>
#include <utility>

namespace gwsync {
namespace {

constexpr DWORD kPollMilliseconds = 20;
// A message box's text is its static control of this id.
constexpr int kMessageTextId = 0xFFFF;

std::string TextOf(HWND window) {
  char text[4096];
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

struct Search {
  const std::string& caption;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  char name[16];
  const int length = GetClassNameA(window, name, sizeof name);
  if (IsWindowVisible(window) && std::string(name, length > 0 ? length : 0) == "#32770" &&
      GetDlgItem(window, kMessageTextId) != nullptr && TextOf(window) == search.caption) {
    search.found.push_back(window);
  }
  return TRUE;
}

}  // namespace

MessageAnswerer::MessageAnswerer(DWORD thread, std::string caption)
    : thread_(thread), caption_(std::move(caption)), watcher_([this] { Watch(); }) {}

MessageAnswerer::~MessageAnswerer() {
  stop_ = true;
  if (watcher_.joinable()) watcher_.join();
}

std::vector<std::string> MessageAnswerer::TakeLines() {
  std::lock_guard lock(linesMutex_);
  return std::exchange(lines_, {});
}

void MessageAnswerer::Watch() {
  std::set<HWND> answered;
  while (!stop_) {
    Search search{caption_, {}};
    EnumThreadWindows(thread_, Collect, reinterpret_cast<LPARAM>(&search));
    std::erase_if(answered, [](HWND window) { return !IsWindow(window); });
    for (HWND box : search.found) {
      if (!answered.insert(box).second) continue;
      {
        std::lock_guard lock(linesMutex_);
        lines_.push_back("[" + caption_ + "] " + TextOf(GetDlgItem(box, kMessageTextId)));
      }
      // The default button, as Enter presses it.
      const LRESULT defaultId = SendMessageA(box, DM_GETDEFID, 0, 0);
      const WORD button = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    Sleep(kPollMilliseconds);
  }
}

}  // namespace gwsync
