// The viewer's window coloured by a property and searched by typing, on the
// database the program ships: the popup menu and who opens it, the tiles'
// colours and descriptions, the scale in the legend's place, the way back
// to the categories, reading the records once, and type-ahead from the
// keyboard.
#include "viewer/trend_view.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "kit/accessibility.h"
#include "kit/appearance.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/fake_records.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"
#include "viewer/worksheet.h"

namespace {

using viewer::Property;

constexpr kit::Color kTop = kit::Rgb(0xFD, 0xE7, 0x25);
constexpr kit::Color kBottom = kit::Rgb(0x44, 0x01, 0x54);
constexpr kit::Color kWhite = kit::Rgb(0xFF, 0xFF, 0xFF);
constexpr kit::Color kBlack = kit::Rgb(0, 0, 0);

// The menu line to pick: 0 "Категории", then the properties in order.
int LineOf(std::optional<Property> p) {
  if (!p) return 0;
  for (size_t i = 0; i < viewer::kProperties.size(); ++i)
    if (viewer::kProperties[i] == *p) return static_cast<int>(i) + 1;
  return -1;
}

struct Viewer {
  explicit Viewer(viewer::DatabaseEngine& engine) : form(engine, L"C:\\Zentrik") { form.Show(); }

  kit::Label& Tile(const std::string& symbol) { return *form.Tile(symbol); }
  // A right click on a tile, picking `line` in the menu it opens.
  void Choose(std::optional<Property> p, const std::string& on = "Fe") {
    headless.platform.menu_choice = [line = LineOf(p)](const auto&) { return line; };
    const kit::Rect& r = Tile(on).bounds;
    kit::ContextMenu(form, r.left + 100, r.top + 100);
  }
  // The menu opened on a tile and closed without a choice.
  void Dismiss() {
    headless.platform.menu_choice = [](const auto&) { return -1; };
    kit::ContextMenu(form, Tile("Fe").bounds.left + 100, Tile("Fe").bounds.top + 100);
  }
  std::string Focus() const { return form.Focused() ? form.Focused()->Name() : "(form)"; }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) {
      headless.platform.tick_ms += 150;
      kit::Char(form, c);
    }
  }

  kit::ScopedHeadless headless;
  viewer::FormMain form;
};

// The engine comes first, so it is there when the window opens the table.
struct ShippedEngine {
  testing_viewer::VrakelEngine engine;
};
struct Shipped : ShippedEngine, Viewer {
  Shipped() : Viewer(engine) {}
};

// Everything of every control that showing a property could change.
std::map<std::string, std::vector<std::wstring>> Look(const kit::Form& form) {
  std::map<std::string, std::vector<std::wstring>> look;
  for (const kit::Control* c : form.Controls()) {
    auto& v = look[c->Name()];
    v.push_back(c->visible ? L"visible" : L"hidden");
    v.push_back(c->description);
    if (c->Kind() == kit::ControlKind::kLabel) {
      auto& l = static_cast<const kit::Label&>(*c);
      v.insert(v.end(), {l.caption, std::to_wstring(l.back_color), std::to_wstring(l.fore_color)});
    } else if (c->Kind() == kit::ControlKind::kShape) {
      v.push_back(std::to_wstring(static_cast<const kit::Shape&>(*c).fill_color));
    }
    v.push_back(std::to_wstring(kit::LookHash(kit::AppearanceOf(*c))));
  }
  return look;
}

// Picks the menu line that reads `text`.
void ChooseLine(Viewer& v, const std::wstring& text) {
  v.headless.platform.menu_choice = [text](const std::vector<kit::MenuItem>& items) {
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].text == text) return static_cast<int>(i);
    return -1;
  };
  kit::ContextMenu(v.form, v.Tile("Fe").bounds.left + 100, v.Tile("Fe").bounds.top + 100);
}

