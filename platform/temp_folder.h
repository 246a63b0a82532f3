#pragma once

// A folder of the plug-in's own inside the temporary folder, for the files a step makes on its
// way (attachments saved by GroupWise, texts rendered from attached items). No file of the user
// that happens to lie in the temporary folder can be overwritten or deleted through it, and
// everything in it goes when the step ends, however it ends.

#include <string>
#include <string_view>

#include "platform/environment.h"

namespace platform {

class TempFolder {
 public:
  // A new, empty folder of a name no one else uses, in env's temporary folder. Raises
  // FileError when none can be made.
  static TempFolder Create(Environment& env, std::string_view prefix);

  TempFolder(TempFolder&& other) noexcept;
  TempFolder& operator=(TempFolder&& other) noexcept;
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  // The folder, ending in the path separator.
  const std::string& Path() const { return path_; }
  // The path of a file named `name` in the folder.
  std::string FileIn(std::string_view name) const { return path_ + std::string(name); }
  // Removes the folder and all in it now.
  void Remove() noexcept;

 private:
  explicit TempFolder(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace platform
