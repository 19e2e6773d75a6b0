// The quiz window "Упражнение": a framed window beside the table with three
// pages. The set-up page picks the kind, the elements, the number of
// questions and the variant; the question page asks, takes the answer
// typed here or given on the table (a tile), says whether it was right and
// moves on two seconds later; the end page gives the result and the
// mistakes, and asks the mistakes again.
//
// The window decides; the table only does what the links ask: empty its
// panel, hide its symbols, ring a tile, take the activation, and put its
// view back when the quiz is over.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "viewer/property_values.h"
#include "viewer/quiz.h"

namespace viewer {

class QuizWindow : public kit::Form {
 public:
  struct Links {
    // A run of questions starts: the table empties its panel, hides its
    // symbols when `blank`, and lets typing find symbols only (none when
    // blank).
    std::function<void(bool blank)> begin;
    // The run is over or left: the table shows what it showed before.
    std::function<void()> end;
    // Rings `tile` for a moment (-1: takes the ring away).
    std::function<void(int tile)> mark;
    // Hands the activation to the table, for an answer given there.
    std::function<void()> to_table;
    // The window asks to go away.
    std::function<void()> close;
  };
  // How long an answer's verdict stands before the next question.
  static constexpr int kPauseMs = 2000;

  // `records` in the tile table's order; they must outlive the window.
  QuizWindow(const std::vector<TileRecord>& records, Links links);
  ~QuizWindow() override;

  enum class Page { kSetUp, kQuestion, kEnd };
  Page Shown() const { return page_; }
  // The run under way or just ended; null on the set-up page.
  const QuizRun* Run() const { return run_ ? &*run_ : nullptr; }

  // A tile of the table was clicked or entered. While the questions run the
  // quiz takes every tile (true): an answer to a "Намери…" question, else
  // nothing at all.
  bool TakeTile(int tile);
  // The questions of the variant set up now; empty when a number is out of
  // range (the user is told which).
  std::optional<std::vector<QuizElement>> SetUpQuestions(bool tell_user);
  QuizKind ChosenKind() const;
  // The variant number typed, or 0 when it is not a number.
  int SetUpVariant() const;
  // The set-up page anew, with a fresh variant number.
  void ShowSetUp();

  // The set-up page, in tab order.
  kit::Label lbl_kind{*this, "lbl_kind"};
  kit::ComboBox cbo_kind{*this, "cbo_kind"};
  kit::Label lbl_elements{*this, "lbl_elements"};
  kit::ComboBox cbo_elements{*this, "cbo_elements"};
  kit::Label lbl_count{*this, "lbl_count"};
  kit::TextBox txt_count{*this, "txt_count"};
  kit::Label lbl_variant{*this, "lbl_variant"};
  kit::TextBox txt_variant{*this, "txt_variant"};
  kit::Label btn_start{*this, "btn_start"};
  kit::Label btn_print{*this, "btn_print"};
  // The question page.
  kit::Label lbl_progress{*this, "lbl_progress"};
  kit::Label lbl_score{*this, "lbl_score"};
  kit::Label lbl_question{*this, "lbl_question"};
  kit::Label lbl_answer{*this, "lbl_answer"};
  kit::TextBox txt_answer{*this, "txt_answer"};
  kit::Label lbl_feedback{*this, "lbl_feedback"};
  // The end page; the mistakes' items are made for each end.
  kit::Label lbl_result{*this, "lbl_result"};
  kit::Label lst_mistakes{*this, "lst_mistakes"};
  kit::Label btn_repeat{*this, "btn_repeat"};
  kit::Label btn_new{*this, "btn_new"};

  const std::vector<std::unique_ptr<kit::Label>>& MistakeItems() const { return mistake_items_; }

  // The set-up variant's pages are asked for: printed ("Печат на
  // варианта…", Ctrl+P) or saved (Ctrl+S).
  std::function<void(bool print)> on_pages;

 private:
  void Begin(QuizRun run);
  void Ask();
  void Answered(bool right);
  void Next();
  void ShowEnd();
  void ShowPage(Page page);
  void Say(kit::Label& label, std::wstring text);
  void Close();
  bool HandleKey(kit::Key key);

  const std::vector<TileRecord>& records_;
  Links links_;
  Page page_ = Page::kSetUp;
  std::optional<QuizRun> run_;
  bool pausing_ = false;   // between an answer and the next question
  unsigned timer_ = 0;
  std::vector<std::unique_ptr<kit::Label>> mistake_items_;
};

}  // namespace viewer
