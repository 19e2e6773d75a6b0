// The window of the viewer as a model: the facts of its layout that a
// reader could get wrong, and which presses and clicks do what.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fake_records.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "viewer/form_main.h"
#include "viewer/module1.h"
#include "viewer/tile_table.h"

namespace {

using testing_viewer::FakeEngine;

constexpr kit::Color kBackground = 0xD6B500;  // #00B5D6 as 0x00BBGGRR

struct Window {
  Window() : form(engine, L"C:\\Zentrik") {}
  kit::Label& Label(const std::string& name) {
    auto* c = form.Find(name);
    EXPECT_NE(c, nullptr) << name;
    EXPECT_EQ(c->Kind(), kit::ControlKind::kLabel) << name;
    return static_cast<kit::Label&>(*c);
  }
  bool IsTile(const kit::Control* c) {
    return std::any_of(form.Tiles().begin(), form.Tiles().end(), [&](const auto& t) { return t.get() == c; });
  }

  kit::ScopedHeadless headless;
  FakeEngine engine;
  viewer::FormMain form;
};

TEST(FormMain, WindowIsFixedWidthAndGetsItsHeightAtLoadBeforeTheDatabaseOpens) {
  Window w;
  EXPECT_EQ(w.form.Name(), "form_main");
  EXPECT_EQ(w.form.caption, L"Периодична система");
  EXPECT_EQ(w.form.back_color, kBackground);
  EXPECT_TRUE(w.form.centered);
  EXPECT_EQ(w.form.Width(), 11640);
  EXPECT_NE(w.form.Height(), 8600);
  int height_at_open = 0;
  w.engine.on_open = [&] { height_at_open = w.form.Height(); };
  w.form.Show();
  EXPECT_EQ(height_at_open, 8600);
  EXPECT_EQ(w.form.Height(), 8600);
  EXPECT_EQ(w.form.Width(), 11640);
}

TEST(FormMain, HeaderBandLiesBeneathEverythingAndSpansTheTopEdge) {
  Window w;
  EXPECT_EQ(w.form.Controls().front(), &w.form.Shape2);
  EXPECT_GE(w.form.Shape2.bounds.width, w.form.Width());
  EXPECT_FALSE(w.form.Shape2.outlined);
  // The logo is stretched into a box that starts above the window's top.
  EXPECT_EQ(w.form.Image3.bounds, (kit::Rect{30, -45, 780, 585}));
  EXPECT_TRUE(w.form.Image3.stretch);
}

TEST(FormMain, LegendSwatchesMatchTheTilesOfTheirCategory) {
  Window w;
  // Swatch and caption of each category.
  const std::map<viewer::Category, std::pair<kit::Shape*, std::wstring>> legend = {
      {viewer::Category::kAlkaliMetal, {&w.form.Shape9, L"Алкални метали"}},
      {viewer::Category::kAlkalineEarthMetal, {&w.form.Shape8, L"Алкалоземни метали"}},
      {viewer::Category::kLanthanide, {&w.form.Shape7, L"Лантаноиди"}},
      {viewer::Category::kActinide, {&w.form.Shape6, L"Актиниди"}},
      {viewer::Category::kTransitionMetal, {&w.form.Shape5, L"Транзитивни метали"}},
      {viewer::Category::kOtherMetal, {&w.form.Shape4, L"Други метали"}},
      {viewer::Category::kNonmetal, {&w.form.Shape3, L"Неметали"}},
      {viewer::Category::kNobleGas, {&w.form.Shape1, L"Благородни газове"}},
  };
  for (const auto& [category, entry] : legend) {
    kit::Shape& swatch = *entry.first;
    EXPECT_TRUE(swatch.filled);
    EXPECT_EQ(swatch.fill_color, viewer::CategoryColor(category)) << swatch.Name();
    EXPECT_EQ(swatch.border_color, kBackground) << swatch.Name();
    // Its caption stands just right of it, on the same row.
    int captions = 0;
    for (auto* c : w.form.Controls()) {
      if (c->Kind() != kit::ControlKind::kLabel) continue;
      auto* l = static_cast<kit::Label*>(c);
      if (l->caption != entry.second) continue;
      ++captions;
      EXPECT_GT(l->bounds.left, swatch.bounds.left);
      EXPECT_LT(l->bounds.left - swatch.bounds.Right(), 100);
      EXPECT_LE(std::abs(l->bounds.top - swatch.bounds.top), 30);
    }
    EXPECT_EQ(captions, 1) << swatch.Name();
  }
  for (const auto& tile : w.form.Tiles()) {
    auto info = std::find_if(viewer::Tiles().begin(), viewer::Tiles().end(),
                             [&](const auto& t) { return "lbl_" + std::string(t.symbol) == tile->Name(); });
    ASSERT_NE(info, viewer::Tiles().end());
    EXPECT_EQ(tile->back_color, legend.at(info->category).first->fill_color) << tile->Name();
  }
}

TEST(FormMain, GroupHeadingsUseTheRightAlphabet) {
  Window w;
  // Latin a in the "a" subgroups, Cyrillic б in the "б" subgroups.
  for (const char* name : {"lbl_Ia", "lbl_IIa", "lbl_IIIa", "lbl_IVa", "lbl_Va", "lbl_VIa", "lbl_VIIa"})
    EXPECT_EQ(w.Label(name).caption.back(), L'a') << name;
  for (const char* name : {"lbl_IIIb", "lbl_IVb", "lbl_Vb", "lbl_VIb", "lbl_VIIb", "lbl_VIIIb", "lbl_Ib", "lbl_IIb"})
    EXPECT_EQ(w.Label(name).caption.back(), L'\u0431') << name;
  // IVб alone opens with the Cyrillic І.
  EXPECT_EQ(w.Label("lbl_IVb").caption, L"\u0406V\u0431");
  EXPECT_EQ(w.Label("lbl_IIIb").caption, L"III\u0431");
  EXPECT_EQ(w.Label("lbl_left").caption, L"|" + std::wstring(13, L'-'));
  EXPECT_EQ(w.Label("lbl_right").caption, std::wstring(12, L'-') + L"|");
  // The bracket and VIIIб span the columns of groups 8 to 10.
  EXPECT_EQ(w.Label("lbl_left").bounds.left, w.Label("lbl_8").bounds.left);
  EXPECT_EQ(w.Label("lbl_VIIIb").bounds.left, w.Label("lbl_9").bounds.left);
  EXPECT_EQ(w.Label("lbl_right").bounds.left, w.Label("lbl_10").bounds.left);
  // Each number stands over its column's tiles.
  EXPECT_EQ(w.Label("lbl_3").bounds.left, w.form.Tile("Sc")->bounds.left);
  EXPECT_EQ(w.Label("lbl_12").bounds.left, w.form.Tile("Zn")->bounds.left);
  EXPECT_EQ(w.Label("lbl_13").bounds.left, w.form.Tile("B")->bounds.left);
  for (int g = 1; g <= 18; ++g) EXPECT_EQ(w.Label("lbl_" + std::to_string(g)).caption, std::to_wstring(g));
}

TEST(FormMain, ConnectorLinesLeadFromTheGapToBothFBlockRows) {
  Window w;
  // Line3 ends at the lanthanide row's left edge, Line6 at the actinides'.
  EXPECT_EQ(w.form.Line3.x2, w.form.Tile("La")->bounds.left);
  EXPECT_GT(w.form.Line3.y2, w.form.Tile("La")->bounds.top);
  EXPECT_LT(w.form.Line3.y2, w.form.Tile("La")->bounds.Bottom());
  EXPECT_EQ(w.form.Line6.x2, w.form.Tile("Ac")->bounds.left);
  EXPECT_GT(w.form.Line6.y2, w.form.Tile("Ac")->bounds.top);
  EXPECT_LT(w.form.Line6.y2, w.form.Tile("Ac")->bounds.Bottom());
  // The segments join up, and start in the gap between groups 2 and 3.
  EXPECT_EQ(w.form.Line1.x1, 1440);
  EXPECT_EQ(w.form.Line4.x1, 1440);
  EXPECT_EQ((kit::Point{w.form.Line1.x2, w.form.Line1.y2}), (kit::Point{w.form.Line2.x1, w.form.Line2.y1}));
  EXPECT_EQ((kit::Point{w.form.Line2.x2, w.form.Line2.y2}), (kit::Point{w.form.Line3.x1, w.form.Line3.y1}));
  EXPECT_EQ((kit::Point{w.form.Line4.x2, w.form.Line4.y2}), (kit::Point{w.form.Line5.x1, w.form.Line5.y1}));
  EXPECT_EQ((kit::Point{w.form.Line5.x2, w.form.Line5.y2}), (kit::Point{w.form.Line6.x1, w.form.Line6.y1}));
}

TEST(FormMain, TilesAreOpaqueArialWhileEveryOtherLabelIsCyrillicVerdana) {
  Window w;
  ASSERT_EQ(w.form.Tiles().size(), 115u);
  for (const auto& t : w.form.Tiles()) {
    EXPECT_EQ(t->font, kit::MakeFont(L"Arial", 9.75, true, 0)) << t->Name();
    EXPECT_TRUE(t->border && !t->transparent) << t->Name();
  }
  EXPECT_EQ(w.form.Tile("Uuq")->caption, L"Uuq");
  for (auto* c : w.form.Controls()) {
    if (c->Kind() != kit::ControlKind::kLabel || w.IsTile(c) || !c->visible) continue;
    auto* l = static_cast<kit::Label*>(c);
    EXPECT_EQ(l->font.face, L"Verdana") << c->Name();
    EXPECT_EQ(l->font.charset, 204) << c->Name();
    EXPECT_TRUE(l->transparent) << c->Name();
  }
}

TEST(FormMain, PanelBoxesAndLabelsFaceEachOtherWithTheirAlignments) {
  Window w;
  auto& f = w.form;
  const std::pair<kit::Label*, kit::TextBox*> left[] = {{&f.lbl_atom_num, &f.txt_atom_num},
                                                        {&f.lbl_name, &f.txt_name},
                                                        {&f.lbl_atom_mass, &f.txt_atom_mass},
                                                        {&f.lbl_atom_rad, &f.txt_atom_rad},
                                                        {&f.lbl_elec_shell, &f.txt_elec_shell}};
  const std::pair<kit::Label*, kit::TextBox*> right[] = {{&f.lbl_density, &f.txt_density},
                                                         {&f.lbl_isotopes, &f.txt_isotopes},
                                                         {&f.lbl_electronegativity, &f.txt_electronegativity},
                                                         {&f.lbl_oxidation, &f.txt_oxidation},
                                                         {&f.lbl_discovery, &f.txt_discovery}};
  for (auto [label, box] : left) {
    EXPECT_LE(box->bounds.Right(), label->bounds.left) << box->Name();
    EXPECT_EQ(box->alignment, kit::Align::kRight) << box->Name();
    EXPECT_EQ(label->alignment, kit::Align::kLeft) << label->Name();
  }
  for (auto [label, box] : right) {
    EXPECT_LE(label->bounds.Right(), box->bounds.left) << box->Name();
    EXPECT_EQ(box->alignment, kit::Align::kLeft) << box->Name();
    EXPECT_EQ(label->alignment, kit::Align::kRight) << label->Name();
  }
  for (auto* box : f.PanelBoxes()) {
    if (!box->visible) continue;
    EXPECT_EQ(box->back_color, kBackground) << box->Name();
    EXPECT_EQ(box->font, f.font) << box->Name();
  }
}

TEST(FormMain, HiddenPairsLieBelowTheBottomEdgeAndCannotBeSeen) {
  Window w;
  w.form.Show();
  auto& f = w.form;
  for (kit::Control* c : std::initializer_list<kit::Control*>{&f.lbl_orbitals, &f.txt_orbitals, &f.lbl_melt_boil,
                                                              &f.txt_melt_boil}) {
    EXPECT_FALSE(c->visible) << c->Name();
    EXPECT_GE(c->bounds.top, f.Height()) << c->Name();
    EXPECT_EQ(c->tab_index, -1) << c->Name();
  }
  EXPECT_EQ(f.lbl_melt_boil.caption, L"Melting/Boiling Points");
  EXPECT_TRUE(f.lbl_melt_boil.border);
  EXPECT_EQ(f.lbl_melt_boil.alignment, kit::Align::kRight);
  EXPECT_EQ(f.txt_orbitals.alignment, kit::Align::kRight);
  EXPECT_EQ(f.lbl_orbitals.fore_color, kit::kButtonText);  // default colours
  EXPECT_EQ(f.txt_orbitals.back_color, kit::kWindowBack);
}

TEST(FormMain, FocusRunsThroughTheVisibleBoxesInItsOwnOrder) {
  Window w;
  std::vector<std::string> names;
  for (auto* c : kit::TabOrder(w.form)) names.push_back(c->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"txt_atom_num", "txt_name", "txt_atom_mass", "txt_atom_rad",
                                              "txt_elec_shell", "txt_density", "txt_isotopes",
                                              "txt_electronegativity", "txt_discovery", "txt_oxidation", "lbl_H",
                                              "Label3"}));
  EXPECT_EQ(w.form.initial_focus, &w.form.txt_atom_num);
}

