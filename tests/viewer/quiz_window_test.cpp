// The quiz window with the table: the set-up page's checks, the pause and the
// ring after an answer, answers in the text box, the pages, the blank table,
// and Esc putting the table back as it was.
#include "viewer/quiz_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/input.h"
#include "kit/platform.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

namespace {

using Page = viewer::QuizWindow::Page;

struct Viewer {
  Viewer() : form(engine, L"C:\\Zentrik") { form.Show(); }

  // Ctrl+U, then the set-up page filled in as a user would.
  viewer::QuizWindow& SetUp(int kind, int elements, const wchar_t* count, const wchar_t* variant) {
    EXPECT_TRUE(kit::Shortcut(form, L'U'));
    viewer::QuizWindow& quiz = *form.Quiz();
    quiz.cbo_kind.Select(kind);
    quiz.cbo_elements.Select(elements);
    quiz.txt_count.text = count;
    quiz.txt_variant.text = variant;
    return quiz;
  }
  void ClickTile(const char* symbol) { kit::Click(*form.Tile(symbol)); }
  bool Alerted(const kit::Control& c) const {
    const auto& alerts = headless.platform.alerts;
    return std::find(alerts.begin(), alerts.end(), &c) != alerts.end();
  }
  bool Ringed(const char* symbol) {
    const kit::Label& tile = *form.Tile(symbol);
    const kit::Control* top = form.Find("quiz_ring_0");
    return top && top->visible && tile.bounds.Contains(top->bounds.left, top->bounds.top);
  }
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form;
};

// The page's defaults, its tab order and a whole walk from the keyboard are
// the e2e test's; here what it does not reach.
TEST(QuizWindow, SetUpPageFromTheMenuWithAFreshVariantRefusesWhatIsOutOfRange) {
  Viewer v;
  // From the tiles' menu, in its group after the chart.
  v.headless.platform.menu_choice = [](const std::vector<kit::MenuItem>& items) {
    return static_cast<int>(std::find_if(items.begin(), items.end(), [](auto& i) { return i.text == L"Упражнение…"; }) -
                            items.begin());
  };
  kit::ContextMenuKey(v.form);
  viewer::QuizWindow* quiz = v.form.Quiz();
  ASSERT_NE(quiz, nullptr);
  EXPECT_EQ(v.headless.platform.menus.back().items.back().text, L"Упражнение…");
  // A fresh variant in range each time the page opens.
  const std::wstring first = quiz->txt_variant.text;
  v.headless.platform.tick_ms += 17;
  quiz->ShowSetUp();
  EXPECT_NE(quiz->txt_variant.text, first);
  EXPECT_TRUE(std::stoi(first) >= 1 && std::stoi(first) <= viewer::kMaxVariant) << first;

  // Out of range: told which, and left on the page with the box selected.
  for (auto [count, variant] : {std::pair{L"4", L"1"}, {L"21", L"1"}, {L"5", L"0"}, {L"5", L"100000"}, {L"5", L"12a"}}) {
    quiz->cbo_elements.Select(0);   // "Първите 20"
    quiz->txt_count.text = count;
    quiz->txt_variant.text = variant;
    kit::Click(quiz->btn_start);
    EXPECT_EQ(quiz->Shown(), Page::kSetUp) << count << " " << variant;
  }
  EXPECT_EQ(v.headless.platform.messages.size(), 5u);
  EXPECT_EQ(quiz->Focused(), &quiz->txt_variant);
  quiz->txt_variant.text = L" 99999 ";
  kit::Click(quiz->btn_start);
  EXPECT_EQ(quiz->Shown(), Page::kQuestion);
}

TEST(QuizWindow, AnAnswerRingsTheRightTileAndThePauseEndsByTimerOrEnter) {
  Viewer v;
  kit::Click(*v.form.Tile("Fe"));
  ASSERT_EQ(v.form.txt_name.text, L"Желязо");
  viewer::QuizWindow& quiz = v.SetUp(0, 0, L"5", L"4711");
  kit::KeyDown(quiz, kit::Key::kEnter);   // the set-up page's default action
  ASSERT_EQ(quiz.Shown(), Page::kQuestion);
  EXPECT_EQ(v.form.txt_name.text, L"");   // the panel can give nothing away
  EXPECT_TRUE(v.Alerted(quiz.lbl_question));

  v.ClickTile("H");
  EXPECT_TRUE(v.Alerted(quiz.lbl_feedback));
  EXPECT_TRUE(v.Ringed("H"));
  // During the pause the tiles answer nothing.
  v.ClickTile("Mg");
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
  for (const char* tile : {"B", "O"}) {
    v.ClickTile(tile);
    v.headless.platform.RunTimers();
  }
  const unsigned quiz_activations = quiz.activate_request;
  v.ClickTile("He");
  v.headless.platform.RunTimers();
  ASSERT_EQ(quiz.Shown(), Page::kEnd);
  EXPECT_GT(quiz.activate_request, quiz_activations);   // the end page takes the activation back
  // After the quiz a tile shows its element again.
  v.ClickTile("Fe");
  EXPECT_EQ(v.form.txt_name.text, L"Желязо");
}

TEST(QuizWindow, WrittenAnswersAreJudgedInTheWindowAndTheTableTakesNone) {
  Viewer v;
  viewer::QuizWindow& quiz = v.SetUp(2, 0, L"5", L"4711");   // "Напиши символа"
  kit::Click(quiz.btn_start);
  EXPECT_EQ(quiz.lbl_question.caption, L"Кой е символът на Водород?");
  EXPECT_EQ(quiz.Focused(), &quiz.txt_answer);
  v.ClickTile("H");
  EXPECT_EQ(quiz.Run()->Answered(), 0);
  EXPECT_EQ(v.form.txt_name.text, L"");
  quiz.txt_answer.text = L"h";
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_feedback.caption, L"Грешно: Водород е H");
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_question.caption, L"Кой е символът на Магнезий?");
  EXPECT_EQ(quiz.txt_answer.text, L"");
}

