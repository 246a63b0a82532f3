#include "setup/win32/settings_sheet.h"

#include "platform/exception.h"
#include "platform/win32/wide_text.h"

namespace setup::win32 {
namespace {

void MoveLeft(HWND sheet, int id, int pixels) {
  HWND button = GetDlgItem(sheet, id);
  RECT place;
  if (button == nullptr || !GetWindowRect(button, &place)) return;
  MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&place), 2);
  SetWindowPos(button, nullptr, place.left - pixels, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK SheetOpened(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) {
    MoveLeft(sheet, IDOK, kOkButtonShift);
    MoveLeft(sheet, IDCANCEL, kCancelButtonShift);
    MoveLeft(sheet, IDHELP, kHelpButtonShift);
  }
  return 0;
}

}  // namespace

bool RunSettingsSheet(HWND owner, const std::u16string& caption,
                      const std::vector<std::unique_ptr<PropertyPage>>& pages) {
  std::vector<HPROPSHEETPAGE> handles;
  for (const auto& page : pages)
    handles.push_back(page->Handle());
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_NOAPPLYNOW | PSH_HASHELP | PSH_USECALLBACK;
  header.hwndParent = owner;
  header.pszCaption = platform::win32::AsWide(caption.c_str());
  header.nPages = static_cast<UINT>(handles.size());
  header.phpage = handles.data();
  header.pfnCallback = &SheetOpened;
  const INT_PTR result = PropertySheetW(&header);
  for (const auto& page : pages) {
    if (std::exception_ptr failure = page->TakeFailure()) std::rethrow_exception(failure);
  }
  if (result < 0) throw platform::Exception("Cannot show the settings sheet");
  return result > 0;
}

}  // namespace setup::win32
