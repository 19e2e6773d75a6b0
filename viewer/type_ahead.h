// Finding an element by typing the start of its symbol or its Bulgarian
// name while the tile table has the focus, as in the lists of Explorer:
// letters add to what is sought, a pause of a second starts afresh, and
// Backspace takes the last letter back.
//
// Portable: characters come in as the window received them (already in the
// keyboard's layout, Latin or Cyrillic) with the time they arrived, so tests
// drive it without a clock or a keyboard.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/property_values.h"

namespace viewer {

// `text` lower-cased for comparison: ASCII and Cyrillic letters (Ё and the
// other letters of U+0400-U+042F included); everything else unchanged.
std::wstring FoldCase(std::wstring_view text);

class TypeAhead {
 public:
  struct Entry {
    std::wstring symbol;
    std::wstring name;  // may be empty when the record could not be read
  };

  // Longer than this between two keys, and the next letter starts a new
  // search.
  static constexpr std::uint64_t kPauseMs = 1000;

  // `entries` in atomic-number order; a match is an index into it.
  explicit TypeAhead(std::vector<Entry> entries);
  // Over the tiles: their symbols and the names their records give, in the
  // order of the tile table, which is that of atomic number; a match is a
  // tile's index.
  static TypeAhead ForTiles(std::span<const TileRecord> records);

  struct Result {
    enum class Kind {
      kIgnored,  // not a letter, or Backspace with nothing typed: not ours
      kFound,    // `index` is the element to move to
      kNoMatch,  // nothing starts so; what was typed before still stands
      kCleared,  // Backspace took back the only letter
    };
    Kind kind = Kind::kIgnored;
    int index = -1;
  };

  // A character typed at `now_ms`. A letter extends what is sought (or,
  // after the pause, starts it anew) and the element it names is found: the
  // one whose symbol is exactly that, else the first in atomic-number order
  // whose symbol or name starts with it. A letter that leaves nothing to
  // find is not kept.
  Result Type(wchar_t ch, std::uint64_t now_ms);
  // Backspace at `now_ms`: within the pause, takes back the last letter and
  // finds again; after it, there is nothing left to take back.
  Result Backspace(std::uint64_t now_ms);
  // Forgets what was typed (the focus left the table).
  void Reset();

  // What is sought now, as typed.
  const std::wstring& Typed() const { return typed_; }

 private:
  bool Expired(std::uint64_t now_ms) const;
  std::optional<int> Find(std::wstring_view folded) const;

  struct Folded {
    std::wstring symbol, name;
  };
  std::vector<Folded> entries_;
  std::wstring typed_;
  std::uint64_t last_ms_ = 0;
};

}  // namespace viewer
