#include "viewer/trend_legend.h"

#include <string>

#include "viewer/window_look.h"
#include "viewer/worksheet.h"

namespace viewer {
namespace {

constexpr int kBarWidth = TrendLegend::kStripeWidth * static_cast<int>(kViridis.size());
constexpr int kEndWidth = 1800;

// Captioned as the category legend, hidden until shown.
void Caption(kit::Label& label, kit::Rect bounds, kit::Align align = kit::Align::kLeft) {
  StyleLegendCaption(label, bounds);
  label.alignment = align;
  label.visible = false;
}

}  // namespace

TrendLegend::TrendLegend(kit::Form& form)
    : lbl_scale_title(form, "lbl_scale_title"),
      lbl_scale_low(form, "lbl_scale_low"),
      lbl_scale_high(form, "lbl_scale_high"),
      shp_no_data(form, "shp_no_data"),
      lbl_no_data(form, "lbl_no_data") {
  Caption(lbl_scale_title, {kLeft, 660, kBarWidth, 255});
  Caption(lbl_scale_low, {kLeft, 1155, kEndWidth, 255});
  Caption(lbl_scale_high, {kLeft + kBarWidth - kEndWidth, 1155, kEndWidth, 255}, kit::Align::kRight);
  // The grey swatch is drawn like the category swatches: 210 x 195, its
  // outline in the window's colour.
  shp_no_data.bounds = {kLeft, 1425, 210, 195};
  shp_no_data.filled = true;
  shp_no_data.fill_color = kNoDataColor;
  shp_no_data.monochrome = ScalePrintFill(std::nullopt);
  shp_no_data.border_color = kBackground;
  shp_no_data.visible = false;
  Caption(lbl_no_data, {kLeft + 255, 1410, 1740, 255});
  lbl_no_data.caption = kNoDataCaption;

  for (size_t i = 0; i < kViridis.size(); ++i) {
    auto stripe = std::make_unique<kit::Shape>(form, "shp_scale_" + std::to_string(i));
    stripe->bounds = {kLeft + kStripeWidth * static_cast<int>(i), kBarTop, kStripeWidth, kBarHeight};
    stripe->filled = true;
    stripe->fill_color = kViridis[i];
    stripe->monochrome = ScalePrintFill(static_cast<double>(i) / (kViridis.size() - 1));
    stripe->outlined = false;
    stripe->visible = false;
    bar_.push_back(std::move(stripe));
  }
}

void TrendLegend::Show(Property property, const std::optional<TrendScale>& scale) {
  lbl_scale_title.caption = CaptionOf(property);
  lbl_scale_title.visible = true;
  lbl_scale_low.caption = scale ? scale->LowText() : std::wstring();
  lbl_scale_high.caption = scale ? scale->HighText() : std::wstring();
  lbl_scale_low.visible = lbl_scale_high.visible = scale.has_value();
  for (auto& stripe : bar_) stripe->visible = scale.has_value();
  shp_no_data.visible = lbl_no_data.visible = true;
}

void TrendLegend::Hide() {
  // Back to the state it was made in: nothing of the last property stays,
  // not even in the hidden captions a screen reader can reach.
  lbl_scale_title.caption.clear();
  lbl_scale_low.caption.clear();
  lbl_scale_high.caption.clear();
  for (kit::Control* c : std::initializer_list<kit::Control*>{&lbl_scale_title, &lbl_scale_low, &lbl_scale_high,
                                                              &shp_no_data, &lbl_no_data})
    c->visible = false;
  for (auto& stripe : bar_) stripe->visible = false;
}

}  // namespace viewer
