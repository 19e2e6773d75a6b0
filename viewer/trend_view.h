// What the tile table shows: the eight categories, as the window opens,
// one property of the elements on a colour scale, or the states of matter
// at a chosen temperature; and finding a tile by typing. The popup menu of
// the tiles switches between them.
//
// Colouring changes only the tiles' fill, symbol colour and description and
// swaps the category legend for the scale; choosing "Категории" puts back
// exactly what the window had before. The values come from every tile's
// record, read once when first needed; a tile's click reads its record
// afresh as always.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/platform.h"
#include "viewer/property_values.h"
#include "viewer/state_view.h"
#include "viewer/trend_legend.h"
#include "viewer/trend_scale.h"
#include "viewer/type_ahead.h"

namespace viewer {

class TrendView {
 public:
  // Every tile's record in the order of the tile table, read on the first
  // call; null when the element table cannot be read, after telling the
  // user so when `tell_user`.
  using RecordSource = std::function<const std::vector<TileRecord>*(bool tell_user)>;

  // `tiles` in the order of the tile table; `category_legend` is every
  // control that gives way to the scale. Creates the scale's controls,
  // hidden.
  TrendView(kit::Form& form, const std::vector<std::unique_ptr<kit::Label>>& tiles,
            std::vector<kit::Control*> category_legend, RecordSource records);

  // Shows a property, or the categories with no property. A property
  // needs the records; when they cannot be read, nothing changes.
  void Show(std::optional<Property> property);
  std::optional<Property> Shown() const { return shown_; }
  // Shows the states of matter at room temperature, making their controls
  // the first time; like a property, needs the records.
  void ShowStates();
  bool StatesShown() const { return states_ && states_->Visible(); }
  // Null until the states are first shown.
  StateView* States() { return states_.get(); }

  // The states' line of points follows the tile last shown or focused, and
  // leaving the temperature's box takes what was typed into it.
  void TileShown(const kit::Control& tile);
  void FocusMoved(const kit::Control* from, const kit::Control* to);

  // Two settings that hold whatever is shown, until changed, and start off
  // at every start: the tiles without their symbols (readers still name
  // them), and black and white (the form's monochrome look).
  void ShowSymbols(bool shown);
  bool SymbolsShown() const;

  // The popup menu: "Категории", then the properties, then behind a
  // separator "Агрегатно състояние" (the one shown checked), then behind
  // another the settings "Без символи" and "Черно-бяло".
  std::vector<kit::MenuItem> MenuItems() const;
  // Opens the menu at (x, y), twips in the form, and shows what is chosen.
  void OpenMenu(int x, int y);
  // Shows what line `index` of MenuItems() stands for (-1: nothing).
  void Choose(int index);

  // A character typed while the form has the focus. With the focus on a
  // tile, letters and Backspace find a tile by its symbol or name and move
  // the focus there; a letter that finds nothing beeps. Returns whether the
  // character was used.
  bool Type(wchar_t ch, std::uint64_t now_ms);
  // What typing finds: symbols and names as the window opens; symbols
  // alone, or nothing (letters then go unused), while a quiz runs.
  enum class Typing { kSymbolsAndNames, kSymbolsOnly, kOff };
  void SetTyping(Typing typing);

  const TrendLegend& Legend() const { return legend_; }
  // The tile last shown or focused, or -1.
  int NoticedTile() const { return noticed_tile_; }

 private:
  struct Saved {
    kit::Color back_color, fore_color;
    std::wstring description;
    std::optional<kit::Monochrome> monochrome;
  };
  bool IsTile(const kit::Control* control) const;
  int TileIndex(const kit::Control* control) const;
  bool CategoriesShown() const { return !shown_ && !StatesShown(); }
  // Saves the tiles' and the legend's own look, as the categories are left.
  void SaveCategories();
  void HideStates();

  kit::Form& form_;
  const std::vector<std::unique_ptr<kit::Label>>& tiles_;
  std::vector<kit::Control*> category_legend_;
  RecordSource records_;
  TrendLegend legend_;
  std::optional<Property> shown_;
  // The tiles' own look, taken before the first colouring.
  std::vector<Saved> saved_;
  std::vector<bool> legend_visible_;
  std::optional<TypeAhead> search_;
  Typing typing_ = Typing::kSymbolsAndNames;
  std::unique_ptr<StateView> states_;
  int noticed_tile_ = -1;
};

}  // namespace viewer
