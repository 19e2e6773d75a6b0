// Setup.exe: the installer wizard, starting on its welcome page.
#include "kit/win32_app.h"
#include "os/os.h"
#include "setup/wizard.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kit::StartWin32(instance);
  static setup::Installer app(os::System(), setup::UserNumberLocale());
  return kit::RunWin32();
}
