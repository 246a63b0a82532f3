#pragma once

// Whole files the user owns, read within a limit and replaced in one step.
//
// Every file a tool or a plug-in writes (a mailbox, a registry file, a profile, a trace) goes
// through ReplaceFile: the bytes are written to a new file beside the old one, flushed to the
// disk and renamed over it. A kill, a full disk or a folder in the way then costs the user
// nothing: the old file is either still there, whole, or replaced by the whole new one.
//
// Every file a tool reads goes through ReadFileWithin, so that a folder, a device that never
// ends (/dev/zero) or a file far larger than any the tool writes is refused with the file's
// name instead of filling memory.

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

#include "platform/exception.h"

namespace platform {

// A file that cannot be read or written. The message is "PATH: DETAIL", for example
// "mailbox.json: is a folder".
class FileError : public Exception {
 public:
  FileError(std::string path, std::string detail);
  const std::string& Path() const { return path_; }
  const std::string& Detail() const { return detail_; }

 private:
  std::string path_;
  std::string detail_;
};

// "64 MiB", "1000 bytes": a limit as the messages and the documentation give it.
std::string SizeText(std::size_t bytes);

// All bytes of the file. Raises FileError when it is missing, a folder, cannot be read, or
// holds more than `limit` bytes; never reads more than `limit` + 1 bytes.
std::string ReadFileWithin(const std::string& path, std::size_t limit);
// All bytes of a stream (standard input), within `limit` as above; `name` stands for the
// stream in the message.
std::string ReadStreamWithin(std::istream& in, std::size_t limit, const std::string& name);

// Gives the file at `path` exactly `bytes`, atomically: through a temporary file in the same
// folder, flushed to the disk and renamed over the old file, whose permissions it takes. A
// symbolic link is followed, so the file it points to is replaced and the link stays. On any
// failure the temporary file is removed, the old file is left as it was, and FileError names
// `path`.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace platform
