// molarbench FOLDER [ROUNDS]: opens the viewer's window on FOLDER\vrakel.mdb
// and its molar-mass window, and prints, in milliseconds (medians over
// ROUNDS, default 30):
//   repaint   one full repaint of the table's window
//   formula   a 200-character formula put in the box: read, its result and
//             table rebuilt, the window brought up to date and repainted
// A console program, so that the figures reach the terminal under Wine.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/viewer_bench_win.h"

namespace {

using bench::Median;
using bench::Now;
using bench::Pump;

// Hydrate-like chains of 200 characters, two different ones so that every
// round changes what the window shows.
std::wstring LongFormula(const std::wstring& part, const std::wstring& tail) {
  std::wstring text;
  while (text.size() + part.size() + 1 + tail.size() <= 200) text += part + L"·";
  text += tail;
  while (text.size() < 200) text.insert(text.size() - tail.size(), L"H");
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Viewer shown(argc, argv, "molarbench", 30);
  if (shown.Exit()) return shown.Exit();
  viewer::FormMain& form = *shown.form;
  form.OpenMolarMass();
  kit::CurrentPlatform().Sync();
  Pump();
  viewer::MolarWindow* molar = form.MolarMass();
  HWND molar_hwnd = molar ? FindWindowW(L"ElemoraForm", molar->caption.c_str()) : nullptr;
  if (!molar || !molar_hwnd) {
    std::fprintf(stderr, "the molar-mass window did not open (is vrakel.mdb in the folder?)\n");
    return 1;
  }
  const std::wstring formulas[] = {LongFormula(L"K3[Fe(CN)6]", L"CuSO4"), LongFormula(L"Ca3(PO4)2", L"Al2(SO4)3")};
  for (const std::wstring& f : formulas) {
    molar->SetFormula(f);
    if (f.size() != 200 || !molar->Result().Ok()) {
      std::fprintf(stderr, "the benchmark's formula is not a good one of 200 characters\n");
      return 1;
    }
  }
  std::vector<double> repaint, whole;
  for (int i = 0; i < shown.rounds; ++i) {
    double r = Now();
    RedrawWindow(shown.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    repaint.push_back(Now() - r);
    Pump();

    double a = Now();
    molar->SetFormula(formulas[i % 2]);
    kit::CurrentPlatform().Sync();
    RedrawWindow(molar_hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    whole.push_back(Now() - a);
    Pump();
  }
  std::printf("repaint of the table %.3f ms; a 200-character formula read and its result repainted %.3f ms "
              "(%.2f of a repaint)\n",
              Median(repaint), Median(whole), Median(whole) / Median(repaint));
  return 0;
}
