// What the viewer's benchmarks under Wine share: a clock in milliseconds,
// medians, and the real viewer window.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/win32.h"
#include "kit/platform.h"
#include "kit/win32_app.h"
#include "viewer/form_main.h"
#include "viewer/jet_record_source.h"

namespace bench {

inline double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Handles the messages waiting, painting among them.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The command line "NAME FOLDER [ROUNDS]" read, and the window shown on
// FOLDER\vrakel.mdb with its first paint done. Exit() is what the program
// should end with when that failed (after saying why), else 0.
struct Viewer {
  Viewer(int argc, wchar_t** argv, const char* name, int rounds_by_default) {
    if (argc < 2) {
      std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", name);
      return;
    }
    rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : rounds_by_default;
    kit::StartWin32(GetModuleHandleW(nullptr));
    form.emplace(engine, argv[1]);
    form->Show();
    kit::CurrentPlatform().DoEvents();
    hwnd = FindWindowW(L"ElemoraForm", nullptr);
    if (!hwnd) std::fprintf(stderr, "no window\n");
  }
  int Exit() const { return !form ? 2 : !hwnd ? 1 : 0; }

  int rounds = 0;
  viewer::JetDatabaseEngine engine;
  std::optional<viewer::FormMain> form;
  HWND hwnd = nullptr;
};

}  // namespace bench
