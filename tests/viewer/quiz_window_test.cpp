// The quiz window with the table: a variant walked from Ctrl+U to the end
// page and its mistakes asked again, answers in the table and in the text
// box, the blank table, and Esc putting the table back as it was.
#include "viewer/quiz_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/accessibility.h"
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

TEST(QuizWindow, SetUpPageOffersTheKindsInTabOrderWithAFreshVariant) {
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
  EXPECT_EQ(quiz->beside, &v.form);
  EXPECT_EQ(quiz->caption, L"Упражнение");
  EXPECT_EQ(quiz->Focused(), &quiz->cbo_kind);
  EXPECT_EQ(quiz->cbo_kind.Text(), L"Намери елемента по име");
  EXPECT_EQ(quiz->cbo_elements.Text(), L"Всички");
  EXPECT_EQ(quiz->txt_count.text, L"10");
  std::vector<std::string> order;
  for (kit::Control* c : kit::TabOrder(*quiz)) order.push_back(c->Name());
  EXPECT_EQ(order, (std::vector<std::string>{"cbo_kind", "cbo_elements", "txt_count", "txt_variant", "btn_start",
                                             "btn_print"}));
  EXPECT_EQ(kit::Describe(*quiz, quiz->txt_variant).name, L"Вариант");
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

TEST(QuizWindow, AVariantOnTheTableFromQuestionToMistakesAskedAgain) {
  Viewer v;
  kit::Click(*v.form.Tile("Fe"));
  ASSERT_EQ(v.form.txt_name.text, L"Желязо");
  viewer::QuizWindow& quiz = v.SetUp(0, 0, L"5", L"4711");
  const unsigned table_activations = v.form.activate_request;
  kit::KeyDown(quiz, kit::Key::kEnter);   // the set-up page's default action
  ASSERT_EQ(quiz.Shown(), Page::kQuestion);
  // The table takes the activation and the focus is on a tile; the panel
  // can give nothing away.
  EXPECT_GT(v.form.activate_request, table_activations);
  EXPECT_EQ(v.form.Focused()->Name().substr(0, 4), "lbl_");
  EXPECT_EQ(v.form.txt_name.text, L"");
  EXPECT_FALSE(quiz.txt_answer.visible);
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Водород?");
  EXPECT_EQ(quiz.lbl_progress.caption, L"Въпрос 1 от 5");
  EXPECT_TRUE(v.Alerted(quiz.lbl_question));

  v.ClickTile("H");
  EXPECT_EQ(quiz.lbl_feedback.caption, L"Вярно!");
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
  EXPECT_EQ(quiz.lbl_feedback.caption, L"Грешно: Магнезий е Mg");
  EXPECT_TRUE(v.Ringed("Mg"));   // the right tile, not the one chosen
  // Enter in the quiz window moves on at once; the timer goes with it.
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Бор?");
  EXPECT_TRUE(v.headless.platform.timers.empty());
  // Enter on a focused tile is its click.
  v.form.SetFocus(v.form.Tile("B"));
  kit::KeyDown(v.form, kit::Key::kEnter);
  v.headless.platform.RunTimers();
  v.ClickTile("O");
  v.headless.platform.RunTimers();
  const unsigned quiz_activations = quiz.activate_request;
  v.ClickTile("He");
  v.headless.platform.RunTimers();

  ASSERT_EQ(quiz.Shown(), Page::kEnd);
  EXPECT_GT(quiz.activate_request, quiz_activations);   // the end page takes the activation back
  EXPECT_EQ(quiz.lbl_result.caption, L"Резултат: 3 от 5 (вариант 4711)");
  EXPECT_EQ(kit::Describe(quiz, quiz.lst_mistakes).role, kit::Role::kList);
  ASSERT_EQ(quiz.MistakeItems().size(), 2u);
  EXPECT_EQ(kit::Describe(quiz, *quiz.MistakeItems()[1]).role, kit::Role::kListItem);
  EXPECT_EQ(quiz.MistakeItems()[1]->caption, L"Къде е Азот? Отговор: O (Кислород). Вярно: N (Азот).");
  // After the quiz a tile shows its element again.
  v.ClickTile("Fe");
  EXPECT_EQ(v.form.txt_name.text, L"Желязо");

  EXPECT_EQ(quiz.Focused(), &quiz.btn_repeat);
  kit::KeyDown(quiz, kit::Key::kEnter);
  ASSERT_EQ(quiz.Shown(), Page::kQuestion);
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Магнезий?");
  EXPECT_EQ(quiz.lbl_progress.caption, L"Въпрос 1 от 2");
  v.ClickTile("Mg");
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_question.caption, L"Къде е Азот?");
  v.ClickTile("N");
  kit::KeyDown(quiz, kit::Key::kEnter);
  EXPECT_EQ(quiz.lbl_result.caption, L"Резултат: 2 от 2 (вариант 4711)");
  EXPECT_TRUE(quiz.MistakeItems().empty());
  kit::Click(quiz.btn_new);
  EXPECT_EQ(quiz.Shown(), Page::kSetUp);
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
    pages = p;
    done.push_back(std::wstring(how) + (fe.caption_shown ? L" with symbols" : L" blank"));
  }
  const kit::Label& fe;
  std::vector<viewer::SheetContent> pages;
  std::vector<std::wstring> done;
};

TEST(QuizWindow, TheVariantPrintsAndSavesAsTwoPagesOverTheBlankTable) {
  Viewer v;
  Pages out(*v.form.Tile("Fe"));
  v.form.SetSheetOutput(&out);
  viewer::QuizWindow& quiz = v.SetUp(0, 3, L"10", L"4711");
  kit::Click(quiz.btn_print);
  EXPECT_TRUE(kit::Shortcut(quiz, L'S'));
  EXPECT_EQ(out.done, (std::vector<std::wstring>{L"print blank", L"save blank"}));
  EXPECT_TRUE(v.form.Tile("Fe")->caption_shown);
  ASSERT_EQ(out.pages.size(), 2u);
  EXPECT_EQ(out.pages[0].title, L"Упражнение – вариант 4711");
  const auto& drawn = out.pages[0].controls;
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), v.form.Tile("Fe")), drawn.end());
  EXPECT_EQ(out.pages[1].texts[0].text, L"1. Rb (Рубидий)");
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