TEST(TrendView, TheMenuOpensOnATileOrFromTheKeyboardAndListsTheViewsWithTheShownOneChecked) {
  Shipped v;
  auto& menus = v.headless.platform.menus;
  v.Choose(std::nullopt, "Fe");
  ASSERT_EQ(menus.size(), 1u);
  std::vector<std::wstring> texts;
  for (const auto& item : menus[0].items) texts.push_back(item.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Категории", L"Радиус на атома", L"Електроотрицателност",
                                               L"Плътност", L"Температура на топене", L"Температура на кипене", L"",
                                               L"Агрегатно състояние", L"", L"Без символи", L"Черно-бяло",
                                               L"", L"Копирай като картина",
                                               L"Запиши като картина…", L"Печат…", L"", L"Строеж на атома…", L"Графика…",
                                               L"Моларна маса…", L"Разтворимост и активност…", L"Упражнение…"}));
  EXPECT_TRUE(menus[0].items[0].checked);
  for (size_t i = 1; i < menus[0].items.size(); ++i) EXPECT_FALSE(menus[0].items[i].checked);
  EXPECT_EQ(menus[0].x, v.Tile("Fe").bounds.left + 100);

  // A right click on the surface, a legend caption or a heading opens none.
  v.headless.platform.menu_choice = nullptr;
  kit::ContextMenu(v.form, 300, 300);
  kit::ContextMenu(v.form, v.form.lbl_nonmetals.bounds.left + 50, v.form.lbl_nonmetals.bounds.top + 50);
  kit::ContextMenu(v.form, v.form.lbl_13.bounds.left + 50, v.form.lbl_13.bounds.top + 50);
  EXPECT_EQ(menus.size(), 1u);

  // Shift+F10 on a focused tile: the menu stands at the tile.
  v.form.SetFocus(&v.Tile("F"));
  kit::ContextMenuKey(v.form);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_TRUE(v.Tile("F").bounds.Contains(menus[1].x, menus[1].y));

  v.Choose(Property::kDensity);
  v.Dismiss();   // a menu closed without a choice changes nothing
  v.headless.platform.menu_choice = nullptr;
  kit::ContextMenuKey(v.form);
  ASSERT_EQ(menus.size(), 5u);
  EXPECT_FALSE(menus[4].items[0].checked);
  EXPECT_TRUE(menus[4].items[3].checked);
  EXPECT_EQ(v.form.Trends().Shown(), Property::kDensity);
}

