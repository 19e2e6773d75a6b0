#include "viewer/molar_window.h"

#include <algorithm>
#include <iterator>

#include "kit/input.h"
#include "kit/platform.h"
#include "kit/scripted.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr kit::Color kHeaderBack = kit::Rgb(0xDD, 0xE6, 0xF0);
constexpr kit::Color kErrorInk = kit::Rgb(0xB0, 0x00, 0x00);

// Twips: the margin, the table's columns and its rows.
constexpr int kMargin = 240;
constexpr int kColumns[] = {780, 1500, 720, 960, 1140, 1080};
constexpr int kRowHeight = 270;
constexpr int kTableTop = 2040;

void Text(kit::Label& label, kit::Rect bounds, kit::Font font, kit::Align align = kit::Align::kLeft) {
  label.bounds = bounds;
  label.font = std::move(font);
  label.fore_color = kInk;
  label.transparent = true;
  label.alignment = align;
}

kit::Align ColumnAlign(std::size_t column) { return column >= 2 ? kit::Align::kRight : kit::Align::kLeft; }

}  // namespace

MolarWindow::MolarWindow(const std::vector<FormulaElement>& elements, Links links)
    : kit::Form("form_molar"), elements_(elements), links_(std::move(links)) {
  caption = L"Моларна маса";
  framed = true;
  back_color = kPaper;
  font = Verdana(8.25, false);
  icon = L"TABLE";
  SetSize(6660, 5400);

  Text(lbl_formula, {kMargin, 255, 900, 255}, Verdana(8.25, true));
  lbl_formula.caption = L"Формула";
  txt_formula.bounds = {1200, 210, 0, 330};
  txt_formula.font = Verdana(9.75, false);
  txt_formula.labelled_by = &lbl_formula;
  txt_formula.tab_index = 0;
  txt_formula.on_change = [this] { Recalculate(); };
  initial_focus = &txt_formula;

  Text(lbl_drawn, {kMargin, 690, 0, 450}, Verdana(15.75, true));
  Text(lbl_mr, {kMargin, 1200, 2400, 255}, Verdana(9.75, true));
  Text(lbl_m, {2760, 1200, 0, 255}, Verdana(9.75, true));
  // The whole result as one line a reader reads in full and a user can select.
  txt_result.bounds = {kMargin, 1560, 0, 300};
  txt_result.read_only = true;
  txt_result.border = false;
  txt_result.back_color = kPaper;
  txt_result.font = Verdana(8.25, false);
  txt_result.accessible_name = L"Резултат";
  txt_result.tab_index = 1;

  Text(lbl_error, {kMargin, 690, 0, 900}, Verdana(9.75, true));
  lbl_error.fore_color = kErrorInk;
  lbl_error.word_wrap = true;
  lbl_error.role = kit::Role::kAlert;
  lbl_error.visible = false;

  lbl_list.bounds = {kMargin, kTableTop, 0, kRowHeight};
  lbl_list.transparent = true;
  lbl_list.caption_shown = false;
  lbl_list.accessible_name = L"Елементи";
  lbl_list.role = kit::Role::kList;
  int left = kMargin;
  for (std::size_t c = 0; c < std::size(kFormulaHeaders); ++c) {
    auto header = std::make_unique<kit::Label>(*this, "hdr_" + std::to_string(c));
    Text(*header, {left, kTableTop, kColumns[c], kRowHeight}, Verdana(8.25, true), ColumnAlign(c));
    header->caption = kFormulaHeaders[c];
    header->transparent = false;
    header->back_color = kHeaderBack;
    header->role = kit::Role::kColumnHeader;
    left += kColumns[c];
    headers_.push_back(std::move(header));
  }
  Text(lbl_notes, {kMargin, kTableTop + kRowHeight, 0, 255}, Verdana(8.25, false));
  lbl_notes.word_wrap = true;

  on_resize = [this] { Layout(); };
  on_key = [this](kit::Key key, int shift) { return HandleKey(key, shift); };
  // Ctrl+C copies the result wherever the focus is (the kit leaves it to a
  // text box that has characters selected).
  on_shortcut = [this](wchar_t letter) {
    if (!formula_.Ok() || !links_.sheets) return false;
    return links_.sheets->Shortcut(letter, [this] { return Worksheet(); });
  };
  on_close_request = [this] {
    if (links_.close) links_.close();
  };
  Recalculate();
}

// The rows and cells go before the form that they register with.
MolarWindow::~MolarWindow() {
  on_focus_change = nullptr;
  cells_.clear();
  rows_.clear();
  headers_.clear();
}

void MolarWindow::SetFormula(const std::wstring& text) {
  txt_formula.text = text;
  txt_formula.Select(static_cast<int>(text.size()), 0);
  Recalculate();
}

void MolarWindow::TypeSymbol(std::wstring_view symbol) {
  std::wstring& text = txt_formula.text;
  const std::size_t at = std::min(static_cast<std::size_t>(std::max(txt_formula.sel_start, 0)), text.size());
  const std::size_t length = std::min(static_cast<std::size_t>(std::max(txt_formula.sel_length, 0)), text.size() - at);
  text.replace(at, length, symbol);
  txt_formula.Select(static_cast<int>(at + symbol.size()), 0);
  Recalculate();
  Activate();
  SetFocus(&txt_formula);
}

