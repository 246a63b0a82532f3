#include "tools/gwsync/com_site.h"

#include <optional>

#include "framework/module_globals.h"
#include "platform/platform.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/com_object_factory.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resource_library.h"
#include "tools/gwsync/com_folder_name.h"
#include "tools/gwsync/com_plugin.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/machine.h"
#include "tools/gwsync/plugin_choice.h"
#include "tools/gwsync/session_command.h"

namespace gwsync {
namespace {

namespace win32 = platform::win32;

void RefuseWhatOnlyThePortableBuildPlays(const Options& options) {
  if (!options.registryFile.empty()) {
    throw UsageError(
        "--registry is not available in gwsync.exe: the plug-in reads the real registry; "
        "import a .reg file with regedit instead");
  }
  if (options.os) {
    throw UsageError(
        "--os is not available in gwsync.exe: the plug-in sees the version of the Windows it "
        "runs on");
  }
  if (!options.traceFile.empty()) {
    throw UsageError(
        "--trace is not available in gwsync.exe: the plug-in traces when Ctrl is held as Init "
        "begins, and saves its trace beside its module (pimsync_dll.txt, mailsync_dll.txt)");
  }
}

// The computer as a plug-in module sees it when it starts, for `gwsync session`: its messages
// go to standard error, as the portable build shows them.
class SessionPlatform final : public platform::Platform {
 public:
  SessionPlatform(HMODULE module, ProgressPrinter& printer) : ui_(printer), env_(module) {}

  platform::UserInterface& Ui() override { return ui_; }
  platform::Environment& Env() override { return env_; }
  platform::ObjectFactory& Objects() override { return objects_; }
  const platform::CodePage& Ansi() override { return ansi_; }
  platform::Registry& Reg() override { return registry_; }
  platform::ResourceLoader& Resources() override { return resources_; }

 private:
  PrinterUserInterface ui_;
  win32::Win32Environment env_;
  win32::ComObjectFactory objects_;
  win32::AnsiCodePage ansi_;
  win32::Win32Registry registry_;
  win32::Win32ResourceLoader resources_;
};

// The caption of the plug-in's folder-name dialog, as the plug-in loads it: from the .DLR
// library beside the module COM loads for its class. Empty when the library cannot be read.
std::string FolderNameCaption(const PluginInfo& plugin) {
  const win32::UniqueModule module = LoadServerModule(plugin.progId);
  const std::string library =
      framework::ModuleLibraryPath(win32::Win32Environment(module.Get()).ModulePath());
  const std::unique_ptr<platform::ResourceLibrary> strings =
      win32::Win32ResourceLoader().Load(library);
  return strings ? strings->LoadString(plugin.folderNameCaption).value_or(std::string())
                 : std::string();
}

class ComHostSite final : public HostSite {
 public:
  ComHostSite(const Options& options, const SitePlugin& plugin, ProgressPrinter& printer)
      : printer_(printer),
        today_(options.today),
        plugin_(InfoOf(plugin.kind)),
        folderNames_(plugin.folderNames) {}

  platform::AutomationDate Today() override {
    return today_ ? *today_ : platform::DateOnly(win32::Win32Environment().Now());
  }
  int16_t LogLevel() override { return HostLogLevel(registry_); }
  std::u16string ComputerName() override {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) return {};
    return std::u16string(win32::AsUtf16(name), length);
  }
  void UseStore(const std::string& storeFile, platform::AutomationDate today) override {
    groupwise_.emplace();
    if (storeFile.empty()) {
      groupwise_->UseSample(today);
    } else {
      groupwise_->UseStore(storeFile);
    }
    // As the portable run's: the mail a run with a day of its own sends is dated alike.
    if (today_) groupwise_->SetClock(*today_);
  }
  std::unique_ptr<HostPlugin> CreatePlugin() override {
    std::unique_ptr<HostPlugin> created =
        CreateComPlugin(plugin_.progId, [this] { ShowAnswers(); });
    // The plug-in shows its dialog on this thread, while it runs one of its methods.
    if (plugin_.folderNameCaption != 0 && !answerer_) {
      // A dialog without its caption cannot be told from the plug-in's other windows; it is
      // then left to a person, as are the plug-in's message boxes.
      std::string caption = FolderNameCaption(plugin_);
      if (!caption.empty())
        answerer_.emplace(GetCurrentThreadId(), std::move(caption), folderNames_);
    }
    return created;
  }
  void SaveStore() override {
    if (groupwise_) groupwise_->SaveIfChanged();
  }
  void SaveRegistry() override {}
  // What the plug-in's module learns when it starts: its resource libraries are those beside
  // the module COM loads for its ProgID.
  int ShowSession(std::ostream& out) override {
    const win32::UniqueModule module = LoadServerModule(plugin_.progId);
    SessionPlatform platform(module.Get(), printer_);
    const framework::ModuleResourcesScope resources(platform.Env(), platform.Resources(),
                                                    platform.Ui());
    return RunSession(platform, out, plugin_);
  }

 private:
  // The answerer's lines, on this thread, once the method that showed the dialog returned.
  void ShowAnswers() {
    if (!answerer_) return;
    for (const std::string& line : answerer_->TakeLines())
      printer_.Note(line);
  }

  // Left last, after every COM object and module of the run is released.
  win32::ComApartment apartment_;
  ProgressPrinter& printer_;
  std::optional<platform::AutomationDate> today_;
  const PluginInfo& plugin_;
  platform::FolderNameAnswers folderNames_;
  win32::Win32Registry registry_;
  std::optional<GroupWiseModule> groupwise_;
  std::optional<FolderNameAnswerer> answerer_;
};

}  // namespace

SiteFactory ComSite() {
  return [](const Options& options, const SitePlugin& plugin,
            ProgressPrinter& printer) -> std::unique_ptr<HostSite> {
    RefuseWhatOnlyThePortableBuildPlays(options);
    return std::make_unique<ComHostSite>(options, plugin, printer);
  };
}

}  // namespace gwsync