TEST(TrendView, ElectronegativityColoursEveryTileAndTheScaleTakesTheLegendsPlace) {
  Shipped v;
  v.Choose(Property::kElectronegativity);
  ASSERT_EQ(v.form.Trends().Shown(), Property::kElectronegativity);
  EXPECT_TRUE(v.headless.platform.messages.empty());
  EXPECT_EQ(v.Tile("F").back_color, kTop);
  EXPECT_EQ(v.Tile("F").fore_color, kBlack);
  EXPECT_EQ(v.Tile("Fr").back_color, kBottom);
  EXPECT_EQ(v.Tile("Fr").fore_color, kWhite);
  for (const char* grey : {"He", "Ne", "Ar", "Rf", "Uun", "Uuh", "Uuo"})
    EXPECT_EQ(v.Tile(grey).back_color, viewer::kNoDataColor) << grey;
  EXPECT_EQ(v.Tile("Fe").description, L"Транзитивни метали, 1,83");
  EXPECT_EQ(v.Tile("He").description, L"Благородни газове, няма данни");
  EXPECT_EQ(v.Tile("Uuo").description, L"Благородни газове, няма данни");

  const auto& legend = v.form.Trends().Legend();
  EXPECT_EQ(legend.lbl_scale_title.caption, L"Електроотрицателност");
  EXPECT_EQ(legend.lbl_scale_low.caption, L"0,7");
  EXPECT_EQ(legend.lbl_scale_high.caption, L"3,98");
  EXPECT_EQ(legend.lbl_no_data.caption, L"няма данни");
  EXPECT_EQ(legend.shp_no_data.fill_color, viewer::kNoDataColor);
  ASSERT_EQ(legend.Bar().size(), 256u);
  EXPECT_EQ(legend.Bar().front()->fill_color, kBottom);
  EXPECT_EQ(legend.Bar().back()->fill_color, kTop);
  // The low text under the bar's left end, the high text under its right end.
  EXPECT_EQ(legend.lbl_scale_low.bounds.left, legend.Bar().front()->bounds.left);
  EXPECT_EQ(legend.lbl_scale_high.bounds.Right(), legend.Bar().back()->bounds.Right());
  EXPECT_EQ(legend.lbl_scale_high.alignment, kit::Align::kRight);
  for (kit::Control* c : {static_cast<kit::Control*>(&v.form.Shape9), static_cast<kit::Control*>(&v.form.Shape1),
                          static_cast<kit::Control*>(&v.form.lbl_alkali_metals),
                          static_cast<kit::Control*>(&v.form.lbl_noble_gases)})
    EXPECT_FALSE(c->visible) << c->Name();

  // What a screen reader reads: the ends by name, the tiles' values.
  std::map<std::string, kit::AccessibleChild> tree;
  for (auto& child : kit::AccessibleChildren(v.form)) tree[child.control->Name()] = child;
  EXPECT_EQ(tree["lbl_scale_low"].name, L"0,7");
  EXPECT_FALSE(tree["lbl_scale_low"].invisible);
  EXPECT_EQ(tree["lbl_scale_high"].name, L"3,98");
  EXPECT_TRUE(tree["lbl_alkali_metals"].invisible);
  EXPECT_EQ(tree["lbl_Fe"].description, L"Транзитивни метали, 1,83");

  // The scale's controls stay clear of the tiles and the headings.
  for (const kit::Control* c : v.form.Controls()) {
    if (!c->visible || c->Name().rfind("lbl_", 0) != 0 || c->Name().rfind("lbl_scale", 0) == 0 ||
        c->Name() == "lbl_no_data")
      continue;
    for (const kit::Control* mine : std::initializer_list<const kit::Control*>{
             &legend.lbl_scale_title, &legend.lbl_scale_low, &legend.lbl_scale_high, &legend.lbl_no_data,
             &legend.shp_no_data, legend.Bar().front().get(), legend.Bar().back().get()}) {
      const kit::Rect& a = c->bounds;
      const kit::Rect& b = mine->bounds;
      bool apart = a.Right() <= b.left || b.Right() <= a.left || a.Bottom() <= b.top || b.Bottom() <= a.top;
      EXPECT_TRUE(apart) << c->Name() << " under " << mine->Name();
    }
  }
}

TEST(TrendView, RadiusAndDensityPutTheirExtremesAtTheEndsOfTheScale) {
  Shipped v;
  v.Choose(Property::kAtomRadius);
  EXPECT_EQ(v.Tile("He").back_color, kBottom);  // 28 pm
  EXPECT_EQ(v.Tile("Fr").back_color, kTop);     // 260 pm
  EXPECT_EQ(v.form.Trends().Legend().lbl_scale_low.caption, L"28 pm");
  EXPECT_EQ(v.form.Trends().Legend().lbl_scale_high.caption, L"260 pm");
  EXPECT_EQ(v.Tile("Uuo").back_color, viewer::kNoDataColor);  // no record
  EXPECT_NE(v.Tile("Uun").back_color, viewer::kNoDataColor);  // darmstadtium's radius
  v.Choose(Property::kDensity);
  EXPECT_EQ(v.Tile("H").back_color, kBottom);
  EXPECT_EQ(v.Tile("Os").back_color, kTop);
  EXPECT_EQ(v.Tile("H").description, L"Неметали, 0,0000899 g/cm³");
  EXPECT_EQ(v.Tile("At").description, L"Неметали, ~6,4 g/cm³");
  EXPECT_EQ(v.form.Trends().Legend().lbl_scale_title.caption, L"Плътност");
  v.Choose(Property::kMeltingPoint);
  EXPECT_EQ(v.Tile("C").back_color, kTop);   // sublimes at 3642 °C
  EXPECT_EQ(v.Tile("He").back_color, kBottom);
  EXPECT_EQ(v.Tile("Fm").description, L"Актиниди, ~1527 °C");
}

