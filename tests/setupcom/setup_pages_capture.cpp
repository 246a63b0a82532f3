// Shows every page and message of emailsetup.dll as a person meets them and saves what the
// screen shows of each as a 24-bit BMP, for docs/setup-pages.md. scripts/capture-setup-pages.sh
// registers the servers, runs it and makes the PNGs.
// Usage: setup_pages_capture.exe OUTPUT_FOLDER

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/ole_owners.h"
#include "setup/win32/email_resources.h"
#include "sim/host/com/hostsim_exports.h"
#include "tests/setupcom/sheet_steps.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/window_picture.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/com_setup_host.h"

namespace setup::test {
namespace {

using platform::win32::test::DialogDriver;
using platform::win32::test::SavePicture;

constexpr char kCaption[] = "E-mail Options for Novell GroupWise";
constexpr char kProgId[] = "emailsetup.EmailSetup.1";

std::string output;
std::vector<std::string> failures;

// With no window manager, nothing tells Wine that a window is in front: its caption is drawn
// as the user would see it, and the controls get the time to be drawn.
void Save(HWND window, const std::string& name) {
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(700);
  if (!SavePicture(window, output + "\\" + name + ".bmp")) failures.push_back(name);
}

Step Picture(std::string name) {
  return [name = std::move(name)](HWND window) { Save(window, name); };
}

// The message box over the sheet, pictured and answered.
Step MessagePicture(std::string name, int button) {
  return [name = std::move(name), button](HWND sheet) {
    HWND box = WaitForOtherDialog(GetWindowThreadProcessId(sheet, nullptr), kCaption, sheet);
    if (box == nullptr) {
      failures.push_back(name + " (did not show)");
      return;
    }
    Save(box, name);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    Sleep(500);
  };
}

std::u16string ControlFile(const char* name) {
  return (std::filesystem::temp_directory_path() / name).u16string();
}

void ShowSettings(gwsync::HostModule& host) {
  const std::u16string file = ControlFile("capture-settings.json");
  std::filesystem::remove(std::filesystem::path(file));
  host.SetEngineFaults(0);
  gwsync::SetupComponentHost component(kProgId);
  component.SetControlFile(file);
  const char* const pages[] = {"email-general", "email-date-range", "email-restrictions",
                               "email-conflict", "email-delete-options"};
  std::vector<Step> steps;
  for (int i = 0; i < 5; ++i) {
    steps.push_back(SelectPage(i));
    steps.push_back(Picture(pages[i]));
  }
  // A count outside the range, and OK on a new profile, which asks before it names the account.
  steps.push_back(SelectPage(1));
  steps.push_back(TypeInto(IDC_RANGE_COUNT, L"45"));
  steps.push_back(MessagePicture("email-invalid-number", IDOK));
  steps.push_back(PressSheetButton(PSBTN_OK));
  steps.push_back(MessagePicture("email-account-changed", IDNO));
  steps.push_back(PressSheetButton(PSBTN_CANCEL));
  DialogDriver driver(GetCurrentThreadId(), kCaption, steps);
  component.ShowDialog();
  if (!driver.Finish().appeared) failures.push_back("the Settings sheet (did not show)");
}

void ShowWizard(gwsync::HostModule& host) {
  const std::u16string file = ControlFile("capture-wizard.json");
  std::filesystem::remove(std::filesystem::path(file));
  host.SetEngineFaults(0);
  gwsync::SetupComponentHost component(kProgId);
  component.SetControlFile(file);
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  DialogDriver driver(GetCurrentThreadId(), "Didodudo Z380 - Synchronization Settings Wizard",
                      {Picture("email-wizard-account"), PressSheetButton(PSBTN_NEXT), Pause(),
                       Picture("email-wizard-range"), PressSheetButton(PSBTN_NEXT), Pause(),
                       Picture("email-wizard-size"), PressSheetButton(PSBTN_CANCEL)});
  gwsync::RunHostWizard(pages);
  if (!driver.Finish().appeared) failures.push_back("the wizard (did not show)");
  component.RemovePages();
}

// Each internal error as InvisibleDialog meets it.
void ShowInternalErrors(gwsync::HostModule& host) {
  const struct {
    const char* name;
    uint32_t fault;
  } errors[] = {
      {"email-error-sync-file-missing", sim::hostsim::kEngineOpenFails},
      {"email-error-sync-dll-missing", sim::hostsim::kEngineCannotCreate},
      {"email-error-could-not-write", sim::hostsim::kEngineSaveFails},
  };
  for (const auto& error : errors) {
    host.SetEngineFaults(error.fault);
    gwsync::SetupComponentHost component(kProgId);
    component.SetControlFile(ControlFile("capture-errors.json"));
    DialogDriver driver(GetCurrentThreadId(), kCaption,
                        {Picture(error.name), platform::win32::test::Press(VK_RETURN)});
    component.InvisibleDialog();
    if (!driver.Finish().appeared) failures.push_back(std::string(error.name) + " (did not show)");
  }
  host.SetEngineFaults(0);
  std::filesystem::remove(std::filesystem::path(ControlFile("capture-errors.json")));
}

int Capture() {
  platform::win32::ComApartment apartment;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    gwsync::HostModule host;
    ShowSettings(host);
    ShowWizard(host);
    ShowInternalErrors(host);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  for (const std::string& failure : failures)
    std::fprintf(stderr, "not captured: %s\n", failure.c_str());
  return failures.empty() ? 0 : 1;
}

}  // namespace
}  // namespace setup::test

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: setup_pages_capture OUTPUT_FOLDER\n");
    return 2;
  }
  setup::test::output = argv[1];
  return setup::test::Capture();
}
