#include "viewer/type_ahead.h"

#include <utility>

#include "viewer/tile_table.h"

namespace viewer {
namespace {

wchar_t FoldChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + (L'a' - L'A'));
  if (c >= L'\u0410' && c <= L'\u042F') return static_cast<wchar_t>(c + 0x20);  // А-Я
  if (c >= L'\u0400' && c <= L'\u040F') return static_cast<wchar_t>(c + 0x50);  // Ѐ-Џ (Ё, Ѝ, ...)
  return c;
}

bool IsLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'\u0400' && c <= L'\u045F');
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::wstring FoldCase(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = FoldChar(c);
  return out;
}

TypeAhead::TypeAhead(std::vector<Entry> entries) {
  entries_.reserve(entries.size());
  for (const Entry& e : entries) entries_.push_back({FoldCase(e.symbol), FoldCase(e.name)});
}

TypeAhead TypeAhead::ForTiles(std::span<const TileRecord> records) {
  std::vector<Entry> entries;
  const auto tiles = Tiles();
  for (size_t i = 0; i < tiles.size(); ++i)
    entries.push_back({std::wstring(tiles[i].symbol.begin(), tiles[i].symbol.end()),
                       i < records.size() ? records[i].name : std::wstring()});
  return TypeAhead(std::move(entries));
}

bool TypeAhead::Expired(std::uint64_t now_ms) const {
  return now_ms < last_ms_ || now_ms - last_ms_ > kPauseMs;
}

std::optional<int> TypeAhead::Find(std::wstring_view folded) const {
  // A symbol typed in full names its element even where an element before
  // it starts so: "s" is sulphur, not silicon, and "b" boron, not
  // beryllium; otherwise S, B and I could never be reached by symbol.
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].symbol == folded) return static_cast<int>(i);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Folded& e = entries_[i];
    if (StartsWith(e.symbol, folded) || (!e.name.empty() && StartsWith(e.name, folded)))
      return static_cast<int>(i);
  }
  return std::nullopt;
}

TypeAhead::Result TypeAhead::Type(wchar_t ch, std::uint64_t now_ms) {
  if (!IsLetter(ch)) return {};
  if (Expired(now_ms)) typed_.clear();
  last_ms_ = now_ms;
  std::wstring sought = typed_ + ch;
  auto found = Find(FoldCase(sought));
  if (!found) return {Result::Kind::kNoMatch};
  typed_ = std::move(sought);
  return {Result::Kind::kFound, *found};
}

TypeAhead::Result TypeAhead::Backspace(std::uint64_t now_ms) {
  if (typed_.empty() || Expired(now_ms)) {
    typed_.clear();
    return {};
  }
  last_ms_ = now_ms;
  typed_.pop_back();
  if (typed_.empty()) return {Result::Kind::kCleared};
  // Every start of a text that was found is found again.
  auto found = Find(FoldCase(typed_));
  if (!found) return {Result::Kind::kNoMatch};
  return {Result::Kind::kFound, *found};
}

void TypeAhead::Reset() { typed_.clear(); }

}  // namespace viewer
