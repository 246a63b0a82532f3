#pragma once

// The host's side of a setup component (IEECDIALOG), as the Windows build of gwsync plays it:
// the component created by its ProgID and called through IDispatch by the dispatch identifiers
// every component shares, and the host's own wizard sheet around the pages the component hands
// over. The calling thread must be in an apartment.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/com_ptr.h"

namespace gwsync {

class SetupComponentHost {
 public:
  // Raises platform::Exception when the component is not registered or cannot be created.
  explicit SetupComponentHost(std::string_view progId);

  // Each raises platform::Exception with the method's name when the call fails.
  void SetControlFile(const std::u16string& path);
  void ShowDialog();
  // bResult.
  bool InvisibleDialog();
  // The component's pages, from the null-terminated array whose address it stored.
  std::vector<HPROPSHEETPAGE> AddPages();
  // ProfileName is the VARIANT as given, whatever its type.
  void CommitPages(const VARIANT& profileName);
  void RemovePages();
  uint32_t IsPIMInstalled();

  IDispatch* Dispatch() const { return component_.Get(); }

 private:
  platform::win32::ComPtr<IDispatch> component_;
};

// The host's wizard: a PSH_WIZARD sheet of the component's pages followed by a last page of its
// own with Finish. True when the user pressed Finish; the sheet destroys the pages with itself.
// Raises platform::Exception when the sheet cannot be shown.
bool RunHostWizard(const std::vector<HPROPSHEETPAGE>& pages);

// The caption of the host's wizard and its last page's text.
inline constexpr wchar_t kHostWizardCaption[] = L"Synchronization Settings Wizard";

}  // namespace gwsync
