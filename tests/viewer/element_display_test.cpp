// The element display: opening the table at load, and what a tile click
// reads and where it puts it. The database is an in-memory double whose
// storage order differs from its index order.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fake_records.h"
#include "kit/platform.h"
#include "viewer/form_main.h"
#include "viewer/tile_table.h"

namespace {

using testing_viewer::FakeEngine;

const std::vector<std::string> kFieldOrder = {
    "atom_num", "Name",    "atom_mass", "atom_rad",          "orbitals",  "elec_shell",
    "melt_boil", "density", "isotopes",  "electronegativity", "oxidation", "discovery"};

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The value of a field of the record at an index position.
std::wstring ValueAt(const std::string& field, int position) {
  return Widen(field) + L"@" + std::to_wstring(position);
}

// `count` records, stored in reverse of their order by the index.
void Fill(FakeEngine& engine, int count) {
  auto& t = engine.table;
  t.records.assign(count, {});
  for (int pos = 0; pos < count; ++pos) {
    int stored = count - 1 - pos;
    for (const auto& f : kFieldOrder) t.records[stored][f] = ValueAt(f, pos);
    t.id_order.push_back(stored);
  }
}

struct Viewer {
  explicit Viewer(int records = 120, std::wstring folder = L"C:\\Program Files\\Zentrik") {
    Fill(engine, records);
    form = std::make_unique<viewer::FormMain>(engine, folder);
  }
  void Start() { form->Show(); }
  void ClickTile(std::string_view symbol) {
    auto* tile = form->Tile(symbol);
    ASSERT_NE(tile, nullptr) << symbol;
    kit::Click(*tile);
  }
  // Texts of the twelve boxes in field order.
  std::vector<std::wstring> Panel() {
    std::vector<std::wstring> out;
    for (auto* box : form->PanelBoxes()) out.push_back(box->text);
    return out;
  }
  std::vector<std::wstring> Record(int position) {
    std::vector<std::wstring> out;
    for (const auto& f : kFieldOrder) out.push_back(ValueAt(f, position));
    return out;
  }

