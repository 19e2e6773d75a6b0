// The chart window on the database the program ships: which elements it
// plots and how it names them, and the road from the table's menu through
// the window's keys back to the table's panel.
#include "viewer/chart_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/accessibility.h"
#include "kit/input.h"
#include "tests/viewer/copies.h"
#include "kit/platform.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

namespace {

using viewer::Property;

const viewer::ChartEntry* Find(const std::vector<viewer::ChartEntry>& entries, const wchar_t* symbol) {
  auto at = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.symbol == symbol; });
  return at == entries.end() ? nullptr : &*at;
}

TEST(ChartEntries, PlotEveryValueInAtomicNumberOrderNamedByTheTileAndItsRecord) {
  const auto& records = testing_viewer::VrakelFile::Get().TileRecords();
  const auto radius = viewer::ChartEntries(Property::kAtomRadius, records);
  EXPECT_GE(radius.size(), 100u);
  EXPECT_TRUE(std::is_sorted(radius.begin(), radius.end(),
                             [](const auto& a, const auto& b) { return a.atomic_number < b.atomic_number; }));
  ASSERT_TRUE(Find(radius, L"Fe") && Find(radius, L"Cs") && Find(radius, L"Xe"));
  EXPECT_EQ(viewer::PointName(Property::kAtomRadius, *Find(radius, L"Fe")),
            L"Fe (26): " + viewer::ValueText(Property::kAtomRadius, records[Find(radius, L"Fe")->tile].Of(Property::kAtomRadius)));
  EXPECT_GT(Find(radius, L"Cs")->reading.value, Find(radius, L"Xe")->reading.value);
  // The tile's symbol with the number of the record it reads.
  ASSERT_TRUE(Find(radius, L"Uun"));
  EXPECT_EQ(Find(radius, L"Uun")->atomic_number, 110);
  // No value, no point.
  const auto en = viewer::ChartEntries(Property::kElectronegativity, records);
  EXPECT_LT(en.size(), radius.size());
  for (const auto& e : en) EXPECT_TRUE(records[e.tile].Of(Property::kElectronegativity).HasValue());

  const std::wstring text = viewer::ChartValuesText(Property::kDensity, viewer::ChartEntries(Property::kDensity, records), records);
  EXPECT_EQ(text.substr(0, text.find(L"\r\n")), L"Атомен номер\tСимвол\tИме\tПлътност (g/cm³)");
  EXPECT_NE(text.find(L"\r\n26\tFe\tЖелязо\t7,874\r\n"), std::wstring::npos);
}

struct Viewer {
  Viewer() : form(engine, L"C:\\Zentrik") { form.Show(); }
  // "Графика…" from the keyboard's menu on the focused tile.
  viewer::ChartWindow* OpenChart() {
    headless.platform.menu_choice = [](const std::vector<kit::MenuItem>& items) {
      auto at = std::find_if(items.begin(), items.end(), [](const auto& i) { return i.text == L"Графика…"; });
      return static_cast<int>(at - items.begin());
    };
    kit::ContextMenuKey(form);
    return form.Chart();
  }
  std::wstring FocusName(const viewer::ChartWindow& chart) const {
    return chart.Focused() ? kit::Describe(chart, *chart.Focused()).name : L"(none)";
  }
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form;
};

TEST(ChartWindow, OpensFromTheMenuWalksThePointsFromTheKeysAndShowsAPointInTheTable) {
  Viewer v;
  Copies out;
  v.form.SetSheetOutput(&out);
  v.form.Trends().ShowStates();
  v.form.SetFocus(v.form.Tile("H"));
  viewer::ChartWindow* chart = v.OpenChart();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->caption, L"Графика – Температура на топене");
  EXPECT_EQ(v.FocusName(*chart).substr(0, 6), L"H (1):");
  EXPECT_NE(chart->description.find(L"температура на топене според атомния номер"), std::wstring::npos);

  chart->cbo_property.Select(0);
  EXPECT_EQ(chart->caption, L"Графика – Радиус на атома");
  EXPECT_TRUE(v.form.Trends().StatesShown());   // the table keeps its colouring
  kit::KeyDown(*chart, kit::Key::kRight);
  EXPECT_EQ(v.FocusName(*chart).substr(0, 7), L"He (2):");
  kit::KeyDown(*chart, kit::Key::kTab);
  EXPECT_EQ(chart->Focused(), &chart->cbo_property);
  // New plots while the focus is away: Tab comes back to the same place.
  chart->cbo_property.Select(1);
  chart->cbo_property.Select(0);
  kit::KeyDown(*chart, kit::Key::kTab, kit::kShiftKey);
  EXPECT_EQ(v.FocusName(*chart).substr(0, 7), L"He (2):");
  // The points go in one line, whatever their heights.
  kit::KeyDown(*chart, kit::Key::kEnd);
  EXPECT_EQ(chart->Focused(), chart->Points().back().get());
  kit::KeyDown(*chart, kit::Key::kUp);
  EXPECT_EQ(chart->Focused(), chart->Points().back().get());
  kit::KeyDown(*chart, kit::Key::kHome);
  kit::KeyDown(*chart, kit::Key::kRight);
  EXPECT_EQ(v.FocusName(*chart).substr(0, 7), L"He (2):");

  // Enter on Fe fills the panel and rings Fe.
  auto fe = std::find_if(chart->Points().begin(), chart->Points().end(),
                         [](const auto& p) { return p->accessible_name.starts_with(L"Fe (26)"); });
  ASSERT_NE(fe, chart->Points().end());
  chart->SetFocus(fe->get());
  kit::KeyDown(*chart, kit::Key::kEnter);
  EXPECT_EQ(v.form.txt_atom_num.text, L"26");
  auto* ring = chart->Find("chart_ring");
  ASSERT_NE(ring, nullptr);
  EXPECT_TRUE(ring->bounds.Contains((*fe)->bounds.left + 60, (*fe)->bounds.top + 60));

  // Ctrl+C: the picture under its title, everything but the combo box, and the values as text.
  EXPECT_TRUE(kit::Shortcut(*chart, L'C'));
  ASSERT_EQ(out.copied.size(), 1u);
  EXPECT_EQ(out.copied[0].title, L"Графика: радиус на атома според атомния номер");
  EXPECT_NE(out.copied[0].clipboard_text.find(L"\r\n26\tFe\tЖелязо\t"), std::wstring::npos);
  EXPECT_EQ(std::count(out.copied[0].controls.begin(), out.copied[0].controls.end(), &chart->cbo_property), 0);
  EXPECT_EQ(std::count(out.copied[0].controls.begin(), out.copied[0].controls.end(), fe->get()), 1);

  // Again from the menu: the same window; Esc closes it, the table stays.
  EXPECT_EQ(v.OpenChart(), chart);
  kit::Dispatch([&] { kit::KeyDown(*chart, kit::Key::kEscape); });
  EXPECT_EQ(v.form.Chart(), nullptr);
  EXPECT_TRUE(v.form.Visible());
}

}  // namespace
