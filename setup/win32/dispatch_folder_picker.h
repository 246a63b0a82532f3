#pragma once

// The GroupWise folder picker ("gwfoldpick.FolderBrowser") behind the e-mail setup's seam
// (setup/emailsetup/folder_picker.h), called through IDispatch::Invoke by dispatch identifier.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_object.h"
#include "setup/emailsetup/folder_picker.h"

namespace setup::win32 {

inline constexpr char kFolderPickerProgId[] = "gwfoldpick.FolderBrowser";

class DispatchFolderPicker final : public email::FolderPicker {
 public:
  explicit DispatchFolderPicker(platform::win32::ComPtr<IDispatch> picker)
      : picker_(std::move(picker)) {}

  // Each raises platform::AutomationError when the call fails.
  int32_t Login(const std::u16string& user, const std::u16string& params) override;
  int32_t Browse(std::u16string& folderId, std::u16string& folderName) override;
  void Logout() override;

 private:
  platform::win32::DispatchObject picker_;
};

// Creates the picker by its ProgID; raises platform::AutomationError when it cannot.
email::FolderPickerFactory HostFolderPickers();

}  // namespace setup::win32
