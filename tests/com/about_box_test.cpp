// The AboutBox export under a display: the dialog's content and shape, and the failures that
// show only a message box. Every window is found and closed by WindowWatcher.
//
// Each failure case loads a copy of pimsync.dll in a folder of its own, with or without a
// .DLR library beside it; the complete case loads the build's own, next to pimsync.DLR.

#include <gtest/gtest.h>

#include <optional>

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

// What the dialog showed, read while it was open.
struct AboutDialog {
  std::string title;
  std::string version;
  std::string info;
  LONG titleWeight = 0;
  LONG versionWeight = 0;
  bool hasPicture = false;
  SIZE pictureSize{};
  SIZE pictureTemplateSize{};
  LRESULT defaultId = 0;
  LONG style = 0;
  POINT center{};
  POINT workAreaCenter{};
};

LONG FontWeight(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  LOGFONTA description{};
  return font != nullptr && GetObjectA(font, sizeof description, &description) != 0
             ? description.lfWeight
             : 0;
}

AboutDialog Inspect(HWND dialog) {
  AboutDialog d;
  d.title = WindowText(GetDlgItem(dialog, IDC_ABOUT_TITLE));
  d.version = WindowText(GetDlgItem(dialog, IDC_ABOUT_VERSION));
  d.info = WindowText(GetDlgItem(dialog, IDC_ABOUT_INFO));
  d.titleWeight = FontWeight(GetDlgItem(dialog, IDC_ABOUT_TITLE));
  d.versionWeight = FontWeight(GetDlgItem(dialog, IDC_ABOUT_VERSION));
  HWND picture = GetDlgItem(dialog, IDC_ABOUT_PICTURE);
  d.hasPicture = SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
  RECT rect;
  GetWindowRect(picture, &rect);
  d.pictureSize = {rect.right - rect.left, rect.bottom - rect.top};
  RECT units{0, 0, 72, 96};  // the picture's size in the template, in dialog units
  MapDialogRect(dialog, &units);
  d.pictureTemplateSize = {units.right, units.bottom};
  d.defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  d.style = GetWindowLongA(dialog, GWL_STYLE);
  GetWindowRect(dialog, &rect);
  d.center = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  d.workAreaCenter = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
  return d;
}

// The about text as the build's .DLR library holds it, read without the module's help.
std::string LibraryString(int id) {
  platform::win32::UniqueModule library(
      LoadLibraryExA(RuntimeFile("pimsync.DLR").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  char text[2048];
  const int length = library ? LoadStringA(library.Get(), id, text, sizeof text) : 0;
  return std::string(text, length > 0 ? length : 0);
}

TEST_F(AboutBoxTest, ShowsTheDialogWithTheModulesTextVersionAndPicture) {
  std::optional<AboutDialog> dialog;
  WindowWatcher watcher([&](HWND window) {
    if (WindowText(window) == "About...") dialog = Inspect(window);
  });
  CallAboutBox(RuntimeFile("pimsync.dll"), 1);
  const std::vector<WindowWatcher::Seen> seen = watcher.Stop();

  ASSERT_EQ(seen.size(), 1u) << seen.front().caption << " " << Joined(seen.front().texts);
  ASSERT_TRUE(dialog.has_value());
  EXPECT_EQ(dialog->title, "Pairmate Z380 - Novell GroupWise Edition");
  EXPECT_NE(dialog->version.find(GWS_FILE_VERSION), std::string::npos) << dialog->version;
  const std::string info = LibraryString(2);
  EXPECT_FALSE(info.empty());
  EXPECT_EQ(dialog->info, info);
  EXPECT_GE(dialog->titleWeight, FW_BOLD);
  EXPECT_LT(dialog->versionWeight, FW_BOLD);
  // The picture keeps its frame's size: a 96-pixel bitmap stretched, not the frame shrunk.
  EXPECT_TRUE(dialog->hasPicture);
  EXPECT_EQ(dialog->pictureSize.cx, dialog->pictureTemplateSize.cx);
  EXPECT_EQ(dialog->pictureSize.cy, dialog->pictureTemplateSize.cy);
  EXPECT_EQ(dialog->defaultId, MAKELRESULT(IDOK, DC_HASDEFID));
  EXPECT_EQ(dialog->style & WS_THICKFRAME, 0) << "the border must not be resizable";
  EXPECT_NEAR(dialog->center.x, dialog->workAreaCenter.x, 1);
  EXPECT_NEAR(dialog->center.y, dialog->workAreaCenter.y, 1);
  EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_WAIT)) << "the hourglass stayed";
}

}  // namespace
}  // namespace comserver::test
