// The tile table checked against the periodic system itself: each symbol's
// atomic number gives its group and period, and from them its place on the
// grid and its record position.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "viewer/tile_table.h"

namespace {

using viewer::Category;

// Symbols by atomic number, with the systematic names for 110 to 118.
const char* const kSymbols[] = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
    "Sg", "Bh", "Hs", "Mt", "Uun", "Uuu", "Uub", "Uut", "Uuq", "Uup", "Uuh", "Uus", "Uuo"};

struct Place {
  int left, top;
};

// Where element z stands: the main table by group and period, La-Yb and
// Ac-No in their own rows.
Place Expected(int z) {
  const int period_start[] = {1, 3, 11, 19, 37, 55, 87};
  int p = 7;
  while (z < period_start[p - 1]) --p;
  int offset = z - period_start[p - 1];
  if ((z >= 57 && z <= 70) || (z >= 89 && z <= 102)) {
    int first = z <= 70 ? 57 : 89;
    return {2520 + 600 * (z - first), z <= 70 ? 4860 : 5340};
  }
  int group;
  if (p == 1) group = z == 1 ? 1 : 18;
  else if (p <= 3) group = offset < 2 ? offset + 1 : offset + 11;
  else if (p <= 5) group = offset + 1;
  else group = offset < 2 ? offset + 1 : offset + 1 - 14;
  int left = group == 1 ? 240 : group == 2 ? 840 : 1920 + 600 * (group - 3);
  return {left, 1260 + 480 * (p - 1)};
}

std::map<std::string, viewer::TileInfo> BySymbol() {
  std::map<std::string, viewer::TileInfo> out;
  for (const auto& t : viewer::Tiles()) out.emplace(std::string(t.symbol), t);
  return out;
}

TEST(TileTable, HasOneTileForEveryElementExcept113_115And117) {
  auto tiles = BySymbol();
  EXPECT_EQ(viewer::Tiles().size(), 115u);
  EXPECT_EQ(tiles.size(), 115u);  // no symbol twice
  for (int z = 1; z <= 118; ++z) {
    bool absent = z == 113 || z == 115 || z == 117;
    EXPECT_EQ(tiles.count(kSymbols[z - 1]), absent ? 0u : 1u) << kSymbols[z - 1];
  }
}

TEST(TileTable, EveryTileStandsInItsGroupAndPeriod) {
  for (const auto& [symbol, tile] : BySymbol()) {
    int z = 0;
    while (kSymbols[z] != symbol) ++z;
    Place want = Expected(z + 1);
    // Uuq alone leaves its column, 120 twips to the right.
    if (symbol == "Uuq") want.left += 120;
    EXPECT_EQ(tile.left, want.left) << symbol;
    EXPECT_EQ(tile.top, want.top) << symbol;
  }
}

TEST(TileTable, RecordPositionsFollowTheDatabaseLayout) {
  for (const auto& [symbol, tile] : BySymbol()) {
    int z = 0;
    while (kSymbols[z] != symbol) ++z;
    ++z;
    int want = z <= 109 ? z - 1 : z <= 112 ? z : z == 114 ? 113 : viewer::kNoRecord;
    EXPECT_EQ(tile.position, want) << symbol;
  }
  // Listed by record position, the two without one last.
  int last = -1;
  for (size_t i = 0; i < 113; ++i) {
    EXPECT_GT(viewer::Tiles()[i].position, last);
    last = viewer::Tiles()[i].position;
  }
}

TEST(TileTable, CategoriesHaveTheirSizesAndBorderlineMembers) {
  std::map<Category, int> count;
  for (const auto& t : viewer::Tiles()) ++count[t.category];
  EXPECT_EQ(count[Category::kAlkaliMetal], 6);
  EXPECT_EQ(count[Category::kAlkalineEarthMetal], 6);
  EXPECT_EQ(count[Category::kLanthanide], 14);
  EXPECT_EQ(count[Category::kActinide], 14);
  EXPECT_EQ(count[Category::kTransitionMetal], 40);
  EXPECT_EQ(count[Category::kOtherMetal], 12);
  EXPECT_EQ(count[Category::kNonmetal], 16);
  EXPECT_EQ(count[Category::kNobleGas], 7);

  auto tiles = BySymbol();
  for (const char* s : {"H", "B", "Si", "As", "Te", "At"}) EXPECT_EQ(tiles.at(s).category, Category::kNonmetal) << s;
  for (const char* s : {"Ge", "Sb", "Po", "Uuq", "Uuh"})
    EXPECT_EQ(tiles.at(s).category, Category::kOtherMetal) << s;
  for (const char* s : {"Lu", "Lr", "Uun", "Uuu", "Uub"})
    EXPECT_EQ(tiles.at(s).category, Category::kTransitionMetal) << s;
  EXPECT_EQ(tiles.at("Uuo").category, Category::kNobleGas);
  // The f-block rows are exactly La-Yb and Ac-No.
  for (const auto& t : viewer::Tiles()) {
    bool f_row = t.top == 4860 || t.top == 5340;
    bool f_category = t.category == Category::kLanthanide || t.category == Category::kActinide;
    EXPECT_EQ(f_row, f_category) << t.symbol;
    if (t.top == 4860) {
      EXPECT_EQ(t.category, Category::kLanthanide) << t.symbol;
    }
  }
}

TEST(TileTable, NeighboursShareOneBorderAndNoTileCoversAnother) {
  const auto tiles = viewer::Tiles();
  for (size_t i = 0; i < tiles.size(); ++i) {
    for (size_t j = i + 1; j < tiles.size(); ++j) {
      int dx = std::min(tiles[i].left, tiles[j].left) + viewer::kTileWidth - std::max(tiles[i].left, tiles[j].left);
      int dy = std::min(tiles[i].top, tiles[j].top) + viewer::kTileHeight - std::max(tiles[i].top, tiles[j].top);
      // Overlapping both ways by more than a border line would hide a tile.
      EXPECT_FALSE(dx > 15 && dy > 15) << tiles[i].symbol << " " << tiles[j].symbol;
      if (tiles[i].top == tiles[j].top && std::abs(tiles[i].left - tiles[j].left) == 600) {
        EXPECT_EQ(dx, 15);
      }
    }
  }
}

}  // namespace
