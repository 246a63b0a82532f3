// Shows the folder-name dialog with the plug-in's own texts and saves what the screen shows of
// it as a 24-bit BMP, for the documentation. capture-folder-name-dialog.sh runs it and makes
// the PNG.
// Usage: folder_name_dialog_capture.exe OUTPUT.bmp

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/ole_owners.h"
#include "platform/win32/win32_user_interface.h"
#include "tests/wine/dialog_driver.h"

namespace platform::win32::test {
namespace {

void ReleaseScreenDc(HDC dc) {
  ReleaseDC(nullptr, dc);
}
using ScreenDc = UniqueHandle<HDC, &ReleaseScreenDc>;
using MemoryDc = UniqueHandle<HDC, &DeleteDC>;
using Bitmap = UniqueHandle<HBITMAP, &DeleteObject>;

class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

template <typename T>
void Write(std::ofstream& out, const T& value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

// The screen under the window's rectangle, frame included.
bool SavePicture(HWND window, const std::string& path) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files are read
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  header.biSizeImage = stride * static_cast<DWORD>(height);

  ScreenDc screen(GetDC(nullptr));
  MemoryDc memory(CreateCompatibleDC(screen.Get()));
  void* bits = nullptr;
  Bitmap picture(CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(&header),
                                  DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !picture) return false;
  {
    Selection selected(memory.Get(), picture.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) {
      return false;
    }
  }
  GdiFlush();

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  Write(out, file);
  Write(out, header);
  out.write(static_cast<const char*>(bits), header.biSizeImage);
  return static_cast<bool>(out);
}

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
