// The other two aids a pupil may take into a chemistry exam beside the
// periodic table: the solubility of acids, bases and salts in water (a mark
// for each cation and anion, read from data/solubility.txt, compiled in) and
// the activity series of the metals. No window here: what the table holds,
// how its compounds are written and how a screen reader names them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// How much of a compound dissolves in 100 g of water at 20–25 °C.
enum class Mark {
  kSoluble,     // "Р": more than 1 g
  kSlightly,    // "М": 0,01 to 1 g
  kInsoluble,   // "Н": less than 0,01 g
  kNone,        // "—": does not exist, or water decomposes it
};
inline constexpr std::array<Mark, 4> kMarks{Mark::kSoluble, Mark::kSlightly, Mark::kInsoluble, Mark::kNone};

// "Р", "М", "Н", "—".
std::wstring_view MarkLetter(Mark mark);
// "разтворимо", "малко разтворимо", "неразтворимо", "не съществува или
// водата го разлага".
std::wstring_view MarkWord(Mark mark);

// An ion as a formula: its atoms with their counts as digits ("SO4") and
// its charge. A polyatomic ion takes brackets when a compound holds more
// than one of it.
struct Ion {
  std::wstring_view atoms;
  int charge = 0;
  bool polyatomic = false;
  // An organic acid's hydrogen stands after its anion: CH3COOH.
  bool acid_hydrogen_last = false;
};

// The table's columns and rows, in the order of the school chart.
extern const std::array<Ion, 19> kCations;
extern const std::array<Ion, 13> kAnions;

// "SO4 2-", "S2-", "Fe3+", "NO3-", "NH4+": the counts, then the charge,
// apart only where both are digits.
std::wstring IonPlain(const Ion& ion);
// "SO_4^{2-}" for kit::SetScripted.
std::wstring IonMarkup(const Ion& ion);

// The compound of two ions with the smallest whole counts: "Fe2(SO4)3",
// "(NH4)2SO4", "Al2S3", "CH3COOH", and "H2O" for H+ with OH-.
std::wstring CompoundFormula(const Ion& cation, const Ion& anion);
// Every digit of a formula lowered: "Fe_2(SO_4)_3".
std::wstring FormulaMarkup(std::wstring_view formula);
bool IsWater(const Ion& cation, const Ion& anion);

// The marks by anion (row) and cation (column).
class SolubilityTable {
 public:
  Mark At(std::size_t anion, std::size_t cation) const { return marks_[anion][cation]; }
  void Set(std::size_t anion, std::size_t cation, Mark mark) { marks_[anion][cation] = mark; }

 private:
  std::array<std::array<Mark, kCations.size()>, kAnions.size()> marks_{};
};

// Reads the data file's text (UTF-8: "cation<TAB>anion<TAB>mark" lines,
// blank lines and "#" comments). Each fault is one line of `errors`: an
// unknown ion or mark, a cell given twice, a cell missing. Cells not given
// read "—".
struct ParsedSolubility {
  SolubilityTable table;
  std::vector<std::wstring> errors;
};
ParsedSolubility ParseSolubility(std::string_view text);
// The table compiled in from data/solubility.txt.
const SolubilityTable& Solubility();
// That file's text as compiled in.
std::string_view SolubilityData();

// What a screen reader reads for a cell: "Ba2+, SO4 2-: BaSO4, неразтворимо";
// "H+, OH-: H2O, вода" for water.
std::wstring CellName(std::size_t anion, std::size_t cation, Mark mark);
// For a spreadsheet: a header line of an empty field and the cations, then
// each anion with its marks; tab-separated, the ions in Unicode ("SO₄²⁻").
std::wstring SolubilityText(const SolubilityTable& table);

// The activity series of the metals, most active first, with hydrogen in
// its place.
struct SeriesEntry {
  std::wstring_view symbol;   // "H2" for hydrogen
  std::wstring_view name;     // in Bulgarian
};
extern const std::array<SeriesEntry, 21> kActivitySeries;
// The metals from Li to Na displace hydrogen from water at room
// temperature; those before hydrogen, from dilute acids.
inline constexpr std::size_t kDisplaceFromWater = 5;
inline constexpr std::size_t kHydrogenPlace = 15;
// "Li, Литий", "H2, Водород".
std::wstring SeriesItemName(const SeriesEntry& entry);

}  // namespace viewer
