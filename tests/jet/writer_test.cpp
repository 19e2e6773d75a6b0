// The writer's files, read back by mdbtools, by mdb-reader and by walking the
// index pages: every value and the index order must be what was written.
#include "jet/writer.h"

#include "jet/database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <random>

#include "base/utf.h"
#include "tests/jet/fixtures.h"
#include "tests/jet/oracle.h"

namespace {

using jet::ColumnType;
using jet::WriterRow;
using jet::WriterTable;
using jet::WriterValue;

constexpr std::uint32_t kUserTdefPage = 4;  // where the writer puts the table's definition

std::string Repeat(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

// A table with every supported type, rows stored in a shuffled order, nulls,
// Cyrillic and Latin text, and memos of all three storage kinds.
WriterTable MixedTable() {
  WriterTable t;
  t.name = "data_list";
  t.columns = {{"count", ColumnType::kLong},  {"ratio", ColumnType::kDouble},
               {"Name", ColumnType::kText, 40}, {"note", ColumnType::kMemo},
               {"small", ColumnType::kInteger}, {"tiny", ColumnType::kByte},
               {"flag", ColumnType::kBoolean}};
  const std::vector<std::string> names = {"Водород", "Helium", "Литий, \"Li\"", "Бр", "x", "Ab",
                                          "Желязо 55,845", "Ünïcødé ok"};
  const std::vector<std::string> notes = {
      "кратко", Repeat("Дълъг текст ", 20), Repeat("chain of pieces, ", 400),
      Repeat("Верига от парчета. ", 300), "line one\nline two", "Latin memo that is longer than sixty four bytes, stored in LVAL"};
  std::vector<int> ids(150);
  std::iota(ids.begin(), ids.end(), 1);
  std::mt19937 rng(7);
  std::shuffle(ids.begin(), ids.end(), rng);
  for (int id : ids) {
    WriterRow r;
    r.id = id;
    const bool nulls = id % 11 == 0;
    r.values = {nulls ? WriterValue{} : WriterValue{std::int64_t{id} * 1000 - 70000},
                nulls ? WriterValue{} : WriterValue{id / 8.0 - 3.25},
                nulls ? WriterValue{} : WriterValue{names[id % names.size()] + std::to_string(id)},
                nulls ? WriterValue{} : WriterValue{notes[id % notes.size()]},
                WriterValue{std::int64_t{id % 2 ? -id : id * 100}},
                WriterValue{std::int64_t{id % 256}},
                WriterValue{std::int64_t{id % 3 == 0}}};
    t.rows.push_back(std::move(r));
  }
  return t;
}

std::string Write(const WriterTable& t, const oracle::TempDir& dir, std::vector<std::uint8_t>* bytes = nullptr) {
  const auto path = (dir.path() / "test.mdb").string();
  const jet::WriteResult r = jet::WriteDatabase(t);
  EXPECT_TRUE(r.ok) << r.error;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(r.bytes.data()),
                                              static_cast<std::streamsize>(r.bytes.size()));
  if (bytes) *bytes = r.bytes;
  return path;
}

// The value as mdb-export prints it with -0 '<NULL>'.
std::string ExportText(const jet::WriterColumn& c, const WriterValue& v) {
  if (std::holds_alternative<std::monostate>(v)) return c.type == ColumnType::kBoolean ? "0" : "<NULL>";
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  if (auto* d = std::get_if<double>(&v)) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.16g", *d);
    return buf;
  }
  return std::to_string(std::get<std::int64_t>(v));
}

std::string JsonValue(const jet::WriterColumn& c, const WriterValue& v) {
  if (std::holds_alternative<std::monostate>(v)) return c.type == ColumnType::kBoolean ? "false" : "null";
  if (auto* s = std::get_if<std::string>(&v)) return oracle::JsonString(*s);
  if (auto* d = std::get_if<double>(&v)) return oracle::JsonNumber(*d);
  const auto i = std::get<std::int64_t>(v);
  if (c.type == ColumnType::kBoolean) return i ? "true" : "false";
  return std::to_string(i);
}

std::string JsonRow(const WriterTable& t, const WriterRow& r) {
  std::string line = "[" + std::to_string(r.id);
  for (size_t c = 0; c < t.columns.size(); ++c) line += "," + JsonValue(t.columns[c], r.values[c]);
  return line + "]";
}

