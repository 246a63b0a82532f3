#pragma once

// What the screen shows of a window, saved as a 24-bit BMP file: how the documentation's
// pictures of dialogs are made (the scripts turn the BMP into a PNG).

#include "platform/win32/windows_api.h"

#include <string>

namespace platform::win32::test {

// The screen under the window's rectangle, frame included; false when it cannot be saved.
bool SavePicture(HWND window, const std::string& path);

}  // namespace platform::win32::test
