#pragma once

// CRangeEdit on a page: an edit control with an up-down control of the same range beside it,
// the edit subclassed so that it answers its own changes through the numeric field's model
// (setup/common/range_edit.h). The page reflects its controls' notifications to them
// (property_page.h); on EN_CHANGE the subclass hands the model the text and puts back what the
// model says with the caret where it says. The up-down control sets the edit's text itself
// (UDS_SETBUDDYINT), starting from the number the edit shows, so every change of either comes
// through the model. The page's value is the model's Position().

#include "platform/win32/windows_api.h"

#include <functional>

#include "setup/common/range_edit.h"

namespace setup::win32 {

class RangeEditControl {
 public:
  // `pageInitialised` says whether the page has been filled: only then is an emptied text put
  // back. Both must outlive the control.
  RangeEditControl(CRangeEdit& model, std::function<bool()> pageInitialised)
      : model_(model), pageInitialised_(std::move(pageInitialised)) {}
  ~RangeEditControl();
  RangeEditControl(const RangeEditControl&) = delete;
  RangeEditControl& operator=(const RangeEditControl&) = delete;

  // Takes over the edit `editId` and the up-down control `spinId` of `page` and shows the
  // model's text. Raises platform::Exception when the edit cannot be subclassed.
  void Attach(HWND page, int editId, int spinId);

 private:
  static LRESULT CALLBACK Subclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  void TextChanged();
  void Show(const CRangeEdit::Update& update);

  CRangeEdit& model_;
  std::function<bool()> pageInitialised_;
  HWND edit_ = nullptr;
};

}  // namespace setup::win32
