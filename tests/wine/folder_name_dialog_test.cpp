// The folder-name dialog under a display, driven by DialogDriver through its own message loop:
// what each way of ending it returns, what accept is asked, and the dialog's shape.

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "platform/win32/folder_name_dialog.h"
#include "platform/win32/win32_user_interface.h"
#include "tests/wine/dialog_driver.h"

namespace platform::win32::test {
namespace {

constexpr char kCaption[] = "New GroupWise folder name";
constexpr char kAcceptCaption[] = "Folder name";

FolderNameDialogTexts Texts() {
  return {kCaption,
          "The plug-in will now create a new GroupWise folder to house the 'Sent' and 'Deleted' "
          "folders.  This is done only once.  Please enter the desired name for the folder below, "
          "and click OK to continue.",
          "&Folder name:"};
}

// The real user interface, counting the beeps and pumps the dialog asks of it.
class CountingUi final : public UserInterface {
 public:
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t style) override {
    return real_.MessageBox(owner, text, caption, style);
  }
  void Beep(uint32_t type) override {
    beeps.push_back(type);
    real_.Beep(type);
  }
  void PumpMessages() override {
    ++pumps;
    real_.PumpMessages();
  }
  std::optional<std::string> AskFolderName(WindowHandle owner, const FolderNameDialogTexts& texts,
                                           const std::string& proposed,
                                           const AcceptFolderName& accept) override {
    return RunFolderNameDialog(*this, owner, texts, proposed, accept);
  }

  std::vector<uint32_t> beeps;
  int pumps = 0;

 private:
  Win32UserInterface real_;
};

// A top-level window of the test's thread standing for the host's, destroyed with the test
// unless closing it was part of the test.
class OwnerWindow {
 public:
  OwnerWindow() {
    static const ATOM type = [] {
      WNDCLASSA description{};
      description.lpfnWndProc = DefWindowProcA;
      description.hInstance = GetModuleHandleA(nullptr);
      description.lpszClassName = "FolderNameDialogTestOwner";
      return RegisterClassA(&description);
    }();
    window_ = CreateWindowExA(0, MAKEINTATOM(type), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  HWND Get() const { return window_; }
  WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(window_); }

 private:
  HWND window_;
};

class FolderNameDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the dialog needs a display: run the tests under xvfb-run -a "
           "(scripts/test-all.sh does)";
  }
  DWORD Thread() const { return GetCurrentThreadId(); }
};

// When accept tells the user about the name in a message box of its own, as the plug-in does.
enum Box { kNoBox, kBoxOnRefusal, kBoxAlways };

