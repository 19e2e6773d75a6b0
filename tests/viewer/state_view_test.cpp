// The window coloured by the states of matter, on the database the program
// ships: the menu entry, the temperature's controls and how each of them
// moves the temperature, what a screen reader reads, the tab order, and the
// way back to the categories.
#include "viewer/state_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "kit/accessibility.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

namespace {

using viewer::MatterState;
using viewer::StateColor;

constexpr int kStatesLine = 7;   // after "Категории", five properties and the separator

struct Engine {
  testing_viewer::VrakelEngine engine;
};
struct Viewer : Engine {
  Viewer() : form(engine, L"C:\\Zentrik") { form.Show(); }

  kit::Label& Tile(const std::string& symbol) { return *form.Tile(symbol); }
  // Shift+F10 with the focus where it is, picking `line`.
  void Choose(int line) {
    headless.platform.menu_choice = [line](const auto&) { return line; };
    kit::ContextMenuKey(form);
  }
  viewer::StateView& States() { return *form.Trends().States(); }
  std::string Focus() const { return form.Focused() ? form.Focused()->Name() : "(form)"; }
  void Enter(const std::wstring& text) {
    form.SetFocus(&States().txt_temperature);
    States().txt_temperature.text = text;
    kit::KeyDown(form, kit::Key::kEnter);
  }

