#pragma once

// The simulated mailbox kept in a JSON file between runs. docs/groupwise-store.md describes
// the file; this is its only reader and writer.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "sim/groupwise/mailbox.h"

namespace sim {

// A store that cannot be read or written. The message names the file and, for a fault in
// its text, the line and column: "mailbox.json, line 12, column 20: expected a date ...".
class StoreError : public platform::Exception {
 public:
  StoreError(std::string file, std::size_t line, std::size_t column, std::string detail);
  const std::string& File() const { return file_; }
  std::size_t Line() const { return line_; }  // 0 when the fault is not in the text
  std::size_t Column() const { return column_; }
  const std::string& Detail() const { return detail_; }

 private:
  std::string file_;
  std::size_t line_;
  std::size_t column_;
  std::string detail_;
};

// The file's text for a mailbox. Equal mailboxes give equal bytes; dates keep whole seconds.
std::string StoreToJson(const Mailbox& mailbox);
// Raises StoreError naming `file` (only used in messages).
Mailbox StoreFromJson(std::string_view text, const std::string& file);

// The largest store file that is read (docs/groupwise-store.md): a mailbox of this size holds
// far more than a handheld can, and a file or device beyond it is refused before it fills the
// memory.
inline constexpr std::size_t kStoreFileLimit = std::size_t{128} << 20;

// A path that does not exist gives an empty mailbox: one account, an empty calendar, no
// address books, no mail. Raise StoreError. The file is replaced atomically (platform/file_io.h): a
// failed save leaves the old file whole.
Mailbox LoadStore(const std::string& path);
void SaveStore(const std::string& path, const Mailbox& mailbox);

// One run's use of a store file: loaded when made, saved when asked, and able to tell whether
// the run changed anything, so a tool can leave an unchanged file alone. It tells by the
// mailbox's change count (Mailbox::Changes), so a run that only reads costs no text of the
// store at all.
class StoreFile {
 public:
  explicit StoreFile(std::string path);

  const std::string& Path() const { return path_; }
  bool Existed() const { return existed_; }
  // What the simulated objects work on (GroupWise::mailbox).
  const std::shared_ptr<Mailbox>& State() const { return mailbox_; }
  // Something was changed since the mailbox was loaded or last saved. A value written over
  // the same value is no change, nor a message marked read and back unread (Mailbox::SetRead).
  bool Changed() const;
  // Writes the file, creating it when it does not exist.
  void Save();
  // Save when the mailbox changed or the file does not exist yet: what a tool does after a run.
  void SaveIfChanged();

 private:
  std::string path_;
  bool existed_ = false;
  std::shared_ptr<Mailbox> mailbox_;
  uint64_t savedChanges_ = 0;
};

}  // namespace sim
