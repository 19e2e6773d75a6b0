#include "viewer/trend_scale.h"

#include <algorithm>
#include <cmath>

namespace viewer {

kit::Color ViridisAt(double t) {
  if (!(t > 0)) return kViridis.front();  // NaN included
  if (t >= 1) return kViridis.back();
  return kViridis[static_cast<size_t>(std::lround(t * (kViridis.size() - 1)))];
}

kit::Color SymbolColorOn(kit::Color fill) { return kit::BlackOrWhiteOn(fill); }

bool IsLogarithmic(Property property) { return property == Property::kDensity; }

std::optional<TrendScale> TrendScale::Fit(Property property, std::span<const Reading> readings) {
  const bool log = IsLogarithmic(property);
  const Reading* low = nullptr;
  const Reading* high = nullptr;
  for (const Reading& r : readings) {
    if (!r.HasValue() || (log && !(r.value > 0))) continue;
    if (!low || r.value < low->value) low = &r;
    if (!high || r.value > high->value) high = &r;
  }
  if (!low) return std::nullopt;
  return TrendScale(property, *low, *high);
}

double TrendScale::Position(double value) const {
  double lo = low_.value, hi = high_.value, v = value;
  if (IsLogarithmic(property_)) {
    if (!(v > 0)) return 0;
    lo = std::log(lo);
    hi = std::log(hi);
    v = std::log(v);
  }
  // One value alone sits in the middle of the map.
  if (!(hi > lo)) return 0.5;
  return std::clamp((v - lo) / (hi - lo), 0.0, 1.0);
}

kit::Color TrendScale::ColorOf(const Reading& reading) const {
  return reading.HasValue() ? ViridisAt(Position(reading.value)) : kNoDataColor;
}

}  // namespace viewer