  kit::ScopedHeadless headless;
  viewer::FormMain form;
};

TEST(StateView, ChosenFromAFocusedTileItColoursTheTilesAndShowsTheTemperatureAtRoomTemperature) {
  Viewer v;
  EXPECT_EQ(v.form.Find("trk_temperature"), nullptr);   // nothing made at start-up
  v.form.SetFocus(&v.Tile("Br"));
  v.Choose(kStatesLine);
  const auto& menu = v.headless.platform.menus.at(0).items;
  ASSERT_EQ(menu.size(), 8u);
  EXPECT_TRUE(menu[6].separator);
  EXPECT_EQ(menu[7].text, L"Агрегатно състояние");
  ASSERT_TRUE(v.form.Trends().StatesShown());
  EXPECT_TRUE(v.headless.platform.messages.empty());

  for (const char* s : {"Hg", "Br"}) EXPECT_EQ(v.Tile(s).back_color, StateColor(MatterState::kLiquid)) << s;
  for (const char* s : {"H", "N", "O", "F", "Cl", "He", "Ne", "Ar", "Kr", "Xe", "Rn"})
    EXPECT_EQ(v.Tile(s).back_color, StateColor(MatterState::kGas)) << s;
  for (const char* s : {"Fe", "Ga", "Cs"}) EXPECT_EQ(v.Tile(s).back_color, StateColor(MatterState::kSolid)) << s;
  EXPECT_EQ(v.Tile("Fe").fore_color, kit::Rgb(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(v.Tile("Uuo").back_color, viewer::kNoDataColor);
  EXPECT_EQ(v.Tile("Uuo").fore_color, kit::Rgb(0, 0, 0));

  auto& s = v.States();
  EXPECT_EQ(s.trk_temperature.value, 25);
  EXPECT_EQ(s.txt_temperature.text, L"25");
  EXPECT_EQ(s.lbl_kelvin.caption, L"298 K");
  EXPECT_EQ(s.lbl_points.caption, L"Br: -7 / 59 °C");   // the focused tile's points, as stored
  EXPECT_TRUE(v.form.lbl_alkali_metals.visible == false && !v.form.Trends().Legend().Visible());

  std::map<std::string, kit::AccessibleChild> tree;
  for (auto& child : kit::AccessibleChildren(v.form)) tree[child.control->Name()] = child;
  EXPECT_EQ(tree["lbl_Br"].description, L"Неметали, течно при 25 °C");
  EXPECT_EQ(tree["lbl_Uuo"].description, L"Благородни газове, няма данни");
  EXPECT_EQ(tree["trk_temperature"].name, L"Температура");
  EXPECT_EQ(tree["trk_temperature"].value, L"25 °C");
  EXPECT_EQ(tree["trk_temperature"].role, kit::Role::kSlider);
  EXPECT_EQ(tree["txt_temperature"].name, L"Температура в °C");

  // Everything stands in the free area above the transition metals, and
  // nothing else shown there.
  const kit::Rect area{1920, 660, 7800 - 1920, 2085 - 660};
  for (kit::Control* c : v.form.Controls()) {
    if (!c->visible) continue;
    const kit::Rect& b = c->bounds;
    const bool inside = b.left >= area.left && b.Right() <= area.Right() && b.top >= area.top &&
                        b.Bottom() <= area.Bottom();
    const bool apart = b.Right() <= area.left || area.Right() <= b.left || b.Bottom() <= area.top ||
                       area.Bottom() <= b.top;
    if (c->Kind() == kit::ControlKind::kShape && c->Name() == "Shape2") continue;   // the header band
    EXPECT_EQ(inside, s.Owns(c)) << c->Name();
    EXPECT_TRUE(inside || apart) << c->Name() << " reaches into the temperature's area";
  }
}

TEST(StateView, TheTrackbarTheBoxAndTheRoomButtonMoveTheTemperature) {
  Viewer v;
  v.Choose(kStatesLine);
  auto& s = v.States();
  EXPECT_EQ(s.lbl_points.caption, L"");   // no element shown or focused yet

  s.trk_temperature.MoveTo(30);   // as the user drags it
  EXPECT_EQ(v.Tile("Ga").back_color, StateColor(MatterState::kLiquid));
  EXPECT_EQ(v.Tile("Cs").back_color, StateColor(MatterState::kLiquid));
  EXPECT_EQ(s.txt_temperature.text, L"30");
  EXPECT_EQ(s.lbl_kelvin.caption, L"303 K");

  v.Enter(L"-40");
  EXPECT_EQ(s.Celsius(), -40);
  EXPECT_EQ(v.Tile("Hg").back_color, StateColor(MatterState::kSolid));
  EXPECT_EQ(v.Tile("Hg").description, L"Транзитивни метали, твърдо при -40 °C");
  for (const wchar_t* bad : {L"abc", L"7000", L"", L"-"}) {
    v.Enter(bad);
    EXPECT_EQ(s.Celsius(), -40) << bad;
    EXPECT_EQ(s.txt_temperature.text, L"-40") << bad;
  }
  EXPECT_EQ(v.headless.platform.beeps, 4);

  // Leaving the box takes what was typed, as Enter does.
  s.txt_temperature.text = L" +100 ";
  kit::KeyDown(v.form, kit::Key::kTab);
  EXPECT_EQ(v.Focus(), "lbl_room_temperature");
  EXPECT_EQ(s.trk_temperature.value, 100);
  EXPECT_EQ(v.Tile("Br").back_color, StateColor(MatterState::kGas));
  kit::KeyDown(v.form, kit::Key::kEnter);   // "Стайна температура"
  EXPECT_EQ(s.Celsius(), 25);
  EXPECT_EQ(s.txt_temperature.text, L"25");

  s.trk_temperature.MoveTo(9999);
  EXPECT_EQ(s.Celsius(), 6000);
  EXPECT_EQ(v.Tile("W").back_color, StateColor(MatterState::kGas));

  // The line of points follows the tile shown or focused.
  kit::Click(v.Tile("Hg"));
  EXPECT_EQ(s.lbl_points.caption, L"Hg: -39 / 357 °C");
  v.form.SetFocus(&v.Tile("Ga"));
  kit::KeyDown(v.form, kit::Key::kRight);
  EXPECT_EQ(s.lbl_points.caption, L"Ge: 938 / 2833 °C");
}

TEST(StateView, TheControlsComeAfterTheTableAndCategoriesBringEverythingBack) {
  Viewer v;
  auto look = [&v] {
    std::map<std::string, std::vector<std::wstring>> out;
    for (const kit::Control* c : v.form.Controls()) {
      auto& l = out[c->Name()];
      l.push_back(c->visible ? L"visible" : L"hidden");
      l.push_back(c->description);
      if (c->Kind() == kit::ControlKind::kLabel) {
        auto& label = static_cast<const kit::Label&>(*c);
        l.insert(l.end(), {label.caption, std::to_wstring(label.back_color), std::to_wstring(label.fore_color)});
      }
    }
    return out;
  };
  const auto before = look();
  v.form.SetFocus(&v.Tile("Na"));
  v.Choose(kStatesLine);

  std::vector<std::string> order;
  for (int i = 0; i < 5; ++i) {
    kit::KeyDown(v.form, kit::Key::kTab);
    order.push_back(v.Focus());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"trk_temperature", "txt_temperature", "lbl_room_temperature",
                                              "Label3", "txt_atom_num"}));

  v.States().trk_temperature.MoveTo(3000);
  v.form.SetFocus(&v.States().trk_temperature);
  v.Choose(0);   // "Категории"
  EXPECT_FALSE(v.form.Trends().StatesShown());
  EXPECT_EQ(v.Focus(), "lbl_Na");   // off the controls that went away
  auto after = look();
  for (const auto& [name, l] : before) EXPECT_EQ(after[name], l) << name;
  for (const auto& [name, l] : after) EXPECT_TRUE(before.count(name) || l.front() == L"hidden") << name;

  // Chosen again, at room temperature again; a property then hides it all.
  v.Choose(kStatesLine);
  EXPECT_EQ(v.States().Celsius(), 25);
  v.Choose(1);
  EXPECT_FALSE(v.States().Visible());
  EXPECT_TRUE(v.form.Trends().Legend().Visible());
  v.Choose(0);
  after = look();
  for (const auto& [name, l] : before) EXPECT_EQ(after[name], l) << name;
}

}  // namespace
