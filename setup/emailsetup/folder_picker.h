#pragma once

// The GroupWise folder picker ("gwfoldpick.FolderBrowser"), an outside automation object that
// the General page uses to let the user choose the folder mailsync reads instead of the
// inbox. The Win32 shell adapts the real object (IDispatch, dispatch identifiers 1 to 3);
// tests and tools use the simulated one of sim/host/folder_picker_sim.h.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace setup::email {

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // Dispatch identifier 1: logs into GroupWise; 0 or more is success.
  virtual int32_t Login(const std::u16string& user, const std::u16string& params) = 0;
  // 2: lets the user choose a folder. `folderId` holds the current folder's identifier on
  // entry and the chosen one's on return, `folderName` receives its display name; 0 or more
  // is success.
  virtual int32_t Browse(std::u16string& folderId, std::u16string& folderName) = 0;
  // 3: logs out, just before the object is released.
  virtual void Logout() = 0;
};

// Creates the object by its ProgID; raises platform::Exception when it cannot.
using FolderPickerFactory = std::function<std::unique_ptr<FolderPicker>()>;

}  // namespace setup::email
