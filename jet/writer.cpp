// Jet 4 writer: validates the table, turns its values into cells, packs the
// rows, builds the index and last the usage maps and definitions, which name
// everything placed before them. The page plan is in write_pages.h; the
// format itself in FORMAT.md.
#include "jet/writer.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "base/utf.h"
#include "jet/text.h"
#include "jet/write_index.h"
#include "jet/write_memo.h"
#include "jet/write_pages.h"
#include "jet/write_row.h"
#include "jet/write_tdef.h"

namespace jet {
namespace {

using namespace write;

// What validation leaves for the later steps.
struct Plan {
  std::u16string table_name;
  std::u16string index_name;
  Layout user;                                             // column 0 is the autonumber
  std::vector<std::pair<std::int32_t, std::size_t>> by_id;  // (id, row) in key order
  std::vector<std::size_t> memo_cols;                      // of WriterTable::columns
};

std::string Describe(const WriterTable& t, std::size_t row, std::size_t col, const std::string& why) {
  const std::string column = col < t.columns.size() ? t.columns[col].name : t.id_column;
  return "row " + std::to_string(row) + " (id " + std::to_string(t.rows[row].id) + "), column " +
         column + ": " + why;
}

std::optional<std::u16string> Name(const std::string& s) {
  auto n = base::Utf8ToUtf16Strict(s);
  if (!n || n->empty() || n->size() > 64) return std::nullopt;
  return n;
}

// The user table's columns: the autonumber, then the caller's.
std::optional<std::string> UserLayout(const WriterTable& t, Layout& l) {
  std::vector<std::string> all{t.id_column};
  for (const auto& c : t.columns) all.push_back(c.name);
  if (all.size() > 255) return "too many columns";
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < all.size(); ++i) {
    auto n = Name(all[i]);
    if (!n) return "bad column name '" + all[i] + "'";
    for (std::size_t j = 0; j < i; ++j)
      if (all[j] == all[i]) return "column name '" + all[i] + "' repeats";
    names.push_back(*n);
  }
  ColDef id;
  id.name = names[0];
  id.type = static_cast<std::uint8_t>(ColumnType::kLong);
  id.length = 4;
  id.fixed = true;
  id.flags = 0x07;  // fixed, updatable, autonumber
  l.cols.push_back(id);
  for (std::size_t i = 0; i < t.columns.size(); ++i) {
    const auto& src = t.columns[i];
    ColDef c;
    c.name = names[i + 1];
    c.number = static_cast<std::uint16_t>(i + 1);
    c.type = static_cast<std::uint8_t>(src.type);
    c.flags = 0x02;
    switch (src.type) {
      case ColumnType::kBoolean: c.length = 1; c.fixed = true; c.boolean = true; break;
      case ColumnType::kByte: c.length = 1; c.fixed = true; break;
      case ColumnType::kInteger: c.length = 2; c.fixed = true; break;
      case ColumnType::kLong: c.length = 4; c.fixed = true; break;
      case ColumnType::kDouble: c.length = 8; c.fixed = true; break;
      case ColumnType::kText:
        if (src.max_chars < 1 || src.max_chars > 255) return "column " + src.name + ": text length 1..255";
        c.length = static_cast<std::uint16_t>(2 * src.max_chars);
        c.extra_flags = 0x01;  // may be compressed
        c.fixed = src.fixed_length;
        break;
      case ColumnType::kMemo: c.extra_flags = 0x01; break;
      default: return "column " + src.name + ": unsupported type";
    }
    if (src.fixed_length && src.type != ColumnType::kText) return "column " + src.name + ": only Text can be fixed-length";
    if (c.fixed) c.flags |= 0x01;
    l.cols.push_back(c);
  }
  Arrange(l);
  return std::nullopt;
}

// Names, columns and ids, before anything is placed.
std::optional<std::string> Validate(const WriterTable& table, Plan& plan) {
  const auto table_name = Name(table.name);
  const auto index_name = Name(table.index_name);
  if (!table_name) return "bad table name";
  if (!index_name) return "bad index name";
  plan.table_name = *table_name;
  plan.index_name = *index_name;
  if (auto err = UserLayout(table, plan.user)) return err;
  plan.by_id.reserve(table.rows.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    if (table.rows[r].values.size() != table.columns.size())
      return "row " + std::to_string(r) + ": wrong number of values";
    plan.by_id.emplace_back(table.rows[r].id, r);
  }
  std::sort(plan.by_id.begin(), plan.by_id.end());
  for (std::size_t i = 1; i < plan.by_id.size(); ++i)
    if (plan.by_id[i].first == plan.by_id[i - 1].first) return "id " + std::to_string(plan.by_id[i].first) + " repeats";
  for (std::size_t c = 0; c < table.columns.size(); ++c)
    if (table.columns[c].type == ColumnType::kMemo) plan.memo_cols.push_back(c);
  return std::nullopt;
}

// Every row's cells by column number. Memos go onto LVAL pages as they come,
// each column on pages of its own so its usage map lists only its own.
std::optional<std::string> MakeCells(const WriterTable& table, const Plan& plan, std::vector<RowPacker>& lvals,
                                     std::vector<std::vector<Cell>>& cells) {
  cells.assign(table.rows.size(), std::vector<Cell>(plan.user.cols.size()));
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const WriterRow& row = table.rows[r];
    cells[r][0] = LongCell(static_cast<std::uint32_t>(row.id));
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      const WriterColumn& col = table.columns[c];
      Cell& cell = cells[r][c + 1];
      const WriterValue& v = row.values[c];
      if (col.type != ColumnType::kText && col.type != ColumnType::kMemo) {
        if (auto err = FixedCell(col.type, v, cell)) return Describe(table, r, c, *err);
        continue;
      }
      if (std::holds_alternative<std::monostate>(v)) continue;
      const auto* s = std::get_if<std::string>(&v);
      if (!s) return Describe(table, r, c, "text is needed");
      const auto u = base::Utf8ToUtf16Strict(*s);
      if (!u) return Describe(table, r, c, "invalid UTF-8");
      cell.present = true;
      if (col.type == ColumnType::kText) {
        if (u->size() > static_cast<std::size_t>(col.max_chars))
          return Describe(table, r, c, "text longer than the column");
        cell.bytes = TextCell(col, *u);
        continue;
      }
      Bytes data = EncodeJet4Text(*u);
      if (data.size() >= (1u << 24)) return Describe(table, r, c, "memo too long");
      const auto lv = std::find(plan.memo_cols.begin(), plan.memo_cols.end(), c) - plan.memo_cols.begin();
      cell.bytes = PlaceMemo(std::move(data), lvals[lv]);
    }
  }
  return std::nullopt;
}

