#pragma once

// IEECDIALOG's members as one setup component answers them, in COM's own types. The COM object
// (dialog_object.h) forwards each call here; whatever the component is, the object around it
// is the same.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

namespace setup::com {

class DialogMethods {
 public:
  virtual ~DialogMethods() = default;

  virtual HRESULT GetControlFile(BSTR* value) noexcept = 0;
  virtual HRESULT PutControlFile(BSTR value) noexcept = 0;
  virtual HRESULT ShowDialog() noexcept = 0;
  virtual HRESULT AddPages(ULONG propPage) noexcept = 0;
  virtual HRESULT RemovePages() noexcept = 0;
  virtual HRESULT CommitPages(const VARIANT& profileName) noexcept = 0;
  virtual HRESULT InvisibleDialog(VARIANT_BOOL* result) noexcept = 0;
  virtual HRESULT GetWizardData(VARIANT* value) noexcept = 0;
  virtual HRESULT PutWizardData(const VARIANT& value) noexcept = 0;
  virtual HRESULT IsPIMInstalled(ULONG* installed) noexcept = 0;
};

}  // namespace setup::com
