// The chart's data: which elements a property plots, in what order, what a
// screen reader calls a point and the values as a spreadsheet takes them.
#pragma once

#include <string>
#include <vector>

#include "viewer/property_values.h"

namespace viewer {

// One plotted element: a tile that reads a record with a value.
struct ChartEntry {
  int tile = -1;   // in the tile table's order
  int atomic_number = 0;
  std::wstring symbol;
  Reading reading;
};

// The points of `property` in atomic-number order; `records` in the tile
// table's order.
std::vector<ChartEntry> ChartEntries(Property property, const std::vector<TileRecord>& records);
// What a screen reader reads for a point: "Fe (26): 132 pm".
std::wstring PointName(Property property, const ChartEntry& entry);
// The values for a spreadsheet: a header line, then one tab-separated line
// per point (number, symbol, name, the value without its unit).
std::wstring ChartValuesText(Property property, const std::vector<ChartEntry>& entries,
                             const std::vector<TileRecord>& records);

}  // namespace viewer
