// Self-registration (regsvr32): each class under its CLSID as an in-process server of this
// module, apartment threaded, and GroupWise's ProgID pointing at it
// (sim/common/com/simulated_classes.h).

#include "sim/common/com/simulated_classes.h"
#include "sim/groupwise/com/class_ids.h"

extern "C" {

STDAPI DllRegisterServer() {
  return sim::com::RegisterClasses(sim::gwsim::kClasses);
}

STDAPI DllUnregisterServer() {
  return sim::com::UnregisterClasses(sim::gwsim::kClasses);
}

}  // extern "C"
