#include "tests/com/window_watcher.h"

namespace comserver::test {
namespace {

constexpr DWORD kPollMilliseconds = 20;

std::string ClassName(HWND window) {
  char name[64];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM texts) {
  if (_stricmp(ClassName(child).c_str(), "Static") == 0) {
    std::string text = WindowText(child);
    if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
  }
  return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
  char text[2048];
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

WindowWatcher::WindowWatcher(Inspector inspect)
    : inspect_(std::move(inspect)), thread_([this] { Watch(); }) {}

WindowWatcher::~WindowWatcher() {
  Stop();
}

std::vector<WindowWatcher::Seen> WindowWatcher::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void WindowWatcher::Watch() {
  while (!stop_) {
    // A closed window's handle may come back for a new one; it is a new window then.
    std::erase_if(handled_, [](HWND window) { return !IsWindow(window); });
    EnumWindows(HandleWindow, reinterpret_cast<LPARAM>(this));
    Sleep(kPollMilliseconds);
  }
}

BOOL CALLBACK WindowWatcher::HandleWindow(HWND window, LPARAM self) {
  reinterpret_cast<WindowWatcher*>(self)->Handle(window);
  return TRUE;
}

void WindowWatcher::Handle(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  // Dialogs become visible only when their controls are filled in.
  if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
      ClassName(window) != "#32770" || handled_.contains(window)) {
    return;
  }
  handled_.insert(window);
  Seen seen{WindowText(window), {}};
  EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&seen.texts));
  seen_.push_back(std::move(seen));
  if (inspect_) inspect_(window);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace comserver::test
