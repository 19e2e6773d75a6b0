// The molar-mass window on the database the program ships: opened from the
// table, built from its tiles, read by screen readers, copied, closed.
#include "viewer/molar_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/accessibility.h"
#include "kit/input.h"
#include "tests/viewer/viewer_fixture.h"

namespace {

struct Viewer : ViewerFixture {
  void Type(viewer::MolarWindow& w, const std::wstring& text) {
    w.txt_formula.text = text;
    kit::Dispatch(w.txt_formula.on_change);
  }
  // The tiles' menu, and `line` chosen in it.
  void Choose(std::wstring line) {
    headless.platform.menu_choice = [line](const std::vector<kit::MenuItem>& items) {
      for (size_t i = 0; i < items.size(); ++i)
        if (items[i].text == line) return static_cast<int>(i);
      return -1;
    };
    form.OpenMenu(0, 0);
  }
  // What a reader gets of the window: each child's role and name.
  std::vector<std::pair<kit::Role, std::wstring>> Reader(const viewer::MolarWindow& w) {
    std::vector<std::pair<kit::Role, std::wstring>> out;
    for (const auto& c : kit::AccessibleChildren(w))
      if (!c.invisible) out.push_back({c.role, c.role == kit::Role::kEditableText ? c.name + L"=" + c.value : c.name});
    return out;
  }
};

TEST(MolarWindow, OpensFromCtrlMAndTheMenuAndComputesAsYouType) {
  Viewer v;
  ASSERT_TRUE(kit::Shortcut(v.form, L'M'));
  viewer::MolarWindow* w = v.form.MolarMass();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Focused(), &w->txt_formula);

  v.Type(*w, L"CuSO4·5H2O");
  EXPECT_EQ(w->lbl_drawn.caption, L"CuSO4·5H2O");
  EXPECT_EQ(std::count(w->lbl_drawn.caption_scripts.begin(), w->lbl_drawn.caption_scripts.end(), kit::Script::kSub), 2);
  EXPECT_EQ(w->lbl_mr.caption, L"Mr = 249,68");
  EXPECT_EQ(w->lbl_m.caption, L"M = 249,68 g/mol");
  ASSERT_EQ(w->Rows().size(), 4u);

  // The reader's view: the box, the result line, the list with its rows;
  // the drawn cells are not read twice.
  const auto reader = v.Reader(*w);
  ASSERT_GE(reader.size(), 7u);
  EXPECT_EQ(reader[0], std::make_pair(kit::Role::kEditableText, std::wstring(L"Формула=CuSO4·5H2O")));
  EXPECT_EQ(reader[1], std::make_pair(kit::Role::kEditableText, std::wstring(L"Резултат=M(CuSO4·5H2O) = 249,68 g/mol")));
  EXPECT_EQ(reader[2], std::make_pair(kit::Role::kListItem, std::wstring(L"Cu, Мед: 1 атом, Ar 63,546, ω 25,45 %")));
  EXPECT_EQ(reader[4].second, L"O, Кислород: 9 атома, Ar 15,999, ω 57,67 %");
  EXPECT_TRUE(std::none_of(reader.begin(), reader.end(), [](const auto& r) { return r.second == L"63,546"; }));

  // Tab: the box, the result line, the table (arrows within), the box.
  kit::KeyDown(*w, kit::Key::kTab);
  EXPECT_EQ(w->Focused(), &w->txt_result);
  kit::KeyDown(*w, kit::Key::kTab);
  EXPECT_EQ(w->Focused(), w->Rows()[0].get());
  kit::KeyDown(*w, kit::Key::kDown);
  EXPECT_EQ(w->Focused(), w->Rows()[1].get());
  kit::KeyDown(*w, kit::Key::kTab);
  EXPECT_EQ(w->Focused(), &w->txt_formula);

  // The menu's line opens the same window.
  v.Choose(L"Моларна маса…");
  EXPECT_EQ(v.form.MolarMass(), w);
}

