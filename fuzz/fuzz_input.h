// Input forms of the Jet fuzz target, shared with the seed maker.
//
// An input is either a raw .mdb image or a sparse one: "JSPG", a byte
// giving the page size (0 = 2048, else 4096), then records of a u16 page
// number (taken modulo kMaxPages) and that page's bytes. Pages not named are
// zero. The sparse form keeps only the pages the reader looks at, so
// mutations land where they matter and inputs stay small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/utf.h"
#include "jet/database.h"

namespace fuzz {

constexpr uint32_t kMaxPages = 128;

inline std::vector<uint8_t> ExpandInput(const uint8_t* data, size_t size) {
  if (size < 5 || std::memcmp(data, "JSPG", 4) != 0) return std::vector<uint8_t>(data, data + size);
  const size_t ps = data[4] == 0 ? 2048 : 4096;
  std::vector<uint8_t> image;
  for (size_t at = 5; at + 2 < size; at += 2 + ps) {
    const uint32_t page = (data[at] | data[at + 1] << 8) % kMaxPages;
    if (image.size() < (page + 1) * ps) image.resize((page + 1) * ps);
    const size_t n = size - (at + 2) < ps ? size - (at + 2) : ps;
    std::memcpy(image.data() + page * ps, data + at + 2, n);
  }
  return image;
}

// Reads what the reader offers, with bounds on the work per input.
inline void Exercise(jet::Database& db) {
  auto names = db.TableNames(true);
  if (!names.ok()) return;
  int tables = 0;
  for (const auto& name : *names) {
    if (++tables > 8) break;
    auto table = db.OpenTable(base::Utf16ToUtf8(name));
    if (!table.ok()) continue;
    auto read_some = [&] {
      for (int n = 0; n < 64 && !table->Eof(); ++n) {
        auto row = table->Row();
        if (!row.ok()) break;
        for (const auto& v : *row) (void)v.ToText();
        if (!table->MoveNext().ok()) break;
      }
    };
    read_some();
    int indexes = 0;
    for (const auto& index : table->Indexes()) {
      if (++indexes > 4) break;
      if (!table->SetIndex(base::Utf16ToUtf8(index.name)).ok()) continue;
      const jet::Bookmark first = table->GetBookmark();
      read_some();
      if (!first.empty()) (void)table->SetBookmark(first);
      (void)table->Move(3);
      (void)table->Field("ID");
    }
  }
}

}  // namespace fuzz
