#include "viewer/solubility_window.h"

#include <algorithm>

#include "kit/font.h"
#include "kit/input.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr kit::Color kHeader = kit::Rgb(0xE4, 0xEA, 0xF2);

// Twips: the margin, the table's cells and headers, the legend's lines and
// the series' boxes.
constexpr int kMargin = 240;
constexpr int kRowHeadWidth = 1080, kHeadHeight = 390;
constexpr int kCellWidth = 570, kCellHeight = 315;
constexpr int kLegendLine = 330, kLegendSwatch = 420;
constexpr int kSeriesBox = 540, kTextHeight = 255;

constexpr int kTableWidth = kRowHeadWidth + static_cast<int>(kCations.size()) * kCellWidth;
constexpr int kTableHeight = kHeadHeight + static_cast<int>(kAnions.size()) * kCellHeight;
constexpr int kLegendTop = kTableHeight + 180;
constexpr int kSeriesTop = kLegendTop + 2 * kLegendLine + 240;
constexpr int kSymbolsTop = kSeriesTop + 600;
constexpr int kContentHeight = kSymbolsTop + kCellHeight + 1140;

constexpr wchar_t kCopyPicture[] = L"Копирай като картина";
constexpr wchar_t kSavePicture[] = L"Запиши като картина…";
constexpr wchar_t kPrint[] = L"Печат…";
constexpr wchar_t kBlackAndWhite[] = L"Черно-бяло";
constexpr wchar_t kExamSet[] = L"Печат на трите таблици…";

// Each mark as the window shows it, in the order of Mark: its colour, its
// fill in black and white, and what it means in the legend and a cell's
// description.
struct MarkLook {
  kit::Color color;
  PrintFill fill;
  std::wstring_view meaning;
};
const MarkLook kLooks[] = {
    {kit::Rgb(0xB9, 0xE4, 0xB0), {kPaper, kit::Hatch::kNone}, L"разтворимо: над 1 g в 100 g вода"},
    {kit::Rgb(0xFF, 0xE0, 0x8A), {kit::Rgb(0xE4, 0xE4, 0xE4), kit::Hatch::kNone},
     L"малко разтворимо: от 0,01 до 1 g в 100 g вода"},
    {kit::Rgb(0xF4, 0xA6, 0x9E), {kit::Rgb(0xC4, 0xC4, 0xC4), kit::Hatch::kForwardDiagonal},
     L"неразтворимо: под 0,01 g в 100 g вода"},
    {kit::Rgb(0xD9, 0xD9, 0xD9), {kPaper, kit::Hatch::kDiagonalCross}, L"не съществува или водата го разлага"},
};
const MarkLook& Look(Mark mark) { return kLooks[static_cast<std::size_t>(mark)]; }
std::wstring_view MarkMeaning(Mark mark) { return Look(mark).meaning; }

// A cell or a legend's swatch: the mark's letter on its colour, or on its
// fill in black and white.
void ShowMark(kit::Label& label, Mark mark) {
  label.caption = MarkLetter(mark);
  label.transparent = false;
  label.back_color = Look(mark).color;
  label.monochrome = Look(mark).fill;
  label.border = true;
}

void SetLine(kit::Line& line, int x1, int y1, int x2, int y2) {
  line.x1 = x1;
  line.y1 = y1;
  line.x2 = x2;
  line.y2 = y2;
}

}  // namespace

PrintFill MarkPrintFill(Mark mark) { return Look(mark).fill; }

SolubilityWindow::SolubilityWindow(Links links, bool black_and_white)
    : kit::Form("form_solubility"), links_(std::move(links)) {
  framed = true;
  monochrome = black_and_white;
  back_color = kPaper;
  font = Verdana(8.25, false);
  icon = L"TABLE";
  caption = L"Разтворимост на веществата във вода";
  description = L"Разтворимост на киселините, основите и солите във вода и ред на активност на металите";
  SetSize(kTableWidth + 2 * kMargin, kContentHeight + 2 * kMargin);
  Build();
  Place();

  on_resize = [this] { Place(); };
  on_key = [this](kit::Key key, int shift) { return HandleKey(key, shift); };
  on_shortcut = [this](wchar_t letter) {
    return links_.sheets && links_.sheets->Shortcut(letter, [this] { return Worksheet(); });
  };
  on_context_menu = [this](kit::Control*, int x, int y, bool) { OpenMenu(x, y); };
  on_close_request = [this] {
    if (links_.close) links_.close();
  };
  initial_focus = cells_.front().get();
  SetFocus(cells_.front().get());
}

std::unique_ptr<kit::Label> SolubilityWindow::NewLabel(std::string name, kit::Font font) {
  auto label = std::make_unique<kit::Label>(*this, std::move(name));
  label->font = font;
  label->fore_color = kInk;
  label->transparent = true;
  label->alignment = kit::Align::kCenter;
  return label;
}

