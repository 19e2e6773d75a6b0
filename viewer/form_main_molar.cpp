// The main window's side of "Моларна маса": opening it, and the tiles that
// type their symbols into it.
#include "kit/platform.h"
#include "viewer/form_main.h"
#include "viewer/tile_table.h"

namespace viewer {

void FormMain::OpenMolarMass(const std::wstring& formula) {
  if (!molar_) {
    const std::vector<TileRecord>* records = TileRecords(true);
    if (!records) return;
    formula_elements_ = FormulaElements(*records);
    MolarWindow::Links links;
    // Not from inside the window's own handler: after it.
    links.close = [this] { kit::PostTask([this] { molar_.reset(); }); };
    links.sheets = sheet_output_;
    molar_ = std::make_unique<MolarWindow>(formula_elements_, std::move(links));
    // Beside the table, so its tiles stay in reach for typing symbols.
    molar_->beside = this;
  }
  if (!formula.empty()) molar_->SetFormula(formula);
  molar_->Activate();
}

void FormMain::TypeTileSymbol(const kit::Label& tile) {
  if (!molar_) return;
  molar_->TypeSymbol(std::wstring_view(tile.caption));
}

void FormMain::ShowTileFor(int tile) {
  if (tile < 0 || tile >= static_cast<int>(tiles_.size())) return;
  ShowTile(*tiles_[tile], viewer::Tiles()[static_cast<std::size_t>(tile)].position);
}

}  // namespace viewer
