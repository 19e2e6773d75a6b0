#include "viewer/atom_window.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "kit/input.h"
#include "kit/scripted.h"
#include "viewer/tile_table.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr kit::Color kNucleus = kit::Rgb(0xF4, 0xB4, 0xB4);
constexpr kit::Color kElectron = kit::Rgb(0x1F, 0x4E, 0xB4);
constexpr kit::Color kShellLine = kit::Rgb(0x60, 0x60, 0x60);

// The picture's measures, in twips.
struct Measures {
  int margin, nucleus_radius, dot, box, row_pitch;
};
constexpr Measures kTwips{.margin = 240, .nucleus_radius = 330, .dot = 105, .box = 390, .row_pitch = 570};
constexpr int kSubshellsPerLine = 7;

constexpr wchar_t kBlankMenuLine[] = L"Празни клетки";
constexpr wchar_t kBlankCount[] = L"____";

std::wstring Symbol(int tile) {
  const auto symbol = Tiles()[static_cast<size_t>(tile)].symbol;
  return std::wstring(symbol.begin(), symbol.end());
}

std::wstring HeadingText(const TileRecord& r, const std::wstring& symbol, const TablePlace& place,
                         Category category) {
  std::wstring text = symbol + L" – " + r.name + L", атомен номер " + std::to_wstring(r.atomic_number) +
                      L", период " + std::to_wstring(place.period);
  if (place.group) text += L", група " + std::to_wstring(place.group) + L" (" + OldGroup(place.group) + L")";
  return text + L", " + place.block + L"-елемент, " + LowerFirst(CategoryCaption(category));
}

}  // namespace

std::vector<int> AtomTiles(const std::vector<TileRecord>& records) {
  std::vector<int> out;
  for (size_t i = 0; i < records.size() && i < Tiles().size(); ++i)
    if (records[i].has_record && records[i].atomic_number > 0) out.push_back(static_cast<int>(i));
  std::stable_sort(out.begin(), out.end(),
                   [&](int a, int b) { return records[a].atomic_number < records[b].atomic_number; });
  return out;
}

AtomWindow::AtomWindow(const std::vector<TileRecord>& records, Links links, int tile)
    : kit::Form("form_atom"), records_(records), links_(std::move(links)), order_of_tiles_(AtomTiles(records)) {
  framed = true;
  back_color = kPaper;
  font = Verdana(8.25, false);
  icon = L"TABLE";
  pages_anywhere = true;
  SetSize(11400, 6900);

  lbl_heading.font = Verdana(10, true);
  lbl_heading.tab_index = 0;
  lbl_heading.on_click = [this] {
    if (links_.show_tile) links_.show_tile(tile_);
  };
  // The parts are tab stops, so the keyboard reaches each; they do nothing.
  int stop = 1;
  for (kit::Label* part : {&lbl_shells, &lbl_config}) {
    part->tab_index = stop++;
    part->on_click = [] {};
    part->role = kit::Role::kStaticText;
  }
  lbl_config.font = Verdana(12, true);
  opt_by_shell.caption = L"по слоеве";
  opt_by_filling.caption = L"по запълване";
  for (kit::OptionButton* o : {&opt_by_shell, &opt_by_filling}) {
    o->font = Verdana(8.25, false);
    o->back_color = kPaper;
    o->fore_color = kInk;
    o->tab_index = stop++;
  }
  opt_by_shell.SetValue(true);
  opt_by_shell.on_click = [this] { SetOrder(SubshellOrder::kByShell); };
  opt_by_filling.on_click = [this] { SetOrder(SubshellOrder::kByFilling); };
  lbl_fault.word_wrap = true;
  for (kit::Label* part : {&lbl_heading, &lbl_shells, &lbl_config, &lbl_fault, &lbl_unpaired, &lbl_valence}) {
    part->transparent = true;
    part->fore_color = kInk;
    if (part != &lbl_heading && part != &lbl_config) part->font = Verdana(9, false);
  }
  for (kit::Label* part : {&lbl_unpaired, &lbl_valence}) {
    part->tab_index = 20;
    part->on_click = [] {};
    part->role = kit::Role::kStaticText;
  }

  on_resize = [this] { Rebuild(); };
  on_key = [this](kit::Key key, int) { return HandleKey(key); };
  on_wheel = [this](int notches) {
    Step(notches > 0 ? -1 : 1);
    return true;
  };
  on_shortcut = [this](wchar_t letter) {
    FollowBlackAndWhite();
    return links_.sheets && links_.sheets->Shortcut(letter, [this] { return Worksheet(); });
  };
  on_context_menu = [this](kit::Control*, int x, int y, bool) {
    if (kit::CurrentPlatform().PopupMenu(*this, MenuItems(), x, y) == 0) SetBlank(!blank_);
  };
  on_close_request = [this] {
    if (links_.close) links_.close();
  };
  initial_focus = &lbl_heading;
  ShowTile(tile);
  SetFocus(&lbl_heading);
}

