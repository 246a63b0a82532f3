#pragma once

#include <string>

#include "platform/automation_date.h"

namespace platform {

// The operating system's version as GetVersionEx reports it.
struct OsVersion {
  enum Platform { kWin32s = 0, kWindows9x = 1, kWindowsNT = 2 };
  int platformId = kWindowsNT;
  int major = 5;
  int minor = 1;
  int build = 2600;
};

// What the plug-ins learn from and ask of the machine they run on, beyond the user interface.
class Environment {
 public:
  virtual ~Environment() = default;
  // Opens a file with its default program (the shell's open verb). Raises on failure.
  virtual void ShellOpen(const std::string& file, const std::string& directory) = 0;
  virtual bool IsCtrlKeyDown() = 0;
  // Full path of the module (DLL or program) the code runs in, at most 260 characters.
  // Raises when it cannot be obtained.
  virtual std::string ModulePath() = 0;
  // Current local date and time.
  virtual AutomationDate Now() = 0;
  // The folder for temporary files, ending in the path separator.
  virtual std::string TempDirectory() = 0;
  // Creates a new empty file with a unique name in the temp folder and returns its path.
  virtual std::string CreateTempFile(const std::string& prefix) = 0;
  virtual OsVersion GetOsVersion() = 0;
  // A new globally unique identifier in the registry's braced form,
  // "{6F9619FF-8B86-D011-B42D-00C04FC964FF}": upper-case hex digits. Raises when the system
  // cannot make one.
  virtual std::string NewGuidText() = 0;
  // A date in the user's short date format, and a date with its time in the user's formats,
  // for texts a person reads (trace lines, log entries). Never raise: a text for the trace or
  // the log is not worth failing the work it describes, so a date the user's formats refuse
  // is written in the ISO form of IsoDateText / IsoDateTimeText.
  virtual std::string FormatShortDate(AutomationDate date) = 0;
  virtual std::string FormatDateTime(AutomationDate date) = 0;
};

// Owns a file on disk and deletes it when it goes out of scope.
class TempFile {
 public:
  TempFile() = default;
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  TempFile(TempFile&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
  TempFile& operator=(TempFile&& other) noexcept;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() { Remove(); }

  const std::string& Path() const { return path_; }
  void Remove() noexcept;

 private:
  std::string path_;
};

}  // namespace platform
