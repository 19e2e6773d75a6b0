// atombench FOLDER [ROUNDS]: opens the viewer's window on FOLDER\vrakel.mdb
// and prints, in milliseconds (medians over ROUNDS, default 30):
//   repaint   one full repaint of the viewer's window
//   first     the atom's structure opened the first time (every tile's
//             record read), shown and painted
//   open      opened again after closing (the records kept), shown and painted
//   step      Page Down to the next element, its window brought up to date
//             and repainted
// A console program, so that the figures reach the terminal under Wine.
#include <cstdio>
#include <vector>

#include "bench/viewer_bench_win.h"

namespace {

using bench::Median;
using bench::Now;
using bench::Pump;

void Repaint(HWND hwnd, bool invalidate) {
  RedrawWindow(hwnd, nullptr, nullptr, (invalidate ? RDW_INVALIDATE : 0) | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

// The atom window's own, found by its title.
HWND AtomWindowOf(const viewer::AtomWindow& atom) { return FindWindowW(L"ElemoraForm", atom.caption.c_str()); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Viewer shown(argc, argv, "atombench", 30);
  if (shown.Exit()) return shown.Exit();
  viewer::FormMain& form = *shown.form;
  HWND hwnd = shown.hwnd;
  form.SetFocus(form.Tile("Fe"));
  Pump();

  auto open = [&form] {
    const double a = Now();
    form.OpenAtom();
    kit::CurrentPlatform().Sync();
    if (!form.Atom()) return -1.0;
    HWND atom = AtomWindowOf(*form.Atom());
    if (atom) Repaint(atom, false);
    return atom ? Now() - a : -1.0;
  };
  const double first = open();
  if (first < 0) {
    std::fprintf(stderr, "the atom's structure did not open (is vrakel.mdb in the folder?)\n");
    return 1;
  }
  std::vector<double> repaint, reopen, step;
  for (int i = 0; i < shown.rounds; ++i) {
    const double r = Now();
    Repaint(hwnd, true);
    repaint.push_back(Now() - r);
    Pump();

    // Stepping to and fro keeps to elements with all their parts drawn.
    viewer::AtomWindow* atom = form.Atom();
    const double a = Now();
    atom->Step(i % 2 ? -1 : 1);
    kit::CurrentPlatform().Sync();
    Repaint(AtomWindowOf(*atom), false);
    step.push_back(Now() - a);
    Pump();

    form.Atom()->on_close_request();
    kit::CurrentPlatform().DoEvents();
    Pump();
    reopen.push_back(open());
    Pump();
  }
  std::printf("repaint %.3f ms; atom's structure: first opening %.3f ms, opening %.3f ms (%.2f of a repaint), "
              "next element %.3f ms (%.2f of a repaint)\n",
              Median(repaint), first, Median(reopen), Median(reopen) / Median(repaint), Median(step),
              Median(step) / Median(repaint));
  return 0;
}
