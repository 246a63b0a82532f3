#pragma once

#include <string>

#include "platform/environment.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The module this code is linked into: the plug-in DLL, or the program; null if the system
// cannot tell.
HMODULE ModuleOfThisCode();

// The full path of a module as the system knows it, in wide text: the ANSI form turns every
// character of a folder name outside the code page into "?". Raises platform::Exception with
// "GetModuleFilename() returned 0." when the system cannot tell.
std::wstring WideModulePath(HMODULE module);

class Win32Environment final : public Environment {
 public:
  // module: whose path ModulePath reports; null for the module this code is linked into (the
  // plug-in DLL, or the program).
  explicit Win32Environment(HMODULE module = nullptr);

  // Raises platform::Exception naming the file when the shell cannot open it.
  void ShellOpen(const std::string& file, const std::string& directory) override;
  bool IsCtrlKeyDown() override;
  std::string ModulePath() override;
  AutomationDate Now() override;
  std::string TempDirectory() override;
  // The system uses at most the first three characters of the prefix.
  std::string CreateTempFile(const std::string& prefix) override;
  // Raises platform::Exception when the system does not answer.
  OsVersion GetOsVersion() override;
  std::string NewGuidText() override;
  std::string FormatShortDate(AutomationDate date) override;
  std::string FormatDateTime(AutomationDate date) override;

  HMODULE Module() const { return module_; }

 private:
  HMODULE module_;
};

}  // namespace platform::win32
