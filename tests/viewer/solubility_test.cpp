// The solubility table: the data file as compiled in, the formulas derived
// for every cell, what readers and the clipboard get, and the window walked
// from the main window's Ctrl+R to Esc.
#include "viewer/solubility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <numeric>

#include "base/utf.h"
#include "kit/accessibility.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/copies.h"
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

TEST(SolubilityFormula, EveryCellBalancesItsChargesWithTheSmallestCountsAndBracketsOnlyRepeatedGroups) {
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"Fe3+")], kAnions[AnionAt(L"SO4 2-")]), L"Fe2(SO4)3");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"Ca2+")], kAnions[AnionAt(L"PO4 3-")]), L"Ca3(PO4)2");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"NH4+")], kAnions[AnionAt(L"Cl-")]), L"NH4Cl");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"NH4+")], kAnions[AnionAt(L"SO4 2-")]), L"(NH4)2SO4");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"Al3+")], kAnions[AnionAt(L"S2-")]), L"Al2S3");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"Fe3+")], kAnions[AnionAt(L"OH-")]), L"Fe(OH)3");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"H+")], kAnions[AnionAt(L"CH3COO-")]), L"CH3COOH");
  EXPECT_EQ(viewer::CompoundFormula(kCations[CationAt(L"H+")], kAnions[AnionAt(L"OH-")]), L"H2O");
  EXPECT_EQ(viewer::FormulaMarkup(L"Fe2(SO4)3"), L"Fe_2(SO_4)_3");

  for (const auto& c : kCations)
    for (const auto& a : kAnions) {
      if (viewer::IsWater(c, a)) continue;
      std::wstring f = viewer::CompoundFormula(c, a);
      // Read back: each ion, bracketed or not, and the count after it.
      auto take = [&f](const viewer::Ion& ion) {
        const std::wstring atoms(ion.atoms);
        const bool bracketed = f.starts_with(L"(" + atoms + L")");
        if (!bracketed && !f.starts_with(atoms)) {
          ADD_FAILURE() << base::WideToUtf8(f) << " lacks " << base::WideToUtf8(atoms);
          return 0;
        }
        f.erase(0, atoms.size() + (bracketed ? 2 : 0));
        int n = 0;
        for (; !f.empty() && iswdigit(f.front()); f.erase(0, 1)) n = n * 10 + (f.front() - L'0');
        EXPECT_EQ(bracketed, ion.polyatomic && n > 1) << base::WideToUtf8(atoms);
        return n == 0 ? 1 : n;
      };
      const bool hydrogen_last = a.acid_hydrogen_last && c.atoms == L"H";
      const int first = take(hydrogen_last ? a : c), second = take(hydrogen_last ? c : a);
      const int cations = hydrogen_last ? second : first, anions = hydrogen_last ? first : second;
      EXPECT_TRUE(f.empty()) << base::WideToUtf8(viewer::CompoundFormula(c, a));
      EXPECT_EQ(cations * c.charge, -anions * a.charge) << base::WideToUtf8(viewer::CompoundFormula(c, a));
      EXPECT_EQ(std::gcd(cations, anions), 1) << base::WideToUtf8(viewer::CompoundFormula(c, a));
    }
}

TEST(SolubilityNames, ReadIonsWithPlainDigitsAndTheClipboardInUnicode) {
  EXPECT_EQ(viewer::IonPlain(kAnions[AnionAt(L"PO4 3-")]), L"PO4 3-");
  EXPECT_EQ(viewer::IonMarkup(kAnions[AnionAt(L"SO4 2-")]), L"SO_4^{2-}");
  EXPECT_EQ(viewer::IonMarkup(kCations[CationAt(L"NH4+")]), L"NH_4^+");
  EXPECT_EQ(viewer::CellName(AnionAt(L"SO4 2-"), CationAt(L"Ba2+"), Mark::kInsoluble), L"Ba2+, SO4 2-: BaSO4, неразтворимо");
  EXPECT_EQ(viewer::CellName(AnionAt(L"OH-"), CationAt(L"H+"), Mark::kNone), L"H+, OH-: H2O, вода");
  EXPECT_EQ(viewer::CellName(AnionAt(L"CO3 2-"), CationAt(L"Al3+"), Mark::kNone),
            L"Al3+, CO3 2-: Al2(CO3)3, не съществува или водата го разлага");

  const std::wstring text = viewer::SolubilityText(viewer::Solubility());
  EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 1 + static_cast<long>(kAnions.size()));
  EXPECT_TRUE(text.starts_with(L"\tH⁺\tLi⁺\tNH₄⁺\tNa⁺\t"));
  EXPECT_NE(text.find(L"\r\nSO₄²⁻\tР\tР\tР\tР\tР\tР\tМ\tН\t"), std::wstring::npos);
  EXPECT_TRUE(text.ends_with(L"\tР\r\n"));
}

