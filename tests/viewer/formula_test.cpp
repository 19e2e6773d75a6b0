// Formulas read against the masses of the database the program ships.
#include "viewer/formula.h"

#include <gtest/gtest.h>

#include "tests/viewer/vrakel_records.h"

namespace {

using viewer::Formula;

const std::vector<viewer::FormulaElement>& Elements() {
  static const auto elements = viewer::FormulaElements(testing_viewer::VrakelFile::Get().TileRecords());
  return elements;
}

Formula Read(std::wstring_view text) { return viewer::ParseFormula(text, Elements()); }

std::wstring Mr(std::wstring_view text) {
  const Formula f = Read(text);
  return f.Ok() ? viewer::MassText(f.total) : L"error: " + f.error;
}

// "Cu 25,45 % · S 12,84 % ..." in the order of the rows.
std::wstring Fractions(const Formula& f) {
  std::wstring out;
  for (const auto& row : f.rows)
    out += (out.empty() ? L"" : L" · ") + Elements()[static_cast<size_t>(row.element)].symbol + L" " +
           viewer::PercentText(row.mass, f.total) + L" %";
  return out;
}

TEST(Formula, ElementsComeFromTheTilesAndTheirRecords) {
  ASSERT_GE(Elements().size(), 110u);
  auto find = [](const wchar_t* symbol) -> const viewer::FormulaElement* {
    for (const auto& e : Elements())
      if (e.symbol == symbol) return &e;
    return nullptr;
  };
  ASSERT_TRUE(find(L"Fe") && find(L"Tc") && find(L"Uun") && find(L"Uuq"));
  EXPECT_EQ(find(L"Fe")->mass, 558450);
  EXPECT_TRUE(find(L"Tc")->mass_number);
  EXPECT_EQ(find(L"Tc")->mass, 970000);
  for (const wchar_t* gone : {L"Uuh", L"Uuo", L"Ds", L"Fl", L"Og"}) EXPECT_EQ(find(gone), nullptr) << gone;

  bool mass_number = false;
  EXPECT_EQ(viewer::ParseAtomicMass(L"1,008"), 10080);
  EXPECT_EQ(viewer::ParseAtomicMass(L"207,2"), 2072000);
  EXPECT_EQ(viewer::ParseAtomicMass(L"[222]", &mass_number), 2220000);
  EXPECT_TRUE(mass_number);
  for (const wchar_t* bad : {L"", L"1,00801", L"12,", L",5", L"1.008", L"[9,7]", L"няма данни", L"[]"})
    EXPECT_FALSE(viewer::ParseAtomicMass(bad)) << bad;
}

TEST(Formula, HydratesInEveryWritingGiveTheSameMassesAndFractions) {
  for (const wchar_t* text : {L"CuSO4·5H2O", L"CuSO4*5H2O", L"CuSO4.5H2O", L"CuSO4•5H2O", L" Cu SO4 · 5 H2O "}) {
    const Formula f = Read(text);
    ASSERT_TRUE(f.Ok()) << f.error;
    EXPECT_EQ(viewer::MassText(f.total), L"249,68") << text;
    EXPECT_EQ(Fractions(f), L"Cu 25,45 % · S 12,84 % · O 57,67 % · H 4,04 %") << text;
    EXPECT_EQ(f.markup, L"CuSO_{4}·5H_{2}O");
    EXPECT_EQ(viewer::ResultLine(f), L"M(CuSO4·5H2O) = 249,68 g/mol");
  }
  EXPECT_EQ(Mr(L"Na2CO3·10H2O"), L"286,14");
}

TEST(Formula, GroupsMultiplyTheirContentsAtEveryDepth) {
  EXPECT_EQ(Mr(L"Al2(SO4)3"), L"342,13");
  EXPECT_EQ(Mr(L"K3[Fe(CN)6]"), L"329,25");
  EXPECT_EQ(Mr(L"Ca3(PO4)2"), L"310,17");
  EXPECT_EQ(Mr(L"Ca(OH)2"), L"74,09");
  EXPECT_EQ(Mr(L"{[(H)2]3}2"), Mr(L"H12"));
  const Formula f = Read(L"K3[Fe(CN)6]");
  EXPECT_EQ(Fractions(f).substr(0, 9), L"K 35,62 %");
  EXPECT_EQ(f.rows[2].atoms, 6);   // C, in the order of first appearance
  EXPECT_EQ(viewer::RowCells(f, f.rows[3], Elements())[4], L"84,042");   // 6 × 14,007, exactly
}

TEST(Formula, CaseDecidesTheElementAndMultipliersCountsAndChargesAreRead) {
  EXPECT_EQ(Mr(L"CO"), L"28,01");
  EXPECT_EQ(Mr(L"Co"), L"58,93");
  const Formula water = Read(L"2H2O");
  EXPECT_EQ(viewer::MassText(water.total), L"36,03");
  EXPECT_EQ(water.markup, L"2 × H_{2}O");
  EXPECT_EQ(water.rows[0].atoms, 4);
  EXPECT_EQ(Mr(L"2CuSO4·5H2O"), L"499,35");   // the whole formula twice
  EXPECT_EQ(Mr(L"H₂SO₄"), L"98,07");
  EXPECT_EQ(Read(L"H₂SO₄").plain, L"H2SO4");

  for (const wchar_t* ion : {L"SO4^2-", L"SO₄²⁻", L"SO4 2-"}) {
    const Formula f = Read(ion);
    ASSERT_TRUE(f.Ok()) << f.error;
    EXPECT_EQ(viewer::MassText(f.total), L"96,06") << ion;
    EXPECT_EQ(f.charge, L"2-");
    EXPECT_EQ(f.markup, L"SO_{4}^{2-}");
    EXPECT_EQ(viewer::ResultNotes(f, Elements()), std::vector<std::wstring>{L"йон, зарядът не променя масата"});
  }
  EXPECT_FALSE(Read(L"SO4^{2-}").Ok());   // braces are groups, not a charge
  EXPECT_EQ(Read(L"[Fe(CN)6]4-").charge, L"4-");
  EXPECT_EQ(Read(L"OH-").charge, L"-");
  EXPECT_EQ(Read(L"NO3 -").charge, L"-");
  EXPECT_EQ(Read(L"NH4^+").charge, L"+");
  EXPECT_EQ(Mr(L"NH4^+"), L"18,04");
  EXPECT_EQ(Read(L"Fe³⁺").charge, L"3+");
}

TEST(Formula, AMassNumberMakesTheResultApproximateAndSaysWhy) {
  const Formula f = Read(L"Tc2O7");
  ASSERT_TRUE(f.Ok());
  EXPECT_TRUE(f.approximate);
  EXPECT_EQ(viewer::ResultLine(f), L"M(Tc2O7) ≈ 305,99 g/mol");
  EXPECT_EQ(viewer::RelativeMassText(f), L"Mr ≈ 305,99");
  EXPECT_EQ(viewer::ResultNotes(f, Elements()),
            std::vector<std::wstring>{L"Tc: масово число на най-дълго живеещия изотоп"});
  EXPECT_EQ(viewer::RowCells(f, f.rows[0], Elements())[4], L"194");
  EXPECT_FALSE(Read(L"H2O").approximate);
}

TEST(Formula, RoundsHalfAwayFromZeroFromExactSums) {
  EXPECT_EQ(viewer::MassText(180150), L"18,02");   // 18,015
  EXPECT_EQ(viewer::MassText(180149), L"18,01");
  EXPECT_EQ(viewer::MassText(5), L"0,00");
  EXPECT_EQ(viewer::MassText(50), L"0,01");
  EXPECT_EQ(viewer::PercentText(1, 8), L"12,50");
  EXPECT_EQ(viewer::PercentText(1, 3), L"33,33");
  EXPECT_EQ(viewer::PercentText(2, 3), L"66,67");
  EXPECT_EQ(viewer::ExactMassText(1439910, 3), L"143,991");
  // H2O is 18,015 exactly: never 18,01 through a binary fraction.
  EXPECT_EQ(Mr(L"H2O"), L"18,02");
}

TEST(Formula, BadInputIsNamedAndGivesNoNumber) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Xy", L"Непознат символ „Xy“"},
      {L"co", L"„co“: символът започва с главна буква — Co или CO?"},
      {L"nacl", L"„nacl“: символът започва с главна буква — NaCl?"},
      {L"H2o", L"„o“: символът започва с главна буква — O?"},
      {L"Ca(OH2", L"Скобата „(“ на позиция 3 не е затворена"},
      {L"Ca(OH]2", L"Скобата „]“ на позиция 6 не затваря „(“ на позиция 3."},
      {L"CaOH)2", L"Скобата „)“ на позиция 5 няма отваряща."},
      {L"Ca()2", L"Скобите на позиция 3 са празни."},
      {L"H0", L"Броят „0“ на позиция 2 трябва да е от 1 до 9999."},
      {L"H10000", L"Броят „10000“ на позиция 2 трябва да е от 1 до 9999."},
      {L"0H2O", L"Броят „0“ на позиция 1 трябва да е от 1 до 9999."},
      {L"Fe3+", L"„3+“ на позиция 3: зарядът не се отделя от броя — пишете го след интервал или „^“ (Fe^3+, NO3^-)."},
      {L"СО2", L"Знакът „С“ на позиция 1 е буква на кирилица: символите се пишат с латински букви."},
      {L"H2O%", L"Непознат знак „%“ на позиция 4."},
      {L"CuSO4·", L"След „·“ на позиция 6 липсва част от формулата."},
      {L"·H2O", L"Преди „·“ на позиция 1 липсва част от формулата."},
      {L"(H2O·H2O)", L"Знакът „·“ на позиция 5 свързва части на формулата и не може да е в скоби."},
      {L"(2H)", L"Числото на позиция 2 не стои след символ или скоба."},
  };
  for (const auto& [text, message] : cases) {
    const Formula f = Read(text);
    EXPECT_EQ(f.error, message) << text;
    EXPECT_TRUE(f.rows.empty() && f.total == 0) << text;
  }
  EXPECT_EQ(Read(std::wstring(201, L'H')).error, L"Формулата е по-дълга от 200 знака.");
  EXPECT_EQ(Mr(std::wstring(200, L'H')), L"201,60");
  EXPECT_EQ(Read(std::wstring(17, L'(') + L"H" + std::wstring(17, L')')).error,
            L"Скобите са вложени по-дълбоко от 16 нива на позиция 17.");
  EXPECT_TRUE(Read(std::wstring(16, L'(') + L"H" + std::wstring(16, L')')).Ok());
  // Counts that multiply past any real substance are refused, not wrapped.
  std::wstring huge = L"H9999";
  for (int i = 0; i < 8; ++i) huge = L"(" + huge + L")9999";
  EXPECT_EQ(Read(huge).error, L"Формулата дава твърде голяма маса: над 10 000 000 000 g/mol.");
  EXPECT_FALSE(Read(L"   ").Ok());
  EXPECT_TRUE(Read(L"   ").error.empty());
  // A long lower-case run with many splits but no reading (the "q" at the
  // end) is answered at once: the search for fixes once took minutes.
  std::wstring splits;
  for (int i = 0; i < 30; ++i) splits += L"nac";
  EXPECT_EQ(Read(splits + L"q").error, L"„" + splits + L"q“: символът започва с главна буква.");
}

TEST(Formula, CopiedAsTheResultLineAndATabSeparatedTable) {
  const Formula f = Read(L"Ca(OH)2");
  EXPECT_EQ(viewer::ResultClipboardText(f, Elements()),
            L"M(Ca(OH)2) = 74,09 g/mol\r\n"
            L"Елемент\tИме\tАтоми\tAr\tAr · атоми\tω\r\n"
            L"Ca\tКалций\t1\t40,078\t40,078\t54,09 %\r\n"
            L"O\tКислород\t2\t15,999\t31,998\t43,19 %\r\n"
            L"H\tВодород\t2\t1,008\t2,016\t2,72 %\r\n");
}

}  // namespace
