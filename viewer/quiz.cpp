#include "viewer/quiz.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "viewer/tile_table.h"
#include "viewer/type_ahead.h"

namespace viewer {
namespace {

bool InSet(QuizSet set, const TileInfo& tile, int atomic_number) {
  switch (set) {
    case QuizSet::kFirst20: return atomic_number <= 20;
    case QuizSet::kFirst36: return atomic_number <= 36;
    case QuizSet::kMainGroups: {
      const int group = GroupOf(tile);
      return group == 1 || group == 2 || group >= 13;
    }
    case QuizSet::kAll: return true;
  }
  return false;
}

std::wstring_view Trimmed(std::wstring_view text) {
  const auto space = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u00A0'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::wstring_view CaptionOf(QuizKind kind) {
  // In the order of the kinds (kQuizKinds lists them so too).
  static constexpr std::wstring_view kCaptions[] = {
      L"Намери елемента по име", L"Намери елемента по символ (празна таблица)", L"Напиши символа",
      L"Напиши името", L"Намери по атомен номер"};
  static_assert(std::size(kCaptions) == kQuizKinds.size());
  return kCaptions[static_cast<std::size_t>(kind)];
}

bool FindsTile(QuizKind kind) { return kind != QuizKind::kWriteSymbol && kind != QuizKind::kWriteName; }

std::wstring_view CaptionOf(QuizSet set) {
  // In the order of the sets (kQuizSets lists them so too).
  static constexpr std::wstring_view kCaptions[] = {L"Първите 20", L"Първите 36", L"Главните групи", L"Всички"};
  static_assert(std::size(kCaptions) == kQuizSets.size());
  return kCaptions[static_cast<std::size_t>(set)];
}

QuizElement QuizElementOf(int tile, const std::vector<TileRecord>& records) {
  const auto tiles = Tiles();
  QuizElement e;
  e.tile = tile;
  if (tile < 0 || tile >= static_cast<int>(tiles.size())) return e;
  e.symbol.assign(tiles[tile].symbol.begin(), tiles[tile].symbol.end());
  if (tile < static_cast<int>(records.size())) {
    e.atomic_number = records[tile].atomic_number;
    e.name = records[tile].name;
  }
  return e;
}

std::vector<QuizElement> QuizPool(QuizSet set, const std::vector<TileRecord>& records) {
  std::vector<QuizElement> pool;
  const auto tiles = Tiles();
  for (size_t i = 0; i < tiles.size() && i < records.size(); ++i) {
    const TileRecord& r = records[i];
    if (!r.has_record || r.atomic_number <= 0 || r.name.empty() || !InSet(set, tiles[i], r.atomic_number)) continue;
    pool.push_back(QuizElementOf(static_cast<int>(i), records));
  }
  std::stable_sort(pool.begin(), pool.end(),
                   [](const QuizElement& a, const QuizElement& b) { return a.atomic_number < b.atomic_number; });
  return pool;
}

std::uint64_t SplitMix64::Next() {
  state_ += 0x9E3779B97F4A7C15u;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

std::vector<QuizElement> VariantQuestions(std::vector<QuizElement> pool, int variant, int count) {
  SplitMix64 next(static_cast<std::uint64_t>(variant));
  for (size_t i = pool.size(); i-- > 1;) std::swap(pool[i], pool[next.Next() % (i + 1)]);
  if (count >= 0 && static_cast<size_t>(count) < pool.size()) pool.resize(static_cast<size_t>(count));
  return pool;
}

std::wstring QuestionText(QuizKind kind, const QuizElement& e) {
  switch (kind) {
    case QuizKind::kFindByName: return L"Къде е " + e.name + L"?";
    case QuizKind::kFindBySymbol: return L"Къде е " + e.symbol + L"?";
    case QuizKind::kWriteSymbol: return L"Кой е символът на " + e.name + L"?";
    case QuizKind::kWriteName: return L"Кое е името на " + e.symbol + L"?";
    case QuizKind::kFindByNumber: return L"Къде е елементът с атомен номер " + std::to_wstring(e.atomic_number) + L"?";
  }
  return {};
}

bool RightAnswer(QuizKind kind, const QuizElement& e, std::wstring_view typed) {
  // A symbol's case is part of it: "Co" and "CO" are not the same thing.
  if (kind == QuizKind::kWriteSymbol) return Trimmed(typed) == e.symbol;
  return FoldCase(Trimmed(typed)) == FoldCase(e.name);
}

std::wstring AnswerText(QuizKind kind, const QuizElement& e) {
  switch (kind) {
    case QuizKind::kWriteSymbol: return e.symbol;
    case QuizKind::kWriteName: return e.name;
    default: return e.name.empty() ? e.symbol : e.symbol + L" (" + e.name + L")";
  }
}

std::wstring Verdict(bool right, const QuizElement& e) {
  return right ? L"Вярно!" : L"Грешно: " + e.name + L" е " + e.symbol;
}

QuizRun::QuizRun(QuizKind kind, int variant, std::vector<QuizElement> questions)
    : kind_(kind), variant_(variant), questions_(std::move(questions)) {}

int QuizRun::RightCount() const {
  return static_cast<int>(std::count_if(answers_.begin(), answers_.end(), [](const QuizAnswer& a) { return a.right; }));
}

bool QuizRun::AnswerTyped(std::wstring_view typed) {
  const bool right = RightAnswer(kind_, Current(), typed);
  answers_.push_back({Current(), std::wstring(Trimmed(typed)), right});
  return right;
}

bool QuizRun::AnswerTile(const QuizElement& chosen) {
  const bool right = chosen.tile == Current().tile;
  answers_.push_back({Current(), AnswerText(kind_, chosen), right});
  return right;
}

std::vector<QuizAnswer> QuizRun::Mistakes() const {
  std::vector<QuizAnswer> out;
  std::copy_if(answers_.begin(), answers_.end(), std::back_inserter(out), [](const QuizAnswer& a) { return !a.right; });
  return out;
}

QuizRun QuizRun::Repeat() const {
  std::vector<QuizElement> again;
  for (const QuizAnswer& a : Mistakes()) again.push_back(a.asked);
  return QuizRun(kind_, variant_, std::move(again));
}

std::wstring ResultText(const QuizRun& run) {
  return L"Резултат: " + std::to_wstring(run.RightCount()) + L" от " + std::to_wstring(run.Count()) + L" (вариант " +
         std::to_wstring(run.Variant()) + L")";
}

std::wstring MistakeText(QuizKind kind, const QuizAnswer& a) {
  const std::wstring given = a.given.empty() ? L"(няма)" : a.given;
  return QuestionText(kind, a.asked) + L" Отговор: " + given + L". Вярно: " + AnswerText(kind, a.asked) + L".";
}

}  // namespace viewer
