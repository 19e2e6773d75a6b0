#include "viewer/quiz_window.h"

#include <algorithm>

#include "kit/input.h"
#include "kit/platform.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr kit::Color kRightInk = kit::Rgb(0x00, 0x70, 0x20);
constexpr kit::Color kWrongInk = kit::Rgb(0xB0, 0x00, 0x00);

// Twips. Narrow, so that beside the table on a small screen it covers as
// few tiles as it can: everything stands in one column.
constexpr int kWidth = 3480, kMargin = 180, kInner = kWidth - 2 * kMargin, kPageHeight = 4140;
// A mistake's item wraps; its lines are reckoned from its length at about
// this many characters a line.
constexpr int kItemChars = 30, kItemLine = 200;

constexpr wchar_t kTitle[] = L"Упражнение";

// "4711" as a whole number, or nothing; spaces around it are allowed.
std::optional<int> WholeNumber(const std::wstring& text) {
  int value = 0, digits = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9' && digits < 7; ++i, ++digits)
    value = value * 10 + (text[i] - L'0');
  while (i < text.size() && text[i] == L' ') ++i;
  if (digits == 0 || i != text.size()) return std::nullopt;
  return value;
}

void Place(kit::Label& label, const wchar_t* caption, kit::Rect bounds, kit::Font font) {
  label.caption = caption;
  label.bounds = bounds;
  label.font = std::move(font);
  label.fore_color = kInk;
  label.transparent = true;
}

void MakeButton(kit::Label& button, const wchar_t* caption, kit::Rect bounds, int tab) {
  Place(button, caption, bounds, Verdana(8.25, true));
  button.transparent = false;
  button.back_color = kit::kButtonFace;
  button.fore_color = kit::kButtonText;
  button.border = true;
  button.alignment = kit::Align::kCenter;
  button.tab_index = tab;
}

// A variant nobody chose: a different one each time the page opens.
int FreshVariant() {
  static std::uint64_t calls = 0;
  SplitMix64 mix(kit::CurrentPlatform().TickMs() * 1000 + ++calls);
  return static_cast<int>(mix.Next() % kMaxVariant) + 1;
}

}  // namespace

QuizWindow::QuizWindow(const std::vector<TileRecord>& records, Links links)
    : kit::Form("form_quiz"), records_(records), links_(std::move(links)) {
  framed = true;
  caption = kTitle;
  back_color = kPaper;
  font = Verdana(8.25, false);
  icon = L"TABLE";
  SetSize(kWidth, kPageHeight);

  struct Field {
    kit::Label& label;
    const wchar_t* caption;
    kit::Control& field;
  };
  const Field fields[] = {{lbl_kind, L"Вид", cbo_kind},
                          {lbl_elements, L"Елементи", cbo_elements},
                          {lbl_count, L"Брой въпроси", txt_count},
                          {lbl_variant, L"Вариант", txt_variant}};
  int tab = 0, top = kMargin;
  for (const Field& f : fields) {
    Place(f.label, f.caption, {kMargin, top, kInner, 255}, font);
    f.field.bounds = {kMargin, top + 270, f.field.Kind() == kit::ControlKind::kComboBox ? kInner : 1200, 315};
    f.field.tab_index = tab++;
    f.field.labelled_by = &f.label;
    top += 690;
  }
  for (QuizKind k : kQuizKinds) cbo_kind.items.emplace_back(CaptionOf(k));
  for (QuizSet s : kQuizSets) cbo_elements.items.emplace_back(CaptionOf(s));
  cbo_kind.font = cbo_elements.font = txt_count.font = txt_variant.font = font;
  MakeButton(btn_start, L"Започни", {kMargin, top + 60, kInner, 405}, tab++);
  MakeButton(btn_print, L"Печат на варианта…", {kMargin, top + 570, kInner, 405}, tab++);
  btn_start.on_click = [this] {
    if (auto questions = SetUpQuestions(true)) Begin(QuizRun(ChosenKind(), SetUpVariant(), *questions));
  };
  btn_print.on_click = [this] {
    if (on_pages) on_pages(true);
  };

  Place(lbl_progress, L"", {kMargin, kMargin, 1920, 255}, Verdana(8.25, true));
  Place(lbl_score, L"", {kWidth - kMargin - 1320, kMargin, 1320, 255}, Verdana(8.25, true));
  lbl_score.alignment = kit::Align::kRight;
  Place(lbl_question, L"", {kMargin, 555, kInner, 1020}, Verdana(12, true));
  lbl_question.word_wrap = true;
  Place(lbl_answer, L"Отговор", {kMargin, 1680, 960, 255}, font);
  txt_answer.bounds = {kMargin + 1000, 1635, kInner - 1000, 315};
  txt_answer.font = Verdana(10, false);
  txt_answer.labelled_by = &lbl_answer;
  txt_answer.tab_index = 0;
  txt_answer.on_enter = [this] {
    if (pausing_) Next();
    else if (page_ == Page::kQuestion && run_ && !run_->Finished()) Answered(run_->AnswerTyped(txt_answer.text));
  };
  Place(lbl_feedback, L"", {kMargin, 2130, kInner, 900}, Verdana(10, true));
  lbl_feedback.word_wrap = true;
  // Readers speak both as they change: the pupil may be in the table.
  lbl_question.role = kit::Role::kAlert;
  lbl_feedback.role = kit::Role::kAlert;

  Place(lbl_result, L"", {kMargin, kMargin, kInner, 600}, Verdana(11, true));
  lbl_result.word_wrap = true;
  Place(lst_mistakes, L"", {kMargin, 900, kInner, 255}, Verdana(8.25, true));
  lst_mistakes.role = kit::Role::kList;
  MakeButton(btn_repeat, L"Повтори грешните", {kMargin, 0, kInner, 405}, 1);
  MakeButton(btn_new, L"Ново упражнение", {kMargin, 0, kInner, 405}, 2);
  btn_repeat.on_click = [this] {
    if (run_ && !run_->Mistakes().empty()) Begin(run_->Repeat());
  };
  btn_new.on_click = [this] { ShowSetUp(); };

  on_key = [this](kit::Key key, int) { return HandleKey(key); };
  on_close_request = [this] { Close(); };
  // The pages of the variant set up; while it is taken they are not the
  // pupil's to see.
  on_shortcut = [this](wchar_t letter) {
    if (page_ != Page::kSetUp || !on_pages || (letter != L'S' && letter != L'P')) return false;
    on_pages(letter == L'P');
    return true;
  };
  cbo_kind.SetIndex(0);
  cbo_elements.SetIndex(static_cast<int>(kQuizSets.size()) - 1);
  txt_count.text = std::to_wstring(kDefaultQuestions);
  ShowSetUp();
}

