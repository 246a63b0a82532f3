#include "comserver/about_dialog.h"

#include "comserver/about_resources.h"
#include "platform/exception.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"

namespace comserver {
namespace {

using UniqueFont = platform::win32::UniqueHandle<HFONT, &DeleteObject>;

struct DialogState {
  const AboutForm& form;
  HBITMAP picture;
  WaitCursor& wait;
  UniqueFont boldFont;  // the title's; must outlive the dialog's controls
};

// The dialog's own font, made bold.
UniqueFont BoldFontOf(HWND dialog) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA description{};
  if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) return {};
  description.lfWeight = FW_BOLD;
  return UniqueFont(CreateFontIndirectA(&description));
}

void OnInitDialog(HWND dialog, DialogState& state) noexcept {
  SetDlgItemTextA(dialog, IDC_ABOUT_TITLE, state.form.title.c_str());
  SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, state.form.versionLine.c_str());
  SetDlgItemTextA(dialog, IDC_ABOUT_INFO, state.form.info.c_str());
  state.boldFont = BoldFontOf(dialog);
  if (state.boldFont) {
    SendDlgItemMessageA(dialog, IDC_ABOUT_TITLE, WM_SETFONT,
                        reinterpret_cast<WPARAM>(state.boldFont.Get()), FALSE);
  }
  SendDlgItemMessageA(dialog, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(state.picture));
  state.wait.Restore();
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

void RunAboutDialog(HMODULE module, const AboutForm& form, HBITMAP picture, WaitCursor& wait) {
  DialogState state{form, picture, wait, {}};
  const INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_ABOUT_PLUGIN), nullptr,
                                         AboutDialogProc, reinterpret_cast<LPARAM>(&state));
  if (result == -1 || result == 0) {
    throw platform::Exception("Cannot show the about dialog: " +
                              platform::win32::DescribeHResult(HRESULT_FROM_WIN32(GetLastError())));
  }
}

}  // namespace comserver
