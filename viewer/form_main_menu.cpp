// The tiles' popup menu and what it opens besides the views: the table as
// a worksheet picture (copied, saved or printed) and the windows beside it.
#include <algorithm>

#include "kit/font.h"
#include "kit/platform.h"
#include "viewer/form_main.h"
#include "viewer/matter_state.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr wchar_t kCopyPicture[] = L"Копирай като картина";
constexpr wchar_t kSavePicture[] = L"Запиши като картина…";
constexpr wchar_t kPrint[] = L"Печат…";

// The windows the menu's last group opens, in its order, each with the
// letter that opens it with Ctrl (none: 0).
struct WindowLine {
  const wchar_t* text;
  wchar_t letter;
  void (*open)(FormMain&);
};
constexpr WindowLine kWindowLines[] = {
    {L"Строеж на атома…", 0, [](FormMain& f) { f.OpenAtom(); }},
    {L"Графика…", 0, [](FormMain& f) { f.OpenChart(); }},
    {L"Моларна маса…", L'M', [](FormMain& f) { f.OpenMolarMass(); }},
    {L"Разтворимост и активност…", L'R', [](FormMain& f) { f.OpenSolubility(); }},
    {L"Упражнение…", L'U', [](FormMain& f) { f.OpenQuiz(); }},
};

}  // namespace

SheetContent FormMain::Worksheet() const {
  SheetContent sheet;
  const StateView* states = trends_->StatesShown() ? trends_->States() : nullptr;
  sheet.title = WorksheetTitle(trends_->Shown(), states ? std::optional<int>(states->Celsius()) : std::nullopt);
  sheet.surface = back_color;
  std::vector<const kit::Control*> left_out{&Shape2, &Label1, &Label2, &Label3};
  for (const kit::Label* panel : {&lbl_atom_num, &lbl_name, &lbl_atom_mass, &lbl_atom_rad, &lbl_elec_shell,
                                  &lbl_density, &lbl_isotopes, &lbl_electronegativity, &lbl_oxidation,
                                  &lbl_discovery, &lbl_orbitals, &lbl_melt_boil})
    left_out.push_back(panel);
  if (states) {
    // The temperature's controls only work in the window; one line says
    // what they are set to.
    for (const kit::Label* l : {&states->lbl_temperature, &states->lbl_celsius, &states->lbl_kelvin,
                                &states->lbl_room_temperature, &states->lbl_points})
      left_out.push_back(l);
    sheet.texts.push_back({{1920, 690, 5880, 255},
                           L"Температура: " + CelsiusText(states->Celsius()) + L" °C (" +
                               KelvinText(states->Celsius()) + L")",
                           Verdana(8.25, true)});
  }
  for (const kit::Control* c : Controls()) {
    const kit::ControlKind kind = c->Kind();
    if (kind != kit::ControlKind::kLabel && kind != kit::ControlKind::kShape && kind != kit::ControlKind::kLine)
      continue;
    if (!kit::Shown(*c) || c->Container() || std::find(left_out.begin(), left_out.end(), c) != left_out.end())
      continue;
    sheet.controls.push_back(c);
  }
  return sheet;
}

std::vector<kit::MenuItem> FormMain::MenuItems() const {
  std::vector<kit::MenuItem> items = trends_->MenuItems();
  items.push_back({L"", false, true});
  for (const wchar_t* line : {kCopyPicture, kSavePicture, kPrint}) items.push_back({line});
  items.push_back({L"", false, true});
  for (const WindowLine& w : kWindowLines) items.push_back({w.text});
  return items;
}

void FormMain::OpenMenu(int x, int y) {
  const std::vector<kit::MenuItem> items = MenuItems();
  const int chosen = kit::CurrentPlatform().PopupMenu(*this, items, x, y);
  const int views = static_cast<int>(trends_->MenuItems().size());
  if (chosen < views) {
    trends_->Choose(chosen);
    return;
  }
  const std::wstring& line = items[chosen].text;
  for (const WindowLine& w : kWindowLines)
    if (line == w.text) return w.open(*this);
  if (!sheet_output_) return;
  if (line == kCopyPicture) sheet_output_->Copy(Worksheet());
  else if (line == kSavePicture) sheet_output_->Save(Worksheet());
  else if (line == kPrint) sheet_output_->Print(Worksheet());
}

bool FormMain::OpenWindowFor(wchar_t letter) {
  for (const WindowLine& w : kWindowLines)
    if (w.letter && w.letter == letter) return w.open(*this), true;
  return false;
}

void FormMain::OpenChart() {
  if (!chart_) {
    const std::vector<TileRecord>* records = TileRecords(true);
    if (!records) return;
    Property property = trends_->StatesShown() ? Property::kMeltingPoint : Property::kAtomRadius;
    if (trends_->Shown()) property = *trends_->Shown();
    ChartWindow::Links links;
    links.show_tile = [this](int tile) { ShowTileFor(tile); };
    // Not from inside the window's own handler: after it.
    links.close = [this] { kit::PostTask([this] { chart_.reset(); }); };
    links.sheets = sheet_output_;
    chart_ = std::make_unique<ChartWindow>(*records, std::move(links), property, trends_->NoticedTile());
  }
  chart_->Activate();
}

void FormMain::OpenSolubility() {
  if (!solubility_) {
    SolubilityWindow::Links links;
    links.close = [this] { kit::PostTask([this] { solubility_.reset(); }); };
    links.sheets = sheet_output_;
    // A cell's compound, weighed.
    links.open_formula = [this](const std::wstring& formula) { OpenMolarMass(formula); };
    // The exam's three aids: the periodic table on one page, the solubility
    // table with the activity series on the next.
    links.print_exam_set = [this] {
      if (sheet_output_ && solubility_) sheet_output_->PrintPages({Worksheet(), solubility_->Worksheet()});
    };
    solubility_ = std::make_unique<SolubilityWindow>(std::move(links), monochrome);
  }
  solubility_->Activate();
}

void FormMain::OpenAtom() {
  const std::vector<TileRecord>* records = TileRecords(true);
  if (!records) return;
  const std::vector<int> shown = AtomTiles(*records);
  int tile = trends_->NoticedTile();
  if (tile < 0 && !shown.empty()) tile = shown.front();
  if (std::find(shown.begin(), shown.end(), tile) == shown.end()) return;
  if (atom_) {
    atom_->ShowTile(tile);
  } else {
    AtomWindow::Links links;
    links.show_tile = [this](int t) { ShowTileFor(t); };
    links.close = [this] { kit::PostTask([this] { atom_.reset(); }); };
    links.black_and_white = [this] { return monochrome; };
    links.sheets = sheet_output_;
    atom_ = std::make_unique<AtomWindow>(*records, std::move(links), tile);
  }
  atom_->Activate();
}

}  // namespace viewer