// The items go before the form they registered with.
QuizWindow::~QuizWindow() {
  if (timer_) kit::CurrentPlatform().CancelTimer(timer_);
  on_focus_change = nullptr;
  mistake_items_.clear();
}

QuizKind QuizWindow::ChosenKind() const {
  return kQuizKinds[static_cast<size_t>(std::clamp(cbo_kind.ListIndex(), 0, static_cast<int>(kQuizKinds.size()) - 1))];
}

int QuizWindow::SetUpVariant() const { return WholeNumber(txt_variant.text).value_or(0); }

std::optional<std::vector<QuizElement>> QuizWindow::SetUpQuestions(bool tell_user) {
  const QuizSet set =
      kQuizSets[static_cast<size_t>(std::clamp(cbo_elements.ListIndex(), 0, static_cast<int>(kQuizSets.size()) - 1))];
  std::vector<QuizElement> pool = QuizPool(set, records_);
  const int most = std::min(kMaxQuestions, static_cast<int>(pool.size()));
  const auto count = WholeNumber(txt_count.text);
  const auto variant = WholeNumber(txt_variant.text);
  kit::TextBox* wrong = nullptr;
  std::wstring why;
  if (!count || *count < kMinQuestions || *count > most) {
    wrong = &txt_count;
    why = L"Броят на въпросите е от " + std::to_wstring(kMinQuestions) + L" до " + std::to_wstring(most) + L".";
  } else if (!variant || *variant < 1 || *variant > kMaxVariant) {
    wrong = &txt_variant;
    why = L"Вариантът е число от 1 до " + std::to_wstring(kMaxVariant) + L".";
  }
  if (wrong) {
    if (tell_user) {
      kit::CurrentPlatform().MessageBox(why, kTitle);
      SetFocus(wrong);
      wrong->Select(0, static_cast<int>(wrong->text.size()));
    }
    return std::nullopt;
  }
  return VariantQuestions(std::move(pool), *variant, *count);
}

void QuizWindow::ShowSetUp() {
  if (page_ == Page::kQuestion && links_.end) links_.end();
  run_.reset();
  txt_variant.text = std::to_wstring(FreshVariant());
  ShowPage(Page::kSetUp);
  initial_focus = &cbo_kind;
  SetFocus(&cbo_kind);
}

void QuizWindow::Begin(QuizRun run) {
  const bool on_table = FindsTile(run.Kind());
  run_.emplace(std::move(run));
  if (page_ != Page::kQuestion && links_.begin) links_.begin(run_->Kind() == QuizKind::kFindBySymbol);
  ShowPage(Page::kQuestion);
  lbl_answer.visible = txt_answer.visible = !on_table;
  Say(lbl_feedback, L"");
  Ask();
  if (on_table) {
    SetFocus(nullptr);
    if (links_.to_table) links_.to_table();
  } else {
    SetFocus(&txt_answer);
  }
}

void QuizWindow::Ask() {
  pausing_ = false;
  lbl_progress.caption =
      L"Въпрос " + std::to_wstring(run_->Answered() + 1) + L" от " + std::to_wstring(run_->Count());
  lbl_score.caption = L"Верни: " + std::to_wstring(run_->RightCount());
  txt_answer.text.clear();
  Say(lbl_question, QuestionText(run_->Kind(), run_->Current()));
}

