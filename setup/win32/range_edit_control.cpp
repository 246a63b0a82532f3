#include "setup/win32/range_edit_control.h"

#include <commctrl.h>

#include "platform/exception.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

RangeEditControl::~RangeEditControl() {
  if (edit_ != nullptr) RemoveWindowSubclass(edit_, &RangeEditControl::Subclass, 0);
}

void RangeEditControl::Attach(HWND page, int editId, int spinId) {
  edit_ = GetDlgItem(page, editId);
  HWND spin = GetDlgItem(page, spinId);
  if (edit_ == nullptr || !SetWindowSubclass(edit_, &RangeEditControl::Subclass, 0,
                                             reinterpret_cast<DWORD_PTR>(this))) {
    edit_ = nullptr;
    throw platform::Exception("Cannot take over the numeric field " + std::to_string(editId));
  }
  SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(model_.Minimum()),
               static_cast<LPARAM>(model_.Maximum()));
  SendMessageW(spin, UDM_SETPOS32, 0, model_.Position());
  SetControlText(page, editId, model_.Text());
}

LRESULT CALLBACK RangeEditControl::Subclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
  if (message == kReflectedCommand && HIWORD(wParam) == EN_CHANGE) {
    reinterpret_cast<RangeEditControl*>(self)->TextChanged();
    return 1;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, &RangeEditControl::Subclass, 0);
  return DefSubclassProc(edit, message, wParam, lParam);
}

void RangeEditControl::TextChanged() {
  HWND page = GetParent(edit_);
  const std::u16string text = ReadControlText(page, GetDlgCtrlID(edit_));
  Show(model_.TextChanged(text, pageInitialised_(),
                          reinterpret_cast<platform::WindowHandle>(GetParent(page))));
}

void RangeEditControl::Show(const CRangeEdit::Update& update) {
  if (update.text) {
    // The edit's next EN_CHANGE brings this very text back, which the model takes as it is.
    SetControlText(GetParent(edit_), GetDlgCtrlID(edit_), *update.text);
    const auto length = static_cast<WPARAM>(update.text->size());
    switch (update.caret) {
      case CRangeEdit::Caret::kStart:
        SendMessageW(edit_, EM_SETSEL, 0, 0);
        break;
      case CRangeEdit::Caret::kEnd:
        SendMessageW(edit_, EM_SETSEL, length, static_cast<LPARAM>(length));
        break;
      case CRangeEdit::Caret::kSelectAll:
        SendMessageW(edit_, EM_SETSEL, 0, -1);
        break;
      case CRangeEdit::Caret::kKeep:
        break;
    }
  }
}

}  // namespace setup::win32
