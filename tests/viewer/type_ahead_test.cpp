// Finding an element by typing, over the tiles and the names the shipped
// database gives them: Latin and Cyrillic, either case, prefixes, the pause
// that starts a new search, Backspace, and keys that are not letters.
#include "viewer/type_ahead.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/viewer/vrakel_records.h"
#include "viewer/tile_table.h"

namespace {

using viewer::TypeAhead;
using Kind = TypeAhead::Result::Kind;

class TypeAheadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto& records = testing_viewer::VrakelFile::Get().TileRecords();
    ASSERT_EQ(records.size(), viewer::Tiles().size());
    search_.emplace(TypeAhead::ForTiles(records));
  }

  // Types `text` a key every 100 ms from `now_` on; the symbol of the tile
  // the last key found, or "-" when it found none.
  std::string Type(std::wstring_view text) {
    TypeAhead::Result r;
    for (wchar_t c : text) r = search_->Type(c, now_ += 100);
    return Symbol(r);
  }
  std::string Backspace() { return Symbol(search_->Backspace(now_ += 100)); }
  void Pause(std::uint64_t ms) { now_ += ms; }
  // Each text typed as a search of its own (a pause before it) and the
  // tile it finds.
  void ExpectSearches(std::initializer_list<std::pair<std::wstring_view, std::string>> searches) {
    for (const auto& [text, symbol] : searches) {
      Pause(2000);
      EXPECT_EQ(Type(text), symbol) << std::wstring(text);
    }
  }

  static std::string Symbol(TypeAhead::Result r) {
    switch (r.kind) {
      case Kind::kFound: return std::string(viewer::Tiles()[r.index].symbol);
      case Kind::kNoMatch: return "-";
      case Kind::kCleared: return "(cleared)";
      case Kind::kIgnored: return "(ignored)";
    }
    return "?";
  }

  std::optional<TypeAhead> search_;
  std::uint64_t now_ = 50'000;
};

TEST_F(TypeAheadTest, SymbolsAndBulgarianNamesByTheirStartInEitherCase) {
  ExpectSearches({{L"f", "F"}, {L"fe", "Fe"}, {L"FE", "Fe"}, {L"жел", "Fe"}, {L"ЖЕЛЯЗО", "Fe"},
                  // Калий (19) comes before Калций, Кадмий and Калай.
                  {L"ка", "K"}, {L"кал", "K"}, {L"калц", "Ca"}, {L"Ё", "-"},
                  {L"uuo", "Uuo"},     // no record, still found by its symbol
                  {L"дарм", "Uun"}});  // the name of the record the tile reads
}

TEST_F(TypeAheadTest, FirstInAtomicNumberOrderUnlessASymbolIsTypedInFull) {
  // Si (14) starts with "s", but "s" in full is sulphur's symbol; without
  // that S, B and I could not be reached by their symbols at all.
  ExpectSearches({{L"n", "N"}, {L"c", "C"}, {L"s", "S"}, {L"b", "B"}, {L"i", "I"},
                  {L"e", "Eu"},    // Eu (63) before Er (68) and Es (99)
                  {L"с", "Si"},    // Cyrillic: Силиций
                  {L"ся", "S"}});  // Сяра
}

TEST_F(TypeAheadTest, APauseOfMoreThanASecondStartsANewSearch) {
  EXPECT_EQ(Type(L"f"), "F");
  Pause(TypeAhead::kPauseMs - 100);  // the next key comes exactly a second later
  EXPECT_EQ(Type(L"e"), "Fe");
  EXPECT_EQ(search_->Typed(), L"fe");
  Pause(TypeAhead::kPauseMs);
  EXPECT_EQ(Type(L"e"), "Eu");
  EXPECT_EQ(search_->Typed(), L"e");
  // Slow typing never builds up: each letter is a search of its own.
  Pause(1500);
  EXPECT_EQ(Type(L"ж"), "Fe");
  Pause(1500);
  EXPECT_EQ(Type(L"е"), "Eu");  // Европий, not "же"
}

TEST_F(TypeAheadTest, BackspaceTakesBackALetterWithinThePause) {
  EXPECT_EQ(Type(L"жел"), "Fe");
  EXPECT_EQ(Backspace(), "Fe");
  EXPECT_EQ(search_->Typed(), L"же");
  EXPECT_EQ(Type(L"f"), "-");  // nothing starts with "жеf"
  EXPECT_EQ(search_->Typed(), L"же");
  Pause(2000);
  EXPECT_EQ(Type(L"ni"), "Ni");
  EXPECT_EQ(Backspace(), "N");
  EXPECT_EQ(Backspace(), "(cleared)");
  EXPECT_EQ(Backspace(), "(ignored)");
  EXPECT_EQ(Type(L"o"), "O");
  Pause(2000);
  // After the pause there is nothing left to take back, and the next
  // letter starts afresh.
  EXPECT_EQ(Backspace(), "(ignored)");
  EXPECT_EQ(Type(L"h"), "H");
}

TEST_F(TypeAheadTest, ALetterThatMatchesNothingIsDroppedAndOtherKeysAreNotOurs) {
  EXPECT_EQ(Type(L"fx"), "-");
  EXPECT_EQ(search_->Typed(), L"f");
  EXPECT_EQ(Type(L"e"), "Fe");
  Pause(2000);
  // Digits, spaces, Enter, Tab, punctuation, Backspace and Escape as
  // characters leave the search to others and do not disturb it.
  EXPECT_EQ(Type(L"c"), "C");
  for (wchar_t c : std::wstring(L"1 \r\t.-\x08\x1B"))
    EXPECT_EQ(Symbol(search_->Type(c, now_ += 10)), "(ignored)") << static_cast<int>(c);
  EXPECT_EQ(Type(L"o"), "Co");
  Pause(2000);
  EXPECT_EQ(Type(L"a"), "Al");
  search_->Reset();
  EXPECT_EQ(Type(L"u"), "U");
}

TEST(FoldCase, LatinAndCyrillicIncludingTheLettersBeforeА) {
  EXPECT_EQ(viewer::FoldCase(L"FeЖЕЛЯЗОЁЍЙ"), L"feжелязоёѝй");
  EXPECT_EQ(viewer::FoldCase(L"1,5 °C"), L"1,5 °c");
}

}  // namespace
