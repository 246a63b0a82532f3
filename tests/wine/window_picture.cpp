#include "tests/wine/window_picture.h"

#include <fstream>

#include "platform/win32/ole_owners.h"

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

}  // namespace

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

}  // namespace platform::win32::test
