#pragma once

// The COM object of a synchronizer module, for the dual interface its type library declares
// (IGroupwiseSynchronizer, IGroupWiseEmailSynchronizer): what every object shares in
// DualObject, the seven methods in SynchronizerCore.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include "comserver/dual_object.h"
#include "comserver/synchronizer_core.h"

namespace comserver {

template <class Interface>
class SynchronizerObject final : public DualObject<Interface> {
 public:
  // An ObjectFactory: raises when the object cannot be made.
  static HRESULT Create(const SynchronizerModule& module, REFIID iid, void** object) {
    const auto created = ComPtr<SynchronizerObject>::Attach(new SynchronizerObject(module));
    return created->QueryInterface(iid, object);
  }

  HRESULT STDMETHODCALLTYPE Init(IDispatch* progress, IUnknown* synchSetup, IUnknown* appSetup,
                                 LONG* value) override {
    return core_.Init(progress, synchSetup, appSetup, value);
  }
  HRESULT STDMETHODCALLTYPE Term(IDispatch* progress, LONG* value) override {
    return core_.Term(progress, value);
  }
  HRESULT STDMETHODCALLTYPE Open(IDispatch* progress, LONG* value) override {
    return core_.Open(progress, value);
  }
  HRESULT STDMETHODCALLTYPE Close(IDispatch* progress, LONG* value) override {
    return core_.Close(progress, value);
  }
  HRESULT STDMETHODCALLTYPE CheckSource(IDispatch* progress, LONG* value) override {
    return core_.CheckSource(progress, value);
  }
  HRESULT STDMETHODCALLTYPE ReadSource(IDispatch* progress, IUnknown* stream, short type, short op,
                                       BSTR sTime, LONG* value) override {
    return core_.ReadSource(progress, stream, type, op, sTime, value);
  }
  HRESULT STDMETHODCALLTYPE WriteSource(IDispatch* progress, IUnknown* stream, short type, short op,
                                        BSTR sTime, LONG* value) override {
    return core_.WriteSource(progress, stream, type, op, sTime, value);
  }

 private:
  explicit SynchronizerObject(const SynchronizerModule& module)
      : core_(module, __uuidof(Interface)) {}
  ~SynchronizerObject() override = default;

  SynchronizerCore core_;
};

}  // namespace comserver
