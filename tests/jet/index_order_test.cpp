// Records in the order of a named index: every index of the sample files
// yields each indexed record once, in the order of its key columns.
#include <algorithm>
#include <cmath>
#include <set>

#include "base/utf.h"
#include "tests/jet/fixtures.h"

namespace {

// Orders two values of one column the way an ascending index does, for the
// types whose order needs no collation table. Returns <0, 0, >0, or 2 when
// the values are not comparable here.
int Compare(const jet::Value& a, const jet::Value& b) {
  if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull() ? 0 : (a.IsNull() ? -1 : 1);
  auto num = [](const jet::Value& v, double& out) {
    if (v.Is<uint8_t>()) out = v.Get<uint8_t>();
    else if (v.Is<int16_t>()) out = v.Get<int16_t>();
    else if (v.Is<int32_t>()) out = v.Get<int32_t>();
    else if (v.Is<float>()) out = v.Get<float>();
    else if (v.Is<double>()) out = v.Get<double>();
    else if (v.Is<jet::Currency>()) out = static_cast<double>(v.Get<jet::Currency>().scaled);
    else if (v.Is<jet::DateTime>()) out = v.Get<jet::DateTime>().days;
    else if (v.Is<bool>()) out = v.Get<bool>() ? 0 : 1;  // True sorts first
    else return false;
    return true;
  };
  double x, y;
  if (num(a, x) && num(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
  if (a.Is<std::u16string>() && b.Is<std::u16string>()) {
    // Lower-case letters and digits only: the general sort order agrees
    // with code-point order there.
    const auto& s = a.Get<std::u16string>();
    const auto& t = b.Get<std::u16string>();
    auto plain = [](const std::u16string& v) {
      return std::all_of(v.begin(), v.end(), [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); });
    };
    if (plain(s) && plain(t)) return s.compare(t) < 0 ? -1 : (s == t ? 0 : 1);
  }
  return 2;
}

struct Checked {
  size_t entries = 0;
  size_t compared = 0;
};

// Walks the table in the index's order and checks each neighbouring pair.
Checked CheckIndex(jet::Table& table, const jet::IndexInfo& index, size_t rows_in_table) {
  Checked c;
  EXPECT_TRUE(table.SetIndex(base::Utf16ToUtf8(index.name)).ok());
  std::set<jet::Bookmark> seen;
  std::vector<jet::Value> prev;
  for (; !table.Eof(); (void)table.MoveNext()) {
    auto row = table.Row();
    EXPECT_TRUE(row.ok()) << row.status().ToString();
    if (!row.ok()) break;
    EXPECT_TRUE(seen.insert(table.GetBookmark()).second) << "a record came twice";
    if (!prev.empty()) {
      for (const auto& key : index.columns) {
        int cmp = Compare(prev[key.column], (*row)[key.column]);
        if (cmp == 2) break;
        if (!key.ascending) cmp = -cmp;
        ++c.compared;
        EXPECT_LE(cmp, 0) << base::Utf16ToUtf8(index.name) << " entry " << c.entries;
        if (cmp != 0) break;
      }
    }
    prev = std::move(*row);
    ++c.entries;
  }
  if (!index.ignore_nulls) {
    EXPECT_EQ(c.entries, rows_in_table) << base::Utf16ToUtf8(index.name);
  }
  return c;
}

size_t CountRows(jet::Table& table) {
  EXPECT_TRUE(table.SetIndex("").ok());
  auto n = table.RecordCount();
  return n.ok() ? static_cast<size_t>(*n) : 0;
}

class IndexedSample : public testing::TestWithParam<std::string> {};

TEST_P(IndexedSample, EveryIndexGivesItsRecordsInKeyOrder) {
  jet::Database db = jettest::OpenSample(GetParam());
  auto names = db.TableNames();
  ASSERT_TRUE(names.ok());
  size_t compared = 0;
  for (const auto& name : *names) {
    SCOPED_TRACE(base::Utf16ToUtf8(name));
    auto table = db.OpenTable(base::Utf16ToUtf8(name));
    ASSERT_TRUE(table.ok()) << table.status().ToString();
    const size_t rows = CountRows(*table);
    for (const auto& index : table->Indexes()) compared += CheckIndex(*table, index, rows).compared;
  }
  // Files with indexes on numbers or plain keys must have been checked.
  const std::string file = GetParam();
  if (file.find("Index") != std::string::npos || file.find("Comp") != std::string::npos) {
    EXPECT_GT(compared, 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, IndexedSample, testing::ValuesIn(jettest::SampleNames()));

TEST(IndexOrder, DescendingLongThroughTailLeafReachesAll512Records) {
  jet::Database db = jettest::OpenSample("compIndexTestV2000");
  auto names = db.TableNames();
  ASSERT_TRUE(names.ok() && names->size() == 1u);
  auto table = db.OpenTable(base::Utf16ToUtf8(names->front()));
  ASSERT_TRUE(table.ok());
  ASSERT_JET_OK(table->SetIndex("CD_AGENTE"));
  auto n = table->RecordCount();
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(*n, 512u);
  auto first = table->Field("CD_AGENTE");
  ASSERT_TRUE(first.ok());
  ASSERT_JET_OK(table->Move(509));
  auto last = table->Field("cd_agente");
  ASSERT_TRUE(last.ok());
  EXPECT_GT(first->Get<int32_t>(), last->Get<int32_t>());
  // The two records without a key come last in a descending index.
  for (int i = 0; i < 2; ++i) {
    ASSERT_JET_OK(table->Move(1));
    EXPECT_TRUE(table->Field("CD_AGENTE")->IsNull());
  }
  EXPECT_FALSE(table->Move(1).ok());
}

TEST(IndexOrder, IgnoreNullsIndexSkipsNullKeysAndLogicalNumbersAreNotPositions) {
  jet::Database db = jettest::OpenSample("testIndexPropertiesV2000");
  auto t1 = db.OpenTable("TableIgnoreNulls1");
  ASSERT_TRUE(t1.ok());
  ASSERT_JET_OK(t1->SetIndex("DataIndex"));
  EXPECT_EQ(*t1->RecordCount(), 6u);
  ASSERT_JET_OK(t1->SetIndex("PrimaryKey"));
  EXPECT_EQ(*t1->RecordCount(), 10u);

  // PrimaryKey is logical index 1 but uses real index 0, on column "row".
  auto t2 = db.OpenTable("TableIgnoreNulls2");
  ASSERT_TRUE(t2.ok());
  ASSERT_JET_OK(t2->SetIndex("PrimaryKey"));
  EXPECT_EQ(*t2->RecordCount(), 11u);
  const auto& pk = t2->Indexes();
  auto it = std::find_if(pk.begin(), pk.end(), [](const jet::IndexInfo& i) { return i.name == u"PrimaryKey"; });
  ASSERT_NE(it, pk.end());
  ASSERT_EQ(it->columns.size(), 1u);
  EXPECT_EQ(t2->Columns()[it->columns[0].column].name, u"row");
  EXPECT_TRUE(it->primary_key);
  ASSERT_JET_OK(t2->SetIndex("DataIndex"));
  EXPECT_EQ(*t2->RecordCount(), 10u);
}

TEST(IndexOrder, UnknownIndexIsNotFoundAndKeepsTheOrder) {
  jet::Database db = jettest::OpenSample("testUnicodeCompV2003");
  auto t = db.OpenTable("Table");
  ASSERT_TRUE(t.ok());
  ASSERT_JET_OK(t->SetIndex("PrimaryKey"));
  ASSERT_JET_OK(t->Move(2));
  const jet::Status s = t->SetIndex("NoSuchIndex");
  EXPECT_EQ(s.code(), jet::StatusCode::kNotFound);
  auto v = t->Field("Unicode");
  ASSERT_TRUE(v.ok());
  EXPECT_EQ(v->Get<std::u16string>(), u"Мир");
}

}  // namespace
