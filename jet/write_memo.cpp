#include "jet/write_memo.h"

#include <algorithm>

#include "jet/write_bytes.h"

namespace jet::write {
namespace {

// Jackcess' limits, whose files Access reads back.
constexpr std::size_t kInlineMemoMax = 64;
constexpr std::size_t kLvalSingleMax = 4076;  // one LVAL row filling a page
constexpr std::size_t kLvalPiece = 4072;      // data bytes per chained LVAL row
constexpr std::uint32_t kInline = 0x80000000u;
constexpr std::uint32_t kSingleRow = 0x40000000u;

}  // namespace

Bytes PlaceMemo(Bytes data, RowPacker& lv) {
  const auto length = static_cast<std::uint32_t>(data.size());
  Bytes h;
  if (data.size() <= kInlineMemoMax) {
    AddU32(h, length | kInline);
    AddU32(h, 0);
    AddU32(h, 0);
    h.insert(h.end(), data.begin(), data.end());
    return h;
  }
  if (data.size() <= kLvalSingleMax) {
    AddU32(h, length | kSingleRow);
    AddU32(h, lv.Add(std::move(data)));
    AddU32(h, 0);
    return h;
  }
  // A chain: every piece starts with the pointer to the next (0 on the last),
  // so the pieces are reserved first and filled once all places are known.
  std::vector<std::uint32_t> ptrs;
  for (std::size_t at = 0; at < data.size(); at += kLvalPiece)
    ptrs.push_back(lv.Add(Bytes(4 + std::min(kLvalPiece, data.size() - at), 0)));
  for (std::size_t k = 0; k < ptrs.size(); ++k) {
    const std::size_t at = k * kLvalPiece;
    Bytes piece;
    AddU32(piece, k + 1 < ptrs.size() ? ptrs[k + 1] : 0);
    piece.insert(piece.end(), data.begin() + at, data.begin() + std::min(at + kLvalPiece, data.size()));
    lv.Replace(ptrs[k], std::move(piece));
  }
  AddU32(h, length);
  AddU32(h, ptrs[0]);
  AddU32(h, 0);
  return h;
}

}  // namespace jet::write