TEST(JetWriterMdbTools, ListsTheTableAndItsColumns) {
  if (!oracle::HaveMdbTools()) GTEST_SKIP() << "mdbtools not installed";
  oracle::TempDir dir;
  const std::string path = Write(MixedTable(), dir);
  EXPECT_EQ(oracle::Run("mdb-ver " + oracle::Quote(path)).value_or(""), "JET4\n");
  EXPECT_EQ(oracle::Run("mdb-tables -1 " + oracle::Quote(path)).value_or(""), "data_list\n");
  const std::string schema = oracle::Run("mdb-schema " + oracle::Quote(path)).value_or("");
  for (const char* column : {"[ID]\t\t\tLong Integer", "[count]\t\t\tLong Integer", "[ratio]\t\t\tDouble",
                             "[Name]\t\t\tText (40)", "[note]\t\t\tMemo/Hyperlink", "[small]\t\t\tInteger",
                             "[tiny]\t\t\tByte", "[flag]\t\t\tBoolean"})
    EXPECT_NE(schema.find(column), std::string::npos) << column << "\n" << schema;
}

TEST(JetWriterMdbTools, ExportsEveryValueInStoredOrder) {
  if (!oracle::HaveMdbTools()) GTEST_SKIP() << "mdbtools not installed";
  oracle::TempDir dir;
  const WriterTable t = MixedTable();
  const std::string path = Write(t, dir);
  const auto out = oracle::Run("mdb-export -0 '<NULL>' " + oracle::Quote(path) + " data_list");
  ASSERT_TRUE(out);
  const auto csv = oracle::ParseCsv(*out);
  ASSERT_EQ(csv.size(), t.rows.size() + 1);
  std::vector<std::string> header{"ID"};
  for (const auto& c : t.columns) header.push_back(c.name);
  EXPECT_EQ(csv[0], header);
  for (size_t r = 0; r < t.rows.size(); ++r) {
    std::vector<std::string> expected{std::to_string(t.rows[r].id)};
    for (size_t c = 0; c < t.columns.size(); ++c) expected.push_back(ExportText(t.columns[c], t.rows[r].values[c]));
    EXPECT_EQ(csv[r + 1], expected) << "row " << r;
  }
}

TEST(JetWriterMdbReader, ReadsEveryValueAndTheTypes) {
  const std::string script = oracle::MdbReaderScript();
  if (script.empty()) GTEST_SKIP() << "node or mdb-reader not installed (npm ci in tools/oracle)";
  oracle::TempDir dir;
  const WriterTable t = MixedTable();
  const std::string path = Write(t, dir);
  const auto out = oracle::Run("node " + oracle::Quote(script) + " " + oracle::Quote(path) + " data_list");
  ASSERT_TRUE(out);
  const auto lines = jettest::Lines(*out);
  ASSERT_EQ(lines.size(), t.rows.size() + 4);
  EXPECT_EQ(lines[0], "[\"data_list\"]");
  EXPECT_EQ(lines[1], "[\"ID\",\"count\",\"ratio\",\"Name\",\"note\",\"small\",\"tiny\",\"flag\"]");
  EXPECT_EQ(lines[2], "[\"long\",\"long\",\"double\",\"text\",\"memo\",\"integer\",\"byte\",\"boolean\"]");
  EXPECT_EQ(lines[3], std::to_string(t.rows.size()));  // row count kept in the definition
  for (size_t r = 0; r < t.rows.size(); ++r) EXPECT_EQ(lines[r + 4], JsonRow(t, t.rows[r])) << "row " << r;
}

TEST(JetWriterIndex, OrdersRowsByIdWhateverTheStoredOrder) {
  oracle::TempDir dir;
  const WriterTable t = MixedTable();
  std::vector<std::uint8_t> bytes;
  Write(t, dir, &bytes);
  ASSERT_NE(t.rows.front().id, 1);  // really stored out of order
  std::string error;
  const auto ids = oracle::IndexOrderIds(bytes, kUserTdefPage, error);
  ASSERT_TRUE(ids) << error;
  std::vector<std::int32_t> expected(t.rows.size());
  std::iota(expected.begin(), expected.end(), 1);
  EXPECT_EQ(*ids, expected);
}

