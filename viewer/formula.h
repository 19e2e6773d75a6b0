// A chemical formula read as pupils write it ("CuSO4·5H2O", "K3[Fe(CN)6]",
// "2H2O", "SO₄²⁻") and its masses: the relative molecular mass, the molar
// mass and each element's mass fraction.
//
// Masses are added in exact fixed point: the database's atomic masses have
// at most four decimals, so every sum and product is a whole number of
// ten-thousandths, and results are rounded half away from zero from that,
// never through binary floating point.
//
// Portable: no window, no database; the elements come from the tiles and
// their records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/property_values.h"

namespace viewer {

// Ten-thousandths of a unit (of u, of g/mol).
using Mass = std::int64_t;
constexpr Mass kMassUnit = 10000;

// An element a formula can name: a tile's symbol and its record's data.
struct FormulaElement {
  std::wstring symbol;      // "Fe", "Uun"
  std::wstring name;        // "Желязо"
  std::wstring mass_text;   // as the database holds it: "55,845", "[97]"
  Mass mass = 0;
  bool mass_number = false; // "[97]": the longest-lived isotope's mass number
};

// "55,845" or "[97]" as a mass; nothing for any other text or for more
// than four decimals.
std::optional<Mass> ParseAtomicMass(std::wstring_view text, bool* mass_number = nullptr);

// The elements of the tiles that read a record with a usable mass, in the
// tile table's order (`records` in that order too).
std::vector<FormulaElement> FormulaElements(const std::vector<TileRecord>& records);

struct FormulaRow {
  int element = 0;          // in the elements given to ParseFormula
  std::int64_t atoms = 0;
  Mass mass = 0;            // atoms × Ar
};

struct Formula {
  std::wstring error;       // set: why there is no result; nothing else is
  std::wstring markup;      // for kit::SetScripted: "CuSO_4·5H_2O", "2 × H_2O", "SO_4^{2-}"
  std::wstring plain;       // the same with plain digits: "CuSO4·5H2O", "SO4^2-"
  std::wstring charge;      // "2-" for an ion; empty for a neutral formula
  std::vector<FormulaRow> rows;   // one an element, in the order of first appearance
  Mass total = 0;
  bool approximate = false; // some element counted with its mass number

  bool Ok() const { return error.empty() && !rows.empty(); }
};

// Longest formula and deepest nesting accepted; the largest count.
constexpr std::size_t kMaxFormulaLength = 200;
constexpr int kMaxNesting = 16;
constexpr std::int64_t kMaxCount = 9999;

// Reads `text`; an empty (or blank) text gives neither a result nor an error.
Formula ParseFormula(std::wstring_view text, const std::vector<FormulaElement>& elements);

// A mass with two decimals, rounded half away from zero: "249,68".
std::wstring MassText(Mass mass);
// A part of a whole in per cent with two decimals: "25,45".
std::wstring PercentText(Mass part, Mass whole);
// A mass with `decimals` decimals, exactly (the product of a count and an
// atomic mass keeps the atomic mass's decimals): "143,991".
std::wstring ExactMassText(Mass mass, int decimals);

// What the window shows and copies of a good result.
// "M(CuSO4·5H2O) = 249,68 g/mol"; "≈" where a mass number was used.
std::wstring ResultLine(const Formula& f);
// "Mr = 249,68" and "M = 249,68 g/mol".
std::wstring RelativeMassText(const Formula& f);
std::wstring MolarMassText(const Formula& f);
// The cells of a row: symbol, name, atoms, Ar, Ar · atoms, ω.
std::vector<std::wstring> RowCells(const Formula& f, const FormulaRow& row,
                                   const std::vector<FormulaElement>& elements);
// "Cu, Мед: 1 атом, Ar 63,546, ω 25,45 %".
std::wstring RowName(const Formula& f, const FormulaRow& row, const std::vector<FormulaElement>& elements);
// The remarks under the result: the ion's, and one for each mass number.
std::vector<std::wstring> ResultNotes(const Formula& f, const std::vector<FormulaElement>& elements);
// The result line, then a header row and one tab-separated line per element.
std::wstring ResultClipboardText(const Formula& f, const std::vector<FormulaElement>& elements);

inline constexpr const wchar_t* kFormulaHeaders[] = {L"Елемент", L"Име", L"Атоми", L"Ar", L"Ar · атоми", L"ω"};

}  // namespace viewer
