#include "jet/row.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include "jet/byte_reader.h"
#include "jet/text.h"

namespace jet {
namespace {

constexpr uint16_t kSlotDeleted = 0xC000;
constexpr uint16_t kSlotForward = 0x4000;  // the row is a pointer to its real place
constexpr uint16_t kSlotTarget = 0x8000;   // the real place of a forwarded row

struct Slot {
  uint16_t raw;
  uint32_t start, end;
};

// Reads slot `row` of a data page and checks its extent.
Result<Slot> ReadSlot(const Format& f, const Page& page, uint32_t row) {
  ByteReader r(page.data.get(), page.size, page.number, 0);
  const uint16_t count = r.U16(f.data_row_count);
  if (row >= count) return Status::NotFound("no row " + std::to_string(row) + " on page " + std::to_string(page.number));
  const uint32_t table_end = f.data_first_slot + 2u * count;
  if (table_end > page.size) return Status::Corruption(page.number, f.data_row_count, "row count too large");
  const uint16_t raw = r.U16(f.data_first_slot + 2 * row);
  const uint32_t start = raw & 0x1FFF;
  const uint32_t end = row == 0 ? page.size : r.U16(f.data_first_slot + 2 * (row - 1)) & 0x1FFFu;
  if ((raw & kSlotDeleted) == kSlotDeleted) return Slot{raw, start, start};
  if (start < table_end || start > end || end > page.size)
    return Status::Corruption(page.number, f.data_first_slot + 2 * row, "row offset out of range");
  return Slot{raw, start, end};
}

int FixedSize(ColumnType t) {
  switch (t) {
    case ColumnType::kByte: return 1;
    case ColumnType::kInteger: return 2;
    case ColumnType::kLong: case ColumnType::kSingle: return 4;
    case ColumnType::kCurrency: case ColumnType::kDouble: case ColumnType::kDateTime: return 8;
    case ColumnType::kGuid: return 16;
    case ColumnType::kNumeric: return 17;
    default: return 0;
  }
}

uint32_t Le32(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24; }
uint64_t Le64(const uint8_t* p) { return uint64_t{Le32(p)} | uint64_t{Le32(p + 4)} << 32; }

// A fixed-size value from exactly FixedSize(type) bytes.
Value FixedValue(const ColumnInfo& c, const uint8_t* p) {
  switch (c.type) {
    case ColumnType::kByte: return Value(p[0]);
    case ColumnType::kInteger: return Value(static_cast<int16_t>(p[0] | p[1] << 8));
    case ColumnType::kLong: return Value(static_cast<int32_t>(Le32(p)));
    case ColumnType::kCurrency: return Value(Currency{static_cast<int64_t>(Le64(p))});
    case ColumnType::kSingle: {
      float v;
      const uint32_t bits = Le32(p);
      std::memcpy(&v, &bits, 4);
      return Value(v);
    }
    case ColumnType::kDouble: case ColumnType::kDateTime: {
      double v;
      const uint64_t bits = Le64(p);
      std::memcpy(&v, &bits, 8);
      return c.type == ColumnType::kDouble ? Value(v) : Value(DateTime{v});
    }
    case ColumnType::kGuid: {
      Guid g;
      std::memcpy(g.bytes.data(), p, 16);
      return Value(g);
    }
    case ColumnType::kNumeric: {
      Numeric n;
      n.negative = (p[0] & 0x80) != 0;
      n.precision = c.precision;
      n.scale = c.scale;
      for (int i = 0; i < 4; ++i) n.magnitude[static_cast<size_t>(i)] = Le32(p + 1 + 4 * i);
      return Value(n);
    }
    default: return Value();
  }
}

// Memo/OLE: the 12-byte header in the row names inline data, one LVAL row
// or a chain of LVAL rows.
Result<Bytes> ReadLongValue(Pager& pager, const uint8_t* field, size_t size, uint32_t page, uint32_t offset) {
  if (size < 12) return Status::Corruption(page, offset, "long value header too short");
  const uint32_t head = Le32(field);
  const uint32_t length = head & 0x3FFFFFFF;
  const uint8_t kind = field[3] & 0xC0;
  const uint64_t file_bytes = uint64_t{pager.page_count()} * pager.format().page_size;
  if (length > file_bytes) return Status::Corruption(page, offset, "long value longer than the file");
  if (kind == 0x80) {
    if (length > size - 12) return Status::Corruption(page, offset, "inline long value runs past its field");
    return Bytes(field + 12, field + 12 + length);
  }
  uint32_t ptr = Le32(field + 4);
  if (kind == 0x40) {
    auto row = FindRow(pager, PointerPage(ptr), PointerRow(ptr), false);
    if (!row.ok()) return row.status();
    if (row->size() < length) return Status::Corruption(row->page.number, row->start, "long value row too short");
    return Bytes(row->data(), row->data() + length);
  }
  if (kind != 0x00) return Status::Corruption(page, offset, "unknown long value kind");
  // A chain: each piece starts with the pointer to the next one.
  Bytes out;
  std::set<uint32_t> visited;
  while (out.size() < length) {
    if (ptr == 0) return Status::Corruption(page, offset, "long value chain ends early");
    if (!visited.insert(ptr).second) return Status::Corruption(PointerPage(ptr), 0, "long value chain loops");
    auto row = FindRow(pager, PointerPage(ptr), PointerRow(ptr), false);
    if (!row.ok()) return row.status();
    if (row->size() < 4) return Status::Corruption(row->page.number, row->start, "long value piece too short");
    const uint8_t* d = row->data();
    ptr = Le32(d);
    const size_t take = std::min<size_t>(row->size() - 4, length - out.size());
    out.insert(out.end(), d + 4, d + 4 + take);
  }
  return out;
}

}  // namespace

Result<RowRef> FindRow(Pager& pager, uint32_t page_no, uint32_t row, bool follow_overflow) {
  const Format& f = pager.format();
  for (int hop = 0;; ++hop) {
    auto page = pager.Get(page_no);
    if (!page.ok()) return page.status();
    if (page->type() != kDataPage) return Status::Corruption(page_no, 0, "expected a data page");
    auto slot = ReadSlot(f, *page, row);
    if (!slot.ok()) return slot.status();
    if ((slot->raw & kSlotDeleted) == kSlotDeleted)
      return Status::NotFound("row " + std::to_string(row) + " on page " + std::to_string(page_no) + " is deleted");
    if ((slot->raw & kSlotForward) && follow_overflow) {
      // Forwarding is one step; a forward to a forward is not something Jet writes.
      if (hop > 0) return Status::Corruption(page_no, slot->start, "forwarded row forwards again");
      if (slot->end - slot->start < 4) return Status::Corruption(page_no, slot->start, "forwarding row too short");
      const uint8_t* p = page->data.get() + slot->start;
      row = p[0];
      page_no = uint32_t{p[1]} | uint32_t{p[2]} << 8 | uint32_t{p[3]} << 16;
      continue;
    }
    return RowRef{std::move(*page), slot->start, slot->end};
  }
}

Status DecodeRow(Pager& pager, const TableDef& def, const RowRef& ref, int only, std::vector<Value>& out) {
  const Format& f = pager.format();
  const uint32_t len = ref.size();
  const uint8_t* row = ref.data();
  const uint32_t w = f.row_count_size;
  auto bad = [&](uint32_t off, const char* what) { return Status::Corruption(ref.page.number, ref.start + off, what); };
  out.assign(def.columns.size(), Value());
  if (len < w) return bad(0, "row too short");
  const uint32_t ncols = w == 2 ? uint32_t{row[0]} | uint32_t{row[1]} << 8 : row[0];
  const uint32_t mask_len = (ncols + 7) / 8;
  if (mask_len > len - w) return bad(0, "null mask larger than the row");
  const uint32_t mask_pos = len - mask_len;
  const uint8_t* mask = row + mask_pos;

  // Offsets of the variable values; entry nvar is the end of the data.
  std::vector<uint32_t> var_off;
  uint32_t nvar = 0;
  uint32_t var_limit = mask_pos;  // variable data must end before the offset table
  if (def.num_var_cols > 0) {
    if (w == 2) {
      if (mask_pos < 2 + w) return bad(mask_pos, "row too short for its variable columns");
      nvar = row[mask_pos - 2] | row[mask_pos - 1] << 8;
      const uint64_t table_bytes = 2 + 2 * (uint64_t{nvar} + 1);
      if (table_bytes > mask_pos - w) return bad(mask_pos - 2, "variable column count too large");
      var_limit = static_cast<uint32_t>(mask_pos - table_bytes);
      var_off.resize(nvar + 1);
      for (uint32_t i = 0; i <= nvar; ++i) {
        const uint32_t at = mask_pos - 2 - 2 * (i + 1);
        var_off[i] = row[at] | row[at + 1] << 8;
      }
    } else {
      // Jet 3: one-byte offsets, plus a jump table for every further 256
      // bytes of row (FORMAT.md, "Rows").
      const int64_t last = int64_t{len} - 1;
      const int64_t nvar_at = last - mask_len;
      if (nvar_at < 1) return bad(0, "row too short for its variable columns");
      nvar = row[nvar_at];
      int64_t njumps = (int64_t{len} - 1) / 256;
      const int64_t first_off = last - mask_len - njumps - 1;
      if (first_off - nvar < 1) return bad(0, "variable column count too large");
      if ((first_off - nvar) / 256 < njumps) --njumps;
      var_limit = static_cast<uint32_t>(first_off - nvar);
      var_off.resize(nvar + 1);
      int64_t used = 0;
      for (uint32_t i = 0; i <= nvar; ++i) {
        while (used < njumps && row[last - mask_len - 1 - used] == i) ++used;
        var_off[i] = static_cast<uint32_t>(row[first_off - i] + 256 * used);
      }
    }
  }

  const size_t first = only >= 0 ? static_cast<size_t>(only) : 0;
  const size_t stop = only >= 0 ? first + 1 : def.columns.size();
  for (size_t ci = first; ci < stop && ci < def.columns.size(); ++ci) {
    const ColumnDef& c = def.columns[ci];
    const uint32_t n = c.info.number;
    const bool present = n < ncols && (mask[n / 8] >> (n % 8) & 1);
    if (c.info.type == ColumnType::kBoolean) {
      out[ci] = Value(present);
      continue;
    }
    if (!present) continue;
    const uint8_t* p;
    uint32_t size, at;
    if (c.info.fixed) {
      at = w + c.fixed_offset;
      const int type_size = FixedSize(c.info.type);
      size = type_size > 0 ? static_cast<uint32_t>(type_size) : c.info.length;
      if (at > var_limit || size > var_limit - at) return bad(at, "fixed column beyond the row's fixed area");
      p = row + at;
    } else {
      if (c.var_index >= nvar) continue;  // the row predates this column
      at = var_off[c.var_index];
      const uint32_t end = var_off[c.var_index + 1];
      if (at < w || at > end || end > var_limit) return bad(at, "variable column offsets out of order");
      p = row + at;
      size = end - at;
    }
    switch (c.info.type) {
      case ColumnType::kText: {
        std::u16string text = f.jet3() ? DecodeCodePage(p, size, pager.code_page()) : DecodeJet4Text(p, size);
        // A fixed-width value may be padded with zero bytes; the text ends
        // at the first of them, as mdbtools reads it.
        if (c.info.fixed) text.resize(std::min(text.size(), text.find(u'\0')));
        out[ci] = Value(std::move(text));
        break;
      }
      case ColumnType::kBinary:
        out[ci] = Value(Bytes(p, p + size));
        break;
      case ColumnType::kMemo: case ColumnType::kOle: {
        auto lv = ReadLongValue(pager, p, size, ref.page.number, ref.start + at);
        if (!lv.ok()) return lv.status();
        if (c.info.type == ColumnType::kOle)
          out[ci] = Value(std::move(*lv));
        else
          out[ci] = Value(f.jet3() ? DecodeCodePage(lv->data(), lv->size(), pager.code_page())
                                   : DecodeJet4Text(lv->data(), lv->size()));
        break;
      }
      default: {
        const int need = FixedSize(c.info.type);
        if (need == 0) {
          // A type code this engine does not know: keep the bytes.
          out[ci] = Value(Bytes(p, p + size));
        } else if (size >= static_cast<uint32_t>(need)) {
          out[ci] = FixedValue(c.info, p);
        } else if (size != 0) {
          return bad(at, "value shorter than its type");
        }
      }
    }
  }
  return Status::Ok();
}

Result<std::vector<uint32_t>> ReadUsageMap(Pager& pager, uint32_t map_pointer) {
  auto row = FindRow(pager, PointerPage(map_pointer), PointerRow(map_pointer), false);
  if (!row.ok()) return row.status();
  const uint32_t count = pager.page_count();
  const uint8_t* d = row->data();
  const uint32_t size = row->size();
  std::vector<uint32_t> pages;
  if (size < 1) return Status::Corruption(row->page.number, row->start, "empty usage map");
  if (d[0] == 0x00) {
    if (size < 5) return Status::Corruption(row->page.number, row->start, "usage map too short");
    const uint32_t start = Le32(d + 1);
    for (uint32_t i = 0; i < (size - 5) * 8; ++i) {
      if (!(d[5 + i / 8] >> (i % 8) & 1)) continue;
      const uint64_t page = uint64_t{start} + i;
      if (page >= count) break;
      pages.push_back(static_cast<uint32_t>(page));
    }
  } else if (d[0] == 0x01) {
    // A list of bitmap pages, each covering (page size - 4) * 8 pages.
    const uint32_t ps = pager.format().page_size;
    const uint64_t per_map = uint64_t{ps - 4} * 8;
    const std::vector<uint8_t> list(d + 1, d + size);  // the row's page may be evicted below
    for (uint32_t k = 0; k + 4 <= list.size(); k += 4) {
      const uint32_t map_page = Le32(list.data() + k);
      if (map_page == 0) continue;
      const uint64_t base = (k / 4) * per_map;
      if (base >= count) break;
      auto mp = pager.Get(map_page);
      if (!mp.ok()) return mp.status();
      const uint8_t* m = mp->data.get();
      if (m[0] != 0x05) return Status::Corruption(map_page, 0, "expected a usage bitmap page");
      for (uint64_t i = 0; i < per_map && base + i < count; ++i)
        if (m[4 + i / 8] >> (i % 8) & 1) pages.push_back(static_cast<uint32_t>(base + i));
    }
  } else {
    return Status::Corruption(row->page.number, row->start, "unknown usage map type");
  }
  return pages;
}

Result<std::vector<uint32_t>> ScanTableRows(Pager& pager, const TableDef& def) {
  auto pages = ReadUsageMap(pager, def.owned_map);
  if (!pages.ok()) return pages.status();
  const Format& f = pager.format();
  // Every live slot in page and slot order: a row, a forwarding slot (with
  // the row it names), or a moved row.
  struct Entry {
    uint32_t ptr;
    uint16_t raw;
    std::optional<uint32_t> target;
  };
  std::vector<Entry> slots;
  std::map<uint32_t, uint32_t> forwarded;  // moved row -> the slot that forwards to it
  for (uint32_t page_no : *pages) {
    auto page = pager.Get(page_no);
    if (!page.ok()) return page.status();
    const uint8_t* p = page->data.get();
    // The map may name pages since given to something else; only data
    // pages that say they belong to this table count.
    if (p[0] != 0x01 || Le32(p + f.data_owner) != def.page) continue;
    const uint32_t count = p[f.data_row_count] | p[f.data_row_count + 1] << 8;
    if (f.data_first_slot + 2 * count > page->size)
      return Status::Corruption(page_no, f.data_row_count, "row count too large");
    for (uint32_t i = 0; i < count && i < 256; ++i) {
      const uint16_t raw = static_cast<uint16_t>(p[f.data_first_slot + 2 * i] | p[f.data_first_slot + 2 * i + 1] << 8);
      if ((raw & kSlotDeleted) == kSlotDeleted) continue;
      Entry e{RowPointer(page_no, static_cast<uint8_t>(i)), raw, std::nullopt};
      if (raw & kSlotForward) {
        // A forwarding slot too damaged to name its row stays where it is;
        // reading it reports the damage.
        auto slot = ReadSlot(f, *page, i);
        if (slot.ok() && slot->end - slot->start >= 4) {
          const uint8_t* d = p + slot->start;
          e.target = RowPointer(uint32_t{d[1]} | uint32_t{d[2]} << 8 | uint32_t{d[3]} << 16, d[0]);
          if (!forwarded.emplace(*e.target, e.ptr).second)
            return Status::Corruption(page_no, slot->start, "two rows forward to the same place");
        }
      }
      slots.push_back(e);
    }
  }
  // mdbtools and mdb-reader list a moved row where it now lies, and so do
  // we, under the pointer of the slot that forwards to it (the one indexes
  // name). A moved row that nothing forwards to is a leftover; a forwarding
  // slot whose row is not on this table's pages keeps its own place.
  std::set<uint32_t> moved;
  for (const Entry& e : slots)
    if ((e.raw & kSlotTarget) && forwarded.count(e.ptr)) moved.insert(e.ptr);
  std::vector<uint32_t> rows;
  for (const Entry& e : slots) {
    if (e.raw & kSlotForward) {
      if (!e.target || !moved.count(*e.target)) rows.push_back(e.ptr);
    } else if (e.raw & kSlotTarget) {
      if (moved.count(e.ptr)) rows.push_back(forwarded[e.ptr]);
    } else {
      rows.push_back(e.ptr);
    }
  }
  return rows;
}

}  // namespace jet
