// Shows the folder-name dialog with the plug-in's own texts and saves what the screen shows of
// it as a 24-bit BMP, for the documentation. capture-folder-name-dialog.sh runs it and makes
// the PNG.
// Usage: folder_name_dialog_capture.exe OUTPUT.bmp

#include <cstdio>
#include <string>

#include "platform/win32/ole_owners.h"
#include "platform/win32/win32_user_interface.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/window_picture.h"

namespace platform::win32::test {
namespace {

int Capture(const std::string& path) {
  const FolderNameDialogTexts texts{
      "New GroupWise folder name",
      "The plug-in will now create a new GroupWise folder to house the 'Sent' and 'Deleted' "
      "folders.  This is done only once.  Please enter the desired name for the folder below, "
      "and click OK to continue.",
      "&Folder name:"};
  bool saved = false;
  DialogDriver driver(GetCurrentThreadId(), texts.caption,
                      {[&](HWND dialog) {
                         // With no window manager, nothing tells Wine that its window is in
                         // front; draw the caption as the user would see it.
                         SendMessageA(dialog, WM_NCACTIVATE, TRUE, 0);
                         // Long enough for the controls and the caret to be drawn.
                         Sleep(1000);
                         saved = SavePicture(dialog, path);
                       },
                       Press(VK_ESCAPE)});
  Win32UserInterface ui;
  ui.AskFolderName(0, texts, "Z380", [](const std::string&) { return true; });
  if (!driver.Finish().appeared) {
    std::fprintf(stderr, "the dialog did not show\n");
    return 1;
  }
  if (!saved) {
    std::fprintf(stderr, "cannot save %s\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace platform::win32::test

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: folder_name_dialog_capture OUTPUT.bmp\n");
    return 2;
  }
  return platform::win32::test::Capture(argv[1]);
}
