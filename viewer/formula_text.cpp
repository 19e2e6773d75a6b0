// How a formula's result is written: in the window, for readers and on the
// clipboard.
#include <algorithm>
#include <iterator>

#include "viewer/formula.h"

namespace viewer {
namespace {

// `units` ten-thousandths rounded half away from zero to `decimals`
// decimals (at most 4), with the decimal comma.
std::wstring Fixed(Mass units, int decimals) {
  Mass step = 1;
  for (int d = decimals; d < 4; ++d) step *= 10;
  const bool negative = units < 0;
  Mass n = negative ? -units : units;
  n = (n + step / 2) / step;
  Mass scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  std::wstring text = std::to_wstring(n / scale);
  if (decimals > 0) {
    std::wstring fraction = std::to_wstring(n % scale);
    text += L"," + std::wstring(static_cast<std::size_t>(decimals) - fraction.size(), L'0') + fraction;
  }
  return negative ? L"-" + text : text;
}

std::wstring Atoms(std::int64_t n) { return std::to_wstring(n) + (n == 1 ? L" атом" : L" атома"); }

// Decimals of a mass as the database writes it ("63,546": 3; "[97]": 0).
int DecimalsOf(const std::wstring& text) {
  const std::size_t comma = text.find(L',');
  return comma == std::wstring::npos ? 0 : static_cast<int>(text.size() - comma - 1);
}

const wchar_t* Equals(const Formula& f) { return f.approximate ? L" ≈ " : L" = "; }

}  // namespace

std::wstring MassText(Mass mass) { return Fixed(mass, 2); }
std::wstring ExactMassText(Mass mass, int decimals) { return Fixed(mass, std::clamp(decimals, 0, 4)); }

std::wstring PercentText(Mass part, Mass whole) {
  if (whole <= 0) return L"0,00";
  // Hundredths of a per cent: part · 10000 / whole, rounded half up; the
  // masses stay below 10^14, so twice the product fits.
  const Mass hundredths = (2 * part * 10000 + whole) / (2 * whole);
  return Fixed(hundredths * 100, 2);
}

std::wstring RelativeMassText(const Formula& f) { return L"Mr" + std::wstring(Equals(f)) + MassText(f.total); }
std::wstring MolarMassText(const Formula& f) { return L"M" + std::wstring(Equals(f)) + MassText(f.total) + L" g/mol"; }
std::wstring ResultLine(const Formula& f) {
  return L"M(" + f.plain + L")" + Equals(f) + MassText(f.total) + L" g/mol";
}

std::vector<std::wstring> RowCells(const Formula& f, const FormulaRow& row, const std::vector<FormulaElement>& elements) {
  const FormulaElement& e = elements[static_cast<std::size_t>(row.element)];
  return {e.symbol, e.name, std::to_wstring(row.atoms), e.mass_text, ExactMassText(row.mass, DecimalsOf(e.mass_text)),
          PercentText(row.mass, f.total) + L" %"};
}

std::wstring RowName(const Formula& f, const FormulaRow& row, const std::vector<FormulaElement>& elements) {
  const FormulaElement& e = elements[static_cast<std::size_t>(row.element)];
  return e.symbol + L", " + e.name + L": " + Atoms(row.atoms) + L", Ar " + e.mass_text + L", ω " +
         PercentText(row.mass, f.total) + L" %";
}

std::vector<std::wstring> ResultNotes(const Formula& f, const std::vector<FormulaElement>& elements) {
  std::vector<std::wstring> notes;
  if (!f.charge.empty()) notes.push_back(L"йон, зарядът не променя масата");
  for (const FormulaRow& row : f.rows) {
    const FormulaElement& e = elements[static_cast<std::size_t>(row.element)];
    if (e.mass_number) notes.push_back(e.symbol + L": масово число на най-дълго живеещия изотоп");
  }
  return notes;
}

std::wstring ResultClipboardText(const Formula& f, const std::vector<FormulaElement>& elements) {
  std::wstring text = ResultLine(f) + L"\r\n";
  for (const std::wstring& note : ResultNotes(f, elements)) text += note + L"\r\n";
  for (std::size_t i = 0; i < std::size(kFormulaHeaders); ++i) text += (i ? L"\t" : L"") + std::wstring(kFormulaHeaders[i]);
  text += L"\r\n";
  for (const FormulaRow& row : f.rows) {
    const auto cells = RowCells(f, row, elements);
    for (std::size_t i = 0; i < cells.size(); ++i) text += (i ? L"\t" : L"") + cells[i];
    text += L"\r\n";
  }
  return text;
}

}  // namespace viewer
