#pragma once

// <windows.h> as the backend includes it. MessageBox and LoadString are macros there (the A or
// W function) that would rename UserInterface::MessageBox and ResourceLibrary::LoadString in
// every file that sees both headers; the backend calls the A and W functions by their own names.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef MessageBox
#undef LoadString
