// Setup.exe: the installer wizard, starting on its welcome page; with /S the
// same installation without a window, for deployment tools.
#include "deploy/command_line.h"
#include "kit/win32_app.h"
#include "os/os.h"
#include "os/packages.h"
#include "setup/install_engine.h"
#include "setup/package_guard.h"
#include "setup/unattended.h"
#include "setup/wizard.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  deploy::Options options;
  auto show = [](const std::wstring& text, bool error) {
    MessageBoxW(nullptr, text.c_str(), L"Zentrik Elemora", MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
  };
  if (auto exit_code =
          deploy::AnswerCommandLine(deploy::ArgumentsOf(GetCommandLineW()), deploy::Program::kSetup, &options, show))
    return *exit_code;
  if (auto refused = setup::RefuseOverPackage(os::SystemPackages(), os::System().files, options, show)) return *refused;
  if (options.silent) return setup::InstallUnattended(os::System(), options, setup::UserNumberLocale());

  kit::StartWin32(instance);
  static setup::Installer app(os::System(), setup::UserNumberLocale());
  app.run_installation = [] { setup::RunInstallation(app); };
  return kit::RunWin32();
}
