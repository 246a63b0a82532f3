#include "tools/gwsync/portable_site.h"

#include <optional>

#include "framework/module_globals.h"
#include "tools/gwsync/groupwise_store.h"
#include "tools/gwsync/machine.h"
#include "tools/gwsync/plugin_choice.h"
#include "tools/gwsync/session_command.h"

namespace gwsync {
namespace {

class PortableHostSite final : public HostSite {
 public:
  PortableHostSite(const Options& options, const SitePlugin& plugin, ProgressPrinter& printer,
                   const PluginModule& module)
      : machine_(options, module.modulePath, printer),
        plugin_(module.create),
        kind_(plugin.kind),
        traceFile_(options.traceFile) {
    machine_.platform.ui.FolderNames() = plugin.folderNames;
  }

  platform::AutomationDate Today() override { return machine_.Today(); }
  int16_t LogLevel() override { return machine_.LogLevel(); }
  std::u16string ComputerName() override { return machine_.ComputerName(); }
  void UseStore(const std::string& storeFile, platform::AutomationDate today) override {
    store_.emplace(storeFile, today, machine_.platform.env.fixedNow);
    store_->RegisterWith(machine_.platform.objects);
  }
  std::unique_ptr<HostPlugin> CreatePlugin() override {
    // The module's start-up, when the host first creates one of its objects.
    if (!resources_) LoadResources();
    return MakeInProcessPlugin(plugin_(machine_.platform), traceFile_);
  }
  void SaveStore() override {
    if (store_) store_->SaveIfChanged();
  }
  void SaveRegistry() override { machine_.SaveRegistry(); }
  int ShowSession(std::ostream& out) override {
    LoadResources();
    const int status = RunSession(machine_.platform, out, InfoOf(kind_));
    resources_.reset();
    return status;
  }

 private:
  void LoadResources() {
    platform::PortablePlatformOf<PrinterUserInterface>& machinePlatform = machine_.platform;
    resources_.emplace(machinePlatform.env, machinePlatform.resources, machinePlatform.ui);
  }

  Machine machine_;
  PluginFactory plugin_;
  PluginKind kind_;
  std::string traceFile_;
  std::optional<GroupWiseStore> store_;
  // Destroyed first, after the plug-in objects: the module's shutdown.
  std::optional<framework::ModuleResourcesScope> resources_;
};

}  // namespace

SiteFactory PortableSite(PluginModule pimsync, PluginModule mailsync) {
  return [pimsync = std::move(pimsync), mailsync = std::move(mailsync)](
             const Options& options, const SitePlugin& plugin,
             ProgressPrinter& printer) -> std::unique_ptr<HostSite> {
    const PluginModule& module = plugin.kind == PluginKind::kMailsync ? mailsync : pimsync;
    return std::make_unique<PortableHostSite>(options, plugin, printer, module);
  };
}

}  // namespace gwsync
