// A database made by our writer, read back by our reader and by mdbtools'
// mdb-export run live (skipped where mdbtools is not installed).
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "jet/writer.h"
#include "tests/jet/fixtures.h"
#include "tools/mdbtool/export.h"

namespace {

jet::WriterTable SampleTable(int rows) {
  jet::WriterTable t;
  t.name = "data_list";
  t.columns = {{"Name", jet::ColumnType::kText, 40},
               {"atom_mass", jet::ColumnType::kDouble, 0},
               {"group", jet::ColumnType::kInteger, 0},
               {"metal", jet::ColumnType::kBoolean, 0},
               {"note", jet::ColumnType::kMemo, 0}};
  for (int i = 0; i < rows; ++i) {
    jet::WriterRow r;
    r.id = (i * 37) % rows + 1;  // stored out of key order
    r.values = {std::string(i % 2 ? "Желязо \"Fe\"" : "Iron, ") + std::to_string(i), 55.845 + i / 7.0,
                static_cast<int64_t>(i % 18), static_cast<int64_t>(i % 2),
                i % 5 ? jet::WriterValue(std::string("бележка ") + std::to_string(i)) : jet::WriterValue()};
    t.rows.push_back(std::move(r));
  }
  return t;
}

class WrittenDatabase : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("jet_live_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    path_ = dir_ / "written.mdb";
    ASSERT_EQ(jet::WriteDatabaseFile(path_.string(), SampleTable(kRows)), "");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  static constexpr int kRows = 600;  // more than one index leaf
  std::filesystem::path dir_, path_;
};

TEST_F(WrittenDatabase, IndexOrderVisitsIdsAscending) {
  auto db = jet::Database::Open(path_);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto t = db->OpenTable("data_list");
  ASSERT_TRUE(t.ok());
  ASSERT_JET_OK(t->SetIndex("ID"));
  const jet::Bookmark first = t->GetBookmark();
  for (int position : {0, 25, 109, 110, 599}) {
    ASSERT_JET_OK(t->SetBookmark(first));
    ASSERT_JET_OK(t->Move(position));
    EXPECT_EQ(t->Field("ID")->Get<int32_t>(), position + 1);
  }
  ASSERT_JET_OK(t->SetBookmark(first));
  ASSERT_JET_OK(t->Move(25));
  // Row i has id (i * 37) % 600 + 1; id 26 is row 25 * 13 % 600 (37 * 373 = 1 mod 600).
  const int row = 25 * 373 % kRows;
  EXPECT_EQ(t->Field("name")->ToUtf8(), std::string(row % 2 ? "Желязо \"Fe\"" : "Iron, ") + std::to_string(row));
}

TEST_F(WrittenDatabase, ExportEqualsLiveMdbExport) {
  if (std::system("mdb-export --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "mdbtools not installed";
  const auto theirs_path = dir_ / "theirs.csv";
  const std::string cmd = "mdb-export -b hex -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -0 '<NULL>' '" +
                          path_.string() + "' data_list > '" + theirs_path.string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  auto db = jet::Database::Open(path_);
  ASSERT_TRUE(db.ok());
  auto t = db->OpenTable("data_list");
  ASSERT_TRUE(t.ok());
  std::string ours;
  ASSERT_JET_OK(mdbtool::ExportCsv(*t, ours));
  EXPECT_EQ(ours, jettest::ReadText(theirs_path));
}

}  // namespace
