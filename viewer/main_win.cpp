// Table.exe: the periodic table viewer.
#include "base/win32.h"
#include "kit/win32_app.h"
#include "os/system_win.h"
#include "viewer/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kit::StartWin32(instance);
  static viewer::App app(os::win::SystemFiles());
  return kit::RunWin32();
}