// A header of the table: its ion drawn with raised and lowered characters,
// named with plain digits.
std::unique_ptr<kit::Label> SolubilityWindow::NewHeader(std::string name, const Ion& ion, kit::Role role) {
  auto head = NewLabel(std::move(name), Verdana(8.25, true));
  kit::SetScripted(*head, IonMarkup(ion));
  head->accessible_name = IonPlain(ion);
  head->role = role;
  head->transparent = false;
  head->back_color = kHeader;
  head->border = true;
  return head;
}

void SolubilityWindow::Build() {
  const kit::Font bold = Verdana(8.25, true), plain = Verdana(8.25, false);

  lbl_table.role = kit::Role::kTable;
  lbl_table.accessible_name = caption;
  lbl_table.caption_shown = false;
  lbl_table.transparent = true;
  for (std::size_t c = 0; c < kCations.size(); ++c)
    column_heads_.push_back(NewHeader("col_" + std::to_string(c), kCations[c], kit::Role::kColumnHeader));
  for (std::size_t a = 0; a < kAnions.size(); ++a)
    row_heads_.push_back(NewHeader("row_" + std::to_string(a), kAnions[a], kit::Role::kRowHeader));
  const SolubilityTable& table = Solubility();
  for (std::size_t a = 0; a < kAnions.size(); ++a)
    for (std::size_t c = 0; c < kCations.size(); ++c) {
      const Mark mark = table.At(a, c);
      const bool water = IsWater(kCations[c], kAnions[a]);
      kit::Label& cell = *cells_.emplace_back(NewLabel("cell_" + std::to_string(a) + "_" + std::to_string(c), bold));
      ShowMark(cell, mark);
      cell.role = kit::Role::kCell;
      cell.tab_group = 1;
      cell.accessible_name = CellName(a, c, mark);
      cell.description = water ? L"H₂O: водата, не сол" : std::wstring(MarkMeaning(mark));
      cell.on_click = [this, formula = CompoundFormula(kCations[c], kAnions[a])] {
        if (links_.open_formula) links_.open_formula(formula);
      };
    }

  for (Mark mark : kMarks) {
    kit::Label& swatch = *legend_swatches_.emplace_back(NewLabel("legend_mark", bold));
    ShowMark(swatch, mark);
    kit::Label& text = *legend_texts_.emplace_back(NewLabel("legend_text", plain));
    text.caption = MarkMeaning(mark);
    text.alignment = kit::Align::kLeft;
  }

  series_ = NewLabel("lbl_series", bold);
  series_->caption = L"Ред на активност на металите";
  series_->alignment = kit::Align::kLeft;
  series_->role = kit::Role::kList;
  water_text_ = NewLabel("series_water", plain);
  water_text_->caption = L"изместват водорода от водата";
  for (const SeriesEntry& entry : kActivitySeries) {
    kit::Label& item =
        *series_items_.emplace_back(NewLabel("metal_" + std::string(entry.symbol.begin(), entry.symbol.end()), bold));
    if (entry.symbol == L"H2") kit::SetScripted(item, L"(H_2)");
    else item.caption = entry.symbol;
    item.accessible_name = SeriesItemName(entry);
    item.role = kit::Role::kListItem;
  }
  acids_text_ = NewLabel("series_acids", plain);
  acids_text_->caption = L"металите вляво от водорода го изместват от разредени киселини";
  arrow_text_ = NewLabel("series_arrow", plain);
  arrow_text_->caption = L"активността на металите намалява";
  for (auto* line : {&water_line_, &acids_line_, &hydrogen_line_, &arrow_line_, &arrow_head_up_, &arrow_head_down_})
  {
    *line = std::make_unique<kit::Line>(*this, "solubility_line");
    (*line)->color = kInk;
  }
  arrow_line_->width = arrow_head_up_->width = arrow_head_down_->width = 2;
}

