#include "base/handles_win.h"
#include "os/system_win.h"

namespace os::win {

namespace {

class Win32Power : public Power {
 public:
  void EnableShutdownPrivilege() override {
    base::KernelHandle token;
    // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
    if (!OpenProcessToken(GetCurrentProcess(), 0x28, token.Put())) return;
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  }

  bool RequestRestart() override { return ExitWindowsEx(EWX_REBOOT, 0xFFFFFFFF) != 0; }
};

class Win32Clock : public Clock {
 public:
  std::int64_t NowSeconds() override { return NowMilliseconds() / 1000; }
  std::int64_t NowMilliseconds() override {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    // 100 ns since 1601 to milliseconds since 1970.
    return static_cast<std::int64_t>(ticks.QuadPart / 10000) - 11644473600000LL;
  }
  void Sleep(int ms) override { SleepEx(ms < 0 ? 0 : static_cast<DWORD>(ms), FALSE); }
  int LocalDate() override {
    SYSTEMTIME today{};
    GetLocalTime(&today);
    return today.wYear * 10000 + today.wMonth * 100 + today.wDay;
  }
};

}  // namespace

Power& SystemPower() {
  static Win32Power power;
  return power;
}

Clock& SystemClock() {
  static Win32Clock clock;
  return clock;
}

}  // namespace os::win
