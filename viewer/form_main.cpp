#include "viewer/form_main.h"

#include <algorithm>
#include <utility>

#include "kit/font.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "viewer/matter_state.h"
#include "viewer/module1.h"
#include "viewer/tile_table.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

// What the user reads when a tile cannot show its element. The panel keeps
// what it showed before.
constexpr wchar_t kNoDatabase[] =
    L"Базата данни с елементите (vrakel.mdb) не можа да бъде отворена. "
    L"Данните за елемента не могат да бъдат показани.";
constexpr wchar_t kUnusableTable[] =
    L"Базата данни с елементите (vrakel.mdb) беше отворена, но таблицата с елементите в нея "
    L"е повредена или непълна. Данните за елемента не могат да бъдат показани.";
constexpr wchar_t kNoRecordMessage[] = L"В базата данни няма запис за този елемент.";
constexpr wchar_t kIncomplete[] = L"Записът за този елемент в базата данни е непълен или повреден.";


// The fields of a record and the box each one goes into, in copying order.
struct FieldBox {
  std::string_view field;
  kit::TextBox FormMain::*box;
};
constexpr std::array<FieldBox, 12> kFields{{
    {"atom_num", &FormMain::txt_atom_num},
    {"Name", &FormMain::txt_name},
    {"atom_mass", &FormMain::txt_atom_mass},
    {"atom_rad", &FormMain::txt_atom_rad},
    {"orbitals", &FormMain::txt_orbitals},
    {"elec_shell", &FormMain::txt_elec_shell},
    {"melt_boil", &FormMain::txt_melt_boil},
    {"density", &FormMain::txt_density},
    {"isotopes", &FormMain::txt_isotopes},
    {"electronegativity", &FormMain::txt_electronegativity},
    {"oxidation", &FormMain::txt_oxidation},
    {"discovery", &FormMain::txt_discovery},
}};

// A label that only shows text on the window's surface.
void Caption(kit::Label& label, const wchar_t* text, kit::Rect bounds, kit::Font font, kit::Color color,
             kit::Align align = kit::Align::kLeft) {
  label.caption = text;
  label.bounds = bounds;
  label.font = std::move(font);
  label.fore_color = color;
  label.transparent = true;
  label.alignment = align;
}

// The keyboard reaches the boxes first, in their own order, then the tile
// table as one stop (the arrows move within it), then the temperature's
// controls while the states are shown (the indices after the tiles'), then
// the close mark.
constexpr int kTileTabIndex = 10;
constexpr int kCloseTabIndex = 20;
constexpr int kTileGroup = 1;

}  // namespace

