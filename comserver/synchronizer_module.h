#pragma once

// What makes one synchronizer DLL differ from the other: its class, ProgID, about-box
// resources and the portable plug-in class behind the COM object. Everything else (type
// library handling, class factory, registration, exports, about box) is shared.
//
// Each DLL defines ThisSynchronizer() once, in its module file; the shared exports ask it.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <memory>

#include "framework/base_isync.h"
#include "platform/platform.h"

namespace comserver {

struct SynchronizerModule;

// Makes the portable plug-in object, which the COM object then owns with its platform.
using PluginFactory = std::unique_ptr<framework::TBaseIsync> (*)(platform::Platform& platform);
// Makes a COM object of the module's class and hands out its interface iid.
using ObjectFactory = HRESULT (*)(const SynchronizerModule& module, REFIID iid, void** object);

struct SynchronizerModule {
  // The creatable class; its help text, the library's GUID and version come from the type
  // library, so they are written in the .idl only.
  const CLSID& classId;
  const char* progId;
  int aboutTextId;    // string of the .DLR library shown in the about box
  int aboutBitmapId;  // bitmap of the .DLR library shown in the about box
  PluginFactory createPlugin;
  ObjectFactory createObject;
};

const SynchronizerModule& ThisSynchronizer();

}  // namespace comserver
