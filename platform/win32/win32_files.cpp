// The durable and exclusive file operations on Windows (system_files.h, file_lock.h). Paths are
// 8-bit text in the ANSI code page, as the C runtime opens the same files.

#include <algorithm>
#include <system_error>

#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/system_files.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/windows_api.h"

namespace platform {
namespace {

using UniqueFile = win32::UniqueHandle<HANDLE, &CloseHandle>;

std::string Reason(DWORD error) {
  return std::system_category().message(static_cast<int>(error)) + " (error " +
         std::to_string(error) + ")";
}

// CreateFile's failure is INVALID_HANDLE_VALUE, which the owner would take for a handle.
UniqueFile Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueFile(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace

namespace system_files {

bool WriteNewFile(const std::string& path, std::string_view bytes,
                  const std::string& /*permissionsOf: a new file takes its folder's*/) {
  UniqueFile file = Open(path, GENERIC_WRITE, 0, CREATE_NEW);
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return false;
    throw FileError(path, "cannot be created: " + Reason(error));
  }
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr)) {
      throw FileError(path, "cannot be written: " + Reason(GetLastError()));
    }
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file.Get())) {
    throw FileError(path, "cannot be flushed to the disk: " + Reason(GetLastError()));
  }
  return true;
}

void RenameOver(const std::string& from, const std::string& to) {
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw FileError(to, "cannot be replaced: " + Reason(GetLastError()));
  }
}

bool MakeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return false;
  throw FileError(path, "cannot be created: " + Reason(error));
}

// Through the ANSI calls, as the folder was made: the C++ library's own would take the bytes
// for another encoding.
void RemoveTree(const std::string& path) noexcept {
  WIN32_FIND_DATAA found;
  const std::string pattern = path + "\\*";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string inside = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(inside);
      } else {
        SetFileAttributesA(inside.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(inside.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace system_files

std::optional<FileLock> FileLock::TryAcquire(const std::string& lockFile) {
  // Everyone may open the lock file; only the byte range lock excludes.
  UniqueFile file = Open(lockFile, GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_ALWAYS);
  if (!file) throw FileError(lockFile, "cannot be opened: " + Reason(GetLastError()));
  OVERLAPPED first{};
  if (!LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                  &first)) {
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return std::nullopt;
    throw FileError(lockFile, "cannot be locked: " + Reason(error));
  }
  return FileLock(reinterpret_cast<std::intptr_t>(file.Detach()));
}

void FileLock::Release() noexcept {
  if (handle_ == kNone) return;
  // Closing the handle releases the lock.
  const UniqueFile file(reinterpret_cast<HANDLE>(std::exchange(handle_, kNone)));
}

}  // namespace platform
