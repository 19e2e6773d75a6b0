#include "viewer/chart_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace viewer {
namespace {

// "0,5", "20", "0,001": as many decimals as the step needs, decimal comma.
std::wstring TickText(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", std::max(decimals, 0), value);
  std::wstring text;
  for (const char* p = buffer; *p; ++p) text += *p == '.' ? L',' : static_cast<wchar_t>(*p);
  return text == L"-0" ? L"0" : text;
}

}  // namespace

double ValueAxis::Position(double value) const {
  if (logarithmic) {
    if (value <= 0 || low <= 0) return 0;
    return (std::log10(value) - std::log10(low)) / (std::log10(high) - std::log10(low));
  }
  return high > low ? (value - low) / (high - low) : 0.5;
}

ValueAxis FitValueAxis(double min, double max, bool logarithmic, int target) {
  ValueAxis axis;
  axis.logarithmic = logarithmic;
  if (max < min) std::swap(min, max);
  if (logarithmic) {
    const int first = static_cast<int>(std::floor(std::log10(std::max(min, 1e-12))));
    int last = static_cast<int>(std::ceil(std::log10(std::max(max, 1e-12))));
    if (last == first) ++last;
    for (int e = first; e <= last; ++e) {
      axis.ticks.push_back(std::pow(10.0, e));
      axis.labels.push_back(TickText(std::pow(10.0, e), std::max(-e, 0)));
    }
  } else {
    if (max == min) {
      min -= 1;
      max += 1;
    }
    const double raw = (max - min) / std::max(target, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0})
      if (m * power >= raw) {
        step = m * power;
        break;
      }
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    const double first = std::floor(min / step + 1e-9) * step;
    // Up to the first tick at or above the highest value.
    for (int k = 0;; ++k) {
      const double tick = std::round(first / step + k) * step;
      axis.ticks.push_back(tick);
      axis.labels.push_back(TickText(tick, decimals));
      if (tick >= max - step * 1e-9) break;
    }
  }
  axis.low = axis.ticks.front();
  axis.high = axis.ticks.back();
  return axis;
}

ChartLayout LayoutChart(const std::vector<ChartPoint>& points, const ValueAxis& axis, const kit::Rect& plot) {
  ChartLayout out;
  out.plot = plot;
  // Atomic number n sits in the middle of the n-th of 118 equal columns.
  auto x_of = [&](double n) { return plot.left + static_cast<int>(std::lround((n - 0.5) * plot.width / kLastAtomicNumber)); };
  auto y_of = [&](double t) { return plot.Bottom() - static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * plot.height)); };
  for (size_t i = 0; i < points.size(); ++i) {
    out.points.push_back({x_of(points[i].atomic_number), y_of(axis.Position(points[i].value))});
    if (i > 0 && points[i].atomic_number == points[i - 1].atomic_number + 1)
      out.joins.emplace_back(static_cast<int>(i - 1), static_cast<int>(i));
  }
  int start = 1;
  for (int end : kPeriodEnds) {
    out.period_lines.push_back(x_of(end + 0.5));
    out.period_labels.push_back({x_of((start + end) / 2.0), plot.top});
    start = end + 1;
  }
  out.period_labels.push_back({x_of((start + kLastAtomicNumber) / 2.0), plot.top});
  for (int n = 10; n <= kLastAtomicNumber; n += 10) out.x_ticks.push_back(x_of(n));
  for (double t : axis.ticks) out.y_ticks.push_back(y_of(axis.Position(t)));
  return out;
}

std::optional<int> HitPoint(const ChartLayout& layout, int x, int y, int radius) {
  std::optional<int> best;
  long long best_d2 = static_cast<long long>(radius) * radius;
  for (size_t i = 0; i < layout.points.size(); ++i) {
    const long long dx = layout.points[i].x - x, dy = layout.points[i].y - y;
    if (dx * dx + dy * dy <= best_d2) {
      best_d2 = dx * dx + dy * dy;
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace viewer
