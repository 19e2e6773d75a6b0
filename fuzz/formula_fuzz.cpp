// Feeds arbitrary text to the formula reader with the elements of the tiles
// (masses made up, the two kinds of mass text included) and writes what it
// gives. Any crash, hang or sanitizer report is a bug; so is a result that
// is both good and an error, or whose rows do not add up to its total.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "viewer/formula.h"
#include "viewer/tile_table.h"

namespace {

const std::vector<viewer::FormulaElement>& Elements() {
  static const std::vector<viewer::FormulaElement> elements = [] {
    std::vector<viewer::FormulaElement> out;
    int n = 0;
    for (const viewer::TileInfo& tile : viewer::Tiles()) {
      ++n;
      viewer::FormulaElement e;
      e.symbol.assign(tile.symbol.begin(), tile.symbol.end());
      e.name = L"елемент";
      e.mass_text = n % 7 == 0 ? L"[" + std::to_wstring(2 * n + 3) + L"]" : std::to_wstring(2 * n) + L",0079";
      e.mass = *viewer::ParseAtomicMass(e.mass_text, &e.mass_number);
      out.push_back(e);
    }
    return out;
  }();
  return elements;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Two bytes a character, so subscripts, superscripts, "·" and Cyrillic
  // are reachable.
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  const viewer::Formula f = viewer::ParseFormula(text, Elements());
  if (!f.error.empty() && !f.rows.empty()) std::abort();
  viewer::Mass sum = 0;
  for (const auto& row : f.rows) {
    if (row.atoms <= 0 || row.mass <= 0) std::abort();
    sum += row.mass;
    (void)viewer::RowName(f, row, Elements());
  }
  if (sum != f.total) std::abort();
  if (f.Ok()) (void)viewer::ResultClipboardText(f, Elements());
  return 0;
}
