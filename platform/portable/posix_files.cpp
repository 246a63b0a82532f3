// The durable and exclusive file operations on POSIX systems (system_files.h, file_lock.h).

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/system_files.h"

namespace platform {
namespace {

std::string Reason(int error) {
  return std::generic_category().message(error);
}

// An open file descriptor, closed when the owner goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }
  // Closes now, so that a failure to close (some file systems report a failed write only
  // then) can be told; the error number, 0 when it closed.
  int Close() {
    const int result = ::close(Release());
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A rename is only durable once the folder that holds the name is flushed too. The file is
// whole either way, so a folder that cannot be flushed is no failure of the save.
void FlushFolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  // Not `folder = "."`: gcc 12 at -O3 warns (-Wrestrict) about that assignment, falsely.
  if (folder.empty()) folder.push_back('.');
  const Descriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle) ::fsync(handle.Get());
}

}  // namespace

namespace system_files {

bool WriteNewFile(const std::string& path, std::string_view bytes,
                  const std::string& permissionsOf) {
  Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!file) {
    if (errno == EEXIST) return false;
    throw FileError(path, "cannot be created: " + Reason(errno));
  }
  // A private mailbox stays private; without an old file the umask decides, as for any new
  // file.
  struct stat old {};
  if (::stat(permissionsOf.c_str(), &old) == 0) ::fchmod(file.Get(), old.st_mode & 07777);
  if (!WriteAll(file.Get(), bytes)) throw FileError(path, "cannot be written: " + Reason(errno));
  if (::fsync(file.Get()) != 0) {
    throw FileError(path, "cannot be flushed to the disk: " + Reason(errno));
  }
  if (const int error = file.Close()) {
    throw FileError(path, "cannot be written: " + Reason(error));
  }
  return true;
}

void RenameOver(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    throw FileError(to, "cannot be replaced: " + Reason(errno));
  }
  FlushFolderOf(to);
}

bool MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  if (errno == EEXIST) return false;
  throw FileError(path, "cannot be created: " + Reason(errno));
}

void RemoveTree(const std::string& path) noexcept {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

}  // namespace system_files

std::optional<FileLock> FileLock::TryAcquire(const std::string& lockFile) {
  Descriptor file(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (!file) throw FileError(lockFile, "cannot be opened: " + Reason(errno));
  while (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return std::nullopt;
    if (errno != EINTR) throw FileError(lockFile, "cannot be locked: " + Reason(errno));
  }
  return FileLock(file.Release());
}

void FileLock::Release() noexcept {
  if (handle_ == kNone) return;
  const Descriptor file(static_cast<int>(std::exchange(handle_, kNone)));
}

}  // namespace platform