TEST_F(FolderNameDialogTest, EachWayOfEndingItGivesItsNameOrNone) {
  const struct {
    const char* row;
    std::vector<Step> steps;
    std::vector<bool> answers;  // accept's, in turn; it takes every name after them
    std::optional<std::string> want;
    std::vector<std::string> wantAsked;
    Box box = kNoBox;
  } cases[] = {
      {"Enter takes the proposed name", {Press(VK_RETURN)}, {}, "Z380", {"Z380"}},
      {"typing replaces the selected name, then OK",
       {Type("Handheld mail"), Click(IDOK)},
       {},
       "Handheld mail",
       {"Handheld mail"}},
      {"a refused name keeps the dialog open for another",
       {Press(VK_RETURN), Type("Mail 2"), Click(IDOK)},
       {false},
       "Mail 2",
       {"Z380", "Mail 2"}},
      {"a refused name is selected again, so typing replaces it",
       {Type("Bad"), Press(VK_RETURN), Type("Good"), Press(VK_RETURN)},
       {false},
       "Good",
       {"Bad", "Good"}},
      {"an empty name is for accept to judge",
       {Type("\b"), Press(VK_RETURN), Type("X"), Press(VK_RETURN)},
       {false},
       "X",
       {"", "X"}},
      {"the label's Alt key moves to the name box",
       {Focus(IDOK), PressAlt('f'), Type("Via label"), Press(VK_RETURN)},
       {},
       "Via label",
       {"Via label"}},
      {"Escape ends it without OK", {Press(VK_ESCAPE)}, {}, std::nullopt, {}},
      {"Escape after a refusal ends it without OK",
       {Press(VK_RETURN), Press(VK_ESCAPE)},
       {false},
       std::nullopt,
       {"Z380"}},
      {"WM_CLOSE ends it without OK", {Post(WM_CLOSE)}, {}, std::nullopt, {}},
      {"Alt+F4 ends it without OK", {PressAltF4()}, {}, std::nullopt, {}},
      {"the owner going away ends it without OK", {CloseOwner()}, {}, std::nullopt, {}},
      {"accept's message box, then another name",
       {Press(VK_RETURN), Answer(kAcceptCaption), Type("Other"), Press(VK_RETURN)},
       {false},
       "Other",
       {"Z380", "Other"},
       kBoxOnRefusal},
      {"OK while accept's message box is up asks nothing more",
       {Press(VK_RETURN), WaitFor(kAcceptCaption), Click(IDOK), Answer(kAcceptCaption),
        Type("Other"), Press(VK_RETURN)},
       {false},
       "Other",
       {"Z380", "Other"},
       kBoxOnRefusal},
      {"a close while accept's message box is up stands",
       {Press(VK_RETURN), WaitFor(kAcceptCaption), Send(WM_CLOSE), Answer(kAcceptCaption)},
       {},
       std::nullopt,
       {"Z380"},
       kBoxAlways},
  };
  // One owner for all: closing a window costs Wine seconds under a display without a window
  // manager. The row that closes it gets a new one.
  std::optional<OwnerWindow> owner;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    if (!owner || !IsWindow(owner->Get())) owner.emplace();
    CountingUi ui;
    std::vector<std::string> asked;
    const AcceptFolderName accept = [&](const std::string& name) {
      asked.push_back(name);
      const bool taken = asked.size() > c.answers.size() || c.answers[asked.size() - 1];
      if (c.box == kBoxAlways || (c.box == kBoxOnRefusal && !taken)) {
        MessageBoxA(nullptr, "What accept tells the user.", kAcceptCaption, MB_ICONEXCLAMATION);
      }
      return taken;
    };

    DialogDriver driver(Thread(), kCaption, c.steps);
    const std::optional<std::string> name =
        ui.AskFolderName(owner->Handle(), Texts(), "Z380", accept);
    const DialogDriver::Outcome outcome = driver.Finish();

    EXPECT_TRUE(outcome.appeared);
    EXPECT_FALSE(outcome.leftOpen);
    EXPECT_EQ(name, c.want);
    EXPECT_EQ(asked, c.wantAsked);
    // Once when it opens, however often OK is pressed.
    EXPECT_EQ(ui.beeps, std::vector<uint32_t>{MB_OK});
    EXPECT_EQ(ui.pumps, 1);
  }
}

