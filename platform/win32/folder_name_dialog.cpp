#include "platform/win32/folder_name_dialog.h"

#include <cstring>
#include <exception>
#include <vector>

#include "platform/exception.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The layout is in pixels of the client area, as the plug-in has always drawn it; dialog units
// would move the controls with the font, so the template only gives the frame and the font and
// the controls are placed by hand.
struct Placement {
  int left;
  int top;
  int width;
  int height;
};
constexpr int kClientWidth = 363;
constexpr int kClientHeight = 131;
constexpr Placement kDescriptionPlace{8, 8, 345, 49};
constexpr Placement kLabelPlace{8, 72, 61, 13};
constexpr Placement kNamePlace{76, 68, 281, 21};
constexpr Placement kOkPlace{283, 99, 75, 25};

constexpr int kDescriptionId = 100;
constexpr int kLabelId = 101;
constexpr int kNameId = 102;

// No WS_SYSMENU: the dialog has no system menu and no close box, only OK.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
constexpr WORD kFontPoints = 8;
constexpr wchar_t kFontName[] = L"MS Shell Dlg";

// An empty dialog with the system's dialog font. The caption is 8-bit text, so it is set once
// the window exists rather than converted into the template's UTF-16. A vector's storage is
// aligned enough for the template's DWORDs.
std::vector<WORD> DialogTemplate() {
  static_assert(sizeof(DLGTEMPLATE) % sizeof(WORD) == 0);
  DLGTEMPLATE header{};
  header.style = kDialogStyle;
  std::vector<WORD> words(sizeof header / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  words.push_back(0);  // no title yet
  words.push_back(kFontPoints);
  for (wchar_t c : kFontName)  // the name's terminating NUL included
    words.push_back(static_cast<WORD>(c));
  return words;
}

std::string LastErrorText() {
  return DescribeHResult(HRESULT_FROM_WIN32(GetLastError()));
}

std::string TextOf(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), text.size())));
  return text;
}

// Clears a flag however the scope is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  ~FlagScope() { flag_ = false; }

 private:
  bool& flag_;
};

class FolderNameDialog {
 public:
  FolderNameDialog(UserInterface& ui, const FolderNameDialogTexts& texts,
                   const std::string& proposed, const AcceptFolderName& accept)
      : ui_(ui), texts_(texts), proposed_(proposed), accept_(accept) {}

  std::optional<std::string> Run(HWND owner) {
    const std::vector<WORD> layout = DialogTemplate();
    const INT_PTR result = DialogBoxIndirectParamA(
        ModuleOfThisCode(), reinterpret_cast<const DLGTEMPLATE*>(layout.data()), owner,
        &FolderNameDialog::Procedure, reinterpret_cast<LPARAM>(this));
    if (failure_) std::rethrow_exception(failure_);
    // One that never opened has failed; one that opened and went with its owner has no name.
    if (!opened_) throw Exception("Cannot show the folder name dialog: " + LastErrorText());
    if (result != IDOK) return std::nullopt;
    return name_;
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<FolderNameDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    try {
      return self->Handle(dialog, message, wParam);
    } catch (...) {
      self->failure_ = std::current_exception();
      self->Close(dialog);
      return TRUE;
    }
  }

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
      case WM_INITDIALOG:
        Open(dialog);
        return FALSE;  // the name box has the focus already
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) Ok(dialog);
        // Escape, or the window closed (the dialog manager makes both IDCANCEL): there is no
        // Cancel button, but a window can always be got rid of, and that is not OK.
        if (LOWORD(wParam) == IDCANCEL) Close(dialog);
        return TRUE;
      default:
        return FALSE;
    }
  }

  void Open(HWND dialog) {
    opened_ = true;
    SetWindowTextA(dialog, texts_.caption.c_str());
    Place(dialog);

    auto font = static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (font == 0) font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const auto add = [&](const char* type, const std::string& text, DWORD style, DWORD extended,
                         const Placement& place, int id) {
      // The dialog destroys its children with itself.
      HWND control = CreateWindowExA(extended, type, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                     place.left, place.top, place.width, place.height, dialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ModuleOfThisCode(), nullptr);
      if (control == nullptr) {
        throw Exception("Cannot create the folder name dialog: " + LastErrorText());
      }
      SendMessageA(control, WM_SETFONT, font, FALSE);
      return control;
    };
    // Creation order is tab order: the label's "&" key moves the focus to the next control
    // that takes it, which must be the name box; the description is prose, its "&" no key.
    add("STATIC", texts_.description, SS_LEFT | SS_NOPREFIX, 0, kDescriptionPlace, kDescriptionId);
    add("STATIC", texts_.label, SS_LEFTNOWORDWRAP, 0, kLabelPlace, kLabelId);
    HWND name =
        add("EDIT", proposed_, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kNamePlace, kNameId);
    add("BUTTON", "&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kOkPlace, IDOK);
    // Not every system looks for a default button among controls made after the template.
    SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    SelectName(name);

    ui_.Beep(mb::kOk);
    ui_.PumpMessages();
  }

  // The client area has its fixed size whatever the frame's, and the whole window is centred
  // on the screen.
  static void Place(HWND dialog) {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Typing replaces the whole name, the way the user expects after being asked for one.
  static void SelectName(HWND name) {
    SetFocus(name);
    SendMessageA(name, EM_SETSEL, 0, -1);
  }

  void Ok(HWND dialog) {
    // accept may show a message box that does not disable this dialog; another OK meanwhile
    // waits for its answer rather than asking twice.
    if (accepting_ || closing_) return;
    HWND name = GetDlgItem(dialog, kNameId);
    std::string text = TextOf(name);
    bool taken;
    {
      FlagScope busy(accepting_);
      taken = accept_(text);
    }
    // The window may have been closed while accept's message box was up: that stands.
    if (closing_) return;
    if (!taken) {
      SelectName(name);
      return;
    }
    name_ = std::move(text);
    EndDialog(dialog, IDOK);
  }

  void Close(HWND dialog) {
    closing_ = true;
    EndDialog(dialog, IDCANCEL);
  }

  UserInterface& ui_;
  const FolderNameDialogTexts& texts_;
  const std::string& proposed_;
  const AcceptFolderName& accept_;
  bool opened_ = false;
  bool accepting_ = false;
  bool closing_ = false;
  std::string name_;
  std::exception_ptr failure_;
};

}  // namespace

std::optional<std::string> RunFolderNameDialog(UserInterface& ui, WindowHandle owner,
                                               const FolderNameDialogTexts& texts,
                                               const std::string& proposed,
                                               const AcceptFolderName& accept) {
  FolderNameDialog dialog(ui, texts, proposed, accept);
  return dialog.Run(reinterpret_cast<HWND>(owner));
}

}  // namespace platform::win32
