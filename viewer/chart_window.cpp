#include "viewer/chart_window.h"

#include <algorithm>

#include "kit/font.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "viewer/tile_table.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr kit::Color kJoin = kit::Rgb(0x99, 0x99, 0x99);
constexpr kit::Color kPeriodLine = kit::Rgb(0xD0, 0xD8, 0xE0);
constexpr kit::Color kPeriodText = kit::Rgb(0x60, 0x70, 0x80);

// Twips: the plot's margins inside the client area, and the points' size.
constexpr int kLeftMargin = 1020, kTopMargin = 840, kRightMargin = 300, kBottomMargin = 660;
constexpr int kPointSize = 120;
constexpr int kRingSize = 330;
constexpr int kHitRadius = 180;
// The points are one tab stop, walked with the arrows in atomic-number order.
constexpr int kPointsGroup = 1;

kit::Font TextFont(bool bold = false) { return Verdana(8.25, bold); }

}  // namespace

ChartWindow::ChartWindow(const std::vector<TileRecord>& records, Links links, Property property, int highlighted)
    : kit::Form("form_chart"), records_(records), links_(std::move(links)), property_(property),
      highlighted_(highlighted) {
  framed = true;
  back_color = kPaper;
  font = TextFont();
  icon = L"TABLE";
  SetSize(11400, 6900);

  cbo_property.bounds = {kLeftMargin, 150, 3600, 315};
  cbo_property.font = TextFont();
  cbo_property.accessible_name = L"Свойство";
  cbo_property.tab_index = 0;
  for (Property p : kProperties) cbo_property.items.emplace_back(CaptionOf(p));
  cbo_property.on_change = [this] {
    const int i = cbo_property.ListIndex();
    if (i >= 0 && i < static_cast<int>(kProperties.size())) Plot(kProperties[i]);
  };

  on_resize = [this] { Rebuild(); };
  line_groups.push_back(kPointsGroup);
  on_key = [this](kit::Key key, int) {
    if (key != kit::Key::kEscape) return false;
    if (links_.close) links_.close();
    return true;
  };
  on_shortcut = [this](wchar_t letter) {
    return links_.sheets && links_.sheets->Shortcut(letter, [this] { return Worksheet(); });
  };
  // A press near a point is a click on it: the points are small.
  on_mouse_down = [this](kit::MouseButton button, int, int x, int y) {
    if (button != kit::MouseButton::kLeft) return;
    if (auto hit = HitPoint(layout_, x, y, kHitRadius)) kit::Click(*points_[static_cast<size_t>(*hit)]);
  };
  on_close_request = [this] {
    if (links_.close) links_.close();
  };
  Plot(property);
  FocusHighlighted();
}

// The drawing goes before the form that its controls register with.
ChartWindow::~ChartWindow() {
  on_focus_change = nullptr;
  ring_symbol_.reset();
  ring_.reset();
  points_.clear();
  drawing_.clear();
}

void ChartWindow::Plot(Property property) {
  property_ = property;
  cbo_property.SetIndex(static_cast<int>(std::find(kProperties.begin(), kProperties.end(), property) -
                                         kProperties.begin()));
  caption = L"Графика – " + std::wstring(CaptionOf(property));
  entries_ = ChartEntries(property, records_);
  description = L"Графика: " + LowerFirst(CaptionOf(property)) + L" според атомния номер, " +
                std::to_wstring(entries_.size()) + L" елемента";
  Rebuild();
}

SheetContent ChartWindow::Worksheet() const {
  SheetContent sheet;
  sheet.title = L"Графика: " + LowerFirst(CaptionOf(property_)) + L" според атомния номер";
  sheet.surface = back_color;
  sheet.clipboard_text = ValuesText();
  for (const kit::Control* c : Controls())
    if (c != &cbo_property && kit::Shown(*c)) sheet.controls.push_back(c);
  return sheet;
}

