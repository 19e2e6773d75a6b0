// Table.exe: the periodic table viewer.
#include "base/win32.h"
#include "kit/win32_app.h"
#include "os/system_win.h"
#include "viewer/app.h"
#include "viewer/sheets_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kit::StartWin32(instance);
  static viewer::App app(os::win::SystemFiles());
  static viewer::WinSheetOutput sheets;
  app.Main().SetSheetOutput(&sheets);
  return kit::RunWin32();
}
