// Reading property values from the texts the database stores: each form on
// its own, then every stored text of every record of vrakel.mdb, then the
// one pass that reads each tile's record.
#include "viewer/property_values.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/viewer/fake_records.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/tile_table.h"

namespace {

using viewer::MeltBoil;
using viewer::Property;
using viewer::Reading;
using Kind = viewer::Reading::Kind;

struct Expect {
  Kind kind;
  double value = 0;
  int decimals = 0;
  bool approximate = false;
};
constexpr Expect kNone{Kind::kNoData};
constexpr Expect kBad{Kind::kUnrecognized};

::testing::AssertionResult Matches(const Reading& r, const Expect& e) {
  if (r.kind != e.kind) return ::testing::AssertionFailure() << "kind " << static_cast<int>(r.kind);
  if (e.kind != Kind::kValue) return ::testing::AssertionSuccess();
  if (r.value != e.value || r.decimals != e.decimals || r.approximate != e.approximate)
    return ::testing::AssertionFailure() << r.value << " with " << r.decimals << " decimals, approximate "
                                         << r.approximate;
  return ::testing::AssertionSuccess();
}

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

TEST(ParseValues, RadiusIsABarePositiveNumberOfPicometres) {
  const std::pair<const wchar_t*, Expect> cases[] = {
      {L"132", {Kind::kValue, 132}},     {L"28", {Kind::kValue, 28}},
      {L"132 pm", {Kind::kValue, 132}},  {L" 260\u00A0", {Kind::kValue, 260}},
      {L"няма данни", kNone},            {L"132 nm", kBad},
      {L"1 32", kBad},                   {L"-5", kBad},
      {L"0", kBad},                      {L"", kBad},
      {L"pm", kBad},
  };
  for (const auto& [text, expect] : cases) EXPECT_TRUE(Matches(viewer::ParseRadius(text), expect)) << Narrow(text);
}

TEST(ParseValues, ElectronegativityKeepsTheDecimalCommaAndItsPrecision) {
  const std::pair<const wchar_t*, Expect> cases[] = {
      {L"1,83", {Kind::kValue, 1.83, 2}}, {L"0,7", {Kind::kValue, 0.7, 1}},
      {L"3,98", {Kind::kValue, 3.98, 2}}, {L"2,20", {Kind::kValue, 2.2, 2}},
      {L"1.6", {Kind::kValue, 1.6, 1}},   {L"4", {Kind::kValue, 4, 0}},
      {L"няма данни", kNone},             {L"?", kNone},
      {L"1,", kBad},                      {L",5", kBad},
      {L"1,8,3", kBad},                   {L"1,83 pm", kBad},
      {L"висока", kBad},
  };
  for (const auto& [text, expect] : cases)
    EXPECT_TRUE(Matches(viewer::ParseElectronegativity(text), expect)) << Narrow(text);
}

TEST(ParseValues, DensityOfGasesIsTurnedFromGramsPerLitreIntoGramsPerCubicCentimetre) {
  const std::pair<const wchar_t*, Expect> cases[] = {
      {L"7,874 g/cm³", {Kind::kValue, 7.874, 3}},
      {L"11 g/cm³", {Kind::kValue, 11, 0}},
      {L"22,59 g/cm3", {Kind::kValue, 22.59, 2}},
      // One division from the stored digits: exactly the double of 0.0000899.
      {L"0,0899 g/L", {Kind::kValue, 0.0000899, 7}},
      {L"0,900 g/L", {Kind::kValue, 0.0009, 6}},
      {L"~6,4 g/cm³", {Kind::kValue, 6.4, 1, true}},
      {L"~ 2,5 g/cm³", {Kind::kValue, 2.5, 1, true}},
      {L"8,84 g/cm³ (оценка)", {Kind::kValue, 8.84, 2, true}},
      {L"няма данни", kNone},
      // A bare number could be per litre or per cubic centimetre.
      {L"7,874", kBad},
      {L"7,874 kg/m³", kBad},
      {L"~ g/cm³", kBad},
      {L"7,874 g/cm³ (оценка", kBad},
  };
  for (const auto& [text, expect] : cases) EXPECT_TRUE(Matches(viewer::ParseDensity(text), expect)) << Narrow(text);
}

TEST(ParseValues, MeltingAndBoilingPairsWithNotesSublimationAndMissingHalves) {
  struct Case {
    const wchar_t* text;
    Expect melting, boiling;
  };
  const Case cases[] = {
      {L"1538 / 2862 °C", {Kind::kValue, 1538}, {Kind::kValue, 2862}},
      {L"-259 / -253 °C", {Kind::kValue, -259}, {Kind::kValue, -253}},
      {L"-272 (под налягане) / -269 °C", {Kind::kValue, -272}, {Kind::kValue, -269}},
      {L"44 (бял) / 281 °C", {Kind::kValue, 44}, {Kind::kValue, 281}},
      // A note after the whole pair is about both temperatures.
      {L"302 / 337 °C (оценка)", {Kind::kValue, 302, 0, true}, {Kind::kValue, 337, 0, true}},
      {L"1527 (оценка) / няма данни", {Kind::kValue, 1527, 0, true}, kNone},
      {L"1527 °C / 3000 °C", {Kind::kValue, 1527}, {Kind::kValue, 3000}},
      {L"няма данни / 100 °C", kNone, {Kind::kValue, 100}},
      {L"сублимира при 3642 °C", {Kind::kValue, 3642}, {Kind::kValue, 3642}},
      {L"сублимира при 615 °C (оценка)", {Kind::kValue, 615, 0, true}, {Kind::kValue, 615, 0, true}},
      {L"−38,83 / 356,7 °C", {Kind::kValue, -38.83, 2}, {Kind::kValue, 356.7, 1}},
      {L"няма данни", kNone, kNone},
      {L"1538 °C", kBad, kBad},
      {L"1538 / °C", kBad, kBad},
      {L"1538 / 2862 / 3000 °C", kBad, kBad},
      {L"сублимира при °C", kBad, kBad},
      {L"сублимира при 3642", kBad, kBad},
      {L"1538 / 2862 K", kBad, kBad},
  };
  for (const Case& c : cases) {
    MeltBoil mb = viewer::ParseMeltBoil(c.text);
    EXPECT_TRUE(Matches(mb.melting, c.melting)) << "melting of " << Narrow(c.text);
    EXPECT_TRUE(Matches(mb.boiling, c.boiling)) << "boiling of " << Narrow(c.text);
    EXPECT_TRUE(Matches(viewer::ParseProperty(Property::kMeltingPoint, c.text), c.melting));
    EXPECT_TRUE(Matches(viewer::ParseProperty(Property::kBoilingPoint, c.text), c.boiling));
  }
}

TEST(ParseValues, ValueTextWritesTheStoredPrecisionTheDecimalCommaAndTheUnit) {
  auto text = [](Property p, const wchar_t* stored, bool mark = true) {
    return viewer::ValueText(p, viewer::ParseProperty(p, stored), mark);
  };
  EXPECT_EQ(text(Property::kElectronegativity, L"0,7"), L"0,7");
  EXPECT_EQ(text(Property::kElectronegativity, L"2,20"), L"2,20");
  EXPECT_EQ(text(Property::kAtomRadius, L"28"), L"28 pm");
  EXPECT_EQ(text(Property::kDensity, L"0,0899 g/L"), L"0,0000899 g/cm³");
  EXPECT_EQ(text(Property::kDensity, L"22,59 g/cm³"), L"22,59 g/cm³");
  EXPECT_EQ(text(Property::kDensity, L"~6,4 g/cm³"), L"~6,4 g/cm³");
  EXPECT_EQ(text(Property::kDensity, L"~6,4 g/cm³", false), L"6,4 g/cm³");
  EXPECT_EQ(text(Property::kMeltingPoint, L"-272 (под налягане) / -269 °C"), L"-272 °C");
  EXPECT_EQ(text(Property::kBoilingPoint, L"302 / 337 °C (оценка)"), L"~337 °C");
  EXPECT_EQ(text(Property::kBoilingPoint, L"1527 (оценка) / няма данни"), L"няма данни");
  EXPECT_EQ(text(Property::kAtomRadius, L"нещо друго"), L"няма данни");
}

TEST(ParseValues, PropertiesNameTheirFieldsAndMenuTexts) {
  EXPECT_EQ(viewer::FieldOf(Property::kAtomRadius), "atom_rad");
  EXPECT_EQ(viewer::FieldOf(Property::kElectronegativity), "electronegativity");
  EXPECT_EQ(viewer::FieldOf(Property::kDensity), "density");
  EXPECT_EQ(viewer::FieldOf(Property::kMeltingPoint), "melt_boil");
  EXPECT_EQ(viewer::FieldOf(Property::kBoilingPoint), "melt_boil");
  const wchar_t* captions[] = {L"Радиус на атома", L"Електроотрицателност", L"Плътност",
                               L"Температура на топене", L"Температура на кипене"};
  for (size_t i = 0; i < viewer::kProperties.size(); ++i)
    EXPECT_EQ(viewer::CaptionOf(viewer::kProperties[i]), captions[i]);
}

// Every record of the database the program ships, walked in index order.
class StoredTexts : public ::testing::Test {
 protected:
  struct Row {
    std::wstring name;
    std::map<Property, Reading> readings;
    std::map<std::string, std::wstring> texts;
  };

