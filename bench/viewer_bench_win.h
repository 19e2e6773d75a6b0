// What the viewer's benchmarks under Wine share: a clock in milliseconds,
// medians, and the real viewer window opened on FOLDER\vrakel.mdb from the
// command line "NAME FOLDER [ROUNDS]".
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

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The window shown and its first paint done; `hwnd` is null when it did
// not open.
struct Viewer {
  explicit Viewer(const wchar_t* folder) : form(engine, folder) {
    form.Show();
    kit::CurrentPlatform().DoEvents();
    hwnd = FindWindowW(L"ElemoraForm", nullptr);
  }
  // Whether the window opened; says so when not.
  bool Ready() const {
    if (!hwnd) std::fprintf(stderr, "no window\n");
    return hwnd != nullptr;
  }
  bool started = (kit::StartWin32(GetModuleHandleW(nullptr)), true);
  viewer::JetDatabaseEngine engine;
  viewer::FormMain form;
  HWND hwnd = nullptr;
};

// The rounds asked for, or `fallback`; nothing (after the usage) when the
// folder is missing.
inline std::optional<int> Rounds(int argc, wchar_t** argv, const char* name, int fallback) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", name);
    return std::nullopt;
  }
  return argc > 2 ? std::max(1, _wtoi(argv[2])) : fallback;
}

}  // namespace bench
