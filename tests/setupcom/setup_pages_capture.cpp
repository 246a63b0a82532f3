// Shows every page and message of the four setup components as a person meets them, and the
// host's whole wizard over them, and saves what the screen shows of each as a 24-bit BMP, for
// docs/setup-pages.md. scripts/capture-setup-pages.sh registers the servers, runs it and makes
// the PNGs.
// Usage: setup_pages_capture.exe OUTPUT_FOLDER

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/ole_owners.h"
#include "setup/win32/cal_resources.h"
#include "setup/win32/contact_resources.h"
#include "setup/win32/email_resources.h"
#include "setup/win32/logon_resources.h"
#include "sim/host/com/hostsim_exports.h"
#include "tests/setupcom/sheet_steps.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/window_picture.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/com_setup_host.h"
#include "tools/gwsync/com_setup_wizard.h"
#include "tools/gwsync/setup_components.h"

namespace setup::test {
namespace {

using platform::win32::test::DialogDriver;
using platform::win32::test::SavePicture;

// A data component as the pictures need it.
struct DataComponent {
  const char* name;  // the pictures' prefix
  const char* progId;
  const char* profileKind;   // of the control files hostsim.dll makes for it
  const char* sheetCaption;  // string 106
  const char* messageTitle;  // string 57344
};

constexpr DataComponent kEmail{"email", "emailsetup.EmailSetup.1", "email",
                               "E-mail Options for Novell GroupWise",
                               "E-mail Options for Novell GroupWise"};
constexpr DataComponent kCalendar{"cal", "calsetup.CalSetup.1", "calendar",
                                  "Calendar Options for Novell GroupWise",
                                  "Calendar Options for Novell GroupWise"};
constexpr DataComponent kContacts{"contact", "contactsetup.ContactSetup.1", "calendar",
                                  "Address Book Options for Novell GroupWise",
                                  "Contact Options for Novell GroupWise"};

// The captions of the host's wizard sheet: it takes the title of the page it opens on.
constexpr char kWizardCaption[] = "Didodudo Z380 - Synchronization Settings Wizard";
constexpr char kAddressBookCaption[] = "Address Book";

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

// The message box titled `title` over the sheet, pictured and answered.
Step MessagePicture(std::string title, std::string name, int button) {
  return [title = std::move(title), name = std::move(name), button](HWND sheet) {
    HWND box = WaitForOtherDialog(GetWindowThreadProcessId(sheet, nullptr), title, sheet);
    if (box == nullptr) {
      failures.push_back(name + " (did not show)");
      return;
    }
    Save(box, name);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    Sleep(500);
  };
}

// Lets what was posted be drawn, then pictures it.
void AddPicture(std::vector<Step>& steps, std::string name) {
  steps.push_back(Pause());
  steps.push_back(Picture(std::move(name)));
}

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / name;
}

// A control file for the component that does not exist yet: a new profile.
std::u16string NewControlFile(const DataComponent& component, const char* use) {
  const std::filesystem::path file =
      TempFile(std::string("capture-") + component.name + "-" + use + ".json");
  std::filesystem::remove(file);
  return file.u16string();
}

void UseHostFor(gwsync::HostModule& host, const DataComponent& component) {
  host.UseProfileKind(component.profileKind);
  host.SetEngineFaults(0);
}

// The profile a Settings sheet shows.
enum class Profile { kNew, kWrittenByInvisibleDialog };

// The component's Settings sheet: each page in tab order, pictured as "NAME-PAGE", then the
// steps `more`, which close the sheet; Cancel when there are none.
void ShowSettings(gwsync::HostModule& host, const DataComponent& component,
                  const std::vector<const char*>& pages, Profile profile, std::vector<Step> more) {
  UseHostFor(host, component);
  const std::u16string file = NewControlFile(component, "settings");
  if (profile == Profile::kWrittenByInvisibleDialog) {
    gwsync::SetupComponentHost writer(component.progId);
    writer.SetControlFile(file);
    writer.InvisibleDialog();
  }
  gwsync::SetupComponentHost sheet(component.progId);
  sheet.SetControlFile(file);
  std::vector<Step> steps;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    steps.push_back(SelectPage(static_cast<int>(i)));
    steps.push_back(Picture(std::string(component.name) + "-" + pages[i]));
  }
  if (more.empty()) more.push_back(PressSheetButton(PSBTN_CANCEL));
  steps.insert(steps.end(), more.begin(), more.end());
  DialogDriver driver(GetCurrentThreadId(), component.sheetCaption, steps);
  sheet.ShowDialog();
  if (!driver.Finish().appeared)
    failures.push_back(std::string(component.name) + " Settings sheet (did not show)");
  std::filesystem::remove(std::filesystem::path(file));
}

