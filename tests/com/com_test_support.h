#pragma once

// Shared by the COM server's Wine tests: where the build put the DLLs, regsvr32 as a person
// runs it, and registry reads for checking what registration left.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/ole_owners.h"
#include "platform/win32/windows_api.h"

namespace comserver::test {

// The identities the host and the setup components know the calendar plug-in by. Written out
// here rather than taken from the .idl, so that a changed GUID or text fails these tests.
inline constexpr char kClassId[] = "{24D093C3-683C-11D4-B322-0000E8213261}";
inline constexpr char kLibraryId[] = "{24D093C0-683C-11D4-B322-0000E8213261}";
inline constexpr char kInterfaceId[] = "{24D093C1-683C-11D4-B322-0000E8213261}";
inline constexpr char kProgId[] = "PIMSYNC.ISYNCHAPPU";
inline constexpr char kLibraryHelp[] = "Corvenda ZI5R GroupWise 5.x Synchronizer";
inline constexpr char kInterfaceHelp[] =
    "Dispatch interface for the Corvenda ZI5R GroupWise 5.x Synchronizer";
inline constexpr char kClassHelp[] = "Corvenda ZI5R GroupWise 5.x Synchronizer";

GUID GuidOf(const char* text);

// A file of the build's runtime folder as Windows names it (Z:\...\bin\name).
std::string RuntimeFile(const std::string& name);

// Runs Wine's regsvr32 with the arguments and the DLL's path; its exit code.
DWORD RunRegsvr32(const std::string& arguments, const std::string& dll);
DWORD RunRegsvr32(const std::wstring& arguments, const std::wstring& dll);

// A value under HKEY_CLASSES_ROOT; nothing when the key or value is missing.
std::optional<std::string> ReadClassesValue(const std::string& key, const std::string& name);
// The same as the system stores it, without a trip through the ANSI code page.
std::optional<std::wstring> ReadClassesWideValue(const std::string& key, const std::string& name);
bool ClassesKeyExists(const std::string& key);
std::vector<std::string> ClassesSubkeys(const std::string& key);

// Case-insensitive, as Windows compares paths.
bool SamePath(const std::string& a, const std::string& b);

// A folder of its own under the temporary folder, removed with the files in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  // Copies a file of the runtime folder here, under a name of its own.
  void CopyFromRuntime(const std::string& name, const std::string& as);

 private:
  std::string path_;
  std::vector<std::string> files_;
};

// A BSTR's text as 8-bit text (the identities and help texts are ASCII); empty for null.
std::string Text(BSTR bstr);
// Name and help text of a type (or of the library, for index -1).
std::pair<std::string, std::string> Documentation(ITypeLib& library, INT index);
// A copy of the type's attributes, the original given back.
TYPEATTR AttributesOf(ITypeInfo& info);

}  // namespace comserver::test
