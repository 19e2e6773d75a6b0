// The solubility table: the data file as compiled in, the formulas derived
// for the cells, and what the window does beyond the walk under Wine.
#include "viewer/solubility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "base/utf.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"
#include "viewer/solubility_window.h"

namespace {

using viewer::Mark;
using viewer::kAnions;
using viewer::kCations;

std::size_t CationAt(std::wstring_view plain) {
  for (std::size_t i = 0; i < kCations.size(); ++i)
    if (viewer::IonPlain(kCations[i]) == plain) return i;
  ADD_FAILURE() << "no cation";
  return 0;
}
std::size_t AnionAt(std::wstring_view plain) {
  for (std::size_t i = 0; i < kAnions.size(); ++i)
    if (viewer::IonPlain(kAnions[i]) == plain) return i;
  ADD_FAILURE() << "no anion";
  return 0;
}
Mark At(std::wstring_view cation, std::wstring_view anion) {
  return viewer::Solubility().At(AnionAt(anion), CationAt(cation));
}

TEST(SolubilityData, HoldsEveryCellOnceWithAValidMarkAndTheWellKnownCellsRight) {
  const viewer::ParsedSolubility parsed = viewer::ParseSolubility(viewer::SolubilityData());
  EXPECT_TRUE(parsed.errors.empty()) << (parsed.errors.empty() ? "" : base::WideToUtf8(parsed.errors.front()));

  struct Known { const wchar_t* cation; const wchar_t* anion; Mark mark; };
  const Known known[] = {
      {L"Ag+", L"Cl-", Mark::kInsoluble}, {L"Ag+", L"Br-", Mark::kInsoluble}, {L"Ag+", L"I-", Mark::kInsoluble},
      {L"Ba2+", L"SO4 2-", Mark::kInsoluble}, {L"Pb2+", L"SO4 2-", Mark::kInsoluble},
      {L"Ca2+", L"SO4 2-", Mark::kSlightly}, {L"Ag+", L"SO4 2-", Mark::kSlightly},
      {L"Ca2+", L"OH-", Mark::kSlightly}, {L"Ba2+", L"OH-", Mark::kSoluble}, {L"Mg2+", L"OH-", Mark::kInsoluble},
      {L"Fe3+", L"OH-", Mark::kInsoluble}, {L"Cu2+", L"OH-", Mark::kInsoluble}, {L"Al3+", L"OH-", Mark::kInsoluble},
      {L"Ag+", L"OH-", Mark::kNone}, {L"Ca2+", L"CO3 2-", Mark::kInsoluble}, {L"Ba2+", L"CO3 2-", Mark::kInsoluble},
      {L"Mg2+", L"CO3 2-", Mark::kSlightly}, {L"Li+", L"CO3 2-", Mark::kSoluble}, {L"Al3+", L"CO3 2-", Mark::kNone},
      {L"Fe3+", L"CO3 2-", Mark::kNone}, {L"Al3+", L"S2-", Mark::kNone}, {L"Cu2+", L"S2-", Mark::kInsoluble},
      {L"Fe2+", L"S2-", Mark::kInsoluble}, {L"Zn2+", L"S2-", Mark::kInsoluble}, {L"Pb2+", L"S2-", Mark::kInsoluble},
      {L"Ca2+", L"F-", Mark::kInsoluble}, {L"Ca2+", L"PO4 3-", Mark::kInsoluble}, {L"Pb2+", L"I-", Mark::kSlightly},
      {L"Pb2+", L"Cl-", Mark::kSlightly}, {L"Hg2+", L"I-", Mark::kInsoluble}, {L"H+", L"SiO3 2-", Mark::kInsoluble},
      {L"H+", L"SO4 2-", Mark::kSoluble}, {L"H+", L"OH-", Mark::kNone}, {L"Fe3+", L"I-", Mark::kNone},
      {L"Cu2+", L"I-", Mark::kNone}, {L"Sn2+", L"NO3-", Mark::kNone},
  };
  for (const Known& k : known)
    EXPECT_EQ(At(k.cation, k.anion), k.mark) << base::WideToUtf8(k.cation) << " " << base::WideToUtf8(k.anion);
  // Every nitrate but tin's dissolves; so does every salt of sodium and potassium.
  for (const auto& c : kCations) {
    if (c.atoms == L"Sn") continue;
    EXPECT_EQ(At(viewer::IonPlain(c), L"NO3-"), Mark::kSoluble) << base::WideToUtf8(c.atoms);
  }
  for (const auto& a : kAnions) {
    EXPECT_EQ(At(L"Na+", viewer::IonPlain(a)), Mark::kSoluble);
    EXPECT_EQ(At(L"K+", viewer::IonPlain(a)), Mark::kSoluble);
  }
}

TEST(SolubilityData, ReadingTellsEachFault) {
  const auto parsed = viewer::ParseSolubility(
      "# a comment\r\n\r\nAg+\tCl-\t\xD0\x9D\r\nAg+\tCl-\t\xD0\xA0\nXx+\tCl-\t\xD0\xA0\nNa+\tCl-\tR\nK+\tCl-\n");
  EXPECT_EQ(parsed.table.At(AnionAt(L"Cl-"), CationAt(L"Ag+")), Mark::kInsoluble);   // the first stands
  ASSERT_EQ(parsed.errors.size(), 4u + kCations.size() * kAnions.size() - 1);
  EXPECT_EQ(parsed.errors[0], L"line 4: cell given twice");
  EXPECT_EQ(parsed.errors[1], L"line 5: unknown ion");
  EXPECT_EQ(parsed.errors[2], L"line 6: unknown mark");
  EXPECT_EQ(parsed.errors[3], L"line 7: not three fields");
  EXPECT_EQ(parsed.errors[4], L"missing: H+ OH-");
  EXPECT_EQ(parsed.table.At(AnionAt(L"Cl-"), CationAt(L"Na+")), Mark::kNone);
}

TEST(SolubilityFormula, BalancesTheChargesWithTheSmallestCountsAndBracketsOnlyRepeatedGroups) {
  const std::array<const wchar_t*, 3> cases[] = {
      {L"Fe3+", L"SO4 2-", L"Fe2(SO4)3"}, {L"Ca2+", L"PO4 3-", L"Ca3(PO4)2"}, {L"NH4+", L"Cl-", L"NH4Cl"},
      {L"NH4+", L"SO4 2-", L"(NH4)2SO4"}, {L"Al3+", L"S2-", L"Al2S3"},       {L"Fe3+", L"OH-", L"Fe(OH)3"},
      {L"H+", L"CH3COO-", L"CH3COOH"},    {L"H+", L"OH-", L"H2O"},
  };
  for (const auto& [cation, anion, formula] : cases)
    EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(cation)], kAnions[AnionAt(anion)]), formula);
  EXPECT_EQ(viewer::FormulaMarkup(L"Fe2(SO4)3"), L"Fe_2(SO_4)_3");
  EXPECT_EQ(viewer::IonMarkup(kAnions[AnionAt(L"SO4 2-")]), L"SO_4^{2-}");
  EXPECT_EQ(viewer::IonMarkup(kCations[CationAt(L"NH4+")]), L"NH_4^+");
}

