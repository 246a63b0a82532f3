#pragma once

// IEECDIALOG as the three data setup components answer it, over the component's profile
// session and pages (setup/win32/data_component.h).
//
// Implementation details:
// - Each member is its own exception barrier. A failure nothing else caught (no memory, a
//   window that could not be made) answers S_FALSE, the components' "did not happen", with the
//   failure's text as the thread's error info.
// - InvisibleDialog's failure leaves the error object the host looks for: the class's ProgID as
//   its source, "MAPIERROR" as its description, no interface. The code that goes with it,
//   E_UNEXPECTED, has no field in an error object; the method answers S_FALSE, as the host
//   expects, and the host asks the object.

#include <memory>
#include <vector>

#include "setup/com/dialog_methods.h"
#include "setup/win32/data_component.h"

namespace setup::com {

class DataDialog final : public DialogMethods {
 public:
  DataDialog(std::unique_ptr<win32::DataComponent> component, REFIID interfaceId);

  HRESULT GetControlFile(BSTR* value) noexcept override;
  HRESULT PutControlFile(BSTR value) noexcept override;
  HRESULT ShowDialog() noexcept override;
  HRESULT AddPages(ULONG propPage) noexcept override;
  HRESULT RemovePages() noexcept override;
  HRESULT CommitPages(const VARIANT& profileName) noexcept override;
  HRESULT InvisibleDialog(VARIANT_BOOL* result) noexcept override;
  HRESULT GetWizardData(VARIANT* value) noexcept override;
  HRESULT PutWizardData(const VARIANT& value) noexcept override;
  HRESULT IsPIMInstalled(ULONG* installed) noexcept override;

 private:
  template <typename Body>
  HRESULT Method(const char* name, Body&& body) noexcept;

  std::unique_ptr<win32::DataComponent> component_;
  IID interfaceId_;
  // The wizard's pages from AddPages to RemovePages, and the null-terminated array of their
  // handles that the host reads in the same time.
  std::vector<std::unique_ptr<win32::PropertyPage>> wizardPages_;
  std::vector<HPROPSHEETPAGE> wizardHandles_;
};

}  // namespace setup::com
