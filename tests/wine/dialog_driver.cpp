#include "tests/wine/dialog_driver.h"

#include <cctype>
#include <utility>

namespace platform::win32::test {
namespace {

constexpr DWORD kPollMilliseconds = 10;
constexpr DWORD kShowMilliseconds = 10000;
constexpr DWORD kSettleMilliseconds = 2000;
constexpr DWORD kEndMilliseconds = 10000;

// Whether `condition` came true within the time.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMilliseconds);
  }
  return true;
}

DWORD ThreadOf(HWND window) {
  return GetWindowThreadProcessId(window, nullptr);
}

// Where the keyboard's messages would go: the focus, or the dialog when it has none.
HWND KeyTarget(HWND dialog) {
  HWND focus = FocusOn(ThreadOf(dialog));
  return focus != nullptr ? focus : dialog;
}

bool FocusIsIn(HWND dialog) {
  HWND focus = FocusOn(ThreadOf(dialog));
  return focus != nullptr && (focus == dialog || IsChild(dialog, focus));
}

struct DialogSearch {
  const std::string& caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<DialogSearch*>(data);
  if (IsWindowVisible(window) && ClassName(window) == "#32770" &&
      WindowText(window) == search.caption) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

constexpr LPARAM kAltDown = LPARAM{1} << 29;
constexpr LPARAM kKeyReleased = (LPARAM{1} << 31) | (LPARAM{1} << 30);

}  // namespace

std::string WindowText(HWND window) {
  char text[2048];
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

std::string ClassName(HWND window) {
  char name[64];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

HWND FindDialog(DWORD thread, const std::string& caption) {
  DialogSearch search{caption, nullptr};
  EnumThreadWindows(thread, MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FocusOn(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

DialogDriver::DialogDriver(DWORD thread, std::string caption, std::vector<Step> steps)
    : thread_(thread),
      caption_(std::move(caption)),
      steps_(std::move(steps)),
      driver_([this] { Drive(); }) {}

DialogDriver::~DialogDriver() {
  Finish();
}

DialogDriver::Outcome DialogDriver::Finish() {
  returned_ = true;
  if (driver_.joinable()) driver_.join();
  return outcome_;
}

void DialogDriver::Drive() {
  HWND dialog = nullptr;
  // Once the call has returned, no dialog of it is coming any more.
  if (!WaitUntil([&] { return (dialog = FindDialog(thread_, caption_)) != nullptr || returned_; },
                 kShowMilliseconds) ||
      dialog == nullptr) {
    return;
  }
  outcome_.appeared = true;
  // Visible comes a moment before active, and the focus is only settled then.
  WaitUntil([&] { return FocusIsIn(dialog); }, kSettleMilliseconds);
  for (const Step& step : steps_)
    step(dialog);
  if (WaitUntil([&] { return !IsWindow(dialog); }, kEndMilliseconds)) return;
  outcome_.leftOpen = true;
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  WaitUntil([&] { return !IsWindow(dialog); }, kEndMilliseconds);
}

Step Type(std::string text) {
  return [text = std::move(text)](HWND dialog) {
    HWND target = KeyTarget(dialog);
    for (char c : text)
      PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
  };
}

Step Press(UINT key) {
  return [key](HWND dialog) {
    HWND target = KeyTarget(dialog);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 1 | kKeyReleased);
  };
}

Step PressAlt(char letter) {
  return [letter](HWND dialog) {
    HWND target = KeyTarget(dialog);
    const auto upper = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(letter)));
    const auto lower = static_cast<WPARAM>(std::tolower(static_cast<unsigned char>(letter)));
    PostMessageA(target, WM_SYSKEYDOWN, upper, 1 | kAltDown);
    PostMessageA(target, WM_SYSCHAR, lower, 1 | kAltDown);
    PostMessageA(target, WM_SYSKEYUP, upper, 1 | kAltDown | kKeyReleased);
    WaitUntil([&] { return FocusOn(ThreadOf(dialog)) != target; }, kSettleMilliseconds);
  };
}

Step PressAltF4() {
  return [](HWND dialog) {
    HWND target = KeyTarget(dialog);
    PostMessageA(target, WM_SYSKEYDOWN, VK_F4, 1 | kAltDown);
    PostMessageA(target, WM_SYSKEYUP, VK_F4, 1 | kAltDown | kKeyReleased);
  };
}

Step Click(int id) {
  return [id](HWND dialog) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
}

Step Focus(int id) {
  return [id](HWND dialog) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
  };
}

Step Post(UINT message) {
  return [message](HWND dialog) { PostMessageA(dialog, message, 0, 0); };
}

Step Send(UINT message) {
  return [message](HWND dialog) { SendMessageA(dialog, message, 0, 0); };
}

Step CloseOwner() {
  return [](HWND dialog) { PostMessageA(GetWindow(dialog, GW_OWNER), WM_CLOSE, 0, 0); };
}

Step WaitFor(std::string caption) {
  return [caption = std::move(caption)](HWND dialog) {
    WaitUntil([&] { return FindDialog(ThreadOf(dialog), caption) != nullptr; }, kShowMilliseconds);
  };
}

Step Answer(std::string caption) {
  return [caption = std::move(caption)](HWND dialog) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindDialog(ThreadOf(dialog), caption)) != nullptr; },
                   kShowMilliseconds)) {
      return;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindow(box); }, kEndMilliseconds);
    WaitUntil([&] { return FocusIsIn(dialog); }, kSettleMilliseconds);
  };
}

}  // namespace platform::win32::test
