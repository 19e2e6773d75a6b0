// The quiz's content on the database the program ships: the variants a
// teacher hands out, the pools they are drawn from, how answers are judged,
// and the printed pages.
#include "viewer/quiz.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/viewer/vrakel_records.h"
#include "viewer/quiz_sheet.h"

namespace {

using viewer::QuizKind;
using viewer::QuizSet;

std::vector<int> Numbers(const std::vector<viewer::QuizElement>& elements) {
  std::vector<int> out;
  for (const auto& e : elements) out.push_back(e.atomic_number);
  return out;
}

std::vector<viewer::QuizElement> Pool(QuizSet set) {
  return viewer::QuizPool(set, testing_viewer::VrakelFile::Get().TileRecords());
}

// The published first questions: a teacher's list must stay what it was in
// every later version. Computed apart from this program, by a few lines of
// Python doing the same (SplitMix64 seeded with the variant; Fisher–Yates
// from the last place down, j = next() % (i + 1), over the atomic numbers
// 1–112 and 114 in order), so the pool's members and order are checked too.
TEST(VariantQuestions, MatchThePublishedTableForAllElements) {
  const auto all = Pool(QuizSet::kAll);
  for (const auto& [variant, first_ten] : std::vector<std::pair<int, std::vector<int>>>{
           {1, {68, 53, 66, 38, 70, 5, 93, 31, 62, 17}},
           {4711, {37, 97, 4, 23, 54, 27, 2, 9, 101, 102}},
           {99999, {27, 39, 5, 69, 98, 87, 99, 38, 89, 65}}})
    EXPECT_EQ(Numbers(viewer::VariantQuestions(all, variant, 10)), first_ten) << "variant " << variant;
  // The e2e walk's five: variant 4711 over the first twenty (same script).
  EXPECT_EQ(Numbers(viewer::VariantQuestions(Pool(QuizSet::kFirst20), 4711, 5)), (std::vector<int>{1, 12, 5, 7, 2}));
  // Never more than the pool.
  EXPECT_EQ(viewer::VariantQuestions(all, 4711, 500).size(), all.size());
}

// Groups 1, 2 and 13–18 down to the last row that has records.
TEST(QuizPool, MainGroupsLeaveOutTheTransitionMetalsAndTheFBlock) {
  std::vector<std::wstring> symbols;
  for (const auto& e : Pool(QuizSet::kMainGroups)) symbols.push_back(e.symbol);
  EXPECT_EQ(symbols.size(), 45u);
  for (const wchar_t* in : {L"H", L"He", L"Na", L"Ba", L"Al", L"Tl", L"Uuq", L"Po", L"At", L"Rn"})
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), in), symbols.end()) << in;
  for (const wchar_t* out : {L"Sc", L"Fe", L"Zn", L"La", L"U", L"Lu", L"Uub"})
    EXPECT_EQ(std::find(symbols.begin(), symbols.end(), out), symbols.end()) << out;
}

TEST(RightAnswer, SymbolsByCaseNamesByLettersWhatWasTypedKeptTrimmed) {
  const viewer::QuizElement fe{25, 26, L"Fe", L"Желязо"};
  for (const wchar_t* right : {L"Fe", L" Fe "})
    EXPECT_TRUE(viewer::RightAnswer(QuizKind::kWriteSymbol, fe, right)) << right;
  for (const wchar_t* wrong : {L"fe", L"FE", L"F e", L"Fe2", L""})
    EXPECT_FALSE(viewer::RightAnswer(QuizKind::kWriteSymbol, fe, wrong)) << wrong;
  for (const wchar_t* right : {L"Желязо", L"желязо", L"ЖЕЛЯЗО", L"  жЕлЯзО\t"})
    EXPECT_TRUE(viewer::RightAnswer(QuizKind::kWriteName, fe, right)) << right;
  for (const wchar_t* wrong : {L"Желяз", L"Же лязо", L"Zhelyazo", L"Fe"})
    EXPECT_FALSE(viewer::RightAnswer(QuizKind::kWriteName, fe, wrong)) << wrong;

  // The kinds neither the window's tests nor the e2e walk ask.
  EXPECT_EQ(viewer::QuestionText(QuizKind::kFindByNumber, fe), L"Къде е елементът с атомен номер 26?");
  EXPECT_EQ(viewer::QuestionText(QuizKind::kWriteName, fe), L"Кое е името на Fe?");

  // A written mistake keeps what was typed, trimmed.
  viewer::QuizRun typed(QuizKind::kWriteSymbol, 7, {fe});
  EXPECT_FALSE(typed.AnswerTyped(L" fe "));
  EXPECT_EQ(viewer::MistakeText(typed.Kind(), typed.Answers()[0]), L"Кой е символът на Желязо? Отговор: fe. Вярно: Fe.");
}

TEST(VariantSheets, QuestionsWithLinesOverTheTableThenTheKey) {
  const auto questions = viewer::VariantQuestions(Pool(QuizSet::kAll), 4711, 30);
  kit::Form form("table");
  kit::Label tile(form, "lbl_Rb");
  tile.bounds = {240, 3180, 615, 495};
  viewer::SheetContent table;
  table.controls = {&tile};
  auto pages = viewer::VariantSheets(QuizKind::kFindByName, 4711, questions, table);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].controls, table.controls);
  ASSERT_EQ(pages[0].texts.size(), 30u);
  EXPECT_EQ(pages[0].texts[0].text, L"1. Къде е Рубидий? ____________________");
  // Below the table, in two columns that do not overlap.
  EXPECT_GT(pages[0].texts[0].bounds.top, tile.bounds.Bottom());
  EXPECT_EQ(pages[0].texts[15].bounds.top, pages[0].texts[0].bounds.top);
  EXPECT_GE(pages[0].texts[15].bounds.left, pages[0].texts[0].bounds.Right());
  EXPECT_TRUE(pages[1].controls.empty());
  EXPECT_EQ(pages[1].texts[1].text, L"2. Bk (Берклий)");

  // Written answers: no table to give them away, only the symbol in the key.
  pages = viewer::VariantSheets(QuizKind::kWriteSymbol, 4711, {questions[0]}, table);
  EXPECT_TRUE(pages[0].controls.empty());
  EXPECT_EQ(pages[1].texts[0].text, L"1. Rb");
}

}  // namespace
