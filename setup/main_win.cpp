// Setup.exe: the installer wizard, starting on its welcome page; with /S the
// same installation without a window, for deployment tools.
#include "deploy/command_line.h"
#include "kit/win32_app.h"
#include "os/os.h"
#include "setup/install_engine.h"
#include "setup/unattended.h"
#include "setup/wizard.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  std::wstring_view args = deploy::ArgumentsOf(GetCommandLineW());
  deploy::ParsedCommandLine command = deploy::ParseArguments(args, deploy::Program::kSetup);
  const wchar_t* title = L"Zentrik Elemora";
  if (!command.ok) {
    if (!deploy::AsksForSilence(args)) {
      std::wstring text = command.error + L"\n\n" + deploy::UsageText(deploy::Program::kSetup);
      MessageBoxW(nullptr, text.c_str(), title, MB_OK | MB_ICONERROR);
    }
    return deploy::kExitBadCommandLine;
  }
  if (command.options.usage) {
    MessageBoxW(nullptr, deploy::UsageText(deploy::Program::kSetup).c_str(), title, MB_OK | MB_ICONINFORMATION);
    return deploy::kExitSuccess;
  }
  if (command.options.silent) return setup::InstallUnattended(os::System(), command.options, setup::UserNumberLocale());

  kit::StartWin32(instance);
  static setup::Installer app(os::System(), setup::UserNumberLocale());
  app.run_installation = [] { setup::RunInstallation(app); };
  return kit::RunWin32();
}