TEST(TrendView, CategoriesBringBackEveryControlExactlyAsItWas) {
  Shipped v;
  v.form.SetFocus(&v.Tile("Na"));
  const auto before = Look(v.form);
  for (Property p : viewer::kProperties) v.Choose(p);
  v.Choose(Property::kElectronegativity);
  v.Dismiss();
  EXPECT_NE(Look(v.form), before);
  v.headless.platform.menu_choice = [](const auto&) { return 0; };
  kit::ContextMenuKey(v.form);
  EXPECT_FALSE(v.form.Trends().Shown());
  EXPECT_EQ(Look(v.form), before);
  EXPECT_EQ(v.Focus(), "lbl_Na");
  // And again, from a second round.
  v.Choose(Property::kBoilingPoint);
  EXPECT_NE(Look(v.form), before);
  v.Choose(std::nullopt);
  EXPECT_EQ(Look(v.form), before);
}

TEST(TrendView, RecordsAreReadOnceForEveryPropertyAndAClickStillReadsItsRecordAfresh) {
  Shipped v;
  EXPECT_EQ(v.engine.reads["Name"], 0);  // nothing is read before a property is chosen
  for (Property p : viewer::kProperties) v.Choose(p);
  v.Choose(std::nullopt);
  v.Choose(Property::kDensity);
  v.Type(L"fe");
  EXPECT_EQ(v.engine.reads["Name"], 113);
  EXPECT_EQ(v.engine.reads["melt_boil"], 113);
  EXPECT_EQ(v.engine.reads["density"], 113);
  kit::Click(v.Tile("Fe"));
  kit::Click(v.Tile("Fe"));
  EXPECT_EQ(v.engine.reads["atom_num"], 113 + 2);  // the one pass, then each click
  EXPECT_EQ(v.form.txt_atom_num.text, L"26");
  EXPECT_EQ(v.form.txt_name.text, L"Желязо");
  kit::Click(v.Tile("Uun"));
  EXPECT_EQ(v.form.txt_atom_num.text, L"110");
}

TEST(TrendView, WithoutTheDatabaseAPropertyIsExplainedAndTheCategoriesStay) {
  testing_viewer::FakeEngine engine;
  engine.file_exists = false;
  Viewer v(engine);
  const auto before = Look(v.form);
  v.Choose(Property::kAtomRadius);
  EXPECT_FALSE(v.form.Trends().Shown());
  EXPECT_EQ(v.headless.platform.messages.size(), 1u);
  EXPECT_EQ(Look(v.form), before);
  // Typing still finds symbols, and says nothing.
  v.form.SetFocus(&v.Tile("H"));
  v.Type(L"fe");
  EXPECT_EQ(v.Focus(), "lbl_Fe");
  v.headless.platform.tick_ms += 2000;
  v.Type(L"жел");
  EXPECT_EQ(v.Focus(), "lbl_Fe");
  EXPECT_EQ(v.headless.platform.messages.size(), 1u);
  EXPECT_EQ(v.headless.platform.beeps, 3);
}

TEST(TrendView, ATableWithoutAnyValueGreysEveryTileAndShowsNoBar) {
  testing_viewer::FakeEngine engine;
  for (int i = 0; i < 120; ++i) {
    engine.table.records.push_back({{"Name", L"N"}, {"atom_rad", L"няма данни"}, {"electronegativity", L"?"},
                                    {"density", L"много"}, {"melt_boil", L"няма данни"}});
    engine.table.id_order.push_back(i);
  }
  Viewer v(engine);
  v.Choose(Property::kDensity);
  ASSERT_EQ(v.form.Trends().Shown(), Property::kDensity);
  for (const auto& tile : v.form.Tiles()) {
    EXPECT_EQ(tile->back_color, viewer::kNoDataColor) << tile->Name();
    EXPECT_EQ(tile->fore_color, kBlack) << tile->Name();
  }
  const auto& legend = v.form.Trends().Legend();
  EXPECT_TRUE(legend.lbl_scale_title.visible);
  EXPECT_TRUE(legend.lbl_no_data.visible && legend.shp_no_data.visible);
  EXPECT_FALSE(legend.lbl_scale_low.visible || legend.lbl_scale_high.visible);
  for (const auto& stripe : legend.Bar()) EXPECT_FALSE(stripe->visible);
  EXPECT_TRUE(v.headless.platform.messages.empty());
}

