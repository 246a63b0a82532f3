#pragma once

// <windows.h> as the backend includes it. MessageBox is a macro there (MessageBoxA or
// MessageBoxW) that would rename UserInterface::MessageBox in every file that sees both
// headers; the backend calls MessageBoxA by its own name.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef MessageBox
