// The chart of a property against the atomic number, as geometry: the axes
// and their ticks, where each point and joining line lies, the periods'
// marks, and which point a click hits. Portable; the chart window only
// draws what is laid out here, in twips of its plot.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kit/geometry.h"

namespace viewer {

// A value axis: its ends, whether values lie on it by their logarithm, and
// the values where ticks stand with their labels (decimal comma, no unit,
// no thousands separator: "0,5", "1000").
struct ValueAxis {
  double low = 0, high = 1;
  bool logarithmic = false;
  std::vector<double> ticks;
  std::vector<std::wstring> labels;

  // Where `value` lies from 0 (low) to 1 (high).
  double Position(double value) const;
};

// Round ticks that span [min, max]: 1, 2 or 5 times a power of ten apart on
// a linear axis, about `target` of them; powers of ten on a logarithmic one
// (whose values must be positive). The ends are widened to the ticks.
ValueAxis FitValueAxis(double min, double max, bool logarithmic, int target = 6);

// One plotted element.
struct ChartPoint {
  int atomic_number = 0;
  double value = 0;
};

// The periods end after these atomic numbers (the noble gases).
inline constexpr int kPeriodEnds[] = {2, 10, 18, 36, 54, 86};
inline constexpr int kLastAtomicNumber = 118;

struct ChartLayout {
  kit::Rect plot;                        // the area inside the axes
  std::vector<kit::Point> points;        // the centre of each point, in the input order
  // Pairs of indexes into `points` joined by a line: consecutive atomic
  // numbers only, so a missing value leaves a gap.
  std::vector<std::pair<int, int>> joins;
  std::vector<int> period_lines;         // x of the line after each period's noble gas
  std::vector<kit::Point> period_labels; // centre of "1".."7" at the top of each period
  std::vector<int> x_ticks;              // x of the atomic-number ticks (10, 20, … 110)
  std::vector<int> y_ticks;              // y of the axis's ticks, as its `ticks`
};

// Lays `points` (sorted by atomic number) out in `plot`; x runs over the
// atomic numbers 1 to 118, y over `axis` from the bottom up.
ChartLayout LayoutChart(const std::vector<ChartPoint>& points, const ValueAxis& axis, const kit::Rect& plot);

// The point whose centre lies nearest to (x, y) within `radius`; none when
// no point is that close.
std::optional<int> HitPoint(const ChartLayout& layout, int x, int y, int radius);

}  // namespace viewer