TEST(FormMain, AnyButtonOnTheSurfaceDragsUnlessMaximised) {
  Window w;
  w.form.Show();
  auto& drags = w.headless.platform.drags;
  for (auto button : {kit::MouseButton::kLeft, kit::MouseButton::kRight, kit::MouseButton::kMiddle}) {
    kit::Dispatch([&] { w.form.on_mouse_down(button, 1, 300, 300); });
  }
  ASSERT_EQ(drags.size(), 3u);
  EXPECT_EQ(drags[0], &w.form);
  w.form.window_state = kit::WindowState::kMaximized;
  kit::Dispatch([&] { w.form.on_mouse_down(kit::MouseButton::kLeft, 0, 300, 300); });
  viewer::BeginWindowDrag(w.form);
  EXPECT_EQ(drags.size(), 3u);
}

TEST(FormMain, OnlyTilesAndTheCloseMarkReactToTheMouse) {
  Window w;
  w.form.Show();
  for (auto* c : w.form.Controls()) {
    // No control takes a press for itself, so none of them starts a drag.
    EXPECT_FALSE(c->on_mouse_down) << c->Name();
    if (c != &w.form.Label3 && !w.IsTile(c)) {
      EXPECT_FALSE(c->on_click) << c->Name();
    }
  }
  kit::Click(*w.form.Tile("Fe"));
  EXPECT_TRUE(w.headless.platform.drags.empty());
}

TEST(FormMain, CloseMarkEndsTheProgramAtOnce) {
  Window w;
  w.form.Show();
  try {
    kit::Click(w.form.Label3);
    ADD_FAILURE() << "the program went on";
  } catch (const kit::ProgramEnded& ended) {
    EXPECT_EQ(ended.exit_code, 0);
  }
  EXPECT_TRUE(w.headless.platform.messages.empty());
}

}  // namespace
