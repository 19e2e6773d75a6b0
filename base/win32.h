// The one way Win32 headers enter the tree (only *_win.cpp files and the
// programs' entry points include it).
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// Names that windows.h turns into macros and that our models use as method names.
#undef MessageBox
#undef DeleteFile
#undef CopyFile
#undef CreateDirectory
#undef RemoveDirectory
#undef DrawText
#undef GetObject