// "left,top widthxheight" in the dialog's client area.
std::string Place(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

std::string Flag(LONG bits, LONG flag, const char* name) {
  return (bits & flag) == flag ? std::string(" ") + name : "";
}

// What a person sees of the dialog, one line each, read on the driver's thread; the controls
// in z-order, which is the order of Tab and of the label's key.
std::vector<std::string> Describe(HWND dialog) {
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT client;
  RECT window;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &window);
  // Twice the distance between the centres: an odd size leaves half a pixel.
  const bool centred = std::abs(window.left + window.right - GetSystemMetrics(SM_CXSCREEN)) <= 1 &&
                       std::abs(window.top + window.bottom - GetSystemMetrics(SM_CYSCREEN)) <= 1;
  const LRESULT font = SendMessageA(dialog, WM_GETFONT, 0, 0);
  LOGFONTA description{};
  GetObjectA(reinterpret_cast<HFONT>(font), sizeof description, &description);
  std::vector<std::string> lines = {
      "caption " + WindowText(dialog),
      std::string("owner ") + (owner == nullptr         ? "none"
                               : IsWindowEnabled(owner) ? "enabled"
                                                        : "disabled"),
      "frame" + Flag(style, WS_CAPTION, "caption") + Flag(style, WS_SYSMENU, "system-menu") +
          Flag(style, WS_THICKFRAME, "sizing") +
          Flag(GetWindowLongA(dialog, GWL_EXSTYLE), WS_EX_DLGMODALFRAME, "dialog"),
      "client " + std::to_string(client.right) + "x" + std::to_string(client.bottom),
      centred ? "centred" : "not centred",
      std::string("font ") + description.lfFaceName,
  };
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    const LONG bits = GetWindowLongA(c, GWL_STYLE);
    const std::string kind = ClassName(c) == "Static"
                                 ? Flag(bits, SS_NOPREFIX, "no-prefix") +
                                       ((bits & SS_TYPEMASK) == SS_LEFT ? " wraps" : "")
                                 : Flag(bits, BS_DEFPUSHBUTTON, "default");
    lines.push_back(ClassName(c) + " " + Place(dialog, c) + Flag(bits, WS_TABSTOP, "tab") + kind +
                    (SendMessageA(c, WM_GETFONT, 0, 0) == font ? "" : " other-font") + " [" +
                    WindowText(c) + "]");
  }
  HWND focus = FocusOn(GetWindowThreadProcessId(dialog, nullptr));
  const auto selection = static_cast<DWORD>(SendMessageA(focus, EM_GETSEL, 0, 0));
  lines.push_back("focus " + (focus != nullptr ? ClassName(focus) : "none") + " selected " +
                  std::to_string(LOWORD(selection)) + "-" + std::to_string(HIWORD(selection)));
  return lines;
}

TEST_F(FolderNameDialogTest, ShowsItsTextsInItsLayout) {
  const FolderNameDialogTexts texts = Texts();
  OwnerWindow owner;
  std::vector<std::string> seen;
  DialogDriver driver(Thread(), kCaption,
                      {[&](HWND dialog) { seen = Describe(dialog); }, Press(VK_ESCAPE)});
  Win32UserInterface ui;
  ui.AskFolderName(owner.Handle(), texts, "Z380", [](const std::string&) { return true; });
  ASSERT_TRUE(driver.Finish().appeared);

  const std::vector<std::string> want = {
      "caption " + texts.caption,
      "owner disabled",
      "frame caption dialog",  // no border icons, no sizing
      "client 363x131",
      "centred",
      "font MS Shell Dlg",
      // Prose that wraps, and where an "&" is just that.
      "Static 8,8 345x49 no-prefix wraps [" + texts.description + "]",
      "Static 8,72 61x13 [" + texts.label + "]",
      "Edit 76,68 281x21 tab [Z380]",
      "Button 283,99 75x25 tab default [&OK]",
      "focus Edit selected 0-4",
  };
  EXPECT_EQ(seen, want);
}

TEST_F(FolderNameDialogTest, AFailingAcceptEndsTheDialogAndReachesTheCaller) {
  Win32UserInterface ui;
  DialogDriver driver(Thread(), kCaption, {Press(VK_RETURN)});
  EXPECT_THROW(ui.AskFolderName(
                   0, Texts(), "Z380",
                   [](const std::string&) -> bool { throw std::runtime_error("no folder list"); }),
               std::runtime_error);
  const DialogDriver::Outcome outcome = driver.Finish();
  EXPECT_TRUE(outcome.appeared);
  EXPECT_FALSE(outcome.leftOpen);
  EXPECT_EQ(FindDialog(Thread(), kCaption), nullptr);
}

TEST_F(FolderNameDialogTest, AnOwnerThatIsNoWindowIsAFailure) {
  Win32UserInterface ui;
  OwnerWindow gone;
  const WindowHandle stale = gone.Handle();
  DestroyWindow(gone.Get());
  // Should a dialog show after all, it must not wait for a person.
  DialogDriver driver(Thread(), kCaption, {Press(VK_ESCAPE)});
  EXPECT_THROW(ui.AskFolderName(stale, Texts(), "Z380", [](const std::string&) { return true; }),
               Exception);
}

}  // namespace
}  // namespace platform::win32::test
