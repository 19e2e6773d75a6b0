// startbench BASELINE PROGRAM [RUNS]: starts the two programs in turn, RUNS
// times each (default 7), and prints the median time of each in milliseconds,
// baseline first, from CreateProcess to the moment the program's message loop
// first waits for input with a visible top-level window, that is, with its
// first paint done; then ends it. Taking turns spreads the machine's own
// slow and fast moments over both.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/win32.h"

namespace {

struct Find {
  DWORD pid;
  bool visible;
};

BOOL CALLBACK EachWindow(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == f->pid && IsWindowVisible(hwnd)) {
    f->visible = true;
    return FALSE;
  }
  return TRUE;
}

double Once(const std::wstring& program) {
  LARGE_INTEGER freq, start, now;
  QueryPerformanceFrequency(&freq);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + program + L"\"";
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  double ms = -1;
  for (int i = 0; i < 2000; ++i) {
    DWORD idle = WaitForInputIdle(pi.hProcess, 10);
    Find f{pi.dwProcessId, false};
    EnumWindows(EachWindow, reinterpret_cast<LPARAM>(&f));
    if (idle == 0 && f.visible) {
      QueryPerformanceCounter(&now);
      ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
      break;
    }
    if (idle == WAIT_FAILED) Sleep(5);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fputs("usage: startbench BASELINE PROGRAM [RUNS]\n", stderr);
    return 2;
  }
  int runs = argc > 3 ? _wtoi(argv[3]) : 7;
  if (runs < 1) runs = 1;
  // Warm the file cache and Wine's own start-up.
  Once(argv[1]);
  Once(argv[2]);
  std::vector<double> times[2];
  for (int i = 0; i < runs; ++i) {
    for (int p = 0; p < 2; ++p) {
      double t = Once(argv[1 + p]);
      if (t < 0) {
        fwprintf(stderr, L"startbench: %ls did not come up\n", argv[1 + p]);
        return 1;
      }
      times[p].push_back(t);
    }
  }
  printf("%.1f %.1f\n", Median(times[0]), Median(times[1]));
  return 0;
}
