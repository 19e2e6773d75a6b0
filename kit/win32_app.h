// Entry points of the Win32 backend, for a program's main_win.cpp only.
//
//   int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
//     kit::StartWin32(instance);       // DPI awareness, common controls, backend
//     static MyApp app(os::System());  // builds and shows the first form
//     return kit::RunWin32();          // message loop until the program ends
//   }
//
// Image controls name their pictures as resources of the program: a BITMAP
// resource of that name, else an ICON resource.
#pragma once

#include "base/win32.h"

namespace kit {

void StartWin32(HINSTANCE instance);
int RunWin32();

}  // namespace kit