// The data rows in the caller's storage order; `where` gets each row's pointer.
std::optional<std::string> PlaceRows(const WriterTable& table, const Layout& user,
                                     const std::vector<std::vector<Cell>>& cells, RowPacker& data,
                                     std::vector<std::uint32_t>& where) {
  where.resize(table.rows.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    Bytes encoded = EncodeRow(user, cells[r]);
    if (encoded.size() > kMaxRow) return Describe(table, r, table.columns.size(), "row does not fit a page");
    where[r] = data.Add(std::move(encoded));
  }
  return std::nullopt;
}

std::vector<Bytes> IndexEntries(const Plan& plan, const std::vector<std::uint32_t>& where) {
  std::vector<Bytes> entries;
  entries.reserve(plan.by_id.size());
  for (const auto& [id, r] : plan.by_id) entries.push_back(LeafEntry(id, where[r]));
  return entries;
}

// Usage-map rows on pages of their own, after everything they describe.
// Each table and long-value column has two: the pages it owns, and those
// with free space (none: the file is written once).
class MapRows {
 public:
  explicit MapRows(PageFile& file) : rows_(file, 0) {}
  // The map's row pointer; once one map did not fit, no more are placed.
  std::uint32_t Add(std::uint32_t first, const std::vector<std::uint32_t>& pages) {
    std::optional<Bytes> row;
    if (ok_) row = UsageMap(first, pages);
    ok_ = row.has_value();
    return ok_ ? rows_.Add(std::move(*row)) : 0;
  }
  LvMaps Pair(std::uint32_t column, const std::vector<std::uint32_t>& pages) {
    const std::uint32_t first = pages.empty() ? 0 : pages.front();
    const std::uint32_t owned = Add(first, pages);
    return {column, owned, Add(first, {})};
  }
  bool ok() const { return ok_; }
  void Render() const { rows_.Render(); }