FormMain::FormMain(DatabaseEngine& engine, std::wstring program_folder)
    : kit::Form("form_main"), engine_(engine), program_folder_(std::move(program_folder)) {
  caption = kWindowTitle;
  back_color = kBackground;
  icon = L"TABLE";
  centered = true;
  // The width is fixed; the height is set when the window loads.
  SetWidth(11640);

  BuildHeader();
  BuildLegend();
  BuildHeadings();
  BuildLines();
  BuildPanel();
  BuildTiles();
  // After the tiles: the scale's controls lie in the legend's area, above
  // nothing.
  trends_ = std::make_unique<TrendView>(
      *this, tiles_,
      std::vector<kit::Control*>{&Shape9, &Shape8, &Shape7, &Shape6, &Shape5, &Shape4, &Shape3, &Shape1,
                                 &lbl_alkali_metals, &lbl_alkaline_earth_metals, &lbl_lanthanide_series,
                                 &lbl_actinide_series, &lbl_transition_metals, &lbl_other_metals, &lbl_nonmetals,
                                 &lbl_noble_gases},
      [this](bool tell_user) { return TileRecords(tell_user); });

  on_load = [this] {
    SetHeight(8600);
    OpenElementTable();
  };
  // Every mouse button drags, from any point of the surface that no control
  // covers; the band, the swatches and the lines count as surface.
  on_mouse_down = [this](kit::MouseButton, int, int, int) { BeginWindowDrag(*this); };
  Label3.on_click = [] { kit::EndProgram(0); };
  // The tiles' menu: a right click on a tile, or Shift+F10 and the
  // context-menu key wherever the window's own focus is.
  on_context_menu = [this](kit::Control* target, int x, int y, bool keyboard) {
    bool on_tile = std::any_of(tiles_.begin(), tiles_.end(), [&](const auto& t) { return t.get() == target; });
    if (keyboard || on_tile) OpenMenu(x, y);
  };
  // The windows' letters open them; copy, save and print the worksheet
  // from anywhere in the window (a text box with a selection keeps its own
  // Ctrl+C).
  on_shortcut = [this](wchar_t letter) {
    return OpenWindowFor(letter) ||
           (sheet_output_ && sheet_output_->Shortcut(letter, [this] { return Worksheet(); }));
  };
  on_char = [this](wchar_t ch) { return trends_->Type(ch, kit::CurrentPlatform().TickMs()); };
  on_key = [this](kit::Key key, int shift) {
    if (key != kit::Key::kEnter || !(shift & kit::kControlKey)) return false;
    OpenAtom();
    return true;
  };
  on_focus_change = [this](kit::Control* from, kit::Control* to) {
    trends_->FocusMoved(from, to);
    if (chart_) chart_->Highlight(trends_->NoticedTile());
  };
}

// The controls going away take the focus with them; nothing is left to
// follow it.
FormMain::~FormMain() { on_focus_change = nullptr; }

void FormMain::BuildHeader() {
  Shape2.bounds = {0, 0, 61200, 600};  // wider than the window: spans its whole top edge
  Shape2.filled = true;
  Shape2.fill_color = kBandBlue;
  Shape2.outlined = false;

  Image3.bounds = {30, -45, 780, 585};
  Image3.resource = L"LOGO";
  Image3.stretch = true;

  Caption(Label2, L"Zentrik Периодична система", {885, 45, 4515, 345}, Verdana(14.25, true), kWhite);
  Caption(Label1, L"Щракнете върху елемент за повече данни", {930, 360, 4650, 195}, Verdana(8.25, true),
          kWhite);
  Caption(Label3, L"X", {11220, 15, 330, 525}, Verdana(21.75, true), kWhite);
  Label3.accessible_name = L"Затвори";
  Label3.tab_index = kCloseTabIndex;
}

void FormMain::BuildLegend() {
  struct Entry {
    kit::Shape& swatch;
    int swatch_left, swatch_top;
    Category category;
    kit::Label& label;
    int label_left, label_top;
  };
  const Entry entries[] = {
      {Shape9, 2790, 690, Category::kAlkaliMetal, lbl_alkali_metals, 3045, 660},
      {Shape8, 2790, 915, Category::kAlkalineEarthMetal, lbl_alkaline_earth_metals, 3045, 900},
      {Shape7, 2790, 1155, Category::kLanthanide, lbl_lanthanide_series, 3045, 1140},
      {Shape6, 2790, 1380, Category::kActinide, lbl_actinide_series, 3045, 1380},
      {Shape5, 4980, 675, Category::kTransitionMetal, lbl_transition_metals, 5265, 660},
      {Shape4, 4980, 900, Category::kOtherMetal, lbl_other_metals, 5265, 900},
      {Shape3, 4980, 1140, Category::kNonmetal, lbl_nonmetals, 5265, 1140},
      {Shape1, 4980, 1365, Category::kNobleGas, lbl_noble_gases, 5265, 1380},
  };
  for (const Entry& e : entries) {
    e.swatch.bounds = {e.swatch_left, e.swatch_top, 210, 195};
    e.swatch.filled = true;
    e.swatch.fill_color = CategoryColor(e.category);
    e.swatch.monochrome = CategoryPrintFill(e.category);
    // Outlined in the window's colour, so it shows as a plain square.
    e.swatch.border_color = kBackground;
    Caption(e.label, CategoryCaption(e.category), {e.label_left, e.label_top, 1740, 255}, Verdana(8.25, true), kWhite);
  }
}