  kit::ScopedHeadless headless;
  FakeEngine engine;
  std::unique_ptr<viewer::FormMain> form;
};

TEST(OpenElementTable, OpensTheTableInIdOrderAndRemembersItsFirstRecord) {
  Viewer v;
  v.Start();
  ASSERT_EQ(v.engine.opened.size(), 1u);
  EXPECT_EQ(v.engine.opened[0], L"C:\\Program Files\\Zentrik\\vrakel.mdb");
  EXPECT_EQ(v.engine.table.log,
            (std::vector<std::string>{"OpenRecordset data_list", "SetIndex ID", "GetBookmark"}));
  // Nothing is read until a tile is clicked; the boxes start empty.
  for (const auto& text : v.Panel()) EXPECT_EQ(text, L"");
}

TEST(OpenElementTable, AppendsTheFileNameUnchangedToADriveRoot) {
  Viewer v(120, L"D:\\");
  v.Start();
  ASSERT_EQ(v.engine.opened.size(), 1u);
  EXPECT_EQ(v.engine.opened[0], L"D:\\\\vrakel.mdb");
}

TEST(ShowElement, CopiesTheTwelveFieldsOfTheRecordInTheirOrder) {
  Viewer v;
  v.Start();
  v.engine.table.log.clear();
  v.ClickTile("Fe");
  std::vector<std::string> expected = {"SetBookmark 119", "Move 25"};
  for (const auto& f : kFieldOrder) expected.push_back("Field " + f);
  EXPECT_EQ(v.engine.table.log, expected);
  EXPECT_EQ(v.Panel(), v.Record(25));
  EXPECT_EQ(v.form->txt_atom_num.text, L"atom_num@25");
  EXPECT_EQ(v.form->txt_discovery.text, L"discovery@25");
  EXPECT_EQ(v.form->txt_orbitals.text, L"orbitals@25");
  EXPECT_EQ(v.form->txt_melt_boil.text, L"melt_boil@25");
  EXPECT_TRUE(v.headless.platform.messages.empty());
}

TEST(ShowElement, EveryDisplayStartsAgainFromTheFirstRecord) {
  Viewer v;
  v.Start();
  v.ClickTile("Mt");
  EXPECT_EQ(v.Panel(), v.Record(108));
  v.ClickTile("H");
  EXPECT_EQ(v.Panel(), v.Record(0));  // not the record after Mt
  v.ClickTile("Fe");
  v.ClickTile("Fe");
  EXPECT_EQ(v.Panel(), v.Record(25));
}

TEST(ShowElement, PositionZeroIsTheFirstRecordByIndexNotByStorage) {
  Viewer v;
  v.Start();
  v.ClickTile("H");
  EXPECT_EQ(v.form->txt_name.text, L"Name@0");
  EXPECT_NE(v.engine.table.id_order.front(), 0);  // the double really is out of storage order
}

TEST(ShowElement, EachTileReadsItsOwnPositionAndNoneReads109) {
  Viewer v;
  v.Start();
  std::set<std::wstring> shown;
  for (const auto& tile : v.form->Tiles()) {
    kit::Click(*tile);
    shown.insert(v.form->txt_atom_num.text);
  }
  // 113 tiles with a record, all different, plus "?" for the two without.
  EXPECT_EQ(shown.size(), 114u);
  EXPECT_EQ(shown.count(L"atom_num@109"), 0u);
  EXPECT_EQ(shown.count(L"atom_num@113"), 1u);
  EXPECT_EQ(shown.count(L"?"), 1u);

  v.ClickTile("Uun");
  EXPECT_EQ(v.Panel(), v.Record(110));
  v.ClickTile("Uub");
  EXPECT_EQ(v.Panel(), v.Record(112));
  v.ClickTile("Uuq");
  EXPECT_EQ(v.Panel(), v.Record(113));
}

TEST(ShowUnknownElement, PutsAQuestionMarkInAllTwelveBoxes) {
  for (std::string_view symbol : {"Uuh", "Uuo"}) {
    Viewer v;
    v.Start();
    v.ClickTile("Fe");
    v.engine.table.log.clear();
    v.ClickTile(symbol);
    EXPECT_EQ(v.Panel(), std::vector<std::wstring>(12, L"?")) << symbol;
    // Back to the first record like every display, but nothing is read.
    EXPECT_EQ(v.engine.table.log, (std::vector<std::string>{"SetBookmark 119", "Move 0"}));
    v.ClickTile("Fe");
    EXPECT_EQ(v.Panel(), v.Record(25));
  }
}

// ---- Failures: the window still opens, a click explains, the panel stays.

TEST(ElementDisplayFailure, MissingDatabaseOpensTheWindowAndExplainsOnClick) {
  Viewer v;
  v.engine.file_exists = false;
  v.Start();
  EXPECT_TRUE(v.form->Visible());
  EXPECT_EQ(v.form->Height(), 8600);
  EXPECT_TRUE(v.headless.platform.messages.empty());  // start-up stays silent
  v.form->txt_name.text = L"typed";
  for (std::string_view symbol : {"Fe", "Uuh"}) {
    v.ClickTile(symbol);
    EXPECT_EQ(v.form->txt_name.text, L"typed") << symbol;
    EXPECT_EQ(v.form->txt_atom_num.text, L"") << symbol;
  }
  ASSERT_EQ(v.headless.platform.messages.size(), 2u);
  EXPECT_NE(v.headless.platform.messages[0].find(L"vrakel.mdb"), std::wstring::npos);
  EXPECT_NE(v.headless.platform.messages[0].find(L"не можа да бъде отворена"), std::wstring::npos);
}

TEST(ElementDisplayFailure, EachFailedOpeningStepIsSkippedAndLaterClicksExplain) {
  for (int failing = 0; failing < 3; ++failing) {
    Viewer v;
    v.engine.table.has_table = failing != 0;
    v.engine.table.has_index = failing != 1;
    v.engine.table.bookmarks_work = failing != 2;
    v.Start();
    EXPECT_EQ(v.form->Height(), 8600) << failing;
    v.ClickTile("H");
    v.ClickTile("Uuh");
    EXPECT_EQ(v.form->txt_name.text, L"") << failing;
    ASSERT_EQ(v.headless.platform.messages.size(), 2u) << failing;
    // The file did open: the message blames its element table, not the file.
    for (const std::wstring& m : v.headless.platform.messages) {
      EXPECT_NE(m.find(L"беше отворена"), std::wstring::npos) << failing;
      EXPECT_EQ(m.find(L"не можа да бъде отворена"), std::wstring::npos) << failing;
    }
  }
}

TEST(ElementDisplayFailure, MissingRecordLeavesThePanelAsItWas) {
  Viewer v(100);  // ends before Mt
  v.Start();
  v.ClickTile("Fe");
  v.ClickTile("Mt");
  EXPECT_EQ(v.Panel(), v.Record(25));
  ASSERT_EQ(v.headless.platform.messages.size(), 1u);
  EXPECT_EQ(v.headless.platform.messages[0], L"В базата данни няма запис за този елемент.");
}

TEST(ElementDisplayFailure, RecordWithANullFieldLeavesThePanelAsItWas) {
  Viewer v;
  // The last field of Mt's record is null: nothing of it may reach the panel.
  v.engine.table.records[v.engine.table.id_order[108]].erase("discovery");
  v.Start();
  v.ClickTile("Fe");
  v.ClickTile("Mt");
  EXPECT_EQ(v.Panel(), v.Record(25));
  EXPECT_EQ(v.headless.platform.messages.size(), 1u);
  v.ClickTile("Hs");
  EXPECT_EQ(v.Panel(), v.Record(107));
}

}  // namespace
