// The table's side of the quiz: it opens the window beside the table, lets
// it take the tiles' clicks while it asks, rings the tile of an answer, and
// hides and gives back what could give an answer away (the panel's values,
// the symbols, typing by name).
#include <algorithm>

#include "kit/color.h"
#include "kit/platform.h"
#include "viewer/form_main.h"
#include "viewer/quiz_sheet.h"

namespace viewer {
namespace {

// Twips: the ring's width, as the focus ring's, inside the tile's frame.
constexpr int kRingWidth = 30, kRingInset = 15;

}  // namespace

void FormMain::OpenQuiz() {
  if (!quiz_) {
    const std::vector<TileRecord>* records = TileRecords(true);
    if (!records) return;
    QuizWindow::Links links;
    links.begin = [this](bool blank) { BeginQuiz(blank); };
    links.end = [this] { EndQuiz(); };
    links.mark = [this](int tile) { RingTile(tile); };
    links.to_table = [this] {
      if (!std::any_of(tiles_.begin(), tiles_.end(), [&](const auto& t) { return t.get() == Focused(); }))
        SetFocus(GroupEntry(tiles_.front()->tab_group));
      Activate();
    };
    // Not from inside the window's own handler: after it.
    links.close = [this] { kit::PostTask([this] { quiz_.reset(); }); };
    quiz_ = std::make_unique<QuizWindow>(*records, std::move(links));
    quiz_->beside = this;
    quiz_->on_pages = [this](bool print) {
      OutputQuizVariant([this, print](const std::vector<SheetContent>& pages) {
        if (!sheet_output_) return;
        if (print) sheet_output_->PrintPages(pages);
        else sheet_output_->SavePages(pages);
      });
    };
  }
  quiz_->Activate();
}

void FormMain::OutputQuizVariant(const std::function<void(const std::vector<SheetContent>&)>& out) {
  if (!quiz_) return;
  const auto questions = quiz_->SetUpQuestions(true);
  if (!questions) return;
  // The pages read the tiles as they are drawn: blank while laid out.
  const bool shown = trends_->SymbolsShown();
  trends_->ShowSymbols(false);
  out(VariantSheets(quiz_->ChosenKind(), quiz_->SetUpVariant(), *questions, Worksheet()));
  trends_->ShowSymbols(shown);
}

bool FormMain::QuizTakes(const kit::Label& tile) {
  if (!quiz_) return false;
  auto at = std::find_if(tiles_.begin(), tiles_.end(), [&](const auto& t) { return t.get() == &tile; });
  return quiz_->TakeTile(static_cast<int>(at - tiles_.begin()));
}

void FormMain::BeginQuiz(bool blank) {
  // Nothing on show may give an answer away.
  for (kit::TextBox* box : PanelBoxes()) box->text.clear();
  symbols_before_quiz_ = trends_->SymbolsShown();
  if (blank) trends_->ShowSymbols(false);
  trends_->SetTyping(blank ? TrendView::Typing::kOff : TrendView::Typing::kSymbolsOnly);
}

void FormMain::EndQuiz() {
  RingTile(-1);
  trends_->ShowSymbols(symbols_before_quiz_);
  trends_->SetTyping(TrendView::Typing::kSymbolsAndNames);
}

void FormMain::RingTile(int tile) {
  const bool shown = tile >= 0 && tile < static_cast<int>(tiles_.size());
  if (!quiz_ring_[0]) {
    if (!shown) return;
    // Made after the tiles, so they lie above them; disabled, so a press
    // goes through to the tile beneath.
    for (size_t i = 0; i < quiz_ring_.size(); ++i) {
      quiz_ring_[i] = std::make_unique<kit::Label>(*this, "quiz_ring_" + std::to_string(i));
      quiz_ring_[i]->enabled = false;
    }
  }
  for (auto& side : quiz_ring_) side->visible = shown;
  if (!shown) return;
  const kit::Label& t = *tiles_[static_cast<size_t>(tile)];
  const kit::Rect r{t.bounds.left + kRingInset, t.bounds.top + kRingInset, t.bounds.width - 2 * kRingInset,
                    t.bounds.height - 2 * kRingInset};
  const kit::Rect sides[] = {{r.left, r.top, r.width, kRingWidth},
                             {r.left, r.Bottom() - kRingWidth, r.width, kRingWidth},
                             {r.left, r.top, kRingWidth, r.height},
                             {r.Right() - kRingWidth, r.top, kRingWidth, r.height}};
  for (size_t i = 0; i < quiz_ring_.size(); ++i) {
    quiz_ring_[i]->bounds = sides[i];
    quiz_ring_[i]->back_color = kit::BlackOrWhiteOn(t.back_color);
  }
}

}  // namespace viewer
