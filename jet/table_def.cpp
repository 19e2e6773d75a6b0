#include "jet/table_def.h"

#include <algorithm>
#include <set>

#include "jet/byte_reader.h"
#include "jet/text.h"

namespace jet {
namespace {

bool IsFixedSizeType(ColumnType t) {
  switch (t) {
    case ColumnType::kBoolean: case ColumnType::kByte: case ColumnType::kInteger: case ColumnType::kLong:
    case ColumnType::kCurrency: case ColumnType::kSingle: case ColumnType::kDouble: case ColumnType::kDateTime:
    case ColumnType::kGuid: case ColumnType::kNumeric:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::u16string DecodeName(const Format& format, const uint8_t* data, size_t size, uint16_t code_page) {
  return format.jet3() ? DecodeCodePage(data, size, code_page) : DecodeJet4Text(data, size);
}

bool NamesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

int FindColumnByName(const std::vector<ColumnInfo>& columns, std::u16string_view name) {
  for (size_t i = 0; i < columns.size(); ++i)
    if (NamesEqual(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

Result<TableDef> ReadTableDef(Pager& pager, uint32_t first_page) {
  const Format& f = pager.format();
  const uint32_t ps = f.page_size;

  // Concatenate the definition pages: the first whole, the rest without
  // their 8-byte headers. The visited set stops a chain that loops.
  std::vector<uint8_t> buf;
  std::set<uint32_t> visited;
  uint32_t page_no = first_page;
  while (true) {
    if (!visited.insert(page_no).second)
      return Status::Corruption(page_no, 4, "table definition pages form a loop");
    auto page = pager.Get(page_no);
    if (!page.ok()) return page.status();
    const uint8_t* p = page->data.get();
    if (p[0] != 0x02) return Status::Corruption(page_no, 0, "expected a table definition page");
    if (buf.empty())
      buf.insert(buf.end(), p, p + ps);
    else
      buf.insert(buf.end(), p + 8, p + ps);
    page_no = uint32_t{p[4]} | uint32_t{p[5]} << 8 | uint32_t{p[6]} << 16 | uint32_t{p[7]} << 24;
    if (page_no == 0) break;
  }

  ByteReader r(buf.data(), buf.size(), first_page, 0);
  TableDef def;
  def.page = first_page;
  const uint32_t tdef_len = r.U32(8);
  // Everything of the definition lies within tdef_len; keep reads inside it.
  if (tdef_len < f.tdef_variable_part || tdef_len > buf.size())
    return Status::Corruption(first_page, 8, "table definition length out of range");
  ByteReader t(buf.data(), tdef_len, first_page, 0);

  def.table_type = t.U8(f.tdef_table_type);
  def.num_var_cols = t.U16(f.tdef_num_var_cols);
  const uint16_t num_cols = t.U16(f.tdef_num_cols);
  const uint32_t num_logical = t.U32(f.tdef_num_logical);
  const uint32_t num_real = t.U32(f.tdef_num_real);
  def.owned_map = t.U32(f.tdef_owned_map);
  JET_RETURN_IF_ERROR(t.status("table definition"));

  size_t pos = f.tdef_variable_part;
  // Counts are checked against the bytes they need before anything is
  // allocated for them.
  const uint64_t fixed_need = uint64_t{num_real} * (f.real_index_stats + f.real_index_size) +
                              uint64_t{num_cols} * f.column_size + uint64_t{num_logical} * f.logical_index_size;
  if (fixed_need > tdef_len) return Status::Corruption(first_page, f.tdef_num_cols, "column or index counts too large");
  pos += size_t{num_real} * f.real_index_stats;

  const uint16_t cp = pager.code_page();
  def.columns.resize(num_cols);
  for (auto& c : def.columns) {
    const uint8_t type = t.U8(pos);
    c.info.type = static_cast<ColumnType>(type);
    c.info.number = t.U16(pos + f.col_number);
    c.var_index = t.U16(pos + f.col_var_index);
    const uint8_t flags = t.U8(pos + f.col_flags);
    c.fixed_offset = t.U16(pos + f.col_fixed_offset);
    c.info.length = t.U16(pos + f.col_length);
    // Follow the flag, not the type: a table written by another engine may
    // keep a fixed-size type in the variable area.
    c.info.fixed = (flags & 0x01) != 0;
    c.info.auto_number = (flags & 0x04) != 0;
    if (c.info.type == ColumnType::kNumeric) {
      c.info.precision = t.U8(pos + f.col_precision);
      c.info.scale = t.U8(pos + f.col_scale);
    }
    if (c.info.type == ColumnType::kBoolean) c.info.fixed = true;  // its value is the mask bit
    // Text and Binary marked fixed take their declared width of the fixed
    // area (Access' fixed-length fields); long values never live there.
    const bool sized = c.info.type == ColumnType::kText || c.info.type == ColumnType::kBinary;
    if (!IsFixedSizeType(c.info.type) && !sized) c.info.fixed = false;
    pos += f.column_size;
  }
  // A name: its length (a byte in Jet 3, two in Jet 4), then its bytes.
  auto read_name = [&](std::u16string& out) {
    const size_t len = f.name_length_size == 1 ? t.U8(pos) : t.U16(pos);
    pos += f.name_length_size;
    const uint8_t* name = t.Span(pos, len);
    if (!name) return false;
    out = DecodeName(f, name, len, cp);
    pos += len;
    return true;
  };
  for (auto& c : def.columns)
    if (!read_name(c.info.name)) break;
  JET_RETURN_IF_ERROR(t.status("column definitions"));
  std::stable_sort(def.columns.begin(), def.columns.end(),
                   [](const ColumnDef& a, const ColumnDef& b) { return a.info.number < b.info.number; });
  for (size_t i = 1; i < def.columns.size(); ++i)
    if (def.columns[i].info.number == def.columns[i - 1].info.number)
      return Status::Corruption(first_page, 0, "two columns with the same number");

  def.real_indexes.resize(num_real);
  for (auto& ri : def.real_indexes) {
    for (int k = 0; k < 10; ++k) {
      const uint16_t col = t.U16(pos + f.real_index_columns + 3 * k);
      const uint8_t order = t.U8(pos + f.real_index_columns + 3 * k + 2);
      if (col != 0xFFFF) ri.keys.push_back({col, order != 0x00});
    }
    ri.root_page = t.U32(pos + f.real_index_root);
    ri.flags = t.U8(pos + f.real_index_flags);
    pos += f.real_index_size;
  }
  def.logical_indexes.resize(num_logical);
  for (auto& li : def.logical_indexes) {
    li.real_index = t.U32(pos + f.logical_index_real);
    li.kind = t.U8(pos + f.logical_index_type);
    pos += f.logical_index_size;
  }
  for (auto& li : def.logical_indexes)
    if (!read_name(li.name)) break;
  JET_RETURN_IF_ERROR(t.status("index definitions"));

  for (const auto& c : def.columns) def.column_infos.push_back(c.info);
  for (const auto& li : def.logical_indexes) {
    if (li.real_index >= def.real_indexes.size())
      return Status::Corruption(first_page, 0, "logical index refers to a missing real index");
    const RealIndexDef& ri = def.real_indexes[li.real_index];
    IndexInfo info;
    info.name = li.name;
    info.primary_key = li.kind == 1;
    info.unique = (ri.flags & 0x01) != 0;
    info.ignore_nulls = (ri.flags & 0x02) != 0;
    for (const auto& key : ri.keys) {
      auto it = std::find_if(def.columns.begin(), def.columns.end(),
                             [&](const ColumnDef& c) { return c.info.number == key.column_number; });
      if (it == def.columns.end())
        return Status::Corruption(first_page, 0, "index refers to a missing column");
      info.columns.push_back({static_cast<size_t>(it - def.columns.begin()), key.ascending});
    }
    def.index_infos.push_back(std::move(info));
  }
  return def;
}

}  // namespace jet
