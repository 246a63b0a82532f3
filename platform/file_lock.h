#pragma once

// An exclusive lock between processes, held on a lock file for as long as the object lives.
//
// The lock is taken on a file of its own, never on the data it guards: the data file is
// replaced by a rename on every save (file_io.h), and a lock on the old file would not hold
// back a process that opens the new one. The lock file is created when missing and never
// removed, because removing it would let two processes lock two different files of one name.
// It holds no data.
//
// POSIX: flock() on the open file, so that two locks of one process exclude each other as well
// as two processes do. Windows: LockFileEx() on the file's first byte.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace platform {

class FileLock {
 public:
  // The lock, or nothing when another holder has it. Raises FileError naming the lock file
  // when it can neither be opened nor created.
  static std::optional<FileLock> TryAcquire(const std::string& lockFile);

  FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}
  FileLock& operator=(FileLock&& other) noexcept {
    if (this != &other) {
      Release();
      handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  // Releases the lock. The system releases it too when the process ends, killed or not, so a
  // lock is never left behind.
  ~FileLock() { Release(); }

 private:
  explicit FileLock(std::intptr_t handle) : handle_(handle) {}
  void Release() noexcept;

  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;  // a file descriptor, or a HANDLE
};

}  // namespace platform
