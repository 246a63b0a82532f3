#pragma once

// Steps for the dialog driver (tests/wine/dialog_driver.h) that work a property sheet and the
// message boxes over it, the way the keyboard and the mouse would: everything that may open a
// modal window is posted, never sent, so the driver's thread is never held by it.
//
// The setup components' message boxes carry the sheet's own caption, so a message box is told
// from the sheet by being another window of that caption.

#include "platform/win32/windows_api.h"

#include <string>
#include <vector>

#include "tests/wine/dialog_driver.h"

namespace setup::test {

using platform::win32::test::Step;

// The visible dialog of the thread with this caption that is not `except`; null when none
// showed within the time.
HWND WaitForOtherDialog(DWORD thread, const std::string& caption, HWND except,
                        DWORD milliseconds = 10000);
// A message box's text.
std::string MessageText(HWND box);
// The page the sheet shows.
HWND CurrentPage(HWND sheet);

// Waits for a message box over the sheet, adds its text to `texts`, presses `button` (IDOK,
// IDYES, IDNO) and waits until it has gone.
Step AnswerMessage(std::string caption, int button, std::vector<std::string>* texts);
// Shows the sheet's page of that index.
Step SelectPage(int index);
// Replaces the text of a control of the current page, as typing over a selection does.
Step TypeInto(int id, std::wstring text);
// A click on a button of the current page.
Step ClickOnPage(int id);
// The arrow key pressed in a control of the current page (a unit list, a spin field).
Step KeyOnPage(int id, UINT key);
// OK, Cancel, Next, Back, Finish (PSBTN_...).
Step PressSheetButton(int button);
// Lets the dialog's thread take what was posted.
Step Pause(DWORD milliseconds = 300);
// Runs `inspect` with the current page.
Step OnPage(std::function<void(HWND sheet, HWND page)> inspect);

}  // namespace setup::test