struct Viewer {
  Viewer() : form(engine, L"C:\\Zentrik") {
    form.Show();
    form.SetSheetOutput(&out);
  }
  std::wstring FocusName(const viewer::SolubilityWindow& w) const {
    return w.Focused() ? kit::Describe(w, *w.Focused()).name : L"(none)";
  }
  Copies out;
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form;
};

TEST(SolubilityWindow, OpensOnCtrlRWalksTheCellsReadsAsATableCopiesAndClosesOnEsc) {
  Viewer v;
  EXPECT_TRUE(kit::Shortcut(v.form, L'R'));
  viewer::SolubilityWindow* w = v.form.SolubilityWin();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->caption, L"Разтворимост на веществата във вода");
  EXPECT_EQ(v.FocusName(*w), L"H+, OH-: H2O, вода");

  // The arrows by places, Home and End to the row's ends, Ctrl+Home back.
  kit::KeyDown(*w, kit::Key::kDown);
  kit::KeyDown(*w, kit::Key::kRight);
  EXPECT_EQ(v.FocusName(*w), L"Li+, F-: LiF, малко разтворимо");
  kit::KeyDown(*w, kit::Key::kEnd);
  EXPECT_EQ(v.FocusName(*w), L"Cu2+, F-: CuF2, малко разтворимо");
  kit::KeyDown(*w, kit::Key::kTab);   // one tab stop
  EXPECT_EQ(v.FocusName(*w), L"Cu2+, F-: CuF2, малко разтворимо");
  kit::KeyDown(*w, kit::Key::kHome, kit::kControlKey);
  EXPECT_EQ(w->Focused(), &w->Cell(0, 0));

  // A table of headers and cells, then the series as a list in order.
  const auto children = kit::AccessibleChildren(*w);
  auto count = [&](kit::Role role) {
    return std::count_if(children.begin(), children.end(), [&](const auto& c) { return c.role == role; });
  };
  EXPECT_EQ(count(kit::Role::kTable), 1);
  EXPECT_EQ(count(kit::Role::kColumnHeader), static_cast<long>(kCations.size()));
  EXPECT_EQ(count(kit::Role::kRowHeader), static_cast<long>(kAnions.size()));
  EXPECT_EQ(count(kit::Role::kCell), static_cast<long>(kCations.size() * kAnions.size()));
  std::vector<std::wstring> series;
  for (const auto& c : children)
    if (c.role == kit::Role::kListItem) series.push_back(c.name);
  ASSERT_EQ(series.size(), 21u);
  EXPECT_EQ(series.front(), L"Li, Литий");
  EXPECT_EQ(series[viewer::kHydrogenPlace - 1], L"Pb, Олово");
  EXPECT_EQ(series[viewer::kHydrogenPlace], L"H2, Водород");
  EXPECT_EQ(series.back(), L"Au, Злато");

  // Ctrl+C: the window's picture with the marks as text.
  EXPECT_TRUE(kit::Shortcut(*w, L'C'));
  ASSERT_EQ(v.out.copied.size(), 1u);
  EXPECT_EQ(v.out.copied[0].title, w->caption);
  EXPECT_EQ(v.out.copied[0].clipboard_text, viewer::SolubilityText(viewer::Solubility()));

  // The exam set: the periodic table, then this table, in one job.
  v.headless.platform.menu_choice = [](const std::vector<kit::MenuItem>& items) {
    return static_cast<int>(items.size()) - 1;
  };
  kit::ContextMenuKey(*w);
  EXPECT_EQ(v.headless.platform.menus.back().items.back().text, L"Печат на трите таблици…");
  ASSERT_EQ(v.out.printed.size(), 1u);
  ASSERT_EQ(v.out.printed[0].size(), 2u);
  EXPECT_EQ(v.out.printed[0][0].title, L"Периодична система на химичните елементи");
  EXPECT_EQ(v.out.printed[0][1].title, w->caption);

  // A second request brings the same window; Esc closes it.
  EXPECT_TRUE(kit::Shortcut(v.form, L'R'));
  EXPECT_EQ(v.form.SolubilityWin(), w);
  kit::Dispatch([&] { kit::KeyDown(*w, kit::Key::kEscape); });
  EXPECT_EQ(v.form.SolubilityWin(), nullptr);
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

  // Each mark its own fill, and the letter always drawn.
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
  EXPECT_EQ(w.Cell(0, 3).caption, L"Р");
}

}  // namespace
