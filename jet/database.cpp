// Database and Table: the catalog (MSysObjects, table definition on page 2)
// and the cursor over one table's records.
#include "jet/database.h"

#include <algorithm>
#include <cstring>

#include "base/utf.h"
#include "jet/index.h"
#include "jet/pager.h"
#include "jet/row.h"
#include "jet/table_def.h"

namespace jet {

namespace {

constexpr int kObjectTable = 1;
// Flags that mark Access' own tables in the catalog.
constexpr uint32_t kSystemFlags = 0x80000002u;

struct CatalogEntry {
  std::u16string name;
  uint32_t id = 0;
  int type = 0;
  uint32_t flags = 0;
};

int64_t AsInteger(const Value& v) {
  if (v.Is<int32_t>()) return v.Get<int32_t>();
  if (v.Is<int16_t>()) return v.Get<int16_t>();
  if (v.Is<uint8_t>()) return v.Get<uint8_t>();
  return 0;
}

}  // namespace

struct Database::State {
  std::unique_ptr<Pager> pager;
  std::vector<CatalogEntry> catalog;
};

struct Table::State {
  std::shared_ptr<Database::State> db;
  std::u16string name;
  TableDef def;
  std::vector<uint32_t> order;  // row pointers in the current order
  std::vector<uint32_t> stored;  // the live rows in storage order, sorted
  int64_t pos = 0;              // -1 = before the first, order.size() = after the last
};

namespace {

Status ReadCatalog(Database::State& s) {
  Pager& pager = *s.pager;
  auto def = ReadTableDef(pager, kCatalogPage);
  if (!def.ok()) return def.status();
  const int id = FindColumnByName(def->column_infos, u"Id");
  const int name = FindColumnByName(def->column_infos, u"Name");
  const int type = FindColumnByName(def->column_infos, u"Type");
  const int flags = FindColumnByName(def->column_infos, u"Flags");
  if (id < 0 || name < 0 || type < 0) return Status::Corruption(kCatalogPage, 0, "catalog lacks Id, Name or Type");
  auto rows = ScanTableRows(pager, *def);
  if (!rows.ok()) return rows.status();
  std::vector<Value> values;
  // Only the four columns needed: the others hold property blobs in long
  // values, and reading those for every object would cost more than the rest.
  auto field = [&](const RowRef& row, int column, Value& out) -> Status {
    JET_RETURN_IF_ERROR(DecodeRow(pager, *def, row, column, values));
    out = std::move(values[static_cast<size_t>(column)]);
    return Status::Ok();
  };
  for (uint32_t ptr : *rows) {
    auto row = FindRow(pager, PointerPage(ptr), PointerRow(ptr), true);
    if (!row.ok()) return row.status();
    Value n, id_value, type_value, flags_value;
    JET_RETURN_IF_ERROR(field(*row, name, n));
    if (!n.Is<std::u16string>()) continue;
    JET_RETURN_IF_ERROR(field(*row, id, id_value));
    JET_RETURN_IF_ERROR(field(*row, type, type_value));
    if (flags >= 0) JET_RETURN_IF_ERROR(field(*row, flags, flags_value));
    CatalogEntry e;
    e.name = n.Get<std::u16string>();
    e.id = static_cast<uint32_t>(AsInteger(id_value));
    e.type = static_cast<int>(AsInteger(type_value));
    e.flags = static_cast<uint32_t>(AsInteger(flags_value));
    s.catalog.push_back(std::move(e));
  }
  return Status::Ok();
}

}  // namespace

Result<Database> Database::OpenFromSource(std::unique_ptr<ByteSource> source, const OpenOptions& options) {
  auto pager = Pager::Create(std::move(source), options.jet3_code_page);
  if (!pager.ok()) return pager.status();
  auto state = std::make_shared<Database::State>();
  state->pager = std::move(*pager);
  JET_RETURN_IF_ERROR(ReadCatalog(*state));
  return Database(std::move(state));
}

Result<Database> Database::Open(const std::filesystem::path& path, const OpenOptions& options) {
  return OpenFile(path.native(), options);
}

Result<Database> Database::OpenFile(const std::filesystem::path::string_type& name, const OpenOptions& options) {
  auto source = FileSource(name);
  if (!source.ok()) return source.status();
  return OpenFromSource(std::move(*source), options);
}

Result<Database> Database::OpenFromMemory(std::vector<uint8_t> bytes, const OpenOptions& options) {
  return OpenFromSource(MemorySource(std::move(bytes)), options);
}

JetVersion Database::Version() const { return state_->pager->format().version; }
uint16_t Database::CodePage() const { return state_->pager->code_page(); }

Result<std::vector<std::u16string>> Database::TableNames(bool include_system) const {
  std::vector<std::u16string> names;
  for (const auto& e : state_->catalog) {
    if ((e.type & 0x7F) != kObjectTable) continue;
    if (!include_system && (e.flags & kSystemFlags) != 0) continue;
    names.push_back(e.name);
  }
  return names;
}

Result<Table> Database::OpenTable(std::string_view utf8_name) const {
  const std::u16string wanted = base::Utf8ToUtf16(utf8_name);
  for (const auto& e : state_->catalog) {
    if ((e.type & 0x7F) != kObjectTable || !NamesEqual(e.name, wanted)) continue;
    auto ts = std::make_shared<Table::State>();
    ts->db = state_;
    ts->name = e.name;
    auto def = ReadTableDef(*state_->pager, e.id & 0x00FFFFFF);
    if (!def.ok()) return def.status();
    ts->def = std::move(*def);
    auto rows = ScanTableRows(*state_->pager, ts->def);
    if (!rows.ok()) return rows.status();
    ts->order = std::move(*rows);
    ts->stored = ts->order;
    std::sort(ts->stored.begin(), ts->stored.end());
    return Table(std::move(ts));
  }
  return Status::NotFound("no table " + std::string(utf8_name));
}

const std::u16string& Table::Name() const { return state_->name; }
const std::vector<ColumnInfo>& Table::Columns() const { return state_->def.column_infos; }
const std::vector<IndexInfo>& Table::Indexes() const { return state_->def.index_infos; }

int Table::FindColumn(std::string_view utf8_name) const {
  return FindColumnByName(state_->def.column_infos, base::Utf8ToUtf16(utf8_name));
}

namespace {

// The viewer finds records by their place in index order, so an index that
// misses records, names one twice or points elsewhere would show the wrong
// record without a word. Such an index is refused instead.
Status CheckIndexRows(const Table::State& s, const RealIndexDef& index, const std::vector<uint32_t>& rows) {
  std::vector<uint32_t> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
    return Status::Corruption(index.root_page, 0, "index lists a record twice");
  if (!std::includes(s.stored.begin(), s.stored.end(), sorted.begin(), sorted.end()))
    return Status::Corruption(index.root_page, 0, "index points at a row that is not a record of the table");
  const bool ignores_nulls = (index.flags & 0x02) != 0;
  if (!ignores_nulls && sorted.size() != s.stored.size())
    return Status::Corruption(index.root_page, 0,
                              "index lists " + std::to_string(sorted.size()) + " records, the table holds " +
                                  std::to_string(s.stored.size()));
  return Status::Ok();
}

}  // namespace

Status Table::SetIndex(std::string_view utf8_name) {
  State& s = *state_;
  if (utf8_name.empty()) {
    auto rows = ScanTableRows(*s.db->pager, s.def);
    if (!rows.ok()) return rows.status();
    s.order = std::move(*rows);
    s.pos = 0;
    return Status::Ok();
  }
  const std::u16string wanted = base::Utf8ToUtf16(utf8_name);
  for (const auto& li : s.def.logical_indexes) {
    if (!NamesEqual(li.name, wanted)) continue;
    // The logical index names its B-tree by position in the real-index
    // list; its own number is not that position in every file.
    const RealIndexDef& real = s.def.real_indexes[li.real_index];
    auto rows = ReadIndexRows(*s.db->pager, s.def, real);
    if (!rows.ok()) return rows.status();
    JET_RETURN_IF_ERROR(CheckIndexRows(s, real, *rows));
    s.order = std::move(*rows);
    s.pos = 0;
    return Status::Ok();
  }
  return Status::NotFound("no index " + std::string(utf8_name));
}

Status Table::MoveFirst() {
  state_->pos = 0;
  return state_->order.empty() ? Status::NotFound("the table has no records") : Status::Ok();
}

Status Table::Move(int64_t rows) {
  State& s = *state_;
  const int64_t size = static_cast<int64_t>(s.order.size());
  // Saturate instead of overflowing on absurd counts.
  int64_t target;
  if (__builtin_add_overflow(s.pos, rows, &target)) target = rows < 0 ? -1 : size;
  if (target < 0) {
    s.pos = -1;
    return Status::NotFound("moved before the first record");
  }
  if (target >= size) {
    s.pos = size;
    return Status::NotFound("moved past the last record");
  }
  s.pos = target;
  return Status::Ok();
}

bool Table::Eof() const { return state_->pos >= static_cast<int64_t>(state_->order.size()); }
bool Table::Bof() const { return state_->pos < 0 || state_->order.empty(); }

Result<uint64_t> Table::RecordCount() { return static_cast<uint64_t>(state_->order.size()); }

Bookmark Table::GetBookmark() const {
  const State& s = *state_;
  if (Bof() || Eof()) return {};
  const uint32_t ptr = s.order[static_cast<size_t>(s.pos)];
  const uint32_t pos = static_cast<uint32_t>(s.pos);
  Bookmark b(8);
  for (int i = 0; i < 4; ++i) {
    b[static_cast<size_t>(i)] = static_cast<uint8_t>(ptr >> (8 * i));
    b[static_cast<size_t>(4 + i)] = static_cast<uint8_t>(pos >> (8 * i));
  }
  return b;
}

Status Table::SetBookmark(const Bookmark& b) {
  State& s = *state_;
  if (b.size() != 8) return Status::InvalidArgument("not a bookmark of this table");
  uint32_t ptr = 0, pos = 0;
  for (int i = 0; i < 4; ++i) {
    ptr |= uint32_t{b[static_cast<size_t>(i)]} << (8 * i);
    pos |= uint32_t{b[static_cast<size_t>(4 + i)]} << (8 * i);
  }
  // The position is a hint: after SetIndex the same record sits elsewhere.
  if (pos < s.order.size() && s.order[pos] == ptr) {
    s.pos = pos;
    return Status::Ok();
  }
  for (size_t i = 0; i < s.order.size(); ++i) {
    if (s.order[i] == ptr) {
      s.pos = static_cast<int64_t>(i);
      return Status::Ok();
    }
  }
  return Status::InvalidArgument("not a bookmark of this table");
}

Result<Value> Table::Field(std::string_view utf8_name) const {
  const int col = FindColumn(utf8_name);
  if (col < 0) return Status::NotFound("no field " + std::string(utf8_name));
  return FieldAt(static_cast<size_t>(col));
}

Result<Value> Table::FieldAt(size_t column) const {
  const State& s = *state_;
  if (column >= s.def.columns.size()) return Status::NotFound("no such field");
  if (Bof() || Eof()) return Status::NotFound("no current record");
  const uint32_t ptr = s.order[static_cast<size_t>(s.pos)];
  auto row = FindRow(*s.db->pager, PointerPage(ptr), PointerRow(ptr), true);
  if (!row.ok()) return row.status();
  std::vector<Value> values;
  JET_RETURN_IF_ERROR(DecodeRow(*s.db->pager, s.def, *row, static_cast<int>(column), values));
  return std::move(values[column]);
}

Result<std::vector<Value>> Table::Row() const {
  const State& s = *state_;
  if (Bof() || Eof()) return Status::NotFound("no current record");
  const uint32_t ptr = s.order[static_cast<size_t>(s.pos)];
  auto row = FindRow(*s.db->pager, PointerPage(ptr), PointerRow(ptr), true);
  if (!row.ok()) return row.status();
  std::vector<Value> values;
  JET_RETURN_IF_ERROR(DecodeRow(*s.db->pager, s.def, *row, -1, values));
  return values;
}

}  // namespace jet
