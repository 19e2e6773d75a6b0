// The scale that takes the category legend's place while the table is
// coloured by a property: the property's name, a bar of the whole colour
// map with the lowest and the highest value under its ends, and the grey
// swatch of the elements without a value.
//
// Its controls belong to the form and are created hidden; only Show and
// Hide change them. They lie in the legend's own area (Left 2790 to 6630,
// Top 660 to 1665), which nothing else but the category legend uses.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "viewer/trend_scale.h"

namespace viewer {

class TrendLegend {
 public:
  explicit TrendLegend(kit::Form& form);

  // Shows `property` on `scale`; without a scale (no tile has a value) the
  // bar and its ends stay hidden and only the grey swatch is shown.
  void Show(Property property, const std::optional<TrendScale>& scale);
  void Hide();
  bool Visible() const { return lbl_scale_title.visible; }

  kit::Label lbl_scale_title;
  kit::Label lbl_scale_low;
  kit::Label lbl_scale_high;
  kit::Shape shp_no_data;
  kit::Label lbl_no_data;
  // One stripe for each entry of the map, a pixel wide at 96 DPI, lowest on
  // the left.
  const std::vector<std::unique_ptr<kit::Shape>>& Bar() const { return bar_; }

  static constexpr int kLeft = 2790;
  static constexpr int kBarTop = 930;
  static constexpr int kBarHeight = 210;
  static constexpr int kStripeWidth = 15;

 private:
  std::vector<std::unique_ptr<kit::Shape>> bar_;
};

}  // namespace viewer
