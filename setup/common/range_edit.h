#pragma once

// The numeric fields of the setup pages (CRangeEdit: an edit control with a spin button of the
// same range beside it), as a model: the text the control shows, the last valid number and
// the spin position, and what the control must do after each change of its text.
//
// How a Win32 dialog procedure uses it: on EN_CHANGE it reads the edit's text and calls
// TextChanged; when the update carries a text it puts that into the control (SetWindowTextW)
// and places the caret or selection as the update says. The control's next EN_CHANGE then
// comes back with that same text, which the model takes without a further change. The page's
// value is Position(), what the spin button shows.
//
// The rules, applied in this order each time the text has changed:
// 1. A text of two or more characters loses its leading zeros: it is cut to start at its first
//    digit 1 to 9, and a text of zeros only becomes "0"; a changed text is put back with the
//    caret at the start.
// 2. An empty text sets the last valid value to -1. On an initialised page the page then puts
//    back the text the field had before the change and selects it.
// 3. Otherwise the text is read as a decimal number: within the range it becomes the last
//    valid value; outside it (or no number at all) the text is replaced by the last valid
//    value (empty when that is negative), the caret goes to the end and the message names the
//    allowed range.

#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace setup {

class ProfileSession;

class CRangeEdit {
 public:
  enum class Caret { kKeep, kStart, kEnd, kSelectAll };
  // What the control must do after a change of its text: nothing when `text` is empty.
  struct Update {
    std::optional<std::u16string> text;
    Caret caret = Caret::kKeep;
  };

  // The message for an invalid entry is the component's string 121, the range ("1 - 30") and
  // its one-blank string; it is shown with the component's title. The last valid value starts
  // at the minimum. `session` must outlive the field.
  CRangeEdit(ProfileSession& session, int minimum, int maximum);

  // What filling the page shows: the value as the spin button takes it, held within the range
  // (a stored limit above the maximum shows the maximum). No message.
  void Fill(int value);
  // `pageInitialised`: the page has been filled, so an emptied text is put back (rule 2).
  Update TextChanged(std::u16string_view text, bool pageInitialised, platform::WindowHandle owner);

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int LastValid() const { return lastValid_; }
  // The spin button's position: the last number the field showed within its range.
  int Position() const { return position_; }
  const std::u16string& Text() const { return text_; }
  const std::string& InvalidMessage() const { return message_; }

 private:
  // Rules 1 and 3 on a text that is not empty.
  void TakeNumber(std::u16string text, Update& update, platform::WindowHandle owner);

  ProfileSession& session_;
  int minimum_;
  int maximum_;
  std::string message_;
  int lastValid_;
  int position_;
  std::u16string text_;
};

}  // namespace setup