  void SetUp() override {
    auto& file = testing_viewer::VrakelFile::Get();
    ASSERT_TRUE(file.ok());
    viewer::Bookmark first;
    auto rs = file.Open(first);
    ASSERT_TRUE(rs);
    do {
      Row row;
      row.name = rs->FieldText("Name").value_or(L"");
      for (const char* field : {"atom_rad", "electronegativity", "density", "melt_boil"}) {
        auto text = rs->FieldText(field);
        ASSERT_TRUE(text) << field << " of record " << rows_.size();
        row.texts[field] = *text;
      }
      for (Property p : viewer::kProperties)
        row.readings[p] = viewer::ParseProperty(p, row.texts[std::string(viewer::FieldOf(p))]);
      rows_.push_back(std::move(row));
    } while (rs->Move(1));
  }

  std::vector<Row> rows_;
};

TEST_F(StoredTexts, EveryTextOfEveryRecordIsAValueOrNoData) {
  ASSERT_EQ(rows_.size(), 118u);
  std::map<Property, int> missing;
  for (size_t pos = 0; pos < rows_.size(); ++pos) {
    for (const auto& [p, r] : rows_[pos].readings) {
      EXPECT_NE(r.kind, Kind::kUnrecognized)
          << "position " << pos << ", " << viewer::FieldOf(p) << ": "
          << Narrow(rows_[pos].texts[std::string(viewer::FieldOf(p))]);
      if (!r.HasValue()) ++missing[p];
    }
  }
  // He, Ne, Ar and Rf to Og have no electronegativity; Fm to Lr and Rf to Og
  // no density and no boiling point; Rf to Og no melting point.
  EXPECT_EQ(missing[Property::kAtomRadius], 0);
  EXPECT_EQ(missing[Property::kElectronegativity], 18);
  EXPECT_EQ(missing[Property::kDensity], 19);
  EXPECT_EQ(missing[Property::kMeltingPoint], 15);
  EXPECT_EQ(missing[Property::kBoilingPoint], 19);
}

TEST_F(StoredTexts, ValuesLieWithinWhatTheElementsCanHave) {
  for (size_t pos = 0; pos < rows_.size(); ++pos) {
    auto& r = rows_[pos].readings;
    // A melting point above the boiling point means the halves were swapped
    // or one was misread.
    if (r[Property::kMeltingPoint].HasValue() && r[Property::kBoilingPoint].HasValue()) {
      EXPECT_LE(r[Property::kMeltingPoint].value, r[Property::kBoilingPoint].value) << "position " << pos;
    }
    if (r[Property::kAtomRadius].HasValue()) {
      EXPECT_GE(r[Property::kAtomRadius].value, 28) << "position " << pos;
      EXPECT_LE(r[Property::kAtomRadius].value, 260) << "position " << pos;
    }
    if (r[Property::kElectronegativity].HasValue()) {
      EXPECT_GE(r[Property::kElectronegativity].value, 0.7) << "position " << pos;
      EXPECT_LE(r[Property::kElectronegativity].value, 3.98) << "position " << pos;
    }
    if (r[Property::kDensity].HasValue()) {
      EXPECT_GE(r[Property::kDensity].value, 0.0000899) << "position " << pos;
      EXPECT_LE(r[Property::kDensity].value, 22.59) << "position " << pos;
    }
    for (Property p : {Property::kMeltingPoint, Property::kBoilingPoint}) {
      if (r[p].HasValue()) {
        EXPECT_GE(r[p].value, -273.15) << "position " << pos;
      }
    }
  }
}

TEST_F(StoredTexts, ElementsWhoseTextsCarryEveryForm) {
  struct Spot {
    size_t position;
    Property property;
    Expect expect;
  };
  const Spot spots[] = {
      {0, Property::kDensity, {Kind::kValue, 0.0000899, 7}},       // H, a gas: 0,0899 g/L
      {1, Property::kMeltingPoint, {Kind::kValue, -272}},           // He, under pressure
      {1, Property::kElectronegativity, kNone},                     // He
      {5, Property::kMeltingPoint, {Kind::kValue, 3642}},           // C sublimes
      {5, Property::kBoilingPoint, {Kind::kValue, 3642}},
      {8, Property::kElectronegativity, {Kind::kValue, 3.98, 2}},   // F
      {14, Property::kMeltingPoint, {Kind::kValue, 44}},            // white P
      {25, Property::kDensity, {Kind::kValue, 7.874, 3}},           // Fe
      {25, Property::kAtomRadius, {Kind::kValue, 132}},
      {84, Property::kDensity, {Kind::kValue, 6.4, 1, true}},       // At, "~"
      {84, Property::kBoilingPoint, {Kind::kValue, 337, 0, true}},  // At, "(оценка)"
      {86, Property::kElectronegativity, {Kind::kValue, 0.7, 1}},   // Fr
      {86, Property::kAtomRadius, {Kind::kValue, 260}},
      {99, Property::kMeltingPoint, {Kind::kValue, 1527, 0, true}},  // Fm
      {99, Property::kBoilingPoint, kNone},
      {103, Property::kMeltingPoint, kNone},                         // Rf
  };
  for (const Spot& s : spots) {
    ASSERT_LT(s.position, rows_.size());
    EXPECT_TRUE(Matches(rows_[s.position].readings[s.property], s.expect))
        << "position " << s.position << ", " << viewer::FieldOf(s.property);
  }
}

size_t TileIndex(std::string_view symbol) {
  auto tiles = viewer::Tiles();
  for (size_t i = 0; i < tiles.size(); ++i)
    if (tiles[i].symbol == symbol) return i;
  ADD_FAILURE() << "no tile " << symbol;
  return 0;
}

TEST(ReadTileRecords, EachTileTakesTheRecordAtItsPositionNotItsAtomicNumber) {
  const auto& records = testing_viewer::VrakelFile::Get().TileRecords();
  ASSERT_EQ(records.size(), viewer::Tiles().size());
  EXPECT_EQ(records[TileIndex("Fe")].name, L"Желязо");
  EXPECT_EQ(records[TileIndex("Fe")].Of(Property::kElectronegativity).value, 1.83);
  // Uun reads position 110, darmstadtium; position 109 (nihonium) is no tile's.
  EXPECT_EQ(records[TileIndex("Uun")].name, L"Дармщатий");
  EXPECT_EQ(records[TileIndex("Uun")].Of(Property::kAtomRadius).value, 128);
  EXPECT_EQ(records[TileIndex("Fe")].atomic_number, 26);
  EXPECT_EQ(records[TileIndex("Uun")].atomic_number, 110);
  EXPECT_EQ(viewer::ParseAtomicNumber(L" 7 "), 7);
  for (const wchar_t* bad : {L"", L"x", L"0", L"12a", L"-3"}) EXPECT_EQ(viewer::ParseAtomicNumber(bad), 0) << bad;
  EXPECT_EQ(records[TileIndex("Uuq")].name, L"Флеровий");
  for (const char* symbol : {"Uuh", "Uuo"}) {
    const auto& r = records[TileIndex(symbol)];
    EXPECT_FALSE(r.has_record) << symbol;
    EXPECT_TRUE(r.name.empty()) << symbol;
    for (const Reading& reading : r.readings) EXPECT_EQ(reading.kind, Kind::kNoData) << symbol;
  }
  for (size_t i = 0; i + 2 < records.size(); ++i)
    EXPECT_TRUE(records[i].has_record) << viewer::Tiles()[i].symbol;
}

// A table whose record k has the name "N<k>" and the radius k + 1.
testing_viewer::FakeTable NumberedTable(int count) {
  testing_viewer::FakeTable t;
  for (int k = 0; k < count; ++k) {
    t.records.push_back({{"Name", L"N" + std::to_wstring(k)},
                         {"atom_rad", std::to_wstring(k + 1)},
                         {"electronegativity", L"няма данни"},
                         {"density", L"1 g/cm³"},
                         {"melt_boil", L"1 / 2 °C"}});
    t.id_order.push_back(k);
  }
  return t;
}

TEST(ReadTileRecords, ReachesEveryRecordOnceInOnePass) {
  auto table = NumberedTable(118);
  testing_viewer::FakeRecordSet rs(table);
  ASSERT_TRUE(rs.SetIndex("ID"));
  auto first = rs.GetBookmark();
  ASSERT_TRUE(first);
  table.log.clear();
  auto records = viewer::ReadTileRecords(rs, *first);
  ASSERT_EQ(records.size(), viewer::Tiles().size());
  for (size_t i = 0; i < records.size(); ++i) {
    const auto& tile = viewer::Tiles()[i];
    if (tile.position == viewer::kNoRecord) continue;
    EXPECT_EQ(records[i].name, L"N" + std::to_wstring(tile.position)) << tile.symbol;
    EXPECT_EQ(records[i].Of(Property::kAtomRadius).value, tile.position + 1) << tile.symbol;
    EXPECT_EQ(records[i].Of(Property::kBoilingPoint).value, 2) << tile.symbol;
  }
  // From the first record once, then forward: the moves add up to the last
  // position read, 113, and the melting/boiling text is read once a record.
  int bookmarks = 0, moved = 0, melt_boil = 0, names = 0;
  for (const std::string& entry : table.log) {
    if (entry.rfind("SetBookmark", 0) == 0) ++bookmarks;
    if (entry.rfind("Move ", 0) == 0) {
      int rows = std::stoi(entry.substr(5));
      EXPECT_GE(rows, 0);
      moved += rows;
    }
    if (entry == "Field melt_boil") ++melt_boil;
    if (entry == "Field Name") ++names;
  }
  EXPECT_EQ(bookmarks, 1);
  EXPECT_EQ(moved, 113);
  EXPECT_EQ(melt_boil, 113);
  EXPECT_EQ(names, 113);
}

TEST(ReadTileRecords, ATableTooShortLeavesTheLaterTilesWithoutDataAndNullFieldsAreNoData) {
  auto table = NumberedTable(100);
  table.records[25].erase("atom_rad");  // Fe's radius reads as null
  testing_viewer::FakeRecordSet rs(table);
  ASSERT_TRUE(rs.SetIndex("ID"));
  auto first = rs.GetBookmark();
  auto records = viewer::ReadTileRecords(rs, *first);
  EXPECT_TRUE(records[TileIndex("Fe")].has_record);
  EXPECT_EQ(records[TileIndex("Fe")].Of(Property::kAtomRadius).kind, Kind::kNoData);
  EXPECT_EQ(records[TileIndex("Fe")].Of(Property::kDensity).value, 1);
  EXPECT_TRUE(records[TileIndex("Fm")].has_record);  // position 99
  for (const char* symbol : {"Md", "Lr", "Mt", "Uun", "Uuq"}) {
    EXPECT_FALSE(records[TileIndex(symbol)].has_record) << symbol;
    EXPECT_EQ(records[TileIndex(symbol)].Of(Property::kBoilingPoint).kind, Kind::kNoData) << symbol;
  }
}

}  // namespace
