#include "jet/write_row.h"

#include <algorithm>
#include <limits>

#include "jet/text.h"
#include "jet/write_bytes.h"

namespace jet::write {

void Arrange(Layout& l) {
  for (auto& c : l.cols) {
    if (c.boolean) continue;
    if (c.fixed) {
      c.fixed_offset = static_cast<std::uint16_t>(l.fixed_size);
      l.fixed_size += c.length;
    } else {
      c.var_index = static_cast<std::uint16_t>(l.var_count++);
    }
  }
}

// Column count, fixed area, variable values, their end and offsets (last
// first), the variable count, then the null mask.
Bytes EncodeRow(const Layout& l, const std::vector<Cell>& cells) {
  const std::size_t ncols = l.cols.size();
  Bytes row(2 + l.fixed_size, 0);
  PutU16(row, 0, static_cast<std::uint32_t>(ncols));
  for (const auto& c : l.cols) {
    const Cell& cell = cells[c.number];
    if (c.fixed && !c.boolean && cell.present)
      std::copy(cell.bytes.begin(), cell.bytes.end(), row.begin() + 2 + c.fixed_offset);
  }
  if (l.var_count > 0) {
    std::vector<std::uint32_t> offsets(l.var_count);
    for (std::size_t v = 0; v < l.var_count; ++v) {
      for (const auto& c : l.cols) {
        if (c.fixed || c.var_index != v) continue;
        offsets[v] = static_cast<std::uint32_t>(row.size());
        const Cell& cell = cells[c.number];
        if (cell.present) row.insert(row.end(), cell.bytes.begin(), cell.bytes.end());
      }
    }
    AddU16(row, static_cast<std::uint32_t>(row.size()));  // end of variable data
    for (std::size_t v = l.var_count; v-- > 0;) AddU16(row, offsets[v]);
    AddU16(row, static_cast<std::uint32_t>(l.var_count));
  }
  Bytes mask((ncols + 7) / 8, 0);
  for (const auto& c : l.cols) {
    const Cell& cell = cells[c.number];
    const bool bit = c.boolean ? (cell.present && !cell.bytes.empty() && cell.bytes[0] != 0)
                               : cell.present;
    if (bit) mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
  }
  row.insert(row.end(), mask.begin(), mask.end());
  return row;
}

Cell LongCell(std::uint32_t v) {
  Cell c{true, {}};
  AddU32(c.bytes, v);
  return c;
}

std::optional<std::string> FixedCell(ColumnType type, const WriterValue& v, Cell& out) {
  if (std::holds_alternative<std::monostate>(v)) {
    out.present = false;
    return std::nullopt;
  }
  out.present = true;
  if (type == ColumnType::kDouble) {
    double d;
    if (auto* i = std::get_if<std::int64_t>(&v)) d = static_cast<double>(*i);
    else if (auto* f = std::get_if<double>(&v)) d = *f;
    else return "a number is needed";
    AddF64(out.bytes, d);
    return std::nullopt;
  }
  const auto* i = std::get_if<std::int64_t>(&v);
  if (!i) return "an integer is needed";
  std::int64_t lo = 0, hi = 0;
  int size = 0;
  switch (type) {
    case ColumnType::kBoolean: lo = 0; hi = 1; size = 1; break;
    case ColumnType::kByte: lo = 0; hi = 255; size = 1; break;
    case ColumnType::kInteger: lo = -32768; hi = 32767; size = 2; break;
    default: lo = std::numeric_limits<std::int32_t>::min(); hi = std::numeric_limits<std::int32_t>::max(); size = 4; break;
  }
  if (*i < lo || *i > hi) return "value out of range";
  const auto u = static_cast<std::uint64_t>(*i);
  for (int k = 0; k < size; ++k) out.bytes.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
  return std::nullopt;
}

Bytes TextCell(const WriterColumn& col, const std::u16string& text) {
  if (!col.fixed_length) return EncodeJet4Text(text);
  std::u16string padded = text;
  padded.resize(static_cast<std::size_t>(col.max_chars), u' ');
  return EncodeUcs2(padded);
}

}  // namespace jet::write