// A count outside its field's range typed on the Date Range page, refused with a message.
std::vector<Step> InvalidNumber(const DataComponent& component, int countField) {
  return {SelectPage(1), TypeInto(countField, L"45"),
          MessagePicture(component.messageTitle, std::string(component.name) + "-invalid-number",
                         IDOK)};
}

// One component's wizard pages alone in the host's wizard sheet, driven by `steps`, then
// cancelled; the component gets a new control file when it is a data component.
void ShowWizardPages(const char* progId, const std::u16string& controlFile, const char* caption,
                     std::vector<Step> steps) {
  gwsync::SetupComponentHost component(progId);
  if (!controlFile.empty()) component.SetControlFile(controlFile);
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  steps.push_back(PressSheetButton(PSBTN_CANCEL));
  DialogDriver driver(GetCurrentThreadId(), caption, std::move(steps));
  gwsync::RunHostWizard(pages);
  if (!driver.Finish().appeared) failures.push_back(std::string(progId) + " wizard (did not show)");
  component.RemovePages();
}

// Each internal error as InvisibleDialog meets it.
void ShowInternalErrors(gwsync::HostModule& host, const DataComponent& component) {
  const struct {
    const char* name;
    uint32_t fault;
  } errors[] = {
      {"error-sync-file-missing", sim::hostsim::kEngineOpenFails},
      {"error-sync-dll-missing", sim::hostsim::kEngineCannotCreate},
      {"error-could-not-write", sim::hostsim::kEngineSaveFails},
  };
  UseHostFor(host, component);
  const std::u16string file = NewControlFile(component, "errors");
  for (const auto& error : errors) {
    const std::string name = std::string(component.name) + "-" + error.name;
    host.SetEngineFaults(error.fault);
    gwsync::SetupComponentHost dialogless(component.progId);
    dialogless.SetControlFile(file);
    DialogDriver driver(GetCurrentThreadId(), component.messageTitle,
                        {Picture(name), platform::win32::test::Press(VK_RETURN)});
    dialogless.InvisibleDialog();
    if (!driver.Finish().appeared) failures.push_back(name + " (did not show)");
  }
  host.SetEngineFaults(0);
  std::filesystem::remove(std::filesystem::path(file));
}

void CaptureEmail(gwsync::HostModule& host) {
  // OK on a new profile asks before it names the account; No keeps the sheet open.
  std::vector<Step> more = InvalidNumber(kEmail, IDC_RANGE_COUNT);
  more.push_back(PressSheetButton(PSBTN_OK));
  more.push_back(MessagePicture(kEmail.messageTitle, "email-account-changed", IDNO));
  more.push_back(PressSheetButton(PSBTN_CANCEL));
  ShowSettings(host, kEmail,
               {"general", "date-range", "restrictions", "conflict", "delete-options"},
               Profile::kNew, std::move(more));
  UseHostFor(host, kEmail);
  std::vector<Step> steps;
  AddPicture(steps, "email-wizard-account");
  for (const char* page : {"email-wizard-range", "email-wizard-size"}) {
    steps.push_back(PressSheetButton(PSBTN_NEXT));
    AddPicture(steps, page);
  }
  ShowWizardPages(kEmail.progId, NewControlFile(kEmail, "wizard"), kWizardCaption, steps);
  ShowInternalErrors(host, kEmail);
}

