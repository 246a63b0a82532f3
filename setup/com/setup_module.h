#pragma once

// What makes one setup component's DLL differ from the others: its class, its versioned
// ProgID and how its objects are made. Type library handling, class factory, registration and
// exports are shared.
//
// Each DLL defines ThisSetupModule() once, in its module file; the shared exports ask it.

#include "platform/win32/windows_api.h"

namespace setup::com {

struct SetupModule {
  // The creatable class; its description, the library's GUID and version come from the type
  // library, so they are written in the .idl only.
  const CLSID& classId;
  // "emailsetup.EmailSetup.1"; the version-independent ProgID is this without its last part.
  const char* progId;
  // Makes a COM object of the class and hands out its interface iid; may raise.
  HRESULT (*createObject)(REFIID iid, void** object);
};

const SetupModule& ThisSetupModule();

}  // namespace setup::com
