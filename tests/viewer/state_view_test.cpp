// The window coloured by the states of matter, on the database the program
// ships: the menu entry, the temperature's controls and how each of them
// moves the temperature, what a screen reader reads, the tab order, and the
// way back to the categories.
#include "viewer/state_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

namespace {

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

TEST(StateView, MadeWhenFirstChosenAndLaidOutInTheFreeAreaAboveTheTransitionMetals) {
  Viewer v;
  EXPECT_EQ(v.form.Find("trk_temperature"), nullptr);   // nothing made at start-up
  v.form.SetFocus(&v.Tile("Br"));
  v.Choose(kStatesLine);
  EXPECT_TRUE(v.headless.platform.menus.at(0).items.at(6).separator);
  ASSERT_TRUE(v.form.Trends().StatesShown());
  EXPECT_EQ(v.Tile("Uuo").back_color, viewer::kNoDataColor);
  EXPECT_EQ(v.Tile("Uuo").description, L"Благородни газове, няма данни");
  EXPECT_EQ(v.States().lbl_points.caption, L"Br: -7 / 59 °C");   // the focused tile's, as stored

  // Inside the area everything is the states' own; outside, nothing reaches in.
  const kit::Rect area{1920, 660, 7800 - 1920, 2085 - 660};
  for (kit::Control* c : v.form.Controls()) {
    const kit::Rect& b = c->bounds;
    if (!c->visible || c == &v.form.Shape2) continue;   // the header band lies under everything
    const bool inside = b.left >= area.left && b.Right() <= area.Right() && b.top >= area.top &&
                        b.Bottom() <= area.Bottom();
    const bool apart = b.Right() <= area.left || area.Right() <= b.left || b.Bottom() <= area.top ||
                       area.Bottom() <= b.top;
    EXPECT_EQ(inside, v.States().Owns(c)) << c->Name();
    EXPECT_TRUE(inside || apart) << c->Name();
  }
}

TEST(StateView, TheTrackbarTheBoxAndTheRoomButtonMoveTheTemperature) {
  Viewer v;
  v.Choose(kStatesLine);
  auto& s = v.States();
  EXPECT_EQ(s.lbl_points.caption, L"");   // no element shown or focused yet

  v.Enter(L"-40");
  EXPECT_EQ(s.Celsius(), -40);
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
  kit::KeyDown(v.form, kit::Key::kEnter);   // "Стайна температура"
  EXPECT_EQ(s.Celsius(), 25);
  EXPECT_EQ(s.txt_temperature.text, L"25");

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

  // Chosen again, at room temperature again; a property hides it all.
  v.Choose(kStatesLine);
  EXPECT_EQ(v.States().Celsius(), 25);
  v.Choose(1);
  EXPECT_FALSE(v.States().Visible());
}

}  // namespace
