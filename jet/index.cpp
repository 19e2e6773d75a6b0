#include "jet/index.h"

#include <unordered_set>

#include "jet/byte_reader.h"
#include "jet/row.h"

namespace jet {
namespace {

// Calls fn(entry_bytes, length) for every entry of an index page, with the
// shared prefix put back in front of entries after the first.
template <class Fn>
Status ForEachEntry(const Format& f, const Page& page, Fn&& fn) {
  ByteReader r(page.data.get(), page.size, page.number, 0);
  const uint32_t prefix = f.index_prefix_size == 1 ? r.U8(f.index_prefix) : r.U16(f.index_prefix);
  const uint8_t* bitmap = page.data.get() + f.index_bitmap;
  const uint32_t bits = (f.index_entries - f.index_bitmap) * 8;
  const uint8_t* base = page.data.get();
  uint32_t prev = f.index_entries;
  bool first = true;
  const uint8_t* first_entry = nullptr;
  uint8_t full[1024];
  for (uint32_t pos = 0; pos < bits; ++pos) {
    if (!(bitmap[pos / 8] >> (pos % 8) & 1)) continue;
    const uint32_t end = f.index_entries + pos;
    if (end > page.size || end <= prev) return Status::Corruption(page.number, f.index_bitmap + pos / 8, "index entry bitmap out of order");
    const uint8_t* stored = base + prev;
    const uint32_t len = end - prev;
    if (first) {
      if (prefix > len) return Status::Corruption(page.number, f.index_prefix, "index prefix longer than the first entry");
      first_entry = stored;
      first = false;
      JET_RETURN_IF_ERROR(fn(stored, len));
    } else if (prefix == 0) {
      JET_RETURN_IF_ERROR(fn(stored, len));
    } else {
      if (uint64_t{prefix} + len > sizeof full) return Status::Corruption(page.number, prev, "index entry too long");
      std::copy(first_entry, first_entry + prefix, full);
      std::copy(stored, stored + len, full + prefix);
      JET_RETURN_IF_ERROR(fn(full, prefix + len));
    }
    prev = end;
  }
  return Status::Ok();
}

Status CheckIndexPage(const Format& f, const Page& page, const TableDef& def) {
  ByteReader r(page.data.get(), page.size, page.number, 0);
  if (r.U32(f.index_owner) != def.page) return Status::Corruption(page.number, f.index_owner, "index page of another table");
  return Status::Ok();
}

}  // namespace

Result<std::vector<uint32_t>> ReadIndexRows(Pager& pager, const TableDef& def, const RealIndexDef& index) {
  const Format& f = pager.format();
  std::unordered_set<uint32_t> visited;
  uint32_t page_no = index.root_page;

  // Down to the leftmost leaf.
  for (;;) {
    if (!visited.insert(page_no).second) return Status::Corruption(page_no, 0, "index pages form a loop");
    auto page = pager.Get(page_no);
    if (!page.ok()) return page.status();
    if (page->type() == kIndexLeafPage) break;
    if (page->type() != kIndexNodePage) return Status::Corruption(page_no, 0, "expected an index page");
    JET_RETURN_IF_ERROR(CheckIndexPage(f, *page, def));
    uint32_t child = 0;
    bool have = false;
    JET_RETURN_IF_ERROR(ForEachEntry(f, *page, [&](const uint8_t* e, uint32_t len) -> Status {
      if (have) return Status::Ok();
      if (len < 8) return Status::Corruption(page_no, 0, "index node entry too short");
      child = uint32_t{e[len - 4]} << 24 | uint32_t{e[len - 3]} << 16 | uint32_t{e[len - 2]} << 8 | e[len - 1];
      have = true;
      return Status::Ok();
    }));
    if (!have) child = ByteReader(page->data.get(), page->size).U32(f.index_tail);
    if (child == 0) return Status::Corruption(page_no, 0, "index node without children");
    page_no = child;
  }

  // Along the leaves.
  std::vector<uint32_t> rows;
  for (;;) {
    auto page = pager.Get(page_no);
    if (!page.ok()) return page.status();
    if (page->type() != kIndexLeafPage) return Status::Corruption(page_no, 0, "expected an index leaf page");
    JET_RETURN_IF_ERROR(CheckIndexPage(f, *page, def));
    JET_RETURN_IF_ERROR(ForEachEntry(f, *page, [&](const uint8_t* e, uint32_t len) -> Status {
      if (len < 5) return Status::Corruption(page_no, 0, "index leaf entry too short");
      const uint32_t data_page = uint32_t{e[len - 4]} << 16 | uint32_t{e[len - 3]} << 8 | e[len - 2];
      rows.push_back(RowPointer(data_page, e[len - 1]));
      return Status::Ok();
    }));
    const uint32_t next = ByteReader(page->data.get(), page->size).U32(f.index_next);
    if (next == 0) break;
    if (!visited.insert(next).second) return Status::Corruption(next, 0, "index leaf chain loops");
    page_no = next;
  }
  return rows;
}

}  // namespace jet