TEST(JetWriterIndex, EmptyTableHasAnEmptyLeafAndReadsBack) {
  oracle::TempDir dir;
  WriterTable t;
  t.name = "empty";
  t.columns = {{"Name", ColumnType::kText, 10}};
  std::vector<std::uint8_t> bytes;
  const std::string path = Write(t, dir, &bytes);
  std::string error;
  const auto ids = oracle::IndexOrderIds(bytes, kUserTdefPage, error);
  ASSERT_TRUE(ids) << error;
  EXPECT_TRUE(ids->empty());
  if (oracle::HaveMdbTools()) {
    EXPECT_EQ(oracle::Run("mdb-export " + oracle::Quote(path) + " empty").value_or("?"), "ID,Name\n");
  }
}

// Many rows: hundreds of data pages, index leaves under a node root, and a
// usage map longer than the 64 bytes Access writes for small tables.
class JetWriterLarge : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    table_ = new WriterTable;
    table_->name = "big";
    table_->columns = {{"n", ColumnType::kLong}, {"label", ColumnType::kText, 30}};
    constexpr int kRows = 100000;
    table_->rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
      // Stored in descending id order, ids with gaps.
      const int id = 3 * (kRows - i) + 5;
      table_->rows.push_back({id, {std::int64_t{id} * 7, std::string("Елемент ") + std::to_string(id)}});
    }
    const jet::WriteResult r = jet::WriteDatabase(*table_);
    ASSERT_TRUE(r.ok) << r.error;
    bytes_ = new std::vector<std::uint8_t>(r.bytes);
  }
  static void TearDownTestSuite() {
    delete table_;
    delete bytes_;
  }
  static WriterTable* table_;
  static std::vector<std::uint8_t>* bytes_;
};
WriterTable* JetWriterLarge::table_ = nullptr;
std::vector<std::uint8_t>* JetWriterLarge::bytes_ = nullptr;

TEST_F(JetWriterLarge, IndexWalkVisitsEveryRowInIdOrder) {
  std::string error;
  const auto ids = oracle::IndexOrderIds(*bytes_, kUserTdefPage, error);
  ASSERT_TRUE(ids) << error;
  ASSERT_EQ(ids->size(), table_->rows.size());
  EXPECT_TRUE(std::is_sorted(ids->begin(), ids->end()));
  EXPECT_EQ(ids->front(), 8);
  EXPECT_EQ(ids->back(), 300005);
}

TEST_F(JetWriterLarge, MdbExportReadsAllRows) {
  if (!oracle::HaveMdbTools()) GTEST_SKIP() << "mdbtools not installed";
  oracle::TempDir dir;
  const auto path = (dir.path() / "big.mdb").string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes_->data()),
                                              static_cast<std::streamsize>(bytes_->size()));
  const auto out = oracle::Run("mdb-export " + oracle::Quote(path) + " big");
  ASSERT_TRUE(out);
  const auto csv = oracle::ParseCsv(*out);
  ASSERT_EQ(csv.size(), table_->rows.size() + 1);
  for (size_t r : {size_t{0}, size_t{1}, size_t{4242}, table_->rows.size() - 1}) {
    const WriterRow& row = table_->rows[r];
    const std::vector<std::string> expected{std::to_string(row.id), std::to_string(std::get<std::int64_t>(row.values[0])),
                                            std::get<std::string>(row.values[1])};
    EXPECT_EQ(csv[r + 1], expected);
  }
}

TEST_F(JetWriterLarge, MdbReaderReadsAllRows) {
  const std::string script = oracle::MdbReaderScript();
  if (script.empty()) GTEST_SKIP() << "node or mdb-reader not installed";
  oracle::TempDir dir;
  const auto path = (dir.path() / "big.mdb").string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes_->data()),
                                              static_cast<std::streamsize>(bytes_->size()));
  const auto out = oracle::Run("node " + oracle::Quote(script) + " " + oracle::Quote(path) + " big");
  ASSERT_TRUE(out);
  const auto lines = jettest::Lines(*out);
  ASSERT_EQ(lines.size(), table_->rows.size() + 4);
  for (size_t r : {size_t{0}, size_t{77777}, table_->rows.size() - 1})
    EXPECT_EQ(lines[r + 4], JsonRow(*table_, table_->rows[r]));
}