// Everything from the content's top left corner, centred across the window
// when it is wider than the content.
void SolubilityWindow::Place() {
  const int x0 = std::max(kMargin, (Width() - kTableWidth) / 2), y0 = kMargin;
  lbl_table.bounds = {x0, y0, kTableWidth, kTableHeight};
  for (std::size_t c = 0; c < column_heads_.size(); ++c)
    column_heads_[c]->bounds = {x0 + kRowHeadWidth + static_cast<int>(c) * kCellWidth, y0, kCellWidth, kHeadHeight};
  for (std::size_t a = 0; a < row_heads_.size(); ++a) {
    const int top = y0 + kHeadHeight + static_cast<int>(a) * kCellHeight;
    row_heads_[a]->bounds = {x0, top, kRowHeadWidth, kCellHeight};
    for (std::size_t c = 0; c < kCations.size(); ++c)
      Cell(a, c).bounds = {x0 + kRowHeadWidth + static_cast<int>(c) * kCellWidth, top, kCellWidth, kCellHeight};
  }
  // The legend: two marks a line.
  for (std::size_t i = 0; i < legend_swatches_.size(); ++i) {
    const int left = x0 + static_cast<int>(i % 2) * (kTableWidth / 2);
    const int top = y0 + kLegendTop + static_cast<int>(i / 2) * kLegendLine;
    legend_swatches_[i]->bounds = {left, top, kLegendSwatch, kLegendLine - 45};
    legend_texts_[i]->bounds = {left + kLegendSwatch + 90, top + 30, kTableWidth / 2 - kLegendSwatch - 90, kTextHeight};
  }

  const int top = y0 + kSeriesTop, symbols = y0 + kSymbolsTop;
  const int series_width = static_cast<int>(kActivitySeries.size()) * kSeriesBox;
  const int sx = x0 + (kTableWidth - series_width) / 2;
  auto box_left = [&](std::size_t i) { return sx + static_cast<int>(i) * kSeriesBox; };
  series_->bounds = {x0, top, kTableWidth, kTextHeight};
  // Over the metals that displace hydrogen from water: a bracket and its words.
  const int water_right = box_left(kDisplaceFromWater);
  water_text_->bounds = {sx - 600, top + 270, water_right - sx + 1200, kTextHeight};
  SetLine(*water_line_, sx + 60, symbols - 45, water_right - 60, symbols - 45);
  for (std::size_t i = 0; i < series_items_.size(); ++i)
    series_items_[i]->bounds = {box_left(i), symbols, kSeriesBox, kCellHeight};
  // After lead, hydrogen's place: what stands left of it displaces it from acids.
  const int h = box_left(kHydrogenPlace);
  SetLine(*hydrogen_line_, h, symbols - 60, h, symbols + kCellHeight + 60);
  SetLine(*acids_line_, sx + 60, symbols + kCellHeight + 60, h - 60, symbols + kCellHeight + 60);
  acids_text_->bounds = {sx, symbols + kCellHeight + 105, h - sx, kTextHeight};
  const int arrow_y = symbols + kCellHeight + 540, arrow_end = sx + series_width;
  SetLine(*arrow_line_, sx, arrow_y, arrow_end, arrow_y);
  SetLine(*arrow_head_up_, arrow_end - 150, arrow_y - 90, arrow_end, arrow_y);
  SetLine(*arrow_head_down_, arrow_end - 150, arrow_y + 90, arrow_end, arrow_y);
  arrow_text_->bounds = {sx, arrow_y + 75, series_width, kTextHeight};
}

SheetContent SolubilityWindow::Worksheet() const {
  SheetContent sheet;
  sheet.title = caption;
  sheet.surface = back_color;
  sheet.clipboard_text = SolubilityText(Solubility());
  for (const kit::Control* c : Controls())
    if (kit::Shown(*c)) sheet.controls.push_back(c);
  return sheet;
}

std::vector<kit::MenuItem> SolubilityWindow::MenuItems() const {
  std::vector<kit::MenuItem> items;
  for (const wchar_t* line : {kCopyPicture, kSavePicture, kPrint}) items.push_back({line});
  items.push_back({L"", false, true});
  items.push_back({kBlackAndWhite, monochrome, false, true});
  items.push_back({L"", false, true});
  items.push_back({kExamSet});
  return items;
}

void SolubilityWindow::OpenMenu(int x, int y) {
  const std::vector<kit::MenuItem> items = MenuItems();
  const int chosen = kit::CurrentPlatform().PopupMenu(*this, items, x, y);
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
  const std::wstring& line = items[static_cast<std::size_t>(chosen)].text;
  if (line == kBlackAndWhite) {
    monochrome = !monochrome;
    return;
  }
  if (line == kExamSet) {
    if (links_.print_exam_set) links_.print_exam_set();
    return;
  }
  if (!links_.sheets) return;
  if (line == kCopyPicture) links_.sheets->Copy(Worksheet());
  else if (line == kSavePicture) links_.sheets->Save(Worksheet());
  else if (line == kPrint) links_.sheets->Print(Worksheet());
}

bool SolubilityWindow::HandleKey(kit::Key key, int shift) {
  if (key == kit::Key::kEscape) {
    if (links_.close) links_.close();
    return true;
  }
  // Ctrl+Home: the table's first cell, from anywhere in it.
  if (key == kit::Key::kHome && (shift & kit::kControlKey)) {
    SetFocus(cells_.front().get());
    return true;
  }
  return false;
}

}  // namespace viewer