void CaptureCalendar(gwsync::HostModule& host) {
  std::vector<Step> more = InvalidNumber(kCalendar, IDC_CAL_PAST_COUNT);
  more.push_back(PressSheetButton(PSBTN_CANCEL));
  ShowSettings(host, kCalendar, {"general", "date-range", "conflict", "delete-options"},
               Profile::kWrittenByInvisibleDialog, std::move(more));
  UseHostFor(host, kCalendar);
  std::vector<Step> steps;
  AddPicture(steps, "cal-wizard-range");
  ShowWizardPages(kCalendar.progId, NewControlFile(kCalendar, "wizard"), kWizardCaption, steps);
  ShowInternalErrors(host, kCalendar);
}

void CaptureContacts(gwsync::HostModule& host) {
  ShowSettings(host, kContacts, {"general", "restrictions", "conflict", "delete-options"},
               Profile::kWrittenByInvisibleDialog, {});
  UseHostFor(host, kContacts);
  std::vector<Step> steps;
  AddPicture(steps, "contact-wizard-address-book");
  steps.push_back(TypeInto(IDC_CONTACT_ADDRESS_BOOK, L""));
  AddPicture(steps, "contact-wizard-address-book-empty");
  ShowWizardPages(kContacts.progId, NewControlFile(kContacts, "wizard"), kAddressBookCaption,
                  steps);
  ShowInternalErrors(host, kContacts);
}

// The logon page: manual login checked and both texts typed.
void TypeLogon(std::vector<Step>& steps) {
  steps.push_back(ClickOnPage(IDC_LOGON_MANUAL));
  steps.push_back(TypeInto(IDC_LOGON_USER, L"jdoe"));
  steps.push_back(TypeInto(IDC_LOGON_PARAMS, L"/ph-x"));
}

void CaptureSetupWizard() {
  std::vector<Step> steps;
  AddPicture(steps, "setupwizard-logon");
  TypeLogon(steps);
  AddPicture(steps, "setupwizard-logon-manual");
  ShowWizardPages(gwsync::kSetupWizardProgId, u"", kWizardCaption, steps);
}

// gwsync.exe's `setup wizard calendar=... contacts=... email=...`: every page in turn, the
// host's last one included, then Finish, which commits the three new profiles.
void CaptureHostWizard(gwsync::HostModule& host) {
  host.UseProfileKind("any");
  host.SetEngineFaults(0);
  const std::filesystem::path folder = TempFile("capture-host-wizard");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::vector<gwsync::WizardProfile> profiles = {
      {kCalendar.progId, (folder / "cal.json").u16string()},
      {kContacts.progId, (folder / "contacts.json").u16string()},
      {kEmail.progId, (folder / "mail.json").u16string()}};
  std::vector<Step> steps;
  TypeLogon(steps);
  const char* const pages[] = {"wizard-1-logon",        "wizard-2-calendar-range",
                               "wizard-3-address-book", "wizard-4-email-account",
                               "wizard-5-email-range",  "wizard-6-email-size",
                               "wizard-7-finish"};
  AddPicture(steps, pages[0]);
  for (std::size_t i = 1; i < std::size(pages); ++i) {
    steps.push_back(PressSheetButton(PSBTN_NEXT));
    AddPicture(steps, pages[i]);
  }
  steps.push_back(PressSheetButton(PSBTN_FINISH));
  DialogDriver driver(GetCurrentThreadId(), kWizardCaption, std::move(steps));
  if (!gwsync::RunSetupWizard(profiles)) failures.push_back("the host's wizard (not finished)");
  if (!driver.Finish().appeared) failures.push_back("the host's wizard (did not show)");
  std::filesystem::remove_all(folder);
}

int Capture() {
  platform::win32::ComApartment apartment;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    gwsync::HostModule host;
    CaptureEmail(host);
    CaptureCalendar(host);
    CaptureContacts(host);
    CaptureSetupWizard();
    CaptureHostWizard(host);
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
