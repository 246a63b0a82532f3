#pragma once

// What hostsim.dll, the simulated host's engine object and folder picker as COM servers,
// offers its host besides COM: the kind of a new control file, faults to inject, and the log
// of the calls its objects answered. Plain C functions, found with GetProcAddress by these
// names; the objects made from then on follow what they set.
//
// Each returns 0, or 1 after writing what went wrong into `message` (at most `size` bytes with
// the closing NUL; the text is cut to fit).

#include <cstdint>

extern "C" {

// Engine faults, any of these bits: the object cannot be created, the control file does not
// open, the save fails, every operation of a block stream fails. `shortStreams` >= 0 cuts each
// block stream to that many bytes when it is handed out; -1 leaves them whole.
using HostsimSetEngineFaultsFunction = int(uint32_t faults, int32_t shortStreams, char* message,
                                           unsigned size);
// "email" or "calendar": the kind of profile a control file that does not exist yet becomes,
// and the only kind an existing one may hold. E-mail until set.
using HostsimUseProfileKindFunction = int(const char* kind, char* message, unsigned size);
// Folder picker faults (the object cannot be created, the login fails) and the folder the user
// chooses in its browser: an index into its folders, or -1 for Cancel.
using HostsimSetFolderPickerFunction = int(uint32_t faults, int32_t choice, char* message,
                                           unsigned size);
// The calls the engine objects or the folder pickers answered since the last time, one line each
// ("create", "open C:\x.bin", "stream -1", "save", "note: ..."; "login(jdoe,/ph)",
// "browse(ID)", "logout"), in UTF-8; the log is then emptied. When they do not fit, 1, the
// log left as it was and the reason in `calls`.
using HostsimTakeCallsFunction = int(char* calls, unsigned size);

}  // extern "C"

namespace sim::hostsim {

inline constexpr uint32_t kEngineCannotCreate = 1;
inline constexpr uint32_t kEngineOpenFails = 2;
inline constexpr uint32_t kEngineSaveFails = 4;
inline constexpr uint32_t kEngineStreamsFail = 8;

inline constexpr uint32_t kPickerCannotCreate = 1;
inline constexpr uint32_t kPickerLoginFails = 2;

inline constexpr char kSetEngineFaultsExport[] = "HostsimSetEngineFaults";
inline constexpr char kUseProfileKindExport[] = "HostsimUseProfileKind";
inline constexpr char kSetFolderPickerExport[] = "HostsimSetFolderPicker";
inline constexpr char kTakeEngineCallsExport[] = "HostsimTakeEngineCalls";
inline constexpr char kTakePickerCallsExport[] = "HostsimTakePickerCalls";

}  // namespace sim::hostsim
