#include "viewer/tile_table.h"

#include <array>

namespace viewer {
namespace {

// Columns of the main table. Groups 1 and 2 stand apart from the rest: the
// extra 480 twips between them carry the lines that lead to the f-block.
constexpr int Group(int g) { return g == 1 ? 240 : g == 2 ? 840 : 1920 + 600 * (g - 3); }
constexpr int Period(int p) { return 1260 + 480 * (p - 1); }

// The two f-block rows stand below the main table, from the column of group 4.
constexpr int FBlock(int i) { return 2520 + 600 * i; }
constexpr int kLanthanideRow = 4860;
constexpr int kActinideRow = 5340;

// Uuq stands 120 twips right of its column; the empty cell of element 115
// beside it keeps it clear of any neighbour.
constexpr int kUuqLeft = Group(14) + 120;

constexpr std::array<TileInfo, 115> kTiles{{
    {"H", 0, Category::kNonmetal, Group(1), Period(1)},
    {"He", 1, Category::kNobleGas, Group(18), Period(1)},
    {"Li", 2, Category::kAlkaliMetal, Group(1), Period(2)},
    {"Be", 3, Category::kAlkalineEarthMetal, Group(2), Period(2)},
    {"B", 4, Category::kNonmetal, Group(13), Period(2)},
    {"C", 5, Category::kNonmetal, Group(14), Period(2)},
    {"N", 6, Category::kNonmetal, Group(15), Period(2)},
    {"O", 7, Category::kNonmetal, Group(16), Period(2)},
    {"F", 8, Category::kNonmetal, Group(17), Period(2)},
    {"Ne", 9, Category::kNobleGas, Group(18), Period(2)},
    {"Na", 10, Category::kAlkaliMetal, Group(1), Period(3)},
    {"Mg", 11, Category::kAlkalineEarthMetal, Group(2), Period(3)},
    {"Al", 12, Category::kOtherMetal, Group(13), Period(3)},
    {"Si", 13, Category::kNonmetal, Group(14), Period(3)},
    {"P", 14, Category::kNonmetal, Group(15), Period(3)},
    {"S", 15, Category::kNonmetal, Group(16), Period(3)},
    {"Cl", 16, Category::kNonmetal, Group(17), Period(3)},
    {"Ar", 17, Category::kNobleGas, Group(18), Period(3)},
    {"K", 18, Category::kAlkaliMetal, Group(1), Period(4)},
    {"Ca", 19, Category::kAlkalineEarthMetal, Group(2), Period(4)},
    {"Sc", 20, Category::kTransitionMetal, Group(3), Period(4)},
    {"Ti", 21, Category::kTransitionMetal, Group(4), Period(4)},
    {"V", 22, Category::kTransitionMetal, Group(5), Period(4)},
    {"Cr", 23, Category::kTransitionMetal, Group(6), Period(4)},
    {"Mn", 24, Category::kTransitionMetal, Group(7), Period(4)},
    {"Fe", 25, Category::kTransitionMetal, Group(8), Period(4)},
    {"Co", 26, Category::kTransitionMetal, Group(9), Period(4)},
    {"Ni", 27, Category::kTransitionMetal, Group(10), Period(4)},
    {"Cu", 28, Category::kTransitionMetal, Group(11), Period(4)},
    {"Zn", 29, Category::kTransitionMetal, Group(12), Period(4)},
    {"Ga", 30, Category::kOtherMetal, Group(13), Period(4)},
    {"Ge", 31, Category::kOtherMetal, Group(14), Period(4)},
    {"As", 32, Category::kNonmetal, Group(15), Period(4)},
    {"Se", 33, Category::kNonmetal, Group(16), Period(4)},
    {"Br", 34, Category::kNonmetal, Group(17), Period(4)},
    {"Kr", 35, Category::kNobleGas, Group(18), Period(4)},
    {"Rb", 36, Category::kAlkaliMetal, Group(1), Period(5)},
    {"Sr", 37, Category::kAlkalineEarthMetal, Group(2), Period(5)},
    {"Y", 38, Category::kTransitionMetal, Group(3), Period(5)},
    {"Zr", 39, Category::kTransitionMetal, Group(4), Period(5)},
    {"Nb", 40, Category::kTransitionMetal, Group(5), Period(5)},
    {"Mo", 41, Category::kTransitionMetal, Group(6), Period(5)},
    {"Tc", 42, Category::kTransitionMetal, Group(7), Period(5)},
    {"Ru", 43, Category::kTransitionMetal, Group(8), Period(5)},
    {"Rh", 44, Category::kTransitionMetal, Group(9), Period(5)},
    {"Pd", 45, Category::kTransitionMetal, Group(10), Period(5)},
    {"Ag", 46, Category::kTransitionMetal, Group(11), Period(5)},
    {"Cd", 47, Category::kTransitionMetal, Group(12), Period(5)},
    {"In", 48, Category::kOtherMetal, Group(13), Period(5)},
    {"Sn", 49, Category::kOtherMetal, Group(14), Period(5)},
    {"Sb", 50, Category::kOtherMetal, Group(15), Period(5)},
    {"Te", 51, Category::kNonmetal, Group(16), Period(5)},
    {"I", 52, Category::kNonmetal, Group(17), Period(5)},
    {"Xe", 53, Category::kNobleGas, Group(18), Period(5)},
    {"Cs", 54, Category::kAlkaliMetal, Group(1), Period(6)},
    {"Ba", 55, Category::kAlkalineEarthMetal, Group(2), Period(6)},
    {"La", 56, Category::kLanthanide, FBlock(0), kLanthanideRow},
    {"Ce", 57, Category::kLanthanide, FBlock(1), kLanthanideRow},
    {"Pr", 58, Category::kLanthanide, FBlock(2), kLanthanideRow},
    {"Nd", 59, Category::kLanthanide, FBlock(3), kLanthanideRow},
    {"Pm", 60, Category::kLanthanide, FBlock(4), kLanthanideRow},
    {"Sm", 61, Category::kLanthanide, FBlock(5), kLanthanideRow},
    {"Eu", 62, Category::kLanthanide, FBlock(6), kLanthanideRow},
    {"Gd", 63, Category::kLanthanide, FBlock(7), kLanthanideRow},
    {"Tb", 64, Category::kLanthanide, FBlock(8), kLanthanideRow},
    {"Dy", 65, Category::kLanthanide, FBlock(9), kLanthanideRow},
    {"Ho", 66, Category::kLanthanide, FBlock(10), kLanthanideRow},
    {"Er", 67, Category::kLanthanide, FBlock(11), kLanthanideRow},
    {"Tm", 68, Category::kLanthanide, FBlock(12), kLanthanideRow},
    {"Yb", 69, Category::kLanthanide, FBlock(13), kLanthanideRow},
    {"Lu", 70, Category::kTransitionMetal, Group(3), Period(6)},
    {"Hf", 71, Category::kTransitionMetal, Group(4), Period(6)},
    {"Ta", 72, Category::kTransitionMetal, Group(5), Period(6)},
    {"W", 73, Category::kTransitionMetal, Group(6), Period(6)},
    {"Re", 74, Category::kTransitionMetal, Group(7), Period(6)},
    {"Os", 75, Category::kTransitionMetal, Group(8), Period(6)},
    {"Ir", 76, Category::kTransitionMetal, Group(9), Period(6)},
    {"Pt", 77, Category::kTransitionMetal, Group(10), Period(6)},
    {"Au", 78, Category::kTransitionMetal, Group(11), Period(6)},
    {"Hg", 79, Category::kTransitionMetal, Group(12), Period(6)},
    {"Tl", 80, Category::kOtherMetal, Group(13), Period(6)},
    {"Pb", 81, Category::kOtherMetal, Group(14), Period(6)},
    {"Bi", 82, Category::kOtherMetal, Group(15), Period(6)},
    {"Po", 83, Category::kOtherMetal, Group(16), Period(6)},
    {"At", 84, Category::kNonmetal, Group(17), Period(6)},
    {"Rn", 85, Category::kNobleGas, Group(18), Period(6)},
    {"Fr", 86, Category::kAlkaliMetal, Group(1), Period(7)},
    {"Ra", 87, Category::kAlkalineEarthMetal, Group(2), Period(7)},
    {"Ac", 88, Category::kActinide, FBlock(0), kActinideRow},
    {"Th", 89, Category::kActinide, FBlock(1), kActinideRow},
    {"Pa", 90, Category::kActinide, FBlock(2), kActinideRow},
    {"U", 91, Category::kActinide, FBlock(3), kActinideRow},
    {"Np", 92, Category::kActinide, FBlock(4), kActinideRow},
    {"Pu", 93, Category::kActinide, FBlock(5), kActinideRow},
    {"Am", 94, Category::kActinide, FBlock(6), kActinideRow},
    {"Cm", 95, Category::kActinide, FBlock(7), kActinideRow},
    {"Bk", 96, Category::kActinide, FBlock(8), kActinideRow},
    {"Cf", 97, Category::kActinide, FBlock(9), kActinideRow},
    {"Es", 98, Category::kActinide, FBlock(10), kActinideRow},
    {"Fm", 99, Category::kActinide, FBlock(11), kActinideRow},
    {"Md", 100, Category::kActinide, FBlock(12), kActinideRow},
    {"No", 101, Category::kActinide, FBlock(13), kActinideRow},
    {"Lr", 102, Category::kTransitionMetal, Group(3), Period(7)},
    {"Rf", 103, Category::kTransitionMetal, Group(4), Period(7)},
    {"Db", 104, Category::kTransitionMetal, Group(5), Period(7)},
    {"Sg", 105, Category::kTransitionMetal, Group(6), Period(7)},
    {"Bh", 106, Category::kTransitionMetal, Group(7), Period(7)},
    {"Hs", 107, Category::kTransitionMetal, Group(8), Period(7)},
    {"Mt", 108, Category::kTransitionMetal, Group(9), Period(7)},
    {"Uun", 110, Category::kTransitionMetal, Group(10), Period(7)},
    {"Uuu", 111, Category::kTransitionMetal, Group(11), Period(7)},
    {"Uub", 112, Category::kTransitionMetal, Group(12), Period(7)},
    {"Uuq", 113, Category::kOtherMetal, kUuqLeft, Period(7)},
    {"Uuh", kNoRecord, Category::kOtherMetal, Group(16), Period(7)},
    {"Uuo", kNoRecord, Category::kNobleGas, Group(18), Period(7)},
}};

}  // namespace

const wchar_t* CategoryCaption(Category category) {
  switch (category) {
    case Category::kAlkaliMetal: return L"Алкални метали";
    case Category::kAlkalineEarthMetal: return L"Алкалоземни метали";
    case Category::kLanthanide: return L"Лантаноиди";
    case Category::kActinide: return L"Актиниди";
    case Category::kTransitionMetal: return L"Транзитивни метали";
    case Category::kOtherMetal: return L"Други метали";
    case Category::kNonmetal: return L"Неметали";
    default: return L"Благородни газове";
  }
}

kit::Color CategoryColor(Category category) {
  switch (category) {
    case Category::kAlkaliMetal: return kit::Rgb(0xFF, 0x80, 0x80);
    case Category::kAlkalineEarthMetal: return kit::Rgb(0xFF, 0x80, 0x00);
    case Category::kLanthanide: return kit::Rgb(0xC0, 0x40, 0x00);
    case Category::kActinide: return kit::Rgb(0xC0, 0xC0, 0x00);
    case Category::kTransitionMetal: return kit::Rgb(0x00, 0xFF, 0xFF);
    case Category::kOtherMetal: return kit::Rgb(0xFF, 0xFF, 0x00);
    case Category::kNonmetal: return kit::Rgb(0x00, 0xFF, 0x00);
    case Category::kNobleGas: return kit::Rgb(0xFF, 0xFF, 0xFF);
  }
  return kit::Rgb(0, 0, 0);
}

std::span<const TileInfo> Tiles() { return kTiles; }

int GroupOf(const TileInfo& tile) {
  if (tile.top >= kLanthanideRow) return 0;
  // The last column that starts at or left of the tile (Uuq stands a little
  // right of its own).
  int g = 18;
  while (g > 1 && tile.left < Group(g)) --g;
  return g;
}

}  // namespace viewer
