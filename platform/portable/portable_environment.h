#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"

namespace platform {

// The machine as the portable build sees it: the real clock and temp folder unless a test
// fixes them, a Ctrl key and module path that tests set, and shell calls recorded, not run.
class PortableEnvironment final : public Environment {
 public:
  struct ShellOpenCall {
    std::string file;
    std::string directory;
  };

  void ShellOpen(const std::string& file, const std::string& directory) override;
  bool IsCtrlKeyDown() override { return ctrlKeyDown; }
  std::string ModulePath() override;
  AutomationDate Now() override;
  std::string TempDirectory() override;
  std::string CreateTempFile(const std::string& prefix) override;
  OsVersion GetOsVersion() override { return osVersion; }
  // A random (version 4) identifier, or the next of guidsToMake while any are left.
  std::string NewGuidText() override;
  // The portable build has no user locale: dates read 2000-12-31 and 2000-12-31 23:59:59.
  std::string FormatShortDate(AutomationDate date) override;
  std::string FormatDateTime(AutomationDate date) override;

  bool ctrlKeyDown = false;
  // Empty: "the module path cannot be obtained", which ModulePath reports by raising.
  std::string modulePath;
  std::optional<AutomationDate> fixedNow;
  std::string tempDirectory;  // empty: the system's
  bool shellOpenFails = false;
  OsVersion osVersion;
  std::vector<ShellOpenCall> shellOpens;
  // Identifiers NewGuidText hands out first, in order, so a test can know them in advance.
  std::vector<std::string> guidsToMake;
  bool guidFails = false;
};

}  // namespace platform