void FormMain::BuildHeadings() {
  struct Heading {
    kit::Label& label;
    int left, top;
    const wchar_t* caption;
  };
  const Heading headings[] = {
      {lbl_1, 240, 660, L"1"},          {lbl_18, 10920, 660, L"18"},
      {lbl_Ia, 240, 1020, L"Ia"},       {lbl_0, 10920, 1020, L"0"},
      {lbl_2, 840, 1140, L"2"},         {lbl_13, 7920, 1140, L"13"},
      {lbl_14, 8520, 1140, L"14"},      {lbl_15, 9120, 1140, L"15"},
      {lbl_16, 9720, 1140, L"16"},      {lbl_17, 10320, 1140, L"17"},
      {lbl_IIa, 840, 1500, L"IIa"},     {lbl_IIIa, 7920, 1500, L"IIIa"},
      {lbl_IVa, 8520, 1500, L"IVa"},    {lbl_Va, 9120, 1500, L"Va"},
      {lbl_VIa, 9720, 1500, L"VIa"},    {lbl_VIIa, 10320, 1500, L"VIIa"},
      {lbl_3, 1920, 2100, L"3"},        {lbl_4, 2520, 2100, L"4"},
      {lbl_5, 3120, 2100, L"5"},        {lbl_6, 3720, 2100, L"6"},
      {lbl_7, 4320, 2100, L"7"},        {lbl_8, 4920, 2100, L"8"},
      {lbl_9, 5520, 2100, L"9"},        {lbl_10, 6120, 2100, L"10"},
      {lbl_11, 6720, 2100, L"11"},      {lbl_12, 7320, 2100, L"12"},
      // The "a" subgroups above use the Latin a, the "б" subgroups the
      // Cyrillic б; IVб opens with the Cyrillic І as well.
      {lbl_IIIb, 1920, 2460, L"IIIб"},  {lbl_IVb, 2520, 2460, L"ІVб"},
      {lbl_Vb, 3120, 2460, L"Vб"},      {lbl_VIb, 3720, 2460, L"VIб"},
      {lbl_VIIb, 4320, 2460, L"VIIб"},
      // A bracket over groups 8 to 10, with VIIIб between its halves.
      {lbl_left, 4920, 2460, L"|-------------"},
      {lbl_VIIIb, 5520, 2460, L"VIIIб"},
      {lbl_right, 6120, 2460, L"------------|"},
      {lbl_Ib, 6720, 2460, L"Iб"},      {lbl_IIb, 7320, 2460, L"IIб"},
  };
  for (const Heading& h : headings)
    Caption(h.label, h.caption, {h.left, h.top, 615, 255}, Verdana(8.25, false), kit::kWindowText,
            kit::Align::kCenter);
  // The bracket halves are wider than their labels in most fonts; anchored
  // at their outer ends each keeps its bar, which a centred caption loses.
  lbl_left.alignment = kit::Align::kLeft;
  lbl_right.alignment = kit::Align::kRight;
}

void FormMain::BuildLines() {
  struct Segment {
    kit::Line& line;
    int x1, y1, x2, y2;
  };
  // From the gap between groups 2 and 3 down to the two f-block rows:
  // period 6 to the lanthanides, period 7 to the actinides.
  const Segment segments[] = {
      {Line1, 1440, 3900, 1800, 3900}, {Line2, 1800, 3900, 1800, 5100}, {Line3, 1800, 5100, 2520, 5100},
      {Line4, 1440, 4380, 1560, 4380}, {Line5, 1560, 4380, 1560, 5580}, {Line6, 1560, 5580, 2520, 5580},
  };
  for (const Segment& s : segments) {
    s.line.x1 = s.x1;
    s.line.y1 = s.y1;
    s.line.x2 = s.x2;
    s.line.y2 = s.y2;
    s.line.color = kit::kWindowText;
    s.line.width = 1;
  }
}

