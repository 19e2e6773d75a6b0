#include "viewer/trend_view.h"

#include <utility>

#include "viewer/worksheet.h"

namespace viewer {
namespace {

constexpr wchar_t kCategories[] = L"Категории";
constexpr wchar_t kStates[] = L"Агрегатно състояние";
constexpr wchar_t kNoSymbols[] = L"Без символи";
constexpr wchar_t kBlackAndWhite[] = L"Черно-бяло";
constexpr wchar_t kBackspace = L'\b';

}  // namespace

TrendView::TrendView(kit::Form& form, const std::vector<std::unique_ptr<kit::Label>>& tiles,
                     std::vector<kit::Control*> category_legend, RecordSource records)
    : form_(form),
      tiles_(tiles),
      category_legend_(std::move(category_legend)),
      records_(std::move(records)),
      legend_(form) {}

void TrendView::Show(std::optional<Property> property) {
  if (property == shown_ && !StatesShown()) return;
  if (!property) {
    HideStates();
    for (size_t i = 0; i < tiles_.size() && i < saved_.size(); ++i) {
      kit::Label& tile = *tiles_[i];
      tile.back_color = saved_[i].back_color;
      tile.fore_color = saved_[i].fore_color;
      tile.description = saved_[i].description;
      tile.monochrome = saved_[i].monochrome;
    }
    legend_.Hide();
    for (size_t i = 0; i < category_legend_.size(); ++i) category_legend_[i]->visible = legend_visible_[i];
    shown_.reset();
    return;
  }

  const std::vector<TileRecord>* records = records_(true);
  if (!records) return;
  if (CategoriesShown()) SaveCategories();
  HideStates();

  std::vector<Reading> readings(tiles_.size());
  for (size_t i = 0; i < tiles_.size() && i < records->size(); ++i) readings[i] = (*records)[i].Of(*property);
  const auto scale = TrendScale::Fit(*property, readings);
  for (size_t i = 0; i < tiles_.size(); ++i) {
    kit::Label& tile = *tiles_[i];
    tile.back_color = scale ? scale->ColorOf(readings[i]) : kNoDataColor;
    tile.monochrome = ScalePrintFill(scale && readings[i].HasValue()
                                         ? std::optional<double>(scale->Position(readings[i].value))
                                         : std::nullopt);
    tile.fore_color = SymbolColorOn(tile.back_color);
    // "Транзитивни метали, 1,83": the category stays first, as it is read
    // with the categories shown.
    tile.description = saved_[i].description + L", " + ValueText(*property, readings[i]);
  }
  for (kit::Control* c : category_legend_) c->visible = false;
  legend_.Show(*property, scale);
  shown_ = property;
}

void TrendView::SaveCategories() {
  // Taken afresh each time the categories are left, so that what they
  // come back to is what was there.
  saved_.clear();
  for (const auto& tile : tiles_)
    saved_.push_back({tile->back_color, tile->fore_color, tile->description, tile->monochrome});
  legend_visible_.clear();
  for (kit::Control* c : category_legend_) legend_visible_.push_back(c->visible);
}

void TrendView::ShowStates() {
  const std::vector<TileRecord>* records = records_(true);
  if (!records) return;
  if (CategoriesShown()) SaveCategories();
  legend_.Hide();
  for (kit::Control* c : category_legend_) c->visible = false;
  shown_.reset();
  if (!states_) states_ = std::make_unique<StateView>(form_, tiles_);
  std::vector<std::wstring> categories;
  for (const Saved& s : saved_) categories.push_back(s.description);
  states_->Show(*records, std::move(categories), noticed_tile_);
}

void TrendView::HideStates() {
  if (!StatesShown()) return;
  // The focus leaves the controls that go away for the table; what was
  // typed and not taken is dropped with them.
  const bool had_focus = states_->Owns(form_.Focused());
  states_->Hide();
  if (had_focus && !tiles_.empty()) form_.SetFocus(form_.GroupEntry(tiles_.front()->tab_group));
}

void TrendView::TileShown(const kit::Control& tile) {
  noticed_tile_ = TileIndex(&tile);
  if (StatesShown()) states_->ShowPoints(noticed_tile_);
}

void TrendView::FocusMoved(const kit::Control* from, const kit::Control* to) {
  if (StatesShown() && from == &states_->txt_temperature) states_->TakeTypedText();
  if (IsTile(to)) TileShown(*to);
}

std::vector<kit::MenuItem> TrendView::MenuItems() const {
  std::vector<kit::MenuItem> items;
  items.push_back({kCategories, CategoriesShown()});
  for (Property p : kProperties) items.push_back({std::wstring(CaptionOf(p)), shown_ == p});
  items.push_back({L"", false, true});
  items.push_back({kStates, StatesShown()});
  items.push_back({L"", false, true});
  items.push_back({kNoSymbols, !SymbolsShown(), false, true});
  items.push_back({kBlackAndWhite, form_.monochrome, false, true});
  return items;
}

void TrendView::OpenMenu(int x, int y) {
  Choose(kit::CurrentPlatform().PopupMenu(form_, MenuItems(), x, y));
}

void TrendView::Choose(int chosen) {
  // By the line's text, so that only MenuItems knows the order.
  const std::vector<kit::MenuItem> items = MenuItems();
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
  const std::wstring& line = items[static_cast<size_t>(chosen)].text;
  if (line == kStates) {
    ShowStates();
  } else if (line == kNoSymbols) {
    ShowSymbols(!SymbolsShown());
  } else if (line == kBlackAndWhite) {
    form_.monochrome = !form_.monochrome;
  } else if (line == kCategories) {
    Show(std::nullopt);
  } else {
    for (Property p : kProperties)
      if (line == CaptionOf(p)) Show(p);
  }
}

void TrendView::ShowSymbols(bool shown) {
  for (const auto& tile : tiles_) tile->caption_shown = shown;
}

bool TrendView::SymbolsShown() const { return tiles_.empty() || tiles_.front()->caption_shown; }

bool TrendView::IsTile(const kit::Control* control) const { return TileIndex(control) >= 0; }

int TrendView::TileIndex(const kit::Control* control) const {
  for (size_t i = 0; i < tiles_.size(); ++i)
    if (tiles_[i].get() == control) return static_cast<int>(i);
  return -1;
}

void TrendView::SetTyping(Typing typing) {
  typing_ = typing;
  search_.reset();
}

bool TrendView::Type(wchar_t ch, std::uint64_t now_ms) {
  if (typing_ == Typing::kOff) return false;
  if (!IsTile(form_.Focused())) {
    if (search_) search_->Reset();
    return false;
  }
  if (!search_) {
    // Symbols alone when the names cannot be read; typing is no reason to
    // show the user a message.
    const std::vector<TileRecord>* records = typing_ == Typing::kSymbolsAndNames ? records_(false) : nullptr;
    search_.emplace(TypeAhead::ForTiles(records ? std::span<const TileRecord>(*records)
                                                : std::span<const TileRecord>()));
  }
  const TypeAhead::Result r = ch == kBackspace ? search_->Backspace(now_ms) : search_->Type(ch, now_ms);
  switch (r.kind) {
    case TypeAhead::Result::Kind::kIgnored: return ch == kBackspace;
    case TypeAhead::Result::Kind::kCleared: return true;
    case TypeAhead::Result::Kind::kNoMatch:
      kit::CurrentPlatform().Beep();
      return true;
    case TypeAhead::Result::Kind::kFound:
      if (r.index >= 0 && r.index < static_cast<int>(tiles_.size())) form_.SetFocus(tiles_[r.index].get());
      return true;
  }
  return false;
}

}  // namespace viewer