// The drawing goes before the form that its controls register with.
AtomWindow::~AtomWindow() {
  on_focus_change = nullptr;
  box_labels_.clear();
  drawing_.clear();
}

bool AtomWindow::ShowTile(int tile) {
  if (std::find(order_of_tiles_.begin(), order_of_tiles_.end(), tile) == order_of_tiles_.end()) return false;
  tile_ = tile;
  const TileRecord& r = records_[static_cast<size_t>(tile)];
  const std::wstring symbol = Symbol(tile);
  config_ = ParseConfiguration(r.orbitals, r.atomic_number);
  place_ = PlaceOf(r.atomic_number);
  shells_ = ParseShells(r.elec_shell);
  boxes_ = OuterBoxes(config_, place_);
  caption = L"Строеж на атома – " + r.name + L" (" + symbol + L")";
  lbl_heading.caption = HeadingText(r, symbol, place_, Tiles()[static_cast<size_t>(tile)].category);
  lbl_shells.caption = ShellsName(shells_);
  FollowBlackAndWhite();
  Rebuild();
  return true;
}

bool AtomWindow::Step(int by) {
  auto at = std::find(order_of_tiles_.begin(), order_of_tiles_.end(), tile_);
  const auto to = (at - order_of_tiles_.begin()) + by;
  if (at == order_of_tiles_.end() || to < 0 || to >= static_cast<std::ptrdiff_t>(order_of_tiles_.size())) return false;
  return ShowTile(order_of_tiles_[static_cast<size_t>(to)]);
}

void AtomWindow::SetOrder(SubshellOrder order) {
  kit::OptionButton& chosen = order == SubshellOrder::kByShell ? opt_by_shell : opt_by_filling;
  if (order_ == order && chosen.Value()) return;
  order_ = order;
  chosen.SetValue(true);   // clears the other; its click comes back here and stops above
  Rebuild();
}

void AtomWindow::SetBlank(bool blank) {
  blank_ = blank;
  Rebuild();
}

std::vector<kit::MenuItem> AtomWindow::MenuItems() const { return {{kBlankMenuLine, blank_, false, true}}; }

void AtomWindow::FollowBlackAndWhite() { monochrome = links_.black_and_white && links_.black_and_white(); }

SheetContent AtomWindow::Worksheet() const {
  SheetContent sheet;
  sheet.title = caption;
  sheet.surface = kPaper;
  for (const kit::Control* c : Controls())
    if (c->Kind() != kit::ControlKind::kOptionButton && kit::Shown(*c)) sheet.controls.push_back(c);
  const int z = records_[static_cast<size_t>(tile_)].atomic_number;
  sheet.clipboard_text = lbl_heading.caption + L"\r\n";
  if (config_.Usable())
    for (bool short_form : {false, true})
      sheet.clipboard_text +=
          kit::UnicodeScripted(kit::ParseScripted(ConfigurationMarkup(config_, z, short_form, order_))) + L"\r\n";
  return sheet;
}

kit::Label& AtomWindow::AddText(const std::wstring& markup, kit::Rect bounds, kit::Font font, kit::Align align) {
  kit::Label& label = DrawText(*this, drawing_, "atom_text", bounds, std::move(font), align);
  kit::SetScripted(label, markup);
  label.accessible = false;
  return label;
}

kit::Shape& AtomWindow::AddShape(kit::ShapeKind kind, kit::Rect bounds) {
  kit::Shape& shape = Keep(drawing_, std::make_unique<kit::Shape>(*this, "atom_shape"));
  shape.shape = kind;
  shape.bounds = bounds;
  shape.border_color = kInk;
  return shape;
}

// An arrow of lines: the fonts the viewer gets may lack ↑ and ↓.
void AtomWindow::AddArrow(int x, int top, int bottom, bool up) {
  const int tip = up ? top : bottom, dir = up ? 1 : -1;
  for (auto [dx, dy] : {std::pair{0, bottom - top}, std::pair{-55, 85}, std::pair{55, 85}})
    DrawLine(*this, drawing_, "atom_arrow", {x, tip}, {x + dx, tip + dir * dy}, kInk, 2);
}

