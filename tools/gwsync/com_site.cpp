#include "tools/gwsync/com_site.h"

#include <optional>

#include "framework/module_globals.h"
#include "platform/platform.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/com_object_factory.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resource_library.h"
#include "tools/gwsync/com_plugin.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/machine.h"
#include "tools/gwsync/plugin_choice.h"
#include "tools/gwsync/session_command.h"

namespace gwsync {
namespace {

namespace win32 = platform::win32;

// mailsync has no COM server yet; sending EMAIL to pimsync instead would only show pimsync's
// refusal, as if it were the mail plug-in's answer.
void RefuseWhatHasNoServer(const SitePlugin& plugin) {
  if (plugin.kind != PluginKind::kMailsync) return;
  throw UsageError(
      "gwsync.exe cannot host mailsync yet: there is no mailsync.dll to register. Run EMAIL "
      "requests with the portable gwsync, which plays mailsync in process, or give "
      "--plugin pimsync to see what pimsync answers");
}

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
        "begins, and saves pimsync_dll.txt beside its module");
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

class ComHostSite final : public HostSite {
 public:
  ComHostSite(const Options& options, ProgressPrinter& printer)
      : printer_(printer), today_(options.today) {}

  platform::AutomationDate Today() override {
    return today_ ? *today_ : platform::DateOnly(win32::Win32Environment().Now());
  }
  int16_t LogLevel() override { return HostLogLevel(registry_); }
  // Only a new e-mail profile uses it, and mailsync runs are refused here.
  std::u16string ComputerName() override { return {}; }
  void UseStore(const std::string& storeFile, platform::AutomationDate today) override {
    groupwise_.emplace();
    if (storeFile.empty()) {
      groupwise_->UseSample(today);
    } else {
      groupwise_->UseStore(storeFile);
    }
  }
  std::unique_ptr<HostPlugin> CreatePlugin() override {
    return CreateComPlugin(kCalendarPluginProgId);
  }
  void SaveStore() override {
    if (groupwise_) groupwise_->SaveIfChanged();
  }
  void SaveRegistry() override {}
  // What pimsync.dll learns when it starts: its resource libraries are those beside the module
  // COM loads for its ProgID.
  int ShowSession(std::ostream& out) override {
    const win32::UniqueModule plugin = LoadServerModule(kCalendarPluginProgId);
    SessionPlatform platform(plugin.Get(), printer_);
    const framework::ModuleResourcesScope resources(platform.Env(), platform.Resources(),
                                                    platform.Ui());
    return RunSession(platform, out, InfoOf(PluginKind::kPimsync));
  }

 private:
  // Left last, after every COM object and module of the run is released.
  win32::ComApartment apartment_;
  ProgressPrinter& printer_;
  std::optional<platform::AutomationDate> today_;
  win32::Win32Registry registry_;
  std::optional<GroupWiseModule> groupwise_;
};

}  // namespace

SiteFactory ComSite() {
  return [](const Options& options, const SitePlugin& plugin,
            ProgressPrinter& printer) -> std::unique_ptr<HostSite> {
    RefuseWhatHasNoServer(plugin);
    RefuseWhatOnlyThePortableBuildPlays(options);
    return std::make_unique<ComHostSite>(options, printer);
  };
}

}  // namespace gwsync
