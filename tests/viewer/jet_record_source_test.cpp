// The record source over our Jet reader, on element tables written by our
// Jet writer: index order, bookmarks, moves, the text of each kind of value,
// and damaged files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "jet/writer.h"
#include "kit/platform.h"
#include "viewer/form_main.h"
#include "viewer/jet_record_source.h"

namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("viewer-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// An element table of `count` records stored in reverse of their ID order.
// Record k (0-based, by ID) has atom_num k + 1, a mass with a fraction and
// the name "E<k>"; record 30 has no density.
jet::WriterTable ElementTable(int count) {
  jet::WriterTable t;
  t.name = "data_list";
  using jet::ColumnType;
  t.columns = {{"atom_num", ColumnType::kLong},     {"Name", ColumnType::kText},
               {"atom_mass", ColumnType::kDouble},  {"atom_rad", ColumnType::kText},
               {"orbitals", ColumnType::kText},     {"elec_shell", ColumnType::kText},
               {"melt_boil", ColumnType::kText},    {"density", ColumnType::kDouble},
               {"isotopes", ColumnType::kInteger},  {"electronegativity", ColumnType::kDouble},
               {"oxidation", ColumnType::kText},    {"discovery", ColumnType::kMemo}};
  for (int k = count - 1; k >= 0; --k) {
    jet::WriterRow row;
    row.id = 1000 + 7 * k;
    row.values = {std::int64_t{k + 1},
                  "E" + std::to_string(k),
                  k + 1.25,
                  "1,5",
                  "1s2",
                  "2-8",
                  "100/200",
                  k == 30 ? jet::WriterValue{} : jet::WriterValue{2.0},
                  std::int64_t{3},
                  0.5,
                  "+2",
                  "Откривател " + std::to_string(k)};
    t.rows.push_back(std::move(row));
  }
  return t;
}

void Write(const fs::path& file, int count) {
  ASSERT_EQ(jet::WriteDatabaseFile(file.string(), ElementTable(count)), "");
}

// A vrakel.mdb of `count` records written and its element table opened;
// `rs` is null when either failed.
struct DataList {
  explicit DataList(int count) {
    Write(dir.path() / "vrakel.mdb", count);
    db = engine.OpenDatabase((dir.path() / "vrakel.mdb").wstring());
    if (db) rs = db->OpenRecordset("data_list");
  }
  TempFolder dir;
  viewer::JetDatabaseEngine engine;
  std::unique_ptr<viewer::Database> db;
  std::unique_ptr<viewer::RecordSet> rs;
};

TEST(JetRecordSource, WalksTheTableInIdOrderFromARememberedFirstRecord) {
  DataList list(120);
  auto& rs = list.rs;
  ASSERT_TRUE(rs);
  // Stored order first: the last record by ID.
  EXPECT_EQ(rs->FieldText("atom_num"), L"120");
  ASSERT_TRUE(rs->SetIndex("ID"));
  EXPECT_EQ(rs->FieldText("atom_num"), L"1");
  auto first = rs->GetBookmark();
  ASSERT_TRUE(first);

  ASSERT_TRUE(rs->Move(25));
  EXPECT_EQ(rs->FieldText("Name"), L"E25");
  ASSERT_TRUE(rs->SetBookmark(*first));
  ASSERT_TRUE(rs->Move(0));
  EXPECT_EQ(rs->FieldText("Name"), L"E0");
  ASSERT_TRUE(rs->SetBookmark(*first));
  ASSERT_TRUE(rs->Move(119));
  EXPECT_EQ(rs->FieldText("Name"), L"E119");
  // Past the end: no record, nothing to read, but the bookmark still works.
  ASSERT_TRUE(rs->SetBookmark(*first));
  EXPECT_FALSE(rs->Move(120));
  EXPECT_FALSE(rs->FieldText("Name"));
  EXPECT_FALSE(rs->GetBookmark());
  ASSERT_TRUE(rs->SetBookmark(*first));
  EXPECT_EQ(rs->FieldText("Name"), L"E0");
}

TEST(JetRecordSource, ValuesReadAsTextWithADecimalComma) {
  DataList list(40);
  auto& rs = list.rs;
  ASSERT_TRUE(rs && rs->SetIndex("ID") && rs->Move(2));
  EXPECT_EQ(rs->FieldText("atom_mass"), L"3,25");
  EXPECT_EQ(rs->FieldText("density"), L"2");         // a whole double stays plain
  EXPECT_EQ(rs->FieldText("isotopes"), L"3");
  EXPECT_EQ(rs->FieldText("electronegativity"), L"0,5");
  EXPECT_EQ(rs->FieldText("atom_rad"), L"1,5");      // text is shown as stored
  EXPECT_EQ(rs->FieldText("melt_boil"), L"100/200");  // no comma put into text
  EXPECT_EQ(rs->FieldText("discovery"), L"Откривател 2");
  EXPECT_EQ(rs->FieldText("ATOM_NUM"), L"3");
  EXPECT_FALSE(rs->FieldText("no_such_field"));
  ASSERT_TRUE(rs->Move(28));  // record 30: its density is null
  EXPECT_FALSE(rs->FieldText("density"));
  EXPECT_EQ(rs->FieldText("Name"), L"E30");
}

TEST(JetRecordSource, MissingNamesAndFilesGiveNothing) {
  TempFolder dir;
  Write(dir.path() / "vrakel.mdb", 5);
  viewer::JetDatabaseEngine engine;
  EXPECT_FALSE(engine.OpenDatabase((dir.path() / "absent.mdb").wstring()));
  auto db = engine.OpenDatabase((dir.path() / "vrakel.mdb").wstring());
  ASSERT_TRUE(db);
  EXPECT_FALSE(db->OpenRecordset("elements"));
  auto rs = db->OpenRecordset("data_list");
  ASSERT_TRUE(rs);
  EXPECT_FALSE(rs->SetIndex("Name"));
  EXPECT_FALSE(rs->SetBookmark({1, 2, 3}));
}

// The whole path from a click to the panel, on a real file. The program
// folder is joined to the file name with a backslash, which on the host is
// part of the file's name.
struct ViewerOnFile {
  explicit ViewerOnFile(const TempFolder& dir) : folder(dir.path() / "Zentrik") {}
  fs::path File() const { return fs::path(folder.wstring() + L"\\vrakel.mdb"); }
  std::unique_ptr<viewer::FormMain> Start() {
    auto form = std::make_unique<viewer::FormMain>(engine, folder.wstring());
    form->Show();
    return form;
  }
  kit::ScopedHeadless headless;
  viewer::JetDatabaseEngine engine;
  fs::path folder;
};

TEST(JetRecordSource, TilesShowTheirRecordsFromARealFile) {
  TempFolder dir;
  ViewerOnFile v(dir);
  Write(v.File(), 114);
  auto form = v.Start();
  kit::Click(*form->Tile("Fe"));
  EXPECT_EQ(form->txt_atom_num.text, L"26");
  EXPECT_EQ(form->txt_atom_mass.text, L"26,25");
  EXPECT_EQ(form->txt_discovery.text, L"Откривател 25");
  kit::Click(*form->Tile("Uuq"));
  EXPECT_EQ(form->txt_name.text, L"E113");
  kit::Click(*form->Tile("H"));
  EXPECT_EQ(form->txt_name.text, L"E0");
  // Ga (record 30) has a null density: a message, and H stays shown.
  kit::Click(*form->Tile("Ga"));
  EXPECT_EQ(form->txt_name.text, L"E0");
  EXPECT_EQ(v.headless.platform.messages.size(), 1u);
}

TEST(JetRecordSource, DamagedFilesNeverCrashAndNeverShowPartOfARecord) {
  TempFolder dir;
  ViewerOnFile v(dir);
  auto good = jet::WriteDatabase(ElementTable(114));
  ASSERT_TRUE(good.ok);
  std::mt19937 random(7);
  int refused = 0;
  for (int round = 0; round < 24; ++round) {
    std::vector<std::uint8_t> bytes = good.bytes;
    if (round % 2 == 0) {
      bytes.resize(bytes.size() * round / 24);  // truncated
    } else {
      for (int i = 0; i < 64; ++i) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    }
    {
      std::ofstream out(v.File(), std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    auto form = v.Start();
    v.headless.platform.messages.clear();
    kit::Click(*form->Tile("Fe"));
    if (v.headless.platform.messages.empty()) {
      // Read in full: all twelve boxes filled.
      for (auto* box : form->PanelBoxes()) EXPECT_FALSE(box->text.empty()) << round << " " << box->Name();
    } else {
      ++refused;
      for (auto* box : form->PanelBoxes()) EXPECT_TRUE(box->text.empty()) << round << " " << box->Name();
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
