// Rows on data pages: finding a row by page and slot, decoding its fields,
// reading long values (memo, OLE) from LVAL pages, usage maps, and listing
// a table's rows in storage order.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/pager.h"
#include "jet/table_def.h"
#include "jet/value.h"

namespace jet {

// A row's bytes: [start, end) of a data page.
struct RowRef {
  Page page;
  uint32_t start = 0;
  uint32_t end = 0;
  const uint8_t* data() const { return page.data.get() + start; }
  uint32_t size() const { return end - start; }
};

// Row pointers as Jet stores them: page number in the upper 24 bits, row
// (slot) number in the low byte.
inline uint32_t RowPointer(uint32_t page, uint8_t row) { return page << 8 | row; }
inline uint32_t PointerPage(uint32_t ptr) { return ptr >> 8; }
inline uint8_t PointerRow(uint32_t ptr) { return static_cast<uint8_t>(ptr & 0xFF); }

// The row in slot `row` of data page `page`. With follow_overflow, a slot
// that only forwards to another page is followed (once). A deleted slot is
// kNotFound.
Result<RowRef> FindRow(Pager& pager, uint32_t page, uint32_t row, bool follow_overflow);

// Decodes the row's fields into `out` (one per column of `def`, in column
// order). With only >= 0 just that column is decoded; the others stay null.
Status DecodeRow(Pager& pager, const TableDef& def, const RowRef& row, int only, std::vector<Value>& out);

// Pages named by a usage map, ascending, each below the file's page count.
Result<std::vector<uint32_t>> ReadUsageMap(Pager& pager, uint32_t map_pointer);

// The table's live rows in storage order: owned data pages ascending, slots
// in order. A row moved to another page comes where it now lies (the order
// of mdbtools and mdb-reader), named by the slot that forwards to it.
Result<std::vector<uint32_t>> ScanTableRows(Pager& pager, const TableDef& def);

}  // namespace jet