void MolarWindow::Recalculate() {
  const std::wstring old_error = formula_.error;
  formula_ = ParseFormula(txt_formula.text, elements_);
  const bool ok = formula_.Ok();
  // A bad formula leaves nothing of the last good result on show.
  if (ok) kit::SetScripted(lbl_drawn, formula_.markup);
  else kit::SetScripted(lbl_drawn, L"");
  lbl_drawn.accessible_name = ok ? formula_.plain : L"";
  lbl_mr.caption = ok ? RelativeMassText(formula_) : L"";
  lbl_m.caption = ok ? MolarMassText(formula_) : L"";
  txt_result.text = ok ? ResultLine(formula_) : L"";
  std::wstring notes;
  if (ok)
    for (const std::wstring& note : ResultNotes(formula_, elements_)) notes += (notes.empty() ? L"" : L"\n") + note;
  lbl_notes.caption = notes;
  lbl_error.caption = formula_.error;
  lbl_error.visible = !formula_.error.empty();
  for (kit::Label* l : {&lbl_drawn, &lbl_mr, &lbl_m}) l->visible = ok;
  BuildRows();
  if (!formula_.error.empty() && formula_.error != old_error) kit::CurrentPlatform().Alert(lbl_error);
}

void MolarWindow::BuildRows() {
  const bool row_focused = std::any_of(rows_.begin(), rows_.end(), [this](const auto& r) { return r.get() == Focused(); });
  cells_.clear();
  rows_.clear();
  const bool ok = formula_.Ok();
  lbl_list.visible = ok;
  for (auto& header : headers_) header->visible = ok;
  if (ok) {
    for (const FormulaRow& row : formula_.rows) {
      const int top = kTableTop + kRowHeight * static_cast<int>(rows_.size() + 1);
      const std::vector<std::wstring> texts = RowCells(formula_, row, elements_);
      int left = kMargin;
      for (std::size_t c = 0; c < texts.size(); ++c) {
        auto cell = std::make_unique<kit::Label>(*this, "cell");
        Text(*cell, {left, top, kColumns[c] - 60, kRowHeight}, Verdana(8.25, c == 0), ColumnAlign(c));
        cell->caption = texts[c];
        cell->accessible = false;
        left += kColumns[c];
        cells_.push_back(std::move(cell));
      }
      // Above its cells, so a click on the row is the row's.
      std::string name = "row_";
      for (wchar_t ch : texts[0]) name += static_cast<char>(ch);
      auto item = std::make_unique<kit::Label>(*this, name);
      item->bounds = {kMargin, top, left - kMargin, kRowHeight};
      item->transparent = true;
      item->caption_shown = false;
      item->caption = RowName(formula_, row, elements_);
      item->role = kit::Role::kListItem;
      item->tab_index = 2;
      item->on_click = [this, l = item.get()] { SetFocus(l); };
      rows_.push_back(std::move(item));
    }
  }
  if (row_focused) SetFocus(rows_.empty() ? static_cast<kit::Control*>(&txt_formula) : rows_.front().get());
  Layout();
}

void MolarWindow::Layout() {
  const int width = std::max(Width() - 2 * kMargin, 3000);
  txt_formula.bounds.width = kMargin + width - txt_formula.bounds.left;
  for (kit::Control* c : std::initializer_list<kit::Control*>{&lbl_drawn, &txt_result, &lbl_error})
    c->bounds.width = width;
  lbl_m.bounds.width = kMargin + width - lbl_m.bounds.left;
  int table_width = 0;
  for (int w : kColumns) table_width += w;
  lbl_list.bounds.width = table_width;
  lbl_list.bounds.height = kRowHeight * static_cast<int>(rows_.size() + 1);
  lbl_notes.bounds = {kMargin, lbl_list.bounds.Bottom() + 120, width,
                      255 * static_cast<int>(std::count(lbl_notes.caption.begin(), lbl_notes.caption.end(), L'\n') + 1)};
}

int MolarWindow::RowIndex(const kit::Control* c) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].get() == c) return static_cast<int>(i);
  return -1;
}

// Three stops for Tab: the box, the result line and the table, which is
// entered on the row last left; the arrows move between the rows.
bool MolarWindow::HandleKey(kit::Key key, int shift) {
  const int row = RowIndex(Focused());
  const int last = static_cast<int>(rows_.size()) - 1;
  switch (key) {
    case kit::Key::kEscape:
      if (links_.close) links_.close();
      return true;
    case kit::Key::kTab: {
      if (row >= 0) last_row_ = row;
      kit::Control* table = last >= 0 ? rows_[static_cast<std::size_t>(std::clamp(last_row_, 0, last))].get() : nullptr;
      const bool back = (shift & kit::kShiftKey) != 0;
      kit::Control* stops[] = {&txt_formula, &txt_result, table};
      const int n = table ? 3 : 2;
      const int at = row >= 0 ? 2 : Focused() == &txt_result ? 1 : 0;
      SetFocus(stops[(at + (back ? n - 1 : 1)) % n]);
      return true;
    }
    case kit::Key::kUp:
    case kit::Key::kDown:
    case kit::Key::kHome:
    case kit::Key::kEnd: {
      if (row < 0) return false;
      const int to = key == kit::Key::kHome ? 0 : key == kit::Key::kEnd ? last : row + (key == kit::Key::kUp ? -1 : 1);
      SetFocus(rows_[static_cast<std::size_t>(std::clamp(to, 0, last))].get());
      return true;
    }
    default:
      return false;
  }
}

SheetContent MolarWindow::Worksheet() const {
  SheetContent sheet;
  sheet.title = L"Моларна маса: " + kit::UnicodeScripted(kit::ParseScripted(formula_.markup));
  sheet.surface = back_color;
  sheet.clipboard_text = ResultClipboardText(formula_, elements_);
  for (const kit::Label* l : {&lbl_drawn, &lbl_mr, &lbl_m}) sheet.controls.push_back(l);
  for (const auto& h : headers_) sheet.controls.push_back(h.get());
  for (const auto& c : cells_) sheet.controls.push_back(c.get());
  if (!lbl_notes.caption.empty()) sheet.controls.push_back(&lbl_notes);
  return sheet;
}

}  // namespace viewer
