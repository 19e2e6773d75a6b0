// Rows as the writer lays them out: the columns' places in a row, the cells
// made from the caller's values, and the encoded row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/writer.h"

namespace jet::write {

// One column as the definition describes it.
struct ColDef {
  std::u16string name;
  std::uint8_t type = 0;
  std::uint8_t flags = 0;
  std::uint8_t extra_flags = 0;
  std::uint16_t length = 0;
  std::uint16_t number = 0;
  std::uint16_t var_index = 0;
  std::uint16_t fixed_offset = 0;
  bool fixed = false;
  bool boolean = false;  // stored as its null-mask bit alone
};

// One cell ready for the row: present or null, and its stored bytes.
struct Cell {
  bool present = false;
  Bytes bytes;
};

struct Layout {
  std::vector<ColDef> cols;
  std::size_t fixed_size = 0;
  std::size_t var_count = 0;
};

// Assigns fixed offsets and variable-table slots in column order.
void Arrange(Layout& l);

// The row of `cells`, indexed by column number.
Bytes EncodeRow(const Layout& l, const std::vector<Cell>& cells);

Cell LongCell(std::uint32_t v);

// The stored bytes of a value in a fixed-size column (not Text or Memo), or
// why the value does not fit the column.
std::optional<std::string> FixedCell(ColumnType type, const WriterValue& v, Cell& out);

// A Text column's stored bytes: a fixed-length one at its full width in
// plain UCS-2 (every value the same size), else compressed where it can be.
Bytes TextCell(const WriterColumn& col, const std::u16string& text);

}  // namespace jet::write