void FormMain::BuildPanel() {
  struct Pair {
    kit::Label& label;
    const wchar_t* caption;
    kit::Rect label_bounds;
    kit::TextBox& box;
    kit::Rect box_bounds;
    bool left_column;
  };
  // In tab order: the focus runs down the left column, then down the right
  // one, where the discovery box comes before the oxidation box.
  const Pair pairs[] = {
      {lbl_atom_num, L"Атомен номер", {4395, 6045, 1215, 255}, txt_atom_num, {3675, 6045, 615, 285}, true},
      {lbl_name, L"Име", {4395, 6525, 615, 255}, txt_name, {3075, 6525, 1215, 285}, true},
      {lbl_atom_mass, L"атомна маса", {4395, 7005, 1095, 255}, txt_atom_mass, {3315, 7005, 975, 285}, true},
      {lbl_atom_rad, L"Радиус на атома", {4395, 7485, 1455, 195}, txt_atom_rad, {3795, 7485, 495, 285}, true},
      {lbl_elec_shell, L"Електронна обвивка", {4365, 7920, 1815, 195}, txt_elec_shell, {2805, 7920, 1455, 285},
       true},
      {lbl_density, L"Плътност", {6975, 6000, 795, 195}, txt_density, {7890, 6000, 1575, 285}, false},
      {lbl_isotopes, L"Изотопи", {7050, 6480, 735, 255}, txt_isotopes, {7890, 6480, 495, 285}, false},
      {lbl_electronegativity, L"Електроотрицателност", {5805, 6960, 1980, 195}, txt_electronegativity,
       {7890, 6960, 2295, 285}, false},
      {lbl_discovery, L"Откривател", {6735, 7920, 1050, 255}, txt_discovery, {7890, 7860, 3495, 285}, false},
      {lbl_oxidation, L"степен на окисление", {5790, 7470, 2010, 255}, txt_oxidation, {7890, 7440, 615, 285},
       false},
  };
  int tab = 0;
  for (const Pair& p : pairs) {
    Caption(p.label, p.caption, p.label_bounds, Verdana(8.25, false), kit::kWindowText,
            p.left_column ? kit::Align::kLeft : kit::Align::kRight);
    p.box.bounds = p.box_bounds;
    // The window's colour, so the values seem to lie on the window; a thin
    // flat frame and the window's default font.
    p.box.back_color = kBackground;
    p.box.font = font;
    p.box.border = true;
    p.box.alignment = p.left_column ? kit::Align::kRight : kit::Align::kLeft;
    p.box.tab_index = tab++;
    p.box.labelled_by = &p.label;
  }
  initial_focus = &txt_atom_num;

  // Below the bottom edge and not visible: filled by every display, never
  // seen or reached. They keep the default colours and font.
  lbl_orbitals.caption = L"Orbitals";
  lbl_orbitals.bounds = {-360, 8805, 735, 255};
  lbl_orbitals.border = true;
  lbl_orbitals.visible = false;
  txt_orbitals.bounds = {2295, 9090, 1935, 285};
  txt_orbitals.alignment = kit::Align::kRight;
  txt_orbitals.visible = false;
  lbl_melt_boil.caption = L"Melting/Boiling Points";
  lbl_melt_boil.bounds = {1875, 9045, 1695, 255};
  lbl_melt_boil.border = true;
  lbl_melt_boil.alignment = kit::Align::kRight;
  lbl_melt_boil.visible = false;
  txt_melt_boil.bounds = {3675, 9045, 1815, 285};
  txt_melt_boil.visible = false;
}

