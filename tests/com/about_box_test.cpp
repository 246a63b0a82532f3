// The AboutBox export under a display: the dialog's content and shape, and the failures that
// show only a message box. Every window is found and closed by WindowWatcher.
//
// Each failure case loads a copy of pimsync.dll in a folder of its own, with or without a
// .DLR library beside it; the complete case loads the build's own, next to pimsync.DLR.

#include <gtest/gtest.h>

#include "comserver/about_resources.h"
#include "tests/com/com_test_support.h"
#include "tests/com/window_watcher.h"

namespace comserver::test {
namespace {

constexpr char kLoadFailureCaption[] = "FWRES Exception in LoadDLR";
constexpr char kAboutFailureCaption[] = "Frameworks AboutBox Exception";

// Loads the module and calls its AboutBox export `calls` times.
void CallAboutBox(const std::string& dll, int calls) {
  platform::win32::UniqueModule module(LoadLibraryA(dll.c_str()));
  ASSERT_TRUE(module) << dll << ": " << GetLastError();
  using Function = void(WINAPI*)();
  auto aboutBox =
      reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module.Get(), "AboutBox")));
  ASSERT_NE(aboutBox, nullptr);
  for (int i = 0; i < calls; ++i)
    aboutBox();
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts)
    joined += "[" + text + "]";
  return joined;
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the about box needs a display: run the tests under xvfb-run -a "
           "(scripts/test-all.sh does)";
  }
};

TEST_F(AboutBoxTest, WithoutItsPictureOnlyTheFailureIsShown) {
  // What each window must say; "%F" stands for the folder of the module's copy.
  struct Window {
    const char* caption;
    const char* text;
  };
  const Window loadFailure{kLoadFailureCaption, "DLR library module [%F\\pimsync.DLR] does not"};
  const Window noPicture{kAboutFailureCaption,
                         "Bitmap resource 102 not found in [%F\\pimsync.DLR]"};
  const struct {
    const char* row;
    const char* libraryAs;  // the test library's name beside the copy; null for none
    int calls;
    std::vector<Window> want;
  } cases[] = {
      // The missing library is announced once per load of the module, not once per call.
      {"no .DLR library", nullptr, 2, {loadFailure, noPicture, noPicture}},
      {"a .DLR library without the picture", "pimsync.DLR", 1, {noPicture}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    TempFolder folder;
    folder.CopyFromRuntime("pimsync.dll", "pimsync.dll");
    if (c.libraryAs != nullptr) folder.CopyFromRuntime("about_without_picture.DLR", c.libraryAs);

    WindowWatcher watcher;
    CallAboutBox(folder.Path() + "\\pimsync.dll", c.calls);
    const std::vector<WindowWatcher::Seen> seen = watcher.Stop();

    ASSERT_EQ(seen.size(), c.want.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
      SCOPED_TRACE(seen[i].caption + " " + Joined(seen[i].texts));
      EXPECT_EQ(seen[i].caption, c.want[i].caption);
      std::string want = c.want[i].text;
      want.replace(want.find("%F"), 2, folder.Path());
      const std::string text = Joined(seen[i].texts);
      EXPECT_TRUE(SamePath(text.substr(0, want.size() + 1), "[" + want)) << "want " << want;
    }
  }
}

LONG FontWeight(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  LOGFONTA description{};
  return font != nullptr && GetObjectA(font, sizeof description, &description) != 0
             ? description.lfWeight
             : 0;
}

POINT CenterOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The about text as the build's .DLR library holds it, read without the module's help.
std::string LibraryString(int id) {
  platform::win32::UniqueModule library(
      LoadLibraryExA(RuntimeFile("pimsync.DLR").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  char text[2048];
  const int length = library ? LoadStringA(library.Get(), id, text, sizeof text) : 0;
  return std::string(text, length > 0 ? length : 0);
}

// Checked on the watcher's thread while the dialog is open; GoogleTest records failures from
// any thread.
void CheckAboutDialog(HWND dialog, const std::string& info) {
  const auto text = [&](int id) { return WindowText(GetDlgItem(dialog, id)); };
  EXPECT_EQ(text(IDC_ABOUT_TITLE), "Pairmate Z380 - Novell GroupWise Edition");
  EXPECT_NE(text(IDC_ABOUT_VERSION).find(GWS_FILE_VERSION), std::string::npos)
      << text(IDC_ABOUT_VERSION);
  EXPECT_EQ(text(IDC_ABOUT_INFO), info);
  EXPECT_GE(FontWeight(GetDlgItem(dialog, IDC_ABOUT_TITLE)), FW_BOLD);
  EXPECT_LT(FontWeight(GetDlgItem(dialog, IDC_ABOUT_VERSION)), FW_BOLD);

  // The picture keeps its frame's size: the 96-pixel bitmap stretched, not the frame shrunk.
  HWND picture = GetDlgItem(dialog, IDC_ABOUT_PICTURE);
  EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  RECT frame;
  RECT units{0, 0, 72, 96};  // the frame's size in the template, in dialog units
  GetWindowRect(picture, &frame);
  MapDialogRect(dialog, &units);
  EXPECT_EQ(frame.right - frame.left, units.right);
  EXPECT_EQ(frame.bottom - frame.top, units.bottom);

  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME, 0) << "a resizable border";
  RECT window;
  RECT work;
  GetWindowRect(dialog, &window);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(CenterOf(window).x, CenterOf(work).x, 1);
  EXPECT_NEAR(CenterOf(window).y, CenterOf(work).y, 1);
}

TEST_F(AboutBoxTest, ShowsTheDialogWithTheModulesTextVersionAndPicture) {
  const std::string info = LibraryString(2);
  ASSERT_FALSE(info.empty());
  WindowWatcher watcher([&](HWND window) {
    if (WindowText(window) == "About...") CheckAboutDialog(window, info);
  });
  CallAboutBox(RuntimeFile("pimsync.dll"), 1);
  const std::vector<WindowWatcher::Seen> seen = watcher.Stop();

  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "About...") << Joined(seen[0].texts);
  EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_WAIT)) << "the hourglass stayed";
}

}  // namespace
}  // namespace comserver::test
