#pragma once

#include <unknwn.h>
#include "platform/win32/windows_api.h"

namespace comserver {

// Makes an object of the module's one class and hands out its interface iid; may raise.
using CreateObjectFunction = HRESULT (*)(REFIID iid, void** object);

// The module's one class factory. It lives as long as the module, so its references are not
// counted; a client that wants to keep the module loaded uses LockServer, as COM asks.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateObjectFunction create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  CreateObjectFunction create_;
};

}  // namespace comserver