void AtomWindow::Rebuild() {
  // A box label keeps the focus by its place when the labels are made anew.
  const auto focused = std::find_if(box_labels_.begin(), box_labels_.end(),
                                    [this](const auto& l) { return l.get() == Focused(); });
  const auto keep = focused == box_labels_.end() ? -1 : focused - box_labels_.begin();
  box_labels_.clear();
  drawing_.clear();
  if (tile_ < 0) return;
  const int z = records_[static_cast<size_t>(tile_)].atomic_number;
  const int half = Width() / 2;
  lbl_heading.bounds = {kTwips.margin, 120, Width() - 2 * kTwips.margin, 300};
  DrawShells({kTwips.margin, 540, std::max(half - 2 * kTwips.margin, 2400), std::max(Height() - 660, 2400)});

  // The configuration: short and large, the full one in lines below it.
  const int left = std::max(half, 2 * kTwips.margin + 2400);
  const int width = std::max(Width() - left - kTwips.margin, 3000);
  AddText(L"Електронна конфигурация", {left, 540, width, 255}, Verdana(9, true));
  lbl_config.bounds = {left, 830, width, 360};
  int y = 1230;
  if (config_.Usable()) {
    kit::SetScripted(lbl_config, ConfigurationMarkup(config_, z, true, order_));
    lbl_config.accessible_name = L"Електронна конфигурация: " + ConfigurationPlain(config_, z, true, order_);
    lbl_config.description = ConfigurationPlain(config_, z, false, order_);
    // Seven subshells to a line: Og's nineteen take three.
    const std::wstring full = ConfigurationMarkup(config_, z, false, order_);
    std::vector<std::wstring> parts{L""};
    int on_line = 0;
    for (size_t i = 0; i <= full.size(); ++i) {
      if (i == full.size() || full[i] == L' ') {
        if (++on_line == kSubshellsPerLine && i < full.size()) {
          parts.emplace_back();
          on_line = 0;
          continue;
        }
      }
      if (i < full.size()) parts.back() += full[i];
    }
    for (const std::wstring& line : parts) {
      AddText(line, {left, y, width, 285}, Verdana(9.75, false));
      y += 285;
    }
  } else {
    const std::wstring& stored = records_[static_cast<size_t>(tile_)].orbitals;
    lbl_config.caption = stored;
    lbl_config.caption_scripts.clear();
    lbl_config.accessible_name = L"Електронна конфигурация: " + stored;
    lbl_config.description.clear();
    y += 285;
  }
  y += 90;
  opt_by_shell.bounds = {left, y, 1500, 285};
  opt_by_filling.bounds = {left + 1560, y, 1800, 285};
  y += 480;

  AddText(L"Квантови клетки", {left, y, width, 255}, Verdana(9, true));
  y += 360;
  lbl_fault.visible = !config_.Usable();
  lbl_fault.caption = config_.Usable() ? L"" : FaultText(config_, z);
  lbl_fault.bounds = {left, y, width, 900};
  DrawBoxes(left, y);
  y += static_cast<int>(boxes_.size()) * kTwips.row_pitch + 90;

  const int unpaired = UnpairedElectrons(boxes_);
  const auto valence = ValenceElectrons(config_, place_);
  lbl_unpaired.visible = config_.Usable();
  lbl_valence.visible = valence.has_value();
  lbl_unpaired.accessible_name = L"Несдвоени електрони: " + std::to_wstring(unpaired);
  lbl_valence.accessible_name = L"Валентни електрони: " + std::to_wstring(valence.value_or(0));
  lbl_unpaired.caption = blank_ ? L"Несдвоени електрони: " + std::wstring(kBlankCount) : lbl_unpaired.accessible_name;
  lbl_valence.caption = blank_ ? L"Валентни електрони: " + std::wstring(kBlankCount) : lbl_valence.accessible_name;
  lbl_unpaired.bounds = {left, y, width, 270};
  lbl_valence.bounds = {left, y + 300, width, 270};
  if (keep >= 0)
    SetFocus(box_labels_.empty() ? static_cast<kit::Control*>(&lbl_heading)
                                 : box_labels_[std::min<size_t>(static_cast<size_t>(keep), box_labels_.size() - 1)].get());
}

