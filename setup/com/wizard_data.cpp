#include "setup/com/wizard_data.h"

#include "platform/win32/ole_owners.h"

namespace setup::com {
namespace {

bool HoldsBstrs(SAFEARRAY* array) {
  // The features say what the elements are whether or not the array also records its type.
  if ((array->fFeatures & FADF_BSTR) == 0) return false;
  VARTYPE type = VT_EMPTY;
  return SUCCEEDED(SafeArrayGetVartype(array, &type)) && type == VT_BSTR &&
         SafeArrayGetElemsize(array) == sizeof(BSTR);
}

}  // namespace

std::optional<WizardData> ReadWizardData(const VARIANT& profileName) {
  SAFEARRAY* array = V_ARRAY(&profileName);
  if (array == nullptr || SafeArrayGetDim(array) != 1 || !HoldsBstrs(array)) return std::nullopt;
  const platform::win32::SafeArrayData<BSTR> data(array);
  const auto elements = data.Elements();
  if (elements.size() < 2) return std::nullopt;
  return WizardData{platform::win32::BstrText(elements[0]), platform::win32::BstrText(elements[1])};
}

}  // namespace setup::com
