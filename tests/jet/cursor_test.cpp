// The cursor as the viewer uses it: an index order, a remembered first
// record, moves by a count, fields by name; and its edges.
#include "tests/jet/fixtures.h"

namespace {

int32_t Id(const jet::Table& t) {
  auto v = t.Field("ID");
  EXPECT_TRUE(v.ok()) << v.status().ToString();
  return v.ok() && v->Is<int32_t>() ? v->Get<int32_t>() : -1;
}

class UnicodeTable : public testing::Test {
 protected:
  void SetUp() override {
    auto db = jet::Database::Open(jettest::Sample("testUnicodeCompV2003"));
    ASSERT_TRUE(db.ok()) << db.status().ToString();
    auto t = db->OpenTable("table");  // names match without regard to ASCII case
    ASSERT_TRUE(t.ok()) << t.status().ToString();
    table_ = std::make_unique<jet::Table>(std::move(*t));
    // The database object goes away here; the table keeps the file open.
  }
  std::unique_ptr<jet::Table> table_;
};

TEST_F(UnicodeTable, FirstRecordBookmarkAndMovesForward) {
  jet::Table& t = *table_;
  ASSERT_JET_OK(t.SetIndex("PrimaryKey"));
  const jet::Bookmark first = t.GetBookmark();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(Id(t), 1);
  for (int position : {4, 0, 7, 2}) {
    ASSERT_JET_OK(t.SetBookmark(first));
    ASSERT_JET_OK(t.Move(position));
    EXPECT_EQ(Id(t), position + 1);
  }
  ASSERT_JET_OK(t.SetBookmark(first));
  ASSERT_JET_OK(t.Move(2));
  auto text = t.Field("unicode");
  ASSERT_TRUE(text.ok());
  EXPECT_EQ(text->ToWString(), L"Мир");
  EXPECT_EQ(text->ToUtf8(), "Мир");
}

TEST_F(UnicodeTable, MovingOffEitherEndLeavesNoCurrentRecord) {
  jet::Table& t = *table_;
  ASSERT_JET_OK(t.SetIndex("PrimaryKey"));
  const jet::Bookmark first = t.GetBookmark();
  EXPECT_EQ(t.Move(8).code(), jet::StatusCode::kNotFound);
  EXPECT_TRUE(t.Eof());
  EXPECT_TRUE(t.GetBookmark().empty());
  EXPECT_EQ(t.Field("ID").status().code(), jet::StatusCode::kNotFound);
  EXPECT_EQ(t.Row().status().code(), jet::StatusCode::kNotFound);
  ASSERT_JET_OK(t.Move(-1));
  EXPECT_EQ(Id(t), 8);
  EXPECT_EQ(t.Move(-100).code(), jet::StatusCode::kNotFound);
  EXPECT_TRUE(t.Bof());
  EXPECT_EQ(t.Move(INT64_MAX).code(), jet::StatusCode::kNotFound);
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.Move(INT64_MIN).code(), jet::StatusCode::kNotFound);
  ASSERT_JET_OK(t.SetBookmark(first));
  EXPECT_EQ(Id(t), 1);
}

TEST_F(UnicodeTable, ForeignOrDamagedBookmarksAreRefused) {
  jet::Table& t = *table_;
  ASSERT_JET_OK(t.SetIndex("PrimaryKey"));
  ASSERT_JET_OK(t.Move(3));
  jet::Bookmark b = t.GetBookmark();
  EXPECT_EQ(t.SetBookmark({}).code(), jet::StatusCode::kInvalidArgument);
  EXPECT_EQ(t.SetBookmark({1, 2, 3}).code(), jet::StatusCode::kInvalidArgument);
  jet::Bookmark wrong = b;
  wrong[1] ^= 0x40;  // another page
  EXPECT_EQ(t.SetBookmark(wrong).code(), jet::StatusCode::kInvalidArgument);
  EXPECT_EQ(Id(t), 4) << "a refused bookmark must not move the cursor";
}

TEST_F(UnicodeTable, BookmarkSurvivesAChangeOfOrder) {
  jet::Table& t = *table_;
  ASSERT_JET_OK(t.SetIndex("PrimaryKey"));
  ASSERT_JET_OK(t.Move(5));
  const jet::Bookmark b = t.GetBookmark();
  ASSERT_JET_OK(t.SetIndex("Unicode"));
  ASSERT_JET_OK(t.SetBookmark(b));
  EXPECT_EQ(Id(t), 6);
}

TEST_F(UnicodeTable, UnknownFieldIsNotFound) {
  EXPECT_EQ(table_->Field("atom_num").status().code(), jet::StatusCode::kNotFound);
  EXPECT_EQ(table_->FieldAt(99).status().code(), jet::StatusCode::kNotFound);
  EXPECT_EQ(table_->FindColumn("UNICODE"), 1);
}

TEST(Cursor, FirstInIndexOrderIsNotTheFirstStored) {
  jet::Database db = jettest::OpenSample("compIndexTestV2000");
  auto t = db.OpenTable("Table1");
  ASSERT_TRUE(t.ok());
  int32_t max_stored = INT32_MIN;
  auto first_stored = t->Field("CD_AGENTE");
  ASSERT_TRUE(first_stored.ok());
  for (; !t->Eof(); (void)t->MoveNext()) {
    auto v = t->Field("CD_AGENTE");
    ASSERT_TRUE(v.ok());
    if (v->Is<int32_t>()) max_stored = std::max(max_stored, v->Get<int32_t>());
  }
  ASSERT_JET_OK(t->SetIndex("CD_AGENTE"));
  EXPECT_EQ(t->Field("CD_AGENTE")->Get<int32_t>(), max_stored);
  EXPECT_NE(first_stored->Get<int32_t>(), max_stored);
}

TEST(Cursor, MissingFileAndTableAreReported) {
  auto missing = jet::Database::Open(jettest::SampleDir() / "no-such-file.mdb");
  EXPECT_EQ(missing.status().code(), jet::StatusCode::kIoError);
  jet::Database db = jettest::OpenSample("functionsV2000");
  EXPECT_EQ(db.OpenTable("data_list").status().code(), jet::StatusCode::kNotFound);
}

TEST(Cursor, MemoOleAndLongValueChainsReadWhole) {
  // The 22 970-byte OLE value is a chain of LVAL rows in both versions.
  for (const char* name : {"test2V1997", "test2V2000"}) {
    jet::Database db = jettest::OpenSample(name);
    auto t = db.OpenTable("MSP_PROJECTS");
    ASSERT_TRUE(t.ok());
    auto v = t->Field("RESERVED_BINARY_DATA");
    ASSERT_TRUE(v.ok()) << v.status().ToString();
    ASSERT_TRUE(v->Is<jet::Bytes>());
    EXPECT_EQ(v->Get<jet::Bytes>().size(), 22970u) << name;
  }
}

}  // namespace