void FormMain::BuildTiles() {
  const kit::Font tile_font = kit::MakeFont(L"Arial", 9.75, true, kit::kDefaultCharset);
  for (const TileInfo& info : viewer::Tiles()) {
    auto tile = std::make_unique<kit::Label>(*this, "lbl_" + std::string(info.symbol));
    tile->caption.assign(info.symbol.begin(), info.symbol.end());
    tile->bounds = {info.left, info.top, kTileWidth, kTileHeight};
    tile->font = tile_font;
    tile->back_color = CategoryColor(info.category);
    tile->monochrome = CategoryPrintFill(info.category);
    tile->border = true;
    tile->tab_index = kTileTabIndex;
    tile->tab_group = kTileGroup;
    tile->description = CategoryCaption(info.category);
    tile->on_click = [this, t = tile.get(), position = info.position] {
      if (ShowTile(*t, position)) TypeTileSymbol(*t);
    };
    tiles_.push_back(std::move(tile));
  }
}

bool FormMain::ShowTile(const kit::Label& tile, std::int32_t position) {
  if (QuizTakes(tile)) return false;
  if (position == kNoRecord) ShowUnknownElement();
  else ShowElement(position);
  trends_->TileShown(tile);
  if (chart_) chart_->Highlight(trends_->NoticedTile());
  return true;
}

kit::Label* FormMain::Tile(std::string_view symbol) {
  for (auto& tile : tiles_)
    if (std::string_view(tile->Name()).substr(4) == symbol) return tile.get();
  return nullptr;
}

std::array<kit::TextBox*, 12> FormMain::PanelBoxes() {
  std::array<kit::TextBox*, 12> boxes{};
  for (size_t i = 0; i < kFields.size(); ++i) boxes[i] = &(this->*kFields[i].box);
  return boxes;
}

void FormMain::OpenElementTable() {
  // The folder is used as reported and the name appended as it stands; at a
  // drive root that doubles the separator, which the system accepts.
  db = engine_.OpenDatabase(program_folder_ + L"\\vrakel.mdb");
  if (db) rs = db->OpenRecordset("data_list");
  if (rs && rs->SetIndex("ID")) FirstRow = rs->GetBookmark();
}

bool FormMain::ElementTableReady() {
  if (rs && FirstRow) return true;
  // A file that opened but whose table, index or first record cannot be used
  // is a different fault from a missing file, and the user is told which.
  kit::CurrentPlatform().MessageBox(db ? kUnusableTable : kNoDatabase, kWindowTitle);
  return false;
}

const std::vector<TileRecord>* FormMain::TileRecords(bool tell_user) {
  if (tile_records_) return &*tile_records_;
  if (!(rs && FirstRow)) {
    if (tell_user) (void)ElementTableReady();
    return nullptr;
  }
  tile_records_ = ReadTileRecords(*rs, *FirstRow);
  return &*tile_records_;
}

void FormMain::ShowElement(std::int32_t position) {
  if (!ElementTableReady()) return;
  // Always from the first record, so what a tile shows never depends on the
  // tile clicked before it.
  if (!rs->SetBookmark(*FirstRow) || !rs->Move(position)) {
    kit::CurrentPlatform().MessageBox(kNoRecordMessage, kWindowTitle);
    return;
  }
  // Read the whole record before touching a box: a record that cannot be
  // read in full leaves the panel as it was.
  std::array<std::wstring, kFields.size()> texts;
  for (size_t i = 0; i < kFields.size(); ++i) {
    auto text = rs->FieldText(kFields[i].field);
    if (!text) {
      kit::CurrentPlatform().MessageBox(kIncomplete, kWindowTitle);
      return;
    }
    texts[i] = std::move(*text);
  }
  for (size_t i = 0; i < kFields.size(); ++i) (this->*kFields[i].box).text = std::move(texts[i]);
}

void FormMain::ShowUnknownElement() {
  if (!ElementTableReady()) return;
  // Back to the first record like every display; nothing of it is read.
  if (rs->SetBookmark(*FirstRow)) (void)rs->Move(0);
  for (const FieldBox& f : kFields) (this->*f.box).text = L"?";
}

}  // namespace viewer
