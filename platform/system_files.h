#pragma once

// The steps of ReplaceFile (file_io.h) that the C++ library cannot take durably: one
// implementation per system, portable/posix_files.cpp and win32/win32_files.cpp, each built only
// for its own system. Both raise FileError naming the path they were given.

#include <string>
#include <string_view>

namespace platform::system_files {

// Creates `path`, writes `bytes` and flushes them to the disk before closing it. False, with
// nothing created, when `path` exists already. The new file takes the permissions of
// `permissionsOf` when that file exists.
bool WriteNewFile(const std::string& path, std::string_view bytes,
                  const std::string& permissionsOf);

// Renames `from` over `to` in one step: whoever opens `to` finds either the old file or the new
// one, never none and never a part.
void RenameOver(const std::string& from, const std::string& to);

// Creates the folder `path`; false, with nothing created, when something of that name exists.
bool MakeFolder(const std::string& path);

// Removes `path` and everything in it, as far as it can; never raises (it runs when a step
// ends, failures included).
void RemoveTree(const std::string& path) noexcept;

}  // namespace platform::system_files
