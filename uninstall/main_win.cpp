#include "deploy/command_line.h"
#include "kit/win32_app.h"
#include "os/os.h"
#include "uninstall/gorvix.h"
#include "uninstall/unattended.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kit::StartWin32(instance);
  // /S, /? and a bad command line end here, before any window is made.
  std::wstring log_path;
  if (auto exit_code = gorvix::RunCommandLine(os::System(), deploy::ArgumentsOf(GetCommandLineW()), &log_path))
    return *exit_code;
  static gorvix::Gorvix app(os::System(), log_path);
  return kit::RunWin32();
}
