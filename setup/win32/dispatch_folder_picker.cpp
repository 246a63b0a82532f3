#include "setup/win32/dispatch_folder_picker.h"

#include "platform/win32/com_object_factory.h"
#include "platform/win32/variant_conversion.h"

namespace setup::win32 {
namespace {

using platform::Variant;

constexpr DISPID kLogin = 1;
constexpr DISPID kBrowse = 2;
constexpr DISPID kLogout = 3;

constexpr auto kMethod = platform::Dispatch::Invoke::kMethod;

}  // namespace

int32_t DispatchFolderPicker::Login(const std::u16string& user, const std::u16string& params) {
  const Variant args[] = {Variant(user), Variant(params)};
  return picker_.InvokeById(kLogin, "Login", kMethod, args).ToInt32();
}

int32_t DispatchFolderPicker::Browse(std::u16string& folderId, std::u16string& folderName) {
  // Both go out as BSTR references: the identifier holds the current folder on entry.
  Variant id(folderId);
  Variant name(std::u16string{});
  const Variant args[] = {Variant::Reference(id), Variant::Reference(name)};
  const int32_t result = picker_.InvokeById(kBrowse, "Browse", kMethod, args).ToInt32();
  if (result >= 0) {
    folderId = id.GetKind() == Variant::Kind::kText ? id.AsText() : std::u16string();
    folderName = name.GetKind() == Variant::Kind::kText ? name.AsText() : std::u16string();
  }
  return result;
}

void DispatchFolderPicker::Logout() {
  picker_.InvokeById(kLogout, "Logout", kMethod, {});
}

email::FolderPickerFactory HostFolderPickers() {
  return []() -> std::unique_ptr<email::FolderPicker> {
    const platform::Object object =
        platform::win32::ComObjectFactory().CreateObject(kFolderPickerProgId);
    return std::make_unique<DispatchFolderPicker>(platform::win32::DispatchFromObject(object));
  };
}

}  // namespace setup::win32