void AtomWindow::DrawShells(const kit::Rect& area) {
  const int caption_height = 330;
  const int cx = area.left + area.width / 2;
  const int cy = area.top + (area.height - caption_height) / 2;
  const int outer = std::min(area.width, area.height - caption_height) / 2 - 150;
  const int count = static_cast<int>(shells_.size());
  const int step = count ? std::min((outer - kTwips.nucleus_radius) / count, 600) : 0;

  kit::Shape& nucleus = AddShape(kit::ShapeKind::kCircle, {cx - kTwips.nucleus_radius, cy - kTwips.nucleus_radius,
                                                           2 * kTwips.nucleus_radius, 2 * kTwips.nucleus_radius});
  nucleus.filled = true;
  nucleus.fill_color = kNucleus;
  nucleus.monochrome = kit::Monochrome{kit::Rgb(0xE0, 0xE0, 0xE0)};
  AddText(L"+" + std::to_wstring(records_[static_cast<size_t>(tile_)].atomic_number),
          {cx - kTwips.nucleus_radius, cy - 130, 2 * kTwips.nucleus_radius, 260}, Verdana(9.75, true), kit::Align::kCenter);

  for (int k = 0; k < count; ++k) {
    const int r = kTwips.nucleus_radius + step * (k + 1);
    kit::Shape& ring = AddShape(kit::ShapeKind::kCircle, {cx - r, cy - r, 2 * r, 2 * r});
    ring.border_color = kShellLine;
    const int electrons = shells_[static_cast<size_t>(k)];
    // Evenly round the circle, half a step off the top where the label stands.
    for (int e = 0; e < electrons && !blank_; ++e) {
      const double a = std::numbers::pi / 2 + (e + 0.5) * 2 * std::numbers::pi / electrons;
      const int x = cx + static_cast<int>(std::lround(r * std::cos(a)));
      const int y = cy - static_cast<int>(std::lround(r * std::sin(a)));
      kit::Shape& dot = AddShape(kit::ShapeKind::kCircle, {x - kTwips.dot / 2, y - kTwips.dot / 2, kTwips.dot, kTwips.dot});
      dot.filled = true;
      dot.fill_color = kElectron;
      dot.border_color = kElectron;
      dot.monochrome = kit::Monochrome{kInk};
    }
    kit::Label& name = AddText(ShellText(k, blank_ ? -1 : electrons), {cx - 270, cy - r - 110, 540, 220},
                               Verdana(8.25, true), kit::Align::kCenter);
    // On the circle's line, which it hides there.
    name.transparent = false;
    name.back_color = kPaper;
    name.bounds.width = blank_ ? 240 : 540;
    name.bounds.left = cx - name.bounds.width / 2;
  }
  lbl_shells.bounds = {area.left, area.top + area.height - caption_height, area.width, 270};
  lbl_shells.alignment = kit::Align::kCenter;
  lbl_shells.caption_shown = !blank_;
}

void AtomWindow::DrawBoxes(int left, int top) {
  int y = top;
  for (const OrbitalBoxes& b : boxes_) {
    const std::wstring name = b.subshell.Name();
    auto label = std::make_unique<kit::Label>(*this, "box_" + std::string(name.begin(), name.end()));
    label->caption = name;
    label->font = Verdana(9.75, true);
    label->fore_color = kInk;
    label->transparent = true;
    label->bounds = {left, y + (kTwips.box - 270) / 2, 540, 270};
    label->accessible_name = BoxesName(b);
    label->description = UnpairedText(b.Unpaired());
    label->tab_index = 10;
    label->on_click = [] {};
    label->role = kit::Role::kStaticText;
    box_labels_.push_back(std::move(label));
    for (size_t i = 0; i < b.boxes.size(); ++i) {
      const int x = left + 600 + static_cast<int>(i) * kTwips.box;
      kit::Shape& box = AddShape(kit::ShapeKind::kRectangle, {x, y, kTwips.box + 15, kTwips.box});
      box.filled = true;
      box.fill_color = kPaper;
      if (blank_) continue;
      const int mid = x + kTwips.box / 2, top_end = y + 60, bottom_end = y + kTwips.box - 60;
      if (b.boxes[i] == 1) AddArrow(mid, top_end, bottom_end, true);
      if (b.boxes[i] == 2) {
        AddArrow(mid - 75, top_end, bottom_end, true);
        AddArrow(mid + 75, top_end, bottom_end, false);
      }
    }
    y += kTwips.row_pitch;
  }
}

bool AtomWindow::HandleKey(kit::Key key) {
  switch (key) {
    case kit::Key::kEscape:
      if (links_.close) links_.close();
      return true;
    case kit::Key::kPageDown:
    case kit::Key::kPageUp:
      Step(key == kit::Key::kPageDown ? 1 : -1);
      return true;
    default:
      return false;
  }
}

}  // namespace viewer
