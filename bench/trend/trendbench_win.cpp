// trendbench FOLDER [ROUNDS]: opens the viewer's window on FOLDER\vrakel.mdb
// and prints, in milliseconds (medians over ROUNDS, default 30):
//   repaint    one full repaint of the window (every control, into the back
//              buffer and onto the screen)
//   first      the first property chosen: every tile's record read, the
//              tiles recoloured and the change painted
//   recolour   a later choice (another property, or the categories): the
//              model's work alone, bringing the window up to date, and all
//              of it with painting what changed (the text boxes included)
//   states     the states of matter at a new temperature (the trackbar, the
//              box and the tiles), alone and with painting what changed
// A console program, so that the figures reach the terminal under Wine.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench/viewer_bench_win.h"

namespace {

using bench::Median;
using bench::Now;
using bench::Pump;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Viewer shown(argc, argv, "trendbench", 30);
  if (shown.Exit()) return shown.Exit();
  viewer::FormMain& form = *shown.form;
  const int rounds = shown.rounds;
  HWND hwnd = shown.hwnd;
  for (int i = 0; i < 3; ++i) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  double t0 = Now();
  form.Trends().Show(viewer::Property::kElectronegativity);
  kit::CurrentPlatform().Sync();
  RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  const double first = Now() - t0;
  if (form.Trends().Shown() != viewer::Property::kElectronegativity) {
    std::fprintf(stderr, "the table could not be coloured (is vrakel.mdb in the folder?)\n");
    return 1;
  }
  Pump();

  // Repaints and recolourings take turns, so that the machine's own slow
  // and fast moments fall on both alike.
  std::vector<double> repaint, model, sync, whole;
  const std::optional<viewer::Property> cycle[] = {viewer::Property::kAtomRadius, viewer::Property::kDensity,
                                                   std::nullopt, viewer::Property::kMeltingPoint,
                                                   viewer::Property::kElectronegativity};
  for (int i = 0; i < rounds; ++i) {
    double r = Now();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    repaint.push_back(Now() - r);
    Pump();

    double a = Now();
    form.Trends().Show(cycle[i % std::size(cycle)]);
    double b = Now();
    kit::CurrentPlatform().Sync();
    double s = Now();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    double c = Now();
    model.push_back(b - a);
    sync.push_back(s - b);
    whole.push_back(c - a);
    Pump();
  }
  std::printf(
      "repaint %.3f ms; first colouring %.3f ms; recolour: model %.3f ms, window update %.3f ms, with its repaint "
      "%.3f ms (%.2f of a repaint)\n",
      Median(repaint), first, Median(model), Median(sync), Median(whole), Median(whole) / Median(repaint));

  // The states: each step crosses real edges, so tiles change colour every time.
  form.Trends().ShowStates();
  kit::CurrentPlatform().Sync();
  Pump();
  std::vector<double> state_repaint, state_model, state_whole;
  const int temperatures[] = {30, -40, 100, 3000, -273, 25};
  for (int i = 0; i < rounds; ++i) {
    double r = Now();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    state_repaint.push_back(Now() - r);
    Pump();

    double a = Now();
    form.Trends().States()->SetCelsius(temperatures[i % std::size(temperatures)]);
    double b = Now();
    kit::CurrentPlatform().Sync();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    double c = Now();
    state_model.push_back(b - a);
    state_whole.push_back(c - a);
    Pump();
  }
  std::printf("states: repaint %.3f ms; a new temperature: model %.3f ms, with its repaint %.3f ms (%.2f of a repaint)\n",
              Median(state_repaint), Median(state_model), Median(state_whole),
              Median(state_whole) / Median(state_repaint));
  return 0;
}
