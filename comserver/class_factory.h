#pragma once

#include <unknwn.h>
#include "platform/win32/windows_api.h"

#include "comserver/synchronizer_module.h"

namespace comserver {

// The module's one class factory. It lives as long as the module, so its references are not
// counted; a client that wants to keep the module loaded uses LockServer, as COM asks.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const SynchronizerModule& module) : module_(module) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  const SynchronizerModule& module_;
};

}  // namespace comserver
