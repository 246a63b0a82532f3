#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "platform/system_files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 64 * 1024;

std::string Reason(int error) {
  return error == 0 ? std::string("unknown reason") : std::generic_category().message(error);
}

[[noreturn]] void TooLarge(const std::string& path, std::size_t limit) {
  throw FileError(path, "is larger than " + SizeText(limit) + ", the most that is read of it");
}

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The temporary file of a save, removed unless the save got as far as renaming it.
class PendingFile {
 public:
  explicit PendingFile(std::string path) : path_(std::move(path)) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (!path_.empty()) std::remove(path_.c_str());
  }
  const std::string& Path() const { return path_; }
  void Renamed() { path_.clear(); }

 private:
  std::string path_;
};

// "mailbox.json.3f9a01c2.tmp" beside "mailbox.json": the same folder, so the rename never
// crosses file systems, and a name that says whose it was if a kill leaves it behind.
std::string TemporaryNameFor(const std::string& target) {
  static thread_local std::mt19937 random{std::random_device{}()};
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
  return target + suffix;
}

// Where a save must write: the file a symbolic link points to, so the link stays a link.
std::string SaveTarget(const std::string& path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  const fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved.string();
}

}  // namespace

FileError::FileError(std::string path, std::string detail)
    : Exception(path + ": " + detail), path_(std::move(path)), detail_(std::move(detail)) {}

std::string SizeText(std::size_t bytes) {
  constexpr std::size_t kKiB = 1024, kMiB = kKiB * 1024;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::string ReadFileWithin(const std::string& path, std::size_t limit) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) throw FileError(path, "does not exist");
  if (fs::is_directory(status)) throw FileError(path, "is a folder");
  // A regular file too large is refused before a byte is read; devices and pipes, whose size
  // says nothing, are read up to the limit.
  if (fs::is_regular_file(status)) {
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > limit) TooLarge(path, limit);
  }
  errno = 0;
  const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw FileError(path, "cannot be read: " + Reason(errno));
  std::string bytes;
  auto buffer = std::make_unique<char[]>(kChunk);
  for (;;) {
    const std::size_t got = std::fread(buffer.get(), 1, kChunk, file.get());
    if (got > limit - bytes.size()) TooLarge(path, limit);
    bytes.append(buffer.get(), got);
    if (got == kChunk) continue;
    if (std::ferror(file.get())) throw FileError(path, "cannot be read: " + Reason(errno));
    return bytes;
  }
}

std::string ReadStreamWithin(std::istream& in, std::size_t limit, const std::string& name) {
  std::string bytes;
  auto buffer = std::make_unique<char[]>(kChunk);
  while (in) {
    in.read(buffer.get(), static_cast<std::streamsize>(kChunk));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > limit - bytes.size()) TooLarge(name, limit);
    bytes.append(buffer.get(), got);
  }
  if (in.bad()) throw FileError(name, "cannot be read");
  return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string target = SaveTarget(path);
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) throw FileError(path, "is a folder");
  const bool existed = fs::exists(status);
  try {
    for (;;) {
      PendingFile temporary(TemporaryNameFor(target));
      // A name taken already (left by a kill, or another save this very moment) is drawn again.
      if (!system_files::WriteNewFile(temporary.Path(), bytes, target)) continue;
      system_files::RenameOver(temporary.Path(), target);
      temporary.Renamed();
      return;
    }
  } catch (const FileError& failure) {
    throw FileError(path, "cannot be saved (" + failure.Detail() + ")" +
                              (existed ? "; the file is as it was before" : ""));
  }
}

}  // namespace platform
