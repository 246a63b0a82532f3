#pragma once

// The COM object of a setup component, for the IEECDIALOG its type library declares: what every
// object shares in comserver's DualObject, the members in the component's DialogMethods.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <memory>

#include "comserver/dual_object.h"
#include "setup/com/dialog_methods.h"

namespace setup::com {

template <class Interface>
class DialogObject final : public comserver::DualObject<Interface> {
 public:
  // Makes the component's methods for one object; raises when they cannot be made.
  using MethodsFactory = std::unique_ptr<DialogMethods> (*)(REFIID interfaceId);

  // The body of SetupModule::createObject; raises when the object cannot be made.
  static HRESULT Create(MethodsFactory methods, REFIID iid, void** object) {
    const auto created = platform::win32::ComPtr<DialogObject>::Attach(new DialogObject(methods));
    return created->QueryInterface(iid, object);
  }

  HRESULT STDMETHODCALLTYPE get_ControlFile(BSTR* value) override {
    return methods_->GetControlFile(value);
  }
  HRESULT STDMETHODCALLTYPE put_ControlFile(BSTR value) override {
    return methods_->PutControlFile(value);
  }
  HRESULT STDMETHODCALLTYPE ShowDialog() override { return methods_->ShowDialog(); }
  HRESULT STDMETHODCALLTYPE AddPages(ULONG propPage) override {
    return methods_->AddPages(propPage);
  }
  HRESULT STDMETHODCALLTYPE RemovePages() override { return methods_->RemovePages(); }
  HRESULT STDMETHODCALLTYPE CommitPages(VARIANT profileName) override {
    return methods_->CommitPages(profileName);
  }
  HRESULT STDMETHODCALLTYPE InvisibleDialog(VARIANT_BOOL* result) override {
    return methods_->InvisibleDialog(result);
  }
  HRESULT STDMETHODCALLTYPE get_WizardData(VARIANT* value) override {
    return methods_->GetWizardData(value);
  }
  HRESULT STDMETHODCALLTYPE put_WizardData(VARIANT value) override {
    return methods_->PutWizardData(value);
  }
  HRESULT STDMETHODCALLTYPE IsPIMInstalled(ULONG* installed) override {
    return methods_->IsPIMInstalled(installed);
  }

 private:
  explicit DialogObject(MethodsFactory methods) : methods_(methods(__uuidof(Interface))) {}
  ~DialogObject() override = default;

  std::unique_ptr<DialogMethods> methods_;
};

}  // namespace setup::com
