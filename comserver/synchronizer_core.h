#pragma once

// The part of a synchronizer COM object that does not depend on which interface the module's
// type library calls it: it owns the platform and the portable plug-in, and turns each host
// call's COM arguments into the plug-in's.
//
// Implementation details:
// - Progress: a null IDispatch stays the null object; any other is driven by late binding,
//   like every automation object the plug-in meets.
// - Streams: the host's object is asked for IStream for the length of one call. Without it the
//   plug-in gets a null stream, and its own rules fail the call with Value 1.
// - STime is handed on and never read.
// - The plug-in's methods handle their own failures and answer Value; only Close and Term may
//   raise. A raise ends in the method's barrier: Value 1, a failing HRESULT, and the message
//   as the thread's error info, which ITypeInfo::Invoke turns into DISP_E_EXCEPTION.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <memory>

#include "comserver/synchronizer_module.h"
#include "platform/win32/win32_platform.h"

namespace comserver {

class SynchronizerCore {
 public:
  // Raises when the plug-in cannot be made.
  SynchronizerCore(const SynchronizerModule& module, REFIID interfaceId);

  HRESULT Init(IDispatch* progress, IUnknown* synchSetup, IUnknown* appSetup, LONG* value) noexcept;
  HRESULT Term(IDispatch* progress, LONG* value) noexcept;
  HRESULT Open(IDispatch* progress, LONG* value) noexcept;
  HRESULT Close(IDispatch* progress, LONG* value) noexcept;
  HRESULT CheckSource(IDispatch* progress, LONG* value) noexcept;
  HRESULT ReadSource(IDispatch* progress, IUnknown* stream, short type, short op, BSTR sTime,
                     LONG* value) noexcept;
  HRESULT WriteSource(IDispatch* progress, IUnknown* stream, short type, short op, BSTR sTime,
                      LONG* value) noexcept;

 private:
  template <typename Body>
  HRESULT HostMethod(const char* method, LONG* value, Body&& body) noexcept;

  const SynchronizerModule& module_;
  IID interfaceId_;
  platform::win32::Win32Platform platform_;
  std::unique_ptr<framework::TBaseIsync> plugin_;
};

}  // namespace comserver