void QuizWindow::Answered(bool right) {
  const QuizAnswer& last = run_->Answers().back();
  pausing_ = true;
  lbl_score.caption = L"Верни: " + std::to_wstring(run_->RightCount());
  lbl_feedback.fore_color = right ? kRightInk : kWrongInk;
  Say(lbl_feedback, Verdict(right, last.asked));
  if (links_.mark) links_.mark(last.asked.tile);
  if (timer_) kit::CurrentPlatform().CancelTimer(timer_);
  timer_ = kit::CurrentPlatform().StartTimer(kPauseMs, [this] {
    timer_ = 0;
    Next();
  });
}

void QuizWindow::Next() {
  if (!pausing_) return;
  if (timer_) kit::CurrentPlatform().CancelTimer(timer_);
  timer_ = 0;
  if (links_.mark) links_.mark(-1);
  if (run_->Finished()) ShowEnd();
  else Ask();
}

void QuizWindow::ShowEnd() {
  pausing_ = false;
  if (links_.end) links_.end();
  lbl_result.caption = ResultText(*run_);
  const std::vector<QuizAnswer> mistakes = run_->Mistakes();
  lst_mistakes.caption = mistakes.empty() ? L"Без грешки" : L"Грешки";
  mistake_items_.clear();
  int top = lst_mistakes.bounds.Bottom() + 60;
  for (size_t i = 0; i < mistakes.size(); ++i) {
    auto item = std::make_unique<kit::Label>(*this, "mistake_" + std::to_string(i + 1));
    const std::wstring text = MistakeText(run_->Kind(), mistakes[i]);
    const int height = static_cast<int>((text.size() + kItemChars - 1) / kItemChars) * kItemLine + 60;
    Place(*item, L"", {kMargin + 120, top, kInner - 120, height}, font);
    item->caption = text;
    item->word_wrap = true;
    item->role = kit::Role::kListItem;
    // One stop for the list, the arrows walk it; the click only holds the focus there.
    item->tab_index = 0;
    item->tab_group = 1;
    item->on_click = [] {};
    top += height;
    mistake_items_.push_back(std::move(item));
  }
  btn_repeat.bounds.top = top + 180;
  btn_new.bounds.top = top + 690;
  btn_repeat.enabled = !mistakes.empty();
  SetHeight(std::max(kPageHeight, btn_new.bounds.Bottom() + kMargin));
  ShowPage(Page::kEnd);
  SetFocus(mistakes.empty() ? &btn_new : &btn_repeat);
  initial_focus = Focused();
  // Back from the table, where the last answer may have been given.
  Activate();
}

void QuizWindow::ShowPage(Page page) {
  page_ = page;
  for (kit::Control* c : std::initializer_list<kit::Control*>{&lbl_kind, &cbo_kind, &lbl_elements, &cbo_elements,
                                                                &lbl_count, &txt_count, &lbl_variant, &txt_variant,
                                                                &btn_start, &btn_print})
    c->visible = page == Page::kSetUp;
  for (kit::Control* c : std::initializer_list<kit::Control*>{&lbl_progress, &lbl_score, &lbl_question, &lbl_answer,
                                                                &txt_answer, &lbl_feedback})
    c->visible = page == Page::kQuestion;
  for (kit::Control* c : std::initializer_list<kit::Control*>{&lbl_result, &lst_mistakes, &btn_repeat, &btn_new})
    c->visible = page == Page::kEnd;
  if (page != Page::kEnd) {
    mistake_items_.clear();
    SetHeight(kPageHeight);
  }
  default_action = page == Page::kSetUp ? &btn_start : nullptr;
}

void QuizWindow::Say(kit::Label& label, std::wstring text) {
  label.caption = std::move(text);
  if (!label.caption.empty() && kit::Shown(label)) kit::CurrentPlatform().Alert(label);
}

void QuizWindow::Close() {
  if (timer_) kit::CurrentPlatform().CancelTimer(timer_);
  timer_ = 0;
  if (page_ == Page::kQuestion) {
    if (links_.mark) links_.mark(-1);
    if (links_.end) links_.end();
  }
  page_ = Page::kSetUp;
  if (links_.close) links_.close();
}

bool QuizWindow::HandleKey(kit::Key key) {
  if (key == kit::Key::kEscape) {
    Close();
    return true;
  }
  // Enter moves on at once, wherever the focus is in this window.
  if (key == kit::Key::kEnter && pausing_) {
    Next();
    return true;
  }
  return false;
}

bool QuizWindow::TakeTile(int tile) {
  if (page_ != Page::kQuestion) return false;
  if (!pausing_ && FindsTile(run_->Kind()) && !run_->Finished())
    Answered(run_->AnswerTile(QuizElementOf(tile, records_)));
  return true;
}

}  // namespace viewer
