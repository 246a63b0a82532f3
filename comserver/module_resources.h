#pragma once

// The synchronizer modules' resource libraries, fwres.dll and the module's .DLR library,
// loaded on first use.

namespace comserver {

// Loads the libraries the first time it is called after the module was loaded; later calls do
// nothing. A missing .DLR library is announced by that first call.
//
// The module's own start-up would be the natural place, but it runs under the loader lock,
// where loading other libraries and showing a message box can deadlock; so the first call
// that hands out the class factory or shows the about box does it instead.
void EnsureModuleResources();
// Frees the libraries again; for the module's detach.
void ReleaseModuleResources();

}  // namespace comserver