// The cells, the series, copying, the exam set and Esc are walked under Wine
// (tests/e2e/test_solubility.py); here, that the main window keeps one.
TEST(SolubilityWindow, ASecondCtrlRBringsTheSameWindowAndEscClosesIt) {
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form(engine, L"C:\\Zentrik");
  form.Show();
  EXPECT_TRUE(kit::Shortcut(form, L'R'));
  viewer::SolubilityWindow* w = form.SolubilityWin();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(kit::Shortcut(form, L'R'));
  EXPECT_EQ(form.SolubilityWin(), w);
  kit::Dispatch([&] { kit::KeyDown(*w, kit::Key::kEscape); });
  EXPECT_EQ(form.SolubilityWin(), nullptr);
}

TEST(SolubilityWindow, EnterHandsTheCellsFormulaOnOnlyWhereLinkedAndBlackAndWhiteUsesFills) {
  kit::ScopedHeadless headless;
  viewer::SolubilityWindow unlinked({});
  unlinked.SetFocus(&unlinked.Cell(AnionAt(L"SO4 2-"), CationAt(L"Fe3+")));
  kit::KeyDown(unlinked, kit::Key::kEnter);   // nothing to call, nothing happens

  std::vector<std::wstring> opened;
  viewer::SolubilityWindow::Links links;
  links.open_formula = [&](const std::wstring& f) { opened.push_back(f); };
  viewer::SolubilityWindow w(std::move(links));
  w.SetFocus(&w.Cell(AnionAt(L"SO4 2-"), CationAt(L"Fe3+")));
  kit::KeyDown(w, kit::Key::kEnter);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"Fe2(SO4)3"});

  // Each mark its own fill in black and white.
  std::vector<viewer::PrintFill> fills;
  for (Mark m : viewer::kMarks) {
    EXPECT_EQ(std::count(fills.begin(), fills.end(), viewer::MarkPrintFill(m)), 0);
    fills.push_back(viewer::MarkPrintFill(m));
  }
  headless.platform.menu_choice = [](const std::vector<kit::MenuItem>& items) {
    return static_cast<int>(std::find_if(items.begin(), items.end(),
                                         [](const auto& i) { return i.text == L"Черно-бяло"; }) - items.begin());
  };
  w.OpenMenu(0, 0);
  EXPECT_TRUE(w.monochrome);
}

}  // namespace
