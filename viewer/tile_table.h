// The element tiles of the periodic grid as data: which label stands where,
// in which colour, and which record of the element table its click shows.
// This table is the viewer's whole knowledge of the elements; every value
// the panel shows comes from the database.
#pragma once

#include <span>
#include <string_view>

#include "kit/color.h"

namespace viewer {

enum class Category {
  kAlkaliMetal,
  kAlkalineEarthMetal,
  kLanthanide,
  kActinide,
  kTransitionMetal,
  kOtherMetal,
  kNonmetal,
  kNobleGas,
};

// Tile and legend swatch colour of a category.
kit::Color CategoryColor(Category category);
// A category as the legend names it ("Транзитивни метали").
const wchar_t* CategoryCaption(Category category);

// A tile without a record: its click fills the panel with "?".
constexpr int kNoRecord = -1;

struct TileInfo {
  std::string_view symbol;   // caption; the control is "lbl_" + symbol
  int position;              // record position in index order, or kNoRecord
  Category category;
  int left, top;             // twips in the window's client area
};

// Every tile is this big; the grid pitch is 15 twips less, so neighbours
// share their border lines.
constexpr int kTileWidth = 615;
constexpr int kTileHeight = 495;

// The 115 tiles in order of record position, the two without one last.
std::span<const TileInfo> Tiles();
// The group (1 to 18) whose column a tile stands in; 0 for the two f-block
// rows below the table.
int GroupOf(const TileInfo& tile);

}  // namespace viewer