void ChartWindow::Rebuild() {
  // The focused point by its element, so a new plot or size keeps it.
  const int focused = PointIndex(Focused());
  const int keep_tile = focused >= 0 ? point_tiles_[static_cast<size_t>(focused)] : -1;
  // And the point Tab comes back to while the focus is elsewhere, by its
  // place in the line.
  const int entry = std::max(0, PointIndex(GroupEntry(kPointsGroup)));
  ring_symbol_.reset();
  ring_.reset();
  points_.clear();
  point_tiles_.clear();
  drawing_.clear();

  std::vector<ChartPoint> values;
  double low = 0, high = 0;
  for (const ChartEntry& e : entries_) {
    values.push_back({e.atomic_number, e.reading.value});
    low = values.size() == 1 ? e.reading.value : std::min(low, e.reading.value);
    high = values.size() == 1 ? e.reading.value : std::max(high, e.reading.value);
  }
  const ValueAxis axis = FitValueAxis(low, high, property_ == Property::kDensity);
  const kit::Rect plot{kLeftMargin, kTopMargin, std::max(Width() - kLeftMargin - kRightMargin, 1180),
                       std::max(Height() - kTopMargin - kBottomMargin, 600)};
  layout_ = LayoutChart(values, axis, plot);

  const auto add_line = [this](kit::Point a, kit::Point b, kit::Color color) {
    DrawLine(*this, drawing_, "chart_line", a, b, color);
  };
  const auto add_text = [this](std::wstring text, kit::Rect bounds, kit::Align align) -> kit::Label& {
    kit::Label& label = DrawText(*this, drawing_, "chart_text", bounds, TextFont(), align);
    label.caption = std::move(text);
    return label;
  };
  for (int x : layout_.period_lines) add_line({x, plot.top}, {x, plot.Bottom()}, kPeriodLine);
  for (size_t i = 0; i < layout_.period_labels.size(); ++i) {
    const kit::Point at = layout_.period_labels[i];
    add_text(std::to_wstring(i + 1), {at.x - 300, at.y - 270, 600, 240}, kit::Align::kCenter).fore_color = kPeriodText;
  }
  add_line({plot.left, plot.top}, {plot.left, plot.Bottom()}, kInk);
  add_line({plot.left, plot.Bottom()}, {plot.Right(), plot.Bottom()}, kInk);
  for (size_t i = 0; i < layout_.y_ticks.size(); ++i) {
    const int y = layout_.y_ticks[i];
    add_line({plot.left - 60, y}, {plot.left, y}, kInk);
    add_text(axis.labels[i], {0, y - 120, plot.left - 105, 240}, kit::Align::kRight);
  }
  for (size_t i = 0; i < layout_.x_ticks.size(); ++i) {
    const int x = layout_.x_ticks[i];
    add_line({x, plot.Bottom()}, {x, plot.Bottom() + 60}, kInk);
    add_text(std::to_wstring(10 * (i + 1)), {x - 300, plot.Bottom() + 90, 600, 240}, kit::Align::kCenter);
  }
  add_text(L"Атомен номер", {plot.left, plot.Bottom() + 345, plot.width, 240}, kit::Align::kCenter);
  std::wstring unit(UnitOf(property_));
  if (!unit.empty()) add_text(unit.substr(1), {0, plot.top - 270, plot.left - 105, 240}, kit::Align::kRight);
  for (auto [a, b] : layout_.joins) add_line(layout_.points[a], layout_.points[b], kJoin);

  const auto& tiles = Tiles();
  for (size_t i = 0; i < entries_.size(); ++i) {
    const ChartEntry& e = entries_[i];
    auto point = std::make_unique<kit::Label>(*this, "pt_" + std::string(tiles[e.tile].symbol));
    const kit::Point at = layout_.points[i];
    point->bounds = {at.x - kPointSize / 2, at.y - kPointSize / 2, kPointSize, kPointSize};
    point->back_color = CategoryColor(tiles[e.tile].category);
    point->border = true;
    point->accessible_name = PointName(property_, e);
    point->tab_index = 1;
    point->tab_group = kPointsGroup;
    point->on_click = [this, tile = e.tile] {
      if (links_.show_tile) links_.show_tile(tile);
    };
    points_.push_back(std::move(point));
    point_tiles_.push_back(e.tile);
  }
  PlaceHighlight();
  if (keep_tile >= 0) {
    auto at = std::find(point_tiles_.begin(), point_tiles_.end(), keep_tile);
    SetFocus(at != point_tiles_.end() ? points_[static_cast<size_t>(at - point_tiles_.begin())].get()
                                      : (points_.empty() ? nullptr : points_.front().get()));
  } else if (!points_.empty()) {
    SetGroupEntry(points_[std::min(static_cast<size_t>(entry), points_.size() - 1)].get());
  }
}

void ChartWindow::Highlight(int tile) {
  highlighted_ = tile;
  PlaceHighlight();
}

void ChartWindow::PlaceHighlight() {
  auto at = std::find(point_tiles_.begin(), point_tiles_.end(), highlighted_);
  if (at == point_tiles_.end()) {
    ring_symbol_.reset();
    ring_.reset();
    return;
  }
  const size_t i = static_cast<size_t>(at - point_tiles_.begin());
  const kit::Point p = layout_.points[i];
  if (!ring_) {
    ring_ = std::make_unique<kit::Shape>(*this, "chart_ring");
    ring_->shape = kit::ShapeKind::kCircle;
    ring_->border_color = kInk;
    ring_->border_width = 2;
    ring_symbol_ = std::make_unique<kit::Label>(*this, "chart_ring_symbol");
    ring_symbol_->font = TextFont(true);
    ring_symbol_->fore_color = kInk;
    ring_symbol_->transparent = true;
  }
  ring_->bounds = {p.x - kRingSize / 2, p.y - kRingSize / 2, kRingSize, kRingSize};
  ring_symbol_->caption = entries_[i].symbol;
  // Above and right of the point, where the ring leaves room.
  ring_symbol_->bounds = {p.x + kRingSize / 2, p.y - kRingSize / 2 - 180, 600, 240};
}

void ChartWindow::FocusHighlighted() {
  if (points_.empty()) return;
  auto at = std::find(point_tiles_.begin(), point_tiles_.end(), highlighted_);
  kit::Label* target = at != point_tiles_.end() ? points_[static_cast<size_t>(at - point_tiles_.begin())].get()
                                                : points_.front().get();
  initial_focus = target;
  SetFocus(target);
}

int ChartWindow::PointIndex(const kit::Control* c) const {
  for (size_t i = 0; i < points_.size(); ++i)
    if (points_[i].get() == c) return static_cast<int>(i);
  return -1;
}

}  // namespace viewer
