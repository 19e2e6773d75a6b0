// States of matter on the database the program ships, at temperatures that
// cross real edges, and the temperature as typed into its box.
#include "viewer/matter_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/viewer/vrakel_records.h"
#include "viewer/tile_table.h"

namespace {

using viewer::MatterState;

// The symbols of every tile in `state` at `celsius`.
std::set<std::string> InState(MatterState state, double celsius) {
  const auto& records = testing_viewer::VrakelFile::Get().TileRecords();
  EXPECT_EQ(records.size(), viewer::Tiles().size());
  std::set<std::string> out;
  for (size_t i = 0; i < records.size(); ++i)
    if (viewer::StateAt(records[i], celsius) == state) out.insert(std::string(viewer::Tiles()[i].symbol));
  return out;
}

TEST(MatterState, TheShippedElementsAtTemperaturesThatCrossRealEdges) {
  using S = std::set<std::string>;
  const S gases = {"H", "N", "O", "F", "Cl", "He", "Ne", "Ar", "Kr", "Xe", "Rn"};
  EXPECT_EQ(InState(MatterState::kGas, 25), gases);
  EXPECT_EQ(InState(MatterState::kLiquid, 25), (S{"Hg", "Br"}));
  // Gallium and caesium melt in the hand (francium's estimate of 27 too).
  EXPECT_EQ(InState(MatterState::kLiquid, 30), (S{"Hg", "Br", "Ga", "Cs", "Fr"}));
  // Mercury froze at -39 and bromine at -7; chlorine condensed at -34.
  EXPECT_EQ(InState(MatterState::kLiquid, -40), (S{"Cl"}));
  EXPECT_EQ(InState(MatterState::kSolid, -40).count("Hg"), 1u);
  // At absolute zero only helium stays liquid: its melting point needs pressure.
  EXPECT_EQ(InState(MatterState::kLiquid, -273), (S{"He"}));
  EXPECT_TRUE(InState(MatterState::kGas, -273).empty());
  EXPECT_EQ(InState(MatterState::kGas, 100).count("Br"), 1u);
  // Carbon sublimes at 3642 °C: never liquid; at 3700 it is gas while iron boils at 2862.
  for (double t : {25.0, 3641.0, 3642.0, 3700.0}) EXPECT_EQ(InState(MatterState::kLiquid, t).count("C"), 0u) << t;
  EXPECT_EQ(InState(MatterState::kSolid, 3641).count("C"), 1u);
  EXPECT_EQ(InState(MatterState::kGas, 3700).count("C"), 1u);
  EXPECT_EQ(InState(MatterState::kGas, 3700).count("Fe"), 1u);
  // Estimates count (At melts at ~302); without a boiling point the state
  // above the melting point is unknown (Fm); with no points nothing is known.
  EXPECT_EQ(InState(MatterState::kLiquid, 310).count("At"), 1u);
  EXPECT_EQ(InState(MatterState::kSolid, 25).count("Fm"), 1u);
  EXPECT_EQ(InState(MatterState::kNoData, 1600).count("Fm"), 1u);
  EXPECT_EQ(InState(MatterState::kNoData, 25).count("Rf"), 1u);
  viewer::TileRecord no_record;
  EXPECT_EQ(viewer::StateAt(no_record, 25), MatterState::kNoData);
}

TEST(MatterState, NamesColoursAndWhatAReaderHears) {
  EXPECT_EQ(viewer::StateColor(MatterState::kSolid), kit::Rgb(0x4D, 0x4D, 0x4D));
  EXPECT_EQ(viewer::StateColor(MatterState::kLiquid), kit::Rgb(0x00, 0x72, 0xB2));
  EXPECT_EQ(viewer::StateColor(MatterState::kGas), kit::Rgb(0xD5, 0x5E, 0x00));
  EXPECT_EQ(viewer::StateDescription(MatterState::kLiquid, 25), L"течно при 25 °C");
  EXPECT_EQ(viewer::StateDescription(MatterState::kSolid, -40), L"твърдо при -40 °C");
  EXPECT_EQ(viewer::StateDescription(MatterState::kNoData, 25), L"няма данни");
  EXPECT_EQ(viewer::KelvinText(25), L"298 K");
  EXPECT_EQ(viewer::KelvinText(-273), L"0 K");
  EXPECT_EQ(viewer::KelvinText(6000), L"6273 K");
}

TEST(MatterState, TypedTemperatures) {
  EXPECT_EQ(viewer::ParseCelsius(L"30"), 30);
  EXPECT_EQ(viewer::ParseCelsius(L" -40 "), -40);
  EXPECT_EQ(viewer::ParseCelsius(L"\u221240"), -40);
  EXPECT_EQ(viewer::ParseCelsius(L"+100"), 100);
  EXPECT_EQ(viewer::ParseCelsius(L"-273"), -273);
  EXPECT_EQ(viewer::ParseCelsius(L"6000"), 6000);
  for (const wchar_t* bad : {L"", L"-", L"-274", L"6001", L"25,5", L"2 5", L"abc", L"25°", L"--5", L"99999999999"})
    EXPECT_FALSE(viewer::ParseCelsius(bad).has_value()) << bad;
}

}  // namespace
