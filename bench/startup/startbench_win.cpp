// startbench PROGRAM [RUNS]: starts PROGRAM RUNS times (default 7) and prints
// the median time in milliseconds from CreateProcess to the moment its
// message loop first waits for input with a visible top-level window, that
// is, with its first paint done; then ends it.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "kit/win32.h"

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fputs("usage: startbench PROGRAM [RUNS]\n", stderr);
    return 2;
  }
  int runs = argc > 2 ? _wtoi(argv[2]) : 7;
  Once(argv[1]);  // warm the file cache and Wine's own start-up
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double t = Once(argv[1]);
    if (t < 0) {
      fputs("startbench: the program did not come up\n", stderr);
      return 1;
    }
    times.push_back(t);
  }
  std::sort(times.begin(), times.end());
  printf("%.1f\n", times[times.size() / 2]);
  return 0;
}
