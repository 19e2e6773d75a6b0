// The colour scale of a property shown across the table: which colour each
// value gets, what grey stands for a missing one, which text colour stays
// legible on a fill, and the texts at the ends of the legend's bar.
//
// The colours come from viridis, a map whose lightness rises evenly from
// dark violet to yellow, so equal steps in value look like equal steps in
// colour and readers with the common kinds of colour blindness (and a
// greyscale printout) still read the order. Values that span orders of
// magnitude (density, from hydrogen to osmium) are placed on it by their
// logarithm, all others linearly.
//
// Portable: colours are kit::Color values, nothing is drawn here.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "kit/color.h"
#include "viewer/property_values.h"

namespace viewer {

// Viridis as published: 256 entries from #440154 to #FDE725.
extern const std::array<kit::Color, 256> kViridis;

// The fill of a tile whose value is not known: a neutral light grey, apart
// from every colour of the map.
constexpr kit::Color kNoDataColor = kit::Rgb(0xC8, 0xC8, 0xC8);

// The colour of the map at `t` from 0 (lowest) to 1 (highest); values
// outside are held at the ends.
kit::Color ViridisAt(double t);

// Black or white, whichever stands out more from `fill` (by the contrast
// ratio of the web's accessibility guidelines): white on the dark violet
// and blue half of the map, black on its green and yellow half and on grey.
kit::Color SymbolColorOn(kit::Color fill);

// Whether a property is placed on the map by its logarithm.
bool IsLogarithmic(Property property);

class TrendScale {
 public:
  // The scale spanning the values among `readings` (its lowest value at the
  // bottom, its highest at the top); nothing when none has a value.
  static std::optional<TrendScale> Fit(Property property, std::span<const Reading> readings);

  Property property() const { return property_; }
  const Reading& low() const { return low_; }
  const Reading& high() const { return high_; }

  // Where a value lies between the ends, from 0 to 1.
  double Position(double value) const;
  // The fill for a reading: its place on the map, or the grey without a
  // value.
  kit::Color ColorOf(const Reading& reading) const;

  // The legend's texts at the ends of the bar, with the unit: "0,7" and
  // "3,98"; "28 pm" and "260 pm".
  std::wstring LowText() const { return ValueText(property_, low_, false); }
  std::wstring HighText() const { return ValueText(property_, high_, false); }

 private:
  TrendScale(Property property, Reading low, Reading high) : property_(property), low_(low), high_(high) {}

  Property property_;
  Reading low_, high_;
};

// The caption of the legend's grey swatch.
inline constexpr wchar_t kNoDataCaption[] = L"няма данни";

}  // namespace viewer