TEST(MolarWindow, AnErrorReplacesTheResultAndIsAnAlertOncePerMessage) {
  Viewer v;
  v.form.OpenMolarMass(L"H2O");
  viewer::MolarWindow* w = v.form.MolarMass();
  ASSERT_TRUE(w && w->Result().Ok());
  v.Type(*w, L"H2OXy");
  EXPECT_EQ(w->txt_formula.text, L"H2OXy");   // the box keeps what was typed
  EXPECT_TRUE(w->lbl_error.visible);
  EXPECT_EQ(w->lbl_error.caption, L"Непознат символ „Xy“");
  EXPECT_TRUE(w->txt_result.text.empty());
  EXPECT_TRUE(w->Rows().empty());
  EXPECT_FALSE(w->lbl_mr.visible || w->lbl_drawn.visible);
  ASSERT_EQ(v.headless.platform.alerts.size(), 1u);
  EXPECT_EQ(v.headless.platform.alerts[0], &w->lbl_error);
  v.Type(*w, L"H2OXyz");   // another message: spoken again
  v.Type(*w, L"H2OXyz ");  // the same one: not
  EXPECT_EQ(v.headless.platform.alerts.size(), 2u);
  // Nothing to copy while there is no result.
  EXPECT_FALSE(kit::Shortcut(*w, L'C'));
  v.Type(*w, L"Tc2O7");
  EXPECT_FALSE(w->lbl_error.visible);
  EXPECT_EQ(w->lbl_notes.caption, L"Tc: масово число на най-дълго живеещия изотоп");
}

TEST(MolarWindow, TilesTypeAtTheCaretButNotForTheChartAndCtrlCCopiesTextEscCloses) {
  Viewer v;
  // Without the window a tile only shows its element.
  kit::Click(*v.form.Tile("H"));
  EXPECT_EQ(v.form.txt_atom_num.text, L"1");
  v.form.OpenMolarMass(L"SO4");
  viewer::MolarWindow* w = v.form.MolarMass();
  w->txt_formula.Select(0, 0);   // the caret at the start, as the box reported it
  v.form.SetFocus(v.form.Tile("H"));
  kit::KeyDown(v.form, kit::Key::kEnter);
  EXPECT_EQ(v.form.txt_atom_num.text, L"1");
  EXPECT_EQ(w->txt_formula.text, L"HSO4");
  EXPECT_EQ(w->txt_formula.sel_start, 1);
  EXPECT_EQ(w->Focused(), &w->txt_formula);
  EXPECT_GE(w->activate_request, 2u);
  // A selection is typed over.
  w->txt_formula.Select(0, 2);
  kit::Click(*v.form.Tile("Uuq"));
  EXPECT_EQ(w->txt_formula.text, L"UuqO4");

  // A point of the chart shows its element in the table, and types nothing.
  v.Choose(L"Графика…");
  ASSERT_NE(v.form.Chart(), nullptr);
  kit::Click(*v.form.Chart()->Points().front());
  EXPECT_EQ(v.form.txt_atom_num.text, L"1");
  EXPECT_EQ(w->txt_formula.text, L"UuqO4");

  v.Type(*w, L"Ca(OH)2");
  ASSERT_TRUE(kit::Shortcut(*w, L'C'));
  ASSERT_EQ(v.out.copied.size(), 1u);
  EXPECT_EQ(v.out.copied[0].title, L"Моларна маса: Ca(OH)₂");
  EXPECT_TRUE(v.out.copied[0].clipboard_text.starts_with(L"M(Ca(OH)2) = 74,09 g/mol\r\n"));

  // Esc from the formula box closes it; the table stays.
  w->SetFocus(&w->txt_formula);
  kit::Dispatch([&] { kit::KeyDown(*w, kit::Key::kEscape); });
  EXPECT_EQ(v.form.MolarMass(), nullptr);
  EXPECT_TRUE(v.form.Visible());
  kit::Click(*v.form.Tile("O"));   // and the tiles only show their elements again
  EXPECT_EQ(v.form.txt_atom_num.text, L"8");
}

}  // namespace