TEST(TrendView, TypingWithTheFocusInTheTableFindsTheElementAndEnterShowsIt) {
  Shipped v;
  v.form.SetFocus(&v.Tile("H"));
  v.Type(L"жел");
  EXPECT_EQ(v.Focus(), "lbl_Fe");
  EXPECT_EQ(v.form.txt_atom_num.text, L"");  // found, not yet shown
  kit::KeyDown(v.form, kit::Key::kEnter);
  EXPECT_EQ(v.form.txt_atom_num.text, L"26");
  v.headless.platform.tick_ms += 1500;
  v.Type(L"КА");
  EXPECT_EQ(v.Focus(), "lbl_K");
  v.Type(L"лц");
  EXPECT_EQ(v.Focus(), "lbl_Ca");
  EXPECT_TRUE(kit::Char(v.form, L'\b'));
  EXPECT_EQ(v.Focus(), "lbl_K");
  EXPECT_EQ(v.headless.platform.beeps, 0);
  v.Type(L"q");
  EXPECT_EQ(v.headless.platform.beeps, 1);
  EXPECT_EQ(v.Focus(), "lbl_K");
  kit::KeyDown(v.form, kit::Key::kSpace);
  EXPECT_EQ(v.form.txt_atom_num.text, L"19");
  // Typing works the same while a property is shown.
  v.Choose(Property::kAtomRadius);
  v.headless.platform.tick_ms += 1500;
  v.Type(L"cl");
  EXPECT_EQ(v.Focus(), "lbl_Cl");
}

TEST(TrendView, LettersOutsideTheTableAreNotTheTablesAndDigitsAreNotASearch) {
  Shipped v;
  EXPECT_EQ(v.Focus(), "txt_atom_num");
  EXPECT_FALSE(kit::Char(v.form, L'f'));
  EXPECT_EQ(v.Focus(), "txt_atom_num");
  v.form.SetFocus(&v.form.Label3);
  EXPECT_FALSE(kit::Char(v.form, L'f'));
  EXPECT_EQ(v.Focus(), "Label3");
  v.form.SetFocus(&v.Tile("Fe"));
  EXPECT_FALSE(kit::Char(v.form, L'2'));
  EXPECT_EQ(v.Focus(), "lbl_Fe");
  EXPECT_EQ(v.headless.platform.beeps, 0);
}



// What a copied, saved or printed worksheet holds, and how it is asked for.
struct Recorder : viewer::SheetOutput {
  void Copy(const viewer::SheetContent& c) override { asked.push_back(L"copy " + c.title); }
  void Save(const viewer::SheetContent& c) override { asked.push_back(L"save " + c.title); }
  void Print(const viewer::SheetContent& c) override { asked.push_back(L"print " + c.title); }
  void SavePages(const std::vector<viewer::SheetContent>& p) override { asked.push_back(L"save pages " + p[0].title); }
  void PrintPages(const std::vector<viewer::SheetContent>& p) override { asked.push_back(L"print pages " + p[0].title); }
  std::vector<std::wstring> asked;
};

