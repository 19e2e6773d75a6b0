// Setup.exe: the installer wizard, starting on its welcome page.
#include "kit/win32_app.h"
#include "os/os.h"
#include "setup/wizard.h"

#if __has_include("setup/install_engine.h")
#include "setup/install_engine.h"
#define ELEMORA_SETUP_HAS_ENGINE 1
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kit::StartWin32(instance);
  static setup::Installer app(os::System(), setup::UserNumberLocale());
#ifdef ELEMORA_SETUP_HAS_ENGINE
  app.run_installation = [] { setup::RunInstallation(app); };
#endif
  return kit::RunWin32();
}
