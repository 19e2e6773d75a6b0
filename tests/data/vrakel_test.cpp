// vrakel.mdb as the build makes it: `mkvrakel data <out>` run from the source
// tree, then read back by mdbtools, mdb-reader, the index pages and our own
// reader, each record against data/elements.tsv.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "jet/database.h"
#include "tests/jet/oracle.h"
#include "tools/mkvrakel/element_table.h"

namespace {

namespace fs = std::filesystem;
using mkvrakel::Record;

class Vrakel : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* src = std::getenv("ELEMORA_SOURCE_DIR");
    ASSERT_TRUE(src);
    source_ = src;
    ASSERT_FALSE(mkvrakel::LoadElements(source_ / "data", records_));
    mdb_ = (dir_.path() / "vrakel.mdb").string();
    const auto ran = oracle::Run("cd " + oracle::Quote(source_.string()) + " && " MKVRAKEL_PATH " data " +
                                 oracle::Quote(mdb_));
    ASSERT_TRUE(ran) << "mkvrakel failed";
    std::ifstream in(mdb_, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
  }
  fs::path source_;
  oracle::TempDir dir_;
  std::string mdb_;
  std::vector<Record> records_;
  std::vector<std::uint8_t> bytes_;
};

TEST_F(Vrakel, MdbToolsSeeTheTableAndEveryRecord) {
  if (!oracle::HaveMdbTools()) GTEST_SKIP() << "mdbtools not installed";
  EXPECT_EQ(oracle::Run("mdb-tables -1 " + oracle::Quote(mdb_)).value_or(""), "data_list\n");
  const auto out = oracle::Run("mdb-export " + oracle::Quote(mdb_) + " data_list");
  ASSERT_TRUE(out);
  const auto csv = oracle::ParseCsv(*out);
  ASSERT_EQ(csv.size(), records_.size() + 1);
  std::vector<std::string> header{"ID"};
  header.insert(header.end(), mkvrakel::kFields.begin(), mkvrakel::kFields.end());
  EXPECT_EQ(csv[0], header);
  std::vector<bool> seen(records_.size());
  bool stored_in_id_order = true;
  for (size_t i = 1; i < csv.size(); ++i) {
    const size_t id = std::stoul(csv[i].at(0));
    ASSERT_GE(id, 1u);
    ASSERT_LE(id, records_.size());
    stored_in_id_order = stored_in_id_order && id == i;
    EXPECT_FALSE(seen[id - 1]);
    seen[id - 1] = true;
    std::vector<std::string> expected{csv[i][0]};
    expected.insert(expected.end(), records_[id - 1].begin(), records_[id - 1].end());
    EXPECT_EQ(csv[i], expected);
  }
  EXPECT_FALSE(stored_in_id_order);  // only the index gives the viewer's order
}

TEST_F(Vrakel, MdbReaderSeesEveryRecord) {
  const std::string script = oracle::MdbReaderScript();
  if (script.empty()) GTEST_SKIP() << "node or mdb-reader not installed";
  const auto out = oracle::Run("node " + oracle::Quote(script) + " " + oracle::Quote(mdb_) + " data_list");
  ASSERT_TRUE(out);
  std::vector<std::string> lines;
  for (size_t at = 0, nl; at < out->size(); at = nl + 1) {
    nl = out->find('\n', at);
    lines.push_back(out->substr(at, nl - at));
  }
  ASSERT_EQ(lines.size(), records_.size() + 4);
  EXPECT_EQ(lines[0], "[\"data_list\"]");
  // Rows come in stored order, which is atomic-number order.
  std::vector<std::string> expected_rows;
  for (size_t pos = 0; pos < records_.size(); ++pos) {
    std::string row = "[" + std::to_string(pos + 1) + "," + records_[pos][0];
    for (size_t f = 1; f < mkvrakel::kFieldCount; ++f) row += "," + oracle::JsonString(records_[pos][f]);
    expected_rows.push_back(row + "]");
  }
  std::vector<std::string> got(lines.begin() + 4, lines.end());
  std::sort(got.begin(), got.end());
  std::sort(expected_rows.begin(), expected_rows.end());
  EXPECT_EQ(got, expected_rows);
}

TEST_F(Vrakel, IndexIdGivesTheViewersPositions) {
  std::string error;
  const auto ids = oracle::IndexOrderIds(bytes_, 4, error);
  ASSERT_TRUE(ids) << error;
  ASSERT_EQ(ids->size(), records_.size());
  for (size_t i = 0; i < ids->size(); ++i) EXPECT_EQ((*ids)[i], static_cast<std::int32_t>(i + 1));

  auto db = jet::Database::OpenFromMemory(bytes_);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto table = db->OpenTable("data_list");
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  ASSERT_TRUE(table->SetIndex("ID").ok());
  for (size_t pos = 0; pos < records_.size(); ++pos) {
    for (size_t f = 0; f < mkvrakel::kFieldCount; ++f) {
      auto v = table->Field(mkvrakel::kFields[f]);
      ASSERT_TRUE(v.ok()) << v.status().ToString();
      EXPECT_EQ(v->ToUtf8(), records_[pos][f]) << "position " << pos << " " << mkvrakel::kFields[f];
    }
    (void)table->MoveNext();
  }
  EXPECT_TRUE(table->Eof());
}

TEST_F(Vrakel, BuildIsReproducible) {
  const auto again = (dir_.path() / "again.mdb").string();
  ASSERT_TRUE(oracle::Run(std::string(MKVRAKEL_PATH) + " " + oracle::Quote((source_ / "data").string()) + " " +
                          oracle::Quote(again)));
  std::ifstream in(again, std::ios::binary);
  const std::vector<std::uint8_t> second((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(second, bytes_);
}

TEST_F(Vrakel, MissingDataFailsWithoutWritingAFile) {
  const auto out = (dir_.path() / "none.mdb").string();
  EXPECT_FALSE(oracle::Run(std::string(MKVRAKEL_PATH) + " " + oracle::Quote((dir_.path() / "nodata").string()) +
                           " " + oracle::Quote(out)));
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(oracle::Run(std::string(MKVRAKEL_PATH) + " only-one-argument"));
}

}  // namespace
