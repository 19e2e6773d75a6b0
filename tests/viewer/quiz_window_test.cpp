// The quiz window with the table: the set-up page's checks, answers in the
// text box, the pause and the ring after an answer, the pages, the blank
// table, and Esc putting the table back as it was. The page's defaults, its
// tab order, a whole walk from the keyboard to the mistakes asked again and
// the printed variant are the e2e test's; here what it does not reach.
#include "viewer/quiz_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/copies.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

namespace {

using Page = viewer::QuizWindow::Page;

struct Viewer {
  Viewer() : form(engine, L"C:\\Zentrik") { form.Show(); }

  // Ctrl+U, then the set-up page filled in as a user would (the variant
  // left as offered when null).
  viewer::QuizWindow& SetUp(int kind, int elements, const wchar_t* count, const wchar_t* variant) {
    EXPECT_TRUE(kit::Shortcut(form, L'U'));
    viewer::QuizWindow& quiz = *form.Quiz();
    quiz.cbo_kind.Select(kind);
    quiz.cbo_elements.Select(elements);
    quiz.txt_count.text = count;
    if (variant) quiz.txt_variant.text = variant;
    return quiz;
  }
  void ClickTile(const char* symbol) { kit::Click(*form.Tile(symbol)); }
  bool Alerted(const kit::Control& c) const { return std::ranges::count(headless.platform.alerts, &c) > 0; }
  bool Ringed(const char* symbol) {
    const kit::Control* top = form.Find("quiz_ring_0");
    return top && top->visible && form.Tile(symbol)->bounds.Contains(top->bounds.left, top->bounds.top);
  }
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form;
};

TEST(QuizWindow, TheSetUpPageRefusesWhatIsOutOfRangeAndWrittenAnswersAreJudgedInTheWindow) {
  Viewer v;
  viewer::QuizWindow& quiz = v.SetUp(2, 0, L"5", nullptr);   // "Напиши символа", "Първите 20"
  // A fresh variant in range each time the page opens.
  const std::wstring first = quiz.txt_variant.text;
  EXPECT_TRUE(std::stoi(first) >= 1 && std::stoi(first) <= viewer::kMaxVariant) << first;
  v.headless.platform.tick_ms += 17;
  quiz.ShowSetUp();
  EXPECT_NE(quiz.txt_variant.text, first);

  // Out of range: told which, and left on the page with that box focused.
  for (auto [count, variant] : {std::pair{L"4", L"1"}, {L"21", L"1"}, {L"5", L"0"}, {L"5", L"100000"}, {L"5", L"12a"}}) {
    quiz.txt_count.text = count;
    quiz.txt_variant.text = variant;
    kit::Click(quiz.btn_start);
    EXPECT_EQ(quiz.Shown(), Page::kSetUp) << count << " " << variant;
  }
  EXPECT_EQ(v.headless.platform.messages.size(), 5u);
  EXPECT_EQ(quiz.Focused(), &quiz.txt_variant);
  quiz.txt_variant.text = L" 99999 ";   // Al, B, ... (the script of quiz_test.cpp)
  kit::Click(quiz.btn_start);

  // Written: asked and answered in the window; the table takes no answer
  // and shows nothing of its tiles.
  EXPECT_EQ(quiz.lbl_question.caption, L"Кой е символът на Алуминий?");
  EXPECT_EQ(quiz.Focused(), &quiz.txt_answer);
  v.ClickTile("Al");
  EXPECT_EQ(quiz.Run()->Answered(), 0);
  EXPECT_EQ(v.form.txt_name.text, L"");
  quiz.txt_answer.text = L"al";
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_feedback.caption, L"Грешно: Алуминий е Al");
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_question.caption, L"Кой е символът на Бор?");
  EXPECT_EQ(quiz.txt_answer.text, L"");
}

