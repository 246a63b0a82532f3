#include "tests/setupcom/sheet_steps.h"

#include <commctrl.h>
#include <prsht.h>

namespace setup::test {
namespace {

using platform::win32::test::ClassName;
using platform::win32::test::WindowText;

constexpr DWORD kPollMilliseconds = 10;

struct Search {
  const std::string& caption;
  HWND except;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (window != search.except && IsWindowVisible(window) && ClassName(window) == "#32770" &&
      WindowText(window) == search.caption) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND ControlOnPage(HWND sheet, int id) {
  return GetDlgItem(CurrentPage(sheet), id);
}

DWORD ThreadOf(HWND window) {
  return GetWindowThreadProcessId(window, nullptr);
}

}  // namespace

HWND WaitForOtherDialog(DWORD thread, const std::string& caption, HWND except, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    Search search{caption, except, nullptr};
    EnumThreadWindows(thread, Match, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || GetTickCount64() >= end) return search.found;
    Sleep(kPollMilliseconds);
  }
}

std::string MessageText(HWND box) {
  // A message box's text is its static control 0xFFFF.
  return WindowText(GetDlgItem(box, 0xFFFF));
}

HWND CurrentPage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

Step AnswerMessage(std::string caption, int button, std::vector<std::string>* texts) {
  return [caption = std::move(caption), button, texts](HWND sheet) {
    HWND box = WaitForOtherDialog(ThreadOf(sheet), caption, sheet);
    if (box == nullptr) {
      texts->push_back("(no message box)");
      return;
    }
    texts->push_back(MessageText(box));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    const ULONGLONG end = GetTickCount64() + 10000;
    while (IsWindow(box) && GetTickCount64() < end)
      Sleep(kPollMilliseconds);
  };
}

Step SelectPage(int index) {
  return [index](HWND sheet) {
    PostMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    Sleep(300);
  };
}

Step TypeInto(int id, std::wstring text) {
  return [id, text = std::move(text)](HWND sheet) {
    HWND control = ControlOnPage(sheet, id);
    PostMessageW(control, EM_SETSEL, 0, -1);
    if (text.empty()) PostMessageW(control, WM_CHAR, VK_BACK, 1);
    for (wchar_t c : text)
      PostMessageW(control, WM_CHAR, c, 1);
  };
}

Step ClickOnPage(int id) {
  return [id](HWND sheet) { PostMessageW(ControlOnPage(sheet, id), BM_CLICK, 0, 0); };
}

Step KeyOnPage(int id, UINT key) {
  return [id, key](HWND sheet) {
    HWND control = ControlOnPage(sheet, id);
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
  };
}

Step PressSheetButton(int button) {
  return [button](HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, button, 0); };
}

Step Pause(DWORD milliseconds) {
  return [milliseconds](HWND) { Sleep(milliseconds); };
}

Step OnPage(std::function<void(HWND sheet, HWND page)> inspect) {
  return [inspect = std::move(inspect)](HWND sheet) { inspect(sheet, CurrentPage(sheet)); };
}

}  // namespace setup::test
