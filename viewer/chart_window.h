// The chart window: one property of the elements against the atomic
// number, in a framed window of its own beside the table. It draws what
// chart_geometry lays out with the kit's lines, shapes and labels; each
// point is a small label-button, so the mouse, the keyboard and screen
// readers reach the points as they reach the table's tiles.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "viewer/chart_data.h"
#include "viewer/chart_geometry.h"
#include "viewer/drawing.h"
#include "viewer/property_values.h"
#include "viewer/worksheet.h"

namespace viewer {

class ChartWindow : public kit::Form {
 public:
  struct Links {
    std::function<void(int tile)> show_tile;   // as a click on that tile
    std::function<void()> close;               // the window asks to go away
    SheetOutput* sheets = nullptr;             // copies, saves and prints the chart
  };
  // `records` must outlive the window. `highlighted` is the table's current
  // tile, or -1.
  ChartWindow(const std::vector<TileRecord>& records, Links links, Property property, int highlighted);
  ~ChartWindow() override;

  void Plot(Property property);
  Property Plotted() const { return property_; }
  // The table's current element, ringed and named beside its point.
  void Highlight(int tile);
  // Focuses the highlighted point, or the first one.
  void FocusHighlighted();

  const std::vector<std::unique_ptr<kit::Label>>& Points() const { return points_; }
  const std::vector<ChartEntry>& Entries() const { return entries_; }
  std::wstring ValuesText() const { return ChartValuesText(property_, entries_, records_); }
  // The chart as a picture, under "Графика: радиус на атома според атомния
  // номер"; copied with its values as text.
  SheetContent Worksheet() const;

  kit::ComboBox cbo_property{*this, "cbo_property"};

 private:
  void Rebuild();
  void PlaceHighlight();
  int PointIndex(const kit::Control* c) const;

  const std::vector<TileRecord>& records_;
  Links links_;
  Property property_;
  int highlighted_ = -1;
  std::vector<ChartEntry> entries_;
  ChartLayout layout_;
  // Everything drawn, rebuilt with each plot and size; the points last, so
  // they lie above the lines.
  Drawing drawing_;
  std::vector<std::unique_ptr<kit::Label>> points_;
  std::vector<int> point_tiles_;   // each point's tile
  std::unique_ptr<kit::Shape> ring_;
  std::unique_ptr<kit::Label> ring_symbol_;
};

}  // namespace viewer