// Past about 112 000 entries one node page no longer holds every leaf, so
// the root is a node over nodes.
TEST(JetWriterIndex, ThreeLevelTreeStaysInOrder) {
  WriterTable t;
  t.name = "deep";
  constexpr int kRows = 130000;
  for (int i = 0; i < kRows; ++i) t.rows.push_back({(i * 7919) % kRows, {}});  // a permutation of 0..kRows-1
  const jet::WriteResult w = jet::WriteDatabase(t);
  ASSERT_TRUE(w.ok) << w.error;
  std::string error;
  const auto ids = oracle::IndexOrderIds(w.bytes, kUserTdefPage, error);
  ASSERT_TRUE(ids) << error;
  ASSERT_EQ(ids->size(), static_cast<size_t>(kRows));
  for (int i = 0; i < kRows; ++i) ASSERT_EQ((*ids)[i], i);
  // The root really is a node whose first child is a node.
  const size_t tdef = kUserTdefPage * 4096;
  const size_t real = tdef + 0x3F + 12 + 25 + 2 + 2 * 2;  // stats, one descriptor, the name "ID"
  const std::uint32_t root = w.bytes[real + 0x26] | (w.bytes[real + 0x27] << 8) | (w.bytes[real + 0x28] << 16);
  ASSERT_EQ(w.bytes[root * 4096], 0x03);
  const size_t first = root * 4096 + 0x1E0 + 9;
  const std::uint32_t child = (w.bytes[first] << 24) | (w.bytes[first + 1] << 16) | (w.bytes[first + 2] << 8) | w.bytes[first + 3];
  EXPECT_EQ(w.bytes[child * 4096], 0x03);

  auto db = jet::Database::OpenFromMemory(w.bytes);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto table = db->OpenTable("deep");
  ASSERT_TRUE(table.ok());
  ASSERT_TRUE(table->SetIndex("ID").ok());
  ASSERT_TRUE(table->Move(kRows - 1).ok());
  EXPECT_EQ(*table->Field("ID"), jet::Value(std::int32_t{kRows - 1}));
}

TEST(JetWriterInput, RefusesWhatItCannotStoreFaithfully) {
  auto base = [] {
    WriterTable t;
    t.name = "t";
    t.columns = {{"Name", ColumnType::kText, 5}, {"n", ColumnType::kInteger}};
    t.rows = {{1, {std::string("abc"), std::int64_t{1}}}, {2, {std::string("def"), std::int64_t{2}}}};
    return t;
  };
  ASSERT_TRUE(jet::WriteDatabase(base()).ok);
  struct Case { const char* what; void (*change)(WriterTable&); const char* error_part; };
  const Case cases[] = {
      {"duplicate id", [](WriterTable& t) { t.rows[1].id = 1; }, "id 1 repeats"},
      {"invalid UTF-8", [](WriterTable& t) { t.rows[0].values[0] = std::string("a\xC3"); }, "invalid UTF-8"},
      {"overlong UTF-8", [](WriterTable& t) { t.rows[0].values[0] = std::string("\xC0\xAF"); }, "invalid UTF-8"},
      {"surrogate in UTF-8", [](WriterTable& t) { t.rows[0].values[0] = std::string("\xED\xA0\x80"); }, "invalid UTF-8"},
      {"text too long", [](WriterTable& t) { t.rows[0].values[0] = std::string("Желязо"); }, "longer than the column"},
      {"integer out of range", [](WriterTable& t) { t.rows[1].values[1] = std::int64_t{40000}; }, "out of range"},
      {"text for a number", [](WriterTable& t) { t.rows[1].values[1] = std::string("7"); }, "integer is needed"},
      {"missing value", [](WriterTable& t) { t.rows[1].values.pop_back(); }, "wrong number of values"},
      {"repeated column", [](WriterTable& t) { t.columns[1].name = "Name"; }, "repeats"},
      {"column named like the id", [](WriterTable& t) { t.columns[0].name = "ID"; }, "repeats"},
      {"unsupported type", [](WriterTable& t) { t.columns[1].type = ColumnType::kCurrency; }, "unsupported type"},
      {"fixed-length number", [](WriterTable& t) { t.columns[1].fixed_length = true; }, "only Text can be fixed-length"},
      {"fixed-length text too long", [](WriterTable& t) {
         t.columns[0].fixed_length = true;
         t.rows[0].values[0] = std::string("abcdef");
       }, "longer than the column"},
      {"row larger than a page", [](WriterTable& t) {
         t.columns.resize(20, {"", ColumnType::kText, 255});
         for (size_t c = 2; c < 20; ++c) t.columns[c].name = "c" + std::to_string(c);
         for (auto& r : t.rows) r.values.resize(20, std::string(255, 'x') + "");
         for (auto& r : t.rows) for (size_t c = 2; c < 20; ++c) r.values[c] = Repeat("щ", 255);
       }, "does not fit a page"},
  };
  for (const Case& c : cases) {
    WriterTable t = base();
    c.change(t);
    const jet::WriteResult r = jet::WriteDatabase(t);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_NE(r.error.find(c.error_part), std::string::npos) << c.what << ": " << r.error;
    EXPECT_TRUE(r.bytes.empty()) << c.what;
  }
}