 private:
  RowPacker rows_;
  bool ok_ = true;
};

WriteResult Fail(std::string why) {
  WriteResult r;
  r.error = std::move(why);
  return r;
}

}  // namespace

WriteResult WriteDatabase(const WriterTable& table, const WriterOptions& options) {
  Plan plan;
  if (auto err = Validate(table, plan)) return Fail(*err);

  PageFile file;
  std::vector<RowPacker> lvals;
  for (std::size_t m = 0; m < plan.memo_cols.size(); ++m) lvals.emplace_back(file, kLvalOwner);
  std::vector<std::vector<Cell>> cells;
  if (auto err = MakeCells(table, plan, lvals, cells)) return Fail(*err);

  RowPacker data(file, kUserTdefPage);
  std::vector<std::uint32_t> where;
  if (auto err = PlaceRows(table, plan.user, cells, data, where)) return Fail(*err);
  cells.clear();

  const IndexTree tree = WriteIndex(file, IndexEntries(plan, where));

  MapRows maps(file);
  const Layout catalog = CatalogLayout();
  TdefInput cat_in;
  cat_in.table_type = 0x53;
  cat_in.layout = &catalog;
  cat_in.rows = 3;
  TdefInput user_in;
  user_in.layout = &plan.user;
  user_in.rows = static_cast<std::uint32_t>(table.rows.size());
  user_in.autonumber = plan.by_id.empty() ? 0 : static_cast<std::uint32_t>(std::max(0, plan.by_id.back().first));
  const auto data_pages = data.PageNumbers();
  const std::uint32_t first_data = data_pages.empty() ? kUserTdefPage : data_pages.front();
  cat_in.owned_ptr = maps.Add(kCatalogRowsPage, {kCatalogRowsPage});
  cat_in.free_ptr = maps.Add(kCatalogRowsPage, {});
  user_in.owned_ptr = maps.Add(first_data, data_pages);
  user_in.free_ptr = maps.Add(first_data, {});
  user_in.index = IndexDef{plan.index_name, maps.Add(tree.pages.front(), tree.pages), tree.root};
  for (const auto& c : catalog.cols)
    if (c.type == 0x0B || c.type == 0x0C) cat_in.lv_maps.push_back(maps.Pair(c.number, {}));
  for (std::size_t m = 0; m < plan.memo_cols.size(); ++m)
    user_in.lv_maps.push_back(maps.Pair(static_cast<std::uint32_t>(plan.memo_cols[m] + 1), lvals[m].PageNumbers()));
  if (!maps.ok()) return Fail("too many pages for the usage maps");

  auto cat_rows = CatalogRowsPage(catalog, plan.table_name, options.created);
  if (!cat_rows) return Fail("table name too long");
  auto cat_tdef = EncodeTdef(cat_in);
  auto user_tdef = EncodeTdef(user_in);
  if (!cat_tdef || !user_tdef) return Fail("table definition does not fit a page");
  file.Set(kCatalogRowsPage, std::move(*cat_rows));
  file.Set(kCatalogPage, std::move(*cat_tdef));
  file.Set(kUserTdefPage, std::move(*user_tdef));
  for (const auto& lv : lvals) lv.Render();
  data.Render();
  maps.Render();
  auto global = GlobalMapPage(file.Count());
  if (!global) return Fail("too many pages for the usage maps");
  file.Set(1, std::move(*global));
  file.Set(0, HeaderPage(options.created));

  WriteResult result;
  result.ok = true;
  result.bytes = file.Join();
  return result;
}

std::string WriteDatabaseFile(const std::string& path, const WriterTable& table,
                              const WriterOptions& options) {
  WriteResult r = WriteDatabase(table, options);
  if (!r.ok) return r.error;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return "cannot create " + path;
  out.write(reinterpret_cast<const char*>(r.bytes.data()), static_cast<std::streamsize>(r.bytes.size()));
  out.close();
  if (!out) return "cannot write " + path;
  return {};
}

}  // namespace jet