TEST(Worksheet, ShowsTheTableAndLegendOnWhiteInsideItsMarginAndIsAskedForByKeyAndMenu) {
  Shipped v;
  Recorder out;
  v.form.SetSheetOutput(&out);
  v.Choose(Property::kElectronegativity);
  const viewer::Sheet sheet = viewer::LayOutSheet(v.form.Worksheet(), viewer::kSheetWidth);
  ASSERT_FALSE(sheet.items.empty());
  EXPECT_EQ(sheet.items[0].text, L"Периодична система на химичните елементи: електроотрицателност");
  std::set<std::wstring> texts;
  const int margin = sheet.width * 2 / 100;
  for (const kit::Appearance& a : sheet.items) {
    texts.insert(a.text);
    const int left = a.kind == kit::ControlKind::kLine ? std::min(a.from.x, a.to.x) : a.place.left;
    const int right = a.kind == kit::ControlKind::kLine ? std::max(a.from.x, a.to.x) : a.place.right;
    EXPECT_GE(left, margin);
    EXPECT_LE(right, sheet.width - margin);
    if (a.kind == kit::ControlKind::kLabel && a.transparent) {
      EXPECT_EQ(a.fore, kit::Rgb(0, 0, 0)) << a.text;
    }
  }
  EXPECT_EQ(sheet.width, 3508);
  for (const wchar_t* shown : {L"Fe", L"He", L"Uuo", L"18", L"VIIIб", L"Електроотрицателност"})
    EXPECT_TRUE(texts.count(shown)) << shown;
  // Neither the header, the panel nor the close mark.
  for (const wchar_t* left_out : {L"X", L"Zentrik Периодична система", L"Атомен номер", L"Плътност"})
    EXPECT_FALSE(texts.count(left_out)) << left_out;

  for (wchar_t letter : {L'C', L'S', L'P'}) EXPECT_TRUE(kit::Shortcut(v.form, letter));
  EXPECT_FALSE(kit::Shortcut(v.form, L'Q'));
  v.headless.platform.menu_choice = [](const auto& items) {
    return static_cast<int>(std::find_if(items.begin(), items.end(),
                                         [](const auto& i) { return i.text == L"Копирай като картина"; }) -
                            items.begin());
  };
  kit::ContextMenu(v.form, v.Tile("Fe").bounds.left + 100, v.Tile("Fe").bounds.top + 100);
  EXPECT_EQ(out.asked.size(), 4u);
  EXPECT_EQ(out.asked.back(), L"copy Периодична система на химичните елементи: електроотрицателност");
}

TEST(TrendView, NoSymbolsAndBlackAndWhiteHoldAcrossTheViewsUntilTurnedOff) {
  Shipped v;
  const auto start = Look(v.form);
  ChooseLine(v, L"Без символи");
  ChooseLine(v, L"Черно-бяло");
  auto fe = kit::AppearanceOf(v.Tile("Fe"));
  EXPECT_EQ(fe.text, L"");
  EXPECT_EQ(kit::Describe(v.form, v.Tile("Fe")).name, L"Fe");
  // Each category its own pattern, the legend's swatch the same, the symbols black.
  EXPECT_EQ((viewer::PrintFill{fe.back, fe.hatch}), viewer::CategoryPrintFill(viewer::Category::kTransitionMetal));
  const auto swatch = kit::AppearanceOf(v.form.Shape5);
  EXPECT_EQ((viewer::PrintFill{swatch.back, swatch.hatch}), (viewer::PrintFill{fe.back, fe.hatch}));
  EXPECT_EQ(kit::AppearanceOf(v.Tile("Na")).hatch, kit::Hatch::kForwardDiagonal);
  EXPECT_EQ(kit::AppearanceOf(v.Tile("Na")).fore, kBlack);

  // Another view keeps both settings; its grey steps darken with the value.
  v.Choose(Property::kElectronegativity);
  EXPECT_EQ(kit::AppearanceOf(v.Tile("F")).text, L"");
  EXPECT_LT(kit::AppearanceOf(v.Tile("F")).back & 0xFF, kit::AppearanceOf(v.Tile("Cs")).back & 0xFF);
  const viewer::Sheet sheet = viewer::LayOutSheet(v.form.Worksheet(), viewer::kSheetWidth);
  for (const kit::Appearance& a : sheet.items) EXPECT_NE(a.text, L"Fe");
  ChooseLine(v, L"Агрегатно състояние");
  EXPECT_EQ(kit::AppearanceOf(v.Tile("Hg")).hatch, kit::Hatch::kHorizontal);   // liquid

  // Both off and the categories back: exactly the window as it started.
  ChooseLine(v, L"Без символи");
  ChooseLine(v, L"Черно-бяло");
  v.Choose(std::nullopt);
  auto now = Look(v.form);
  for (const auto& [name, look] : start) EXPECT_EQ(now[name], look) << name;
}

}  // namespace
