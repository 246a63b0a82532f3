#pragma once

// What gwsim.dll, the simulated GroupWise as a COM server, offers its host besides COM: the
// choice of the mailbox its objects work on, and saving it (docs/groupwise-store.md, "The
// simulator as a COM server"). Plain C functions, found with GetProcAddress by these names.
//
// Each returns 0, or 1 after writing what went wrong into `message` (at most `size` bytes with
// the closing NUL; the text is cut to fit). The paths are 8-bit text in the ANSI code page, as
// the C runtime opens files.

#include <cstdint>

extern "C" {

// The store file (docs/groupwise-store.md): loaded now, its mailbox the one of every object
// created from here on. A file that does not exist yet is an empty mailbox, created by
// GwsimSaveIfChanged.
using GwsimUseStoreFunction = int(const char* path, char* message, unsigned size);
// The built-in sample mailbox around the day written as the number YYYYMMDD; never saved.
using GwsimUseSampleFunction = int(int32_t yyyymmdd, char* message, unsigned size);
// The post office's clock, which dates the mail its objects make: from now on it stands at the
// start of the day written as the number YYYYMMDD, so that a host with a day of its own gets the
// same mail on every run; 0 gives the machine's clock back. Objects made before keep theirs.
using GwsimSetClockFunction = int(int32_t yyyymmdd, char* message, unsigned size);
// Writes the store file back when the objects changed the mailbox or the file does not exist
// yet; nothing for the sample mailbox.
using GwsimSaveIfChangedFunction = int(char* message, unsigned size);

}  // extern "C"

namespace sim::gwsim {

inline constexpr char kUseStoreExport[] = "GwsimUseStore";
inline constexpr char kUseSampleExport[] = "GwsimUseSample";
inline constexpr char kSaveIfChangedExport[] = "GwsimSaveIfChanged";
inline constexpr char kSetClockExport[] = "GwsimSetClock";

}  // namespace sim::gwsim
