#include "kit/win32_app.h"
#include "os/os.h"
#include "uninstall/gorvix.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kit::StartWin32(instance);
  static gorvix::Gorvix app(os::System());
  return kit::RunWin32();
}