TEST(JetWriterOutput, SameInputGivesTheSameBytes) {
  const WriterTable t = MixedTable();
  const auto a = jet::WriteDatabase(t), b = jet::WriteDatabase(t);
  ASSERT_TRUE(a.ok && b.ok);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_EQ(a.bytes.size() % 4096, 0u);
}

}  // namespace

namespace {

// Our own reader must see the same table, in index order.
TEST(JetWriterRoundTrip, OurReaderWalksTheIndexAndReadsEveryField) {
  const WriterTable t = MixedTable();
  const jet::WriteResult w = jet::WriteDatabase(t);
  ASSERT_TRUE(w.ok) << w.error;
  auto db = jet::Database::OpenFromMemory(w.bytes);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto names = db->TableNames();
  ASSERT_TRUE(names.ok());
  EXPECT_EQ(*names, std::vector<std::u16string>{u"data_list"});
  auto table = db->OpenTable("data_list");
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  ASSERT_EQ(table->Columns().size(), t.columns.size() + 1);
  EXPECT_TRUE(table->Columns()[0].auto_number);
  ASSERT_TRUE(table->SetIndex("ID").ok());

  std::vector<const WriterRow*> by_id;
  for (const auto& r : t.rows) by_id.push_back(&r);
  std::sort(by_id.begin(), by_id.end(), [](auto* a, auto* b) { return a->id < b->id; });
  for (const WriterRow* r : by_id) {
    ASSERT_FALSE(table->Eof());
    auto id = table->Field("ID");
    ASSERT_TRUE(id.ok());
    EXPECT_EQ(*id, jet::Value(std::int32_t{r->id}));
    for (size_t c = 0; c < t.columns.size(); ++c) {
      auto v = table->Field(t.columns[c].name);
      ASSERT_TRUE(v.ok()) << v.status().ToString();
      const WriterValue& w = r->values[c];
      jet::Value expected;
      if (auto* s = std::get_if<std::string>(&w)) expected = jet::Value(base::Utf8ToUtf16(*s));
      else if (auto* d = std::get_if<double>(&w)) expected = jet::Value(*d);
      else if (auto* i = std::get_if<std::int64_t>(&w)) {
        switch (t.columns[c].type) {
          case ColumnType::kBoolean: expected = jet::Value(*i != 0); break;
          case ColumnType::kByte: expected = jet::Value(static_cast<std::uint8_t>(*i)); break;
          case ColumnType::kInteger: expected = jet::Value(static_cast<std::int16_t>(*i)); break;
          default: expected = jet::Value(static_cast<std::int32_t>(*i)); break;
        }
      } else if (t.columns[c].type == ColumnType::kBoolean) {
        expected = jet::Value(false);
      }
      EXPECT_EQ(*v, expected) << "id " << r->id << " column " << t.columns[c].name;
    }
    (void)table->MoveNext();
  }
  EXPECT_TRUE(table->Eof());
}

TEST_F(JetWriterLarge, OurReaderCountsAndWalksAllRows) {
  auto db = jet::Database::OpenFromMemory(*bytes_);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto table = db->OpenTable("big");
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  ASSERT_TRUE(table->SetIndex("ID").ok());
  auto count = table->RecordCount();
  ASSERT_TRUE(count.ok()) << count.status().ToString();
  EXPECT_EQ(*count, table_->rows.size());
  EXPECT_EQ(*table->Field("ID"), jet::Value(std::int32_t{8}));
  ASSERT_TRUE(table->Move(99999).ok());
  EXPECT_EQ(*table->Field("ID"), jet::Value(std::int32_t{300005}));
  EXPECT_EQ(*table->Field("label"), jet::Value(std::u16string(u"Елемент 300005")));
}

}  // namespace