TEST(QuizWindow, AnAnswerRingsTheRightTileAndThePauseEndsByTimerOrEnter) {
  Viewer v;
  v.ClickTile("Fe");
  ASSERT_EQ(v.form.txt_name.text, L"Желязо");
  viewer::QuizWindow& quiz = v.SetUp(0, 0, L"5", L"4711");   // H, Mg, B, N, He
  kit::KeyDown(quiz, kit::Key::kEnter);   // the set-up page's default action
  ASSERT_EQ(quiz.Shown(), Page::kQuestion);
  EXPECT_EQ(v.form.txt_name.text, L"");   // the panel can give nothing away
  EXPECT_TRUE(v.Alerted(quiz.lbl_question));

  v.ClickTile("H");
  EXPECT_TRUE(v.Alerted(quiz.lbl_feedback));
  EXPECT_TRUE(v.Ringed("H"));
  v.ClickTile("Mg");   // during the pause the tiles answer nothing
  EXPECT_EQ(quiz.Run()->Answered(), 1);
  ASSERT_EQ(v.headless.platform.timers.size(), 1u);
  EXPECT_EQ(v.headless.platform.timers[0].ms, 2000);
  v.headless.platform.RunTimers();
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Магнезий?");
  EXPECT_EQ(quiz.lbl_feedback.caption, L"Вярно!");   // stays until the next answer
  EXPECT_FALSE(v.Ringed("H"));

  v.ClickTile("Na");
  EXPECT_TRUE(v.Ringed("Mg"));   // the right tile, not the one chosen
  // Enter in the quiz window moves on at once; the timer goes with it.
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Бор?");
  EXPECT_TRUE(v.headless.platform.timers.empty());
  for (const char* tile : {"B", "O", "He"}) {
    v.ClickTile(tile);
    v.headless.platform.RunTimers();
  }
  ASSERT_EQ(quiz.Shown(), Page::kEnd);
  v.ClickTile("Fe");   // after the quiz a tile shows its element again
  EXPECT_EQ(v.form.txt_name.text, L"Желязо");
}

// Notes each set of pages printed or saved, and whether Fe's tile showed its
// symbol as they were made.
struct Pages : Copies {
  explicit Pages(const kit::Label& fe) : fe(fe) {}
  void SavePages(const std::vector<viewer::SheetContent>& p) override { done.push_back(Note(L"save ", p)); }
  void PrintPages(const std::vector<viewer::SheetContent>& p) override { done.push_back(Note(L"print ", p)); }
  std::wstring Note(std::wstring how, const std::vector<viewer::SheetContent>& p) const {
    return how + std::to_wstring(p.size()) + (fe.caption_shown ? L" with symbols" : L" blank");
  }
  const kit::Label& fe;
  std::vector<std::wstring> done;
};

TEST(QuizWindow, TheVariantsPagesAndTheQuizHideSymbolsAndTypingUntilEscPutsThemBack) {
  Viewer v;
  kit::Label& fe = *v.form.Tile("Fe");
  Pages out(fe);
  v.form.SetSheetOutput(&out);
  viewer::QuizWindow& quiz = v.SetUp(1, 3, L"10", L"1");   // by symbol, everything
  EXPECT_TRUE(kit::Shortcut(quiz, L'P'));
  EXPECT_TRUE(kit::Shortcut(quiz, L'S'));
  EXPECT_EQ(out.done, (std::vector<std::wstring>{L"print 2 blank", L"save 2 blank"}));
  EXPECT_TRUE(fe.caption_shown);

  kit::Click(quiz.btn_start);
  EXPECT_FALSE(kit::Shortcut(quiz, L'P'));   // the pages are not the pupil's to see
  EXPECT_EQ(out.done.size(), 2u);
  v.form.SetFocus(&fe);
  EXPECT_FALSE(kit::Char(v.form, L'c'));   // typing finds nothing
  EXPECT_EQ(v.form.Focused(), &fe);
  kit::KeyDown(v.form, kit::Key::kRight);   // the arrows still move
  EXPECT_EQ(v.form.Focused(), v.form.Tile("Co"));
  v.ClickTile("Er");   // variant 1's first
  EXPECT_TRUE(v.Ringed("Er"));

  kit::Dispatch([&] { kit::KeyDown(quiz, kit::Key::kEscape); });
  EXPECT_EQ(v.form.Quiz(), nullptr);
  EXPECT_TRUE(v.headless.platform.timers.empty());
  EXPECT_FALSE(v.Ringed("Er"));
  v.form.SetFocus(v.form.Tile("H"));
  EXPECT_TRUE(kit::Char(v.form, L'ж'));   // by name again
  EXPECT_EQ(v.form.Focused(), &fe);

  // A table shown without symbols before stays so; by name, typing finds
  // symbols only.
  v.form.Trends().ShowSymbols(false);
  viewer::QuizWindow& again = v.SetUp(0, 3, L"10", L"1");
  kit::Click(again.btn_start);
  v.form.SetFocus(v.form.Tile("H"));
  v.headless.platform.tick_ms += 5000;
  EXPECT_TRUE(kit::Char(v.form, L'ж'));   // no symbol starts so: a beep
  EXPECT_EQ(v.form.Focused(), v.form.Tile("H"));
  EXPECT_TRUE(kit::Char(v.form, L'f'));
  EXPECT_EQ(v.form.Focused(), v.form.Tile("F"));
  kit::Dispatch(again.on_close_request);
  EXPECT_EQ(v.form.Quiz(), nullptr);
  EXPECT_FALSE(fe.caption_shown);
}

}  // namespace