// Prints and saves the pages, noting whether Fe's tile showed its symbol.
struct Pages : viewer::SheetOutput {
  explicit Pages(const kit::Label& fe) : fe(fe) {}
  void Copy(const viewer::SheetContent&) override {}
  void Save(const viewer::SheetContent&) override {}
  void Print(const viewer::SheetContent&) override {}
  void SavePages(const std::vector<viewer::SheetContent>& p) override { Take(p, L"save"); }
  void PrintPages(const std::vector<viewer::SheetContent>& p) override { Take(p, L"print"); }
  void Take(const std::vector<viewer::SheetContent>& p, const wchar_t* how) {
    done.push_back(std::wstring(how) + L" " + std::to_wstring(p.size()) +
                   (fe.caption_shown ? L" with symbols" : L" blank"));
  }
  const kit::Label& fe;
  std::vector<std::wstring> done;
};

TEST(QuizWindow, TheVariantPrintsAndSavesAsTwoPagesOverTheBlankTable) {
  Viewer v;
  Pages out(*v.form.Tile("Fe"));
  v.form.SetSheetOutput(&out);
  viewer::QuizWindow& quiz = v.SetUp(0, 3, L"10", L"4711");
  kit::Click(quiz.btn_print);
  EXPECT_TRUE(kit::Shortcut(quiz, L'S'));
  EXPECT_EQ(out.done, (std::vector<std::wstring>{L"print 2 blank", L"save 2 blank"}));
  EXPECT_TRUE(v.form.Tile("Fe")->caption_shown);
  // Not while the questions are asked.
  kit::Click(quiz.btn_start);
  EXPECT_FALSE(kit::Shortcut(quiz, L'P'));
  EXPECT_EQ(out.done.size(), 2u);
}

TEST(QuizWindow, TheBlankTableHidesSymbolsAndTypingUntilEscPutsItBack) {
  Viewer v;
  v.form.SetFocus(v.form.Tile("H"));
  EXPECT_TRUE(kit::Char(v.form, L'ж'));   // by name, before the quiz
  EXPECT_EQ(v.form.Focused(), v.form.Tile("Fe"));

  viewer::QuizWindow& quiz = v.SetUp(1, 3, L"10", L"1");   // by symbol, everything
  kit::Click(quiz.btn_start);
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Er?");
  EXPECT_FALSE(v.form.Tile("Fe")->caption_shown);
  EXPECT_FALSE(kit::Char(v.form, L'c'));   // typing finds nothing
  EXPECT_EQ(v.form.Focused(), v.form.Tile("Fe"));
  kit::KeyDown(v.form, kit::Key::kRight);   // the arrows still move
  EXPECT_EQ(v.form.Focused(), v.form.Tile("Co"));
  v.ClickTile("Er");
  EXPECT_TRUE(v.Ringed("Er"));

  kit::Dispatch([&] { kit::KeyDown(quiz, kit::Key::kEscape); });
  EXPECT_EQ(v.form.Quiz(), nullptr);
  EXPECT_TRUE(v.headless.platform.timers.empty());
  EXPECT_TRUE(v.form.Tile("Fe")->caption_shown);
  EXPECT_FALSE(v.Ringed("Er"));
  v.form.SetFocus(v.form.Tile("H"));
  EXPECT_TRUE(kit::Char(v.form, L'ж'));
  EXPECT_EQ(v.form.Focused(), v.form.Tile("Fe"));

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
  EXPECT_FALSE(v.form.Tile("Fe")->caption_shown);
}

}  // namespace
