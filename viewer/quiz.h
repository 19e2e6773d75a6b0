// The quiz on the table: which elements a variant asks about and in which
// order, how a question reads, whether an answer is right, and the run of
// one quiz from the first question to its mistakes.
//
// A variant is a number a teacher hands a whole room: its questions must be
// the same on every computer and in every version of the program, so the
// order comes from a fixed generator (SplitMix64) and a fixed shuffle
// (Fisher–Yates from the last place down) over the pool in atomic-number
// order, never from the standard library's distributions, whose results
// differ between implementations.
//
// Portable: no window; the elements come from the tiles and their records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/property_values.h"

namespace viewer {

enum class QuizKind { kFindByName, kFindBySymbol, kWriteSymbol, kWriteName, kFindByNumber };
inline constexpr std::array<QuizKind, 5> kQuizKinds = {QuizKind::kFindByName, QuizKind::kFindBySymbol,
                                                       QuizKind::kWriteSymbol, QuizKind::kWriteName,
                                                       QuizKind::kFindByNumber};
// The set-up page's line for the kind ("Намери елемента по име").
std::wstring_view CaptionOf(QuizKind kind);
// Answered on the table (a tile), not in the text box.
bool FindsTile(QuizKind kind);

enum class QuizSet { kFirst20, kFirst36, kMainGroups, kAll };
inline constexpr std::array<QuizSet, 4> kQuizSets = {QuizSet::kFirst20, QuizSet::kFirst36, QuizSet::kMainGroups,
                                                     QuizSet::kAll};
std::wstring_view CaptionOf(QuizSet set);

inline constexpr int kMinQuestions = 5, kMaxQuestions = 50, kDefaultQuestions = 10;
inline constexpr int kMaxVariant = 99999;

struct QuizElement {
  int tile = -1;   // in the tile table's order
  int atomic_number = 0;
  std::wstring symbol, name;
  friend bool operator==(const QuizElement&, const QuizElement&) = default;
};

// A tile's element (`records` in the tile table's order): its symbol from
// the tile, its number and name from the record; a tile without a record
// has neither.
QuizElement QuizElementOf(int tile, const std::vector<TileRecord>& records);
// The elements of `set` that have both a tile and a record (`records` in
// the tile table's order), in order of atomic number.
std::vector<QuizElement> QuizPool(QuizSet set, const std::vector<TileRecord>& records);

class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();

 private:
  std::uint64_t state_;
};

// The first `count` of `pool` shuffled for `variant` (all of it when it
// has fewer).
std::vector<QuizElement> VariantQuestions(std::vector<QuizElement> pool, int variant, int count);

// "Къде е Желязо?", "Кой е символът на Желязо?", ...
std::wstring QuestionText(QuizKind kind, const QuizElement& element);
// The symbol exactly as written ("fe" is not Fe); the name without regard
// to case, Cyrillic included, or to the spaces around it.
bool RightAnswer(QuizKind kind, const QuizElement& element, std::wstring_view typed);
// What the end page and the answer key give as the answer: the symbol, the
// name, or for a tile both ("Fe (Желязо)").
std::wstring AnswerText(QuizKind kind, const QuizElement& element);
// "Вярно!" or "Грешно: Желязо е Fe".
std::wstring Verdict(bool right, const QuizElement& element);

struct QuizAnswer {
  QuizElement asked;
  std::wstring given;
  bool right = false;
};

// One quiz from its first question to its last.
class QuizRun {
 public:
  QuizRun(QuizKind kind, int variant, std::vector<QuizElement> questions);

  QuizKind Kind() const { return kind_; }
  int Variant() const { return variant_; }
  int Count() const { return static_cast<int>(questions_.size()); }
  // How many are answered; the current question is the next one.
  int Answered() const { return static_cast<int>(answers_.size()); }
  int RightCount() const;
  bool Finished() const { return Answered() >= Count(); }
  const QuizElement& Current() const { return questions_[answers_.size()]; }

  // Answers the current question; whether it was right. Only before the end.
  bool AnswerTyped(std::wstring_view typed);
  bool AnswerTile(const QuizElement& chosen);

  const std::vector<QuizAnswer>& Answers() const { return answers_; }
  std::vector<QuizAnswer> Mistakes() const;
  // The questions answered wrong, in the order they were asked.
  QuizRun Repeat() const;

 private:
  QuizKind kind_;
  int variant_;
  std::vector<QuizElement> questions_;
  std::vector<QuizAnswer> answers_;
};

// "Резултат: 8 от 10 (вариант 4711)".
std::wstring ResultText(const QuizRun& run);
// A line of the end page's list: "Къде е Желязо? Отговор: Co (Кобалт).
// Вярно: Fe (Желязо)."
std::wstring MistakeText(QuizKind kind, const QuizAnswer& answer);

}  // namespace viewer
