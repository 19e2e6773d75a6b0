// The colour scale: the viridis table itself, where values land on it
// (linearly, or by their logarithm for density), the grey for missing
// values, legible symbols, and the legend's end texts for every property of
// the database the program ships.
#include "viewer/trend_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "kit/appearance.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/tile_table.h"

namespace {

using viewer::Property;
using viewer::Reading;
using viewer::TrendScale;

constexpr kit::Color kWhite = kit::Rgb(0xFF, 0xFF, 0xFF);
constexpr kit::Color kBlack = kit::Rgb(0, 0, 0);

Reading Value(double v, int decimals = 0) { return {Reading::Kind::kValue, v, decimals}; }

double Lightness(kit::Color c) {
  // Rough perceived lightness; enough to see the map rise steadily.
  return 0.2126 * kit::RedOf(c) + 0.7152 * kit::GreenOf(c) + 0.0722 * kit::BlueOf(c);
}

TEST(Viridis, IsThePublishedMapNotABlendOfItsEnds) {
  EXPECT_EQ(viewer::kViridis.front(), kit::Rgb(0x44, 0x01, 0x54));
  EXPECT_EQ(viewer::kViridis.back(), kit::Rgb(0xFD, 0xE7, 0x25));
  // Published entries inside: the teal in the middle and the blue a quarter
  // of the way; a straight blend of the ends would give a muddy olive.
  EXPECT_EQ(viewer::kViridis[128], kit::Rgb(0x21, 0x91, 0x8C));
  EXPECT_EQ(viewer::kViridis[64], kit::Rgb(0x3B, 0x52, 0x8B));
  // Lightness rises at every step: the property that makes the order
  // readable without telling hues apart.
  for (size_t i = 1; i < viewer::kViridis.size(); ++i)
    EXPECT_GT(Lightness(viewer::kViridis[i]), Lightness(viewer::kViridis[i - 1]) - 0.5) << "entry " << i;
  EXPECT_EQ(viewer::ViridisAt(0), viewer::kViridis.front());
  EXPECT_EQ(viewer::ViridisAt(1), viewer::kViridis.back());
  EXPECT_EQ(viewer::ViridisAt(-3), viewer::kViridis.front());
  EXPECT_EQ(viewer::ViridisAt(7), viewer::kViridis.back());
  EXPECT_EQ(viewer::ViridisAt(std::nan("")), viewer::kViridis.front());
  EXPECT_EQ(viewer::ViridisAt(0.5), viewer::kViridis[128]);
}

TEST(Viridis, SymbolsAreWhiteOnTheDarkHalfAndBlackOnTheLightHalfAndOnGrey) {
  EXPECT_EQ(viewer::SymbolColorOn(viewer::kViridis.front()), kWhite);
  EXPECT_EQ(viewer::SymbolColorOn(viewer::kViridis.back()), kBlack);
  EXPECT_EQ(viewer::SymbolColorOn(viewer::kNoDataColor), kBlack);
  // One switch along the whole map, somewhere in its middle.
  int switches = 0;
  size_t first_black = 0;
  for (size_t i = 1; i < viewer::kViridis.size(); ++i)
    if (viewer::SymbolColorOn(viewer::kViridis[i]) != viewer::SymbolColorOn(viewer::kViridis[i - 1])) {
      ++switches;
      first_black = i;
    }
  EXPECT_EQ(switches, 1);
  EXPECT_GT(first_black, 80u);
  EXPECT_LT(first_black, 180u);
}

TEST(TrendScale, LinearPropertiesSpreadEvenlyBetweenTheirEnds) {
  std::vector<Reading> radii = {Value(28), Reading::NoData(), Value(144), Value(260), Reading::Unrecognized()};
  auto scale = TrendScale::Fit(Property::kAtomRadius, radii);
  ASSERT_TRUE(scale);
  EXPECT_EQ(scale->low().value, 28);
  EXPECT_EQ(scale->high().value, 260);
  EXPECT_DOUBLE_EQ(scale->Position(144), 0.5);
  EXPECT_EQ(scale->ColorOf(Value(28)), kit::Rgb(0x44, 0x01, 0x54));
  EXPECT_EQ(scale->ColorOf(Value(260)), kit::Rgb(0xFD, 0xE7, 0x25));
  EXPECT_EQ(scale->ColorOf(Value(144)), viewer::kViridis[128]);
  EXPECT_EQ(scale->ColorOf(Reading::NoData()), viewer::kNoDataColor);
  EXPECT_EQ(scale->ColorOf(Reading::Unrecognized()), viewer::kNoDataColor);
  EXPECT_EQ(scale->LowText(), L"28 pm");
  EXPECT_EQ(scale->HighText(), L"260 pm");
}

TEST(TrendScale, DensityGoesByItsLogarithmSoGasesAndMetalsBothSpreadOut) {
  EXPECT_TRUE(viewer::IsLogarithmic(Property::kDensity));
  for (Property p : {Property::kAtomRadius, Property::kElectronegativity, Property::kMeltingPoint,
                     Property::kBoilingPoint})
    EXPECT_FALSE(viewer::IsLogarithmic(p));
  std::vector<Reading> densities = {Value(0.0001, 4), Value(10, 0), Value(0.1, 1)};
  auto scale = TrendScale::Fit(Property::kDensity, densities);
  ASSERT_TRUE(scale);
  // Five orders of magnitude: 0.1 lies at three fifths, not at a hundredth.
  EXPECT_NEAR(scale->Position(0.1), 0.6, 1e-12);
  EXPECT_NEAR(scale->Position(1), 0.8, 1e-12);
  EXPECT_EQ(scale->Position(0), 0);
  EXPECT_EQ(scale->ColorOf(Value(0.0001)), viewer::kViridis.front());
  EXPECT_EQ(scale->ColorOf(Value(10)), viewer::kViridis.back());
}

TEST(TrendScale, NothingToScaleWithoutValuesAndOneValueSitsInTheMiddle) {
  std::vector<Reading> none = {Reading::NoData(), Reading::Unrecognized()};
  EXPECT_FALSE(TrendScale::Fit(Property::kElectronegativity, none));
  // A logarithm needs positive values; a zero is left out of the fit.
  std::vector<Reading> zero = {Value(0)};
  EXPECT_FALSE(TrendScale::Fit(Property::kDensity, zero));
  std::vector<Reading> one = {Value(1.5, 1), Value(1.5, 1)};
  auto scale = TrendScale::Fit(Property::kElectronegativity, one);
  ASSERT_TRUE(scale);
  EXPECT_EQ(scale->ColorOf(Value(1.5)), viewer::kViridis[128]);
}

// The scales the viewer shows, fitted on the values of its tiles.
class ShippedScales : public ::testing::Test {
 protected:
  void SetUp() override {
    records_ = &testing_viewer::VrakelFile::Get().TileRecords();
    ASSERT_EQ(records_->size(), viewer::Tiles().size());
  }
  std::optional<TrendScale> Fit(Property p) {
    std::vector<Reading> readings;
    for (const auto& r : *records_) readings.push_back(r.Of(p));
    return TrendScale::Fit(p, readings);
  }
  const viewer::TileRecord& Of(std::string_view symbol) {
    for (size_t i = 0; i < records_->size(); ++i)
      if (viewer::Tiles()[i].symbol == symbol) return (*records_)[i];
    ADD_FAILURE() << symbol;
    return records_->front();
  }
  const std::vector<viewer::TileRecord>* records_ = nullptr;
};

TEST_F(ShippedScales, LegendEndsForEveryProperty) {
  struct Ends {
    Property property;
    const wchar_t *low, *high;
  };
  const Ends ends[] = {
      {Property::kAtomRadius, L"28 pm", L"260 pm"},
      {Property::kElectronegativity, L"0,7", L"3,98"},
      {Property::kDensity, L"0,0000899 g/cm³", L"22,59 g/cm³"},
      {Property::kMeltingPoint, L"-272 °C", L"3642 °C"},
      {Property::kBoilingPoint, L"-269 °C", L"5596 °C"},
  };
  for (const Ends& e : ends) {
    auto scale = Fit(e.property);
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->LowText(), e.low) << viewer::FieldOf(e.property);
    EXPECT_EQ(scale->HighText(), e.high) << viewer::FieldOf(e.property);
  }
}

TEST_F(ShippedScales, ElectronegativityPutsFluorineAtTheTopFranciumAtTheBottomAndHeliumInGrey) {
  auto scale = Fit(Property::kElectronegativity);
  ASSERT_TRUE(scale);
  EXPECT_EQ(scale->ColorOf(Of("F").Of(Property::kElectronegativity)), kit::Rgb(0xFD, 0xE7, 0x25));
  EXPECT_EQ(scale->ColorOf(Of("Fr").Of(Property::kElectronegativity)), kit::Rgb(0x44, 0x01, 0x54));
  EXPECT_EQ(scale->ColorOf(Of("He").Of(Property::kElectronegativity)), viewer::kNoDataColor);
  EXPECT_EQ(scale->ColorOf(Of("Uuo").Of(Property::kElectronegativity)), viewer::kNoDataColor);
  EXPECT_EQ(viewer::SymbolColorOn(scale->ColorOf(Of("Fr").Of(Property::kElectronegativity))), kWhite);
}

TEST_F(ShippedScales, TheLightestGasAndTheDensestMetalSpanTheDensityScale) {
  auto scale = Fit(Property::kDensity);
  ASSERT_TRUE(scale);
  EXPECT_EQ(scale->ColorOf(Of("H").Of(Property::kDensity)), viewer::kViridis.front());
  EXPECT_EQ(scale->ColorOf(Of("Os").Of(Property::kDensity)), viewer::kViridis.back());
  // On a straight scale every gas and the light metals would share the
  // bottom colour; by the logarithm nitrogen, lithium and iron stand apart.
  double n = scale->Position(Of("N").Of(Property::kDensity).value);
  double li = scale->Position(Of("Li").Of(Property::kDensity).value);
  double fe = scale->Position(Of("Fe").Of(Property::kDensity).value);
  EXPECT_GT(n, 0.2);
  EXPECT_GT(li - n, 0.2);
  EXPECT_GT(fe - li, 0.1);
  EXPECT_LT(fe, 1.0);
}

// The focus ring over every fill a tile can have: black on the light ones,
// white on the dark ones, and never under 3:1 against the fill.
TEST(FocusRing, StandsOutFromEveryTileColour) {
  using viewer::Category;
  std::vector<std::pair<kit::Color, kit::Color>> fills = {
      {viewer::kViridis.front(), kWhite},
      {viewer::kViridis.back(), kBlack},
      {viewer::kNoDataColor, kBlack},
      {viewer::CategoryColor(Category::kLanthanide), kWhite},
  };
  for (Category c : {Category::kAlkaliMetal, Category::kAlkalineEarthMetal, Category::kActinide,
                     Category::kTransitionMetal, Category::kOtherMetal, Category::kNonmetal, Category::kNobleGas})
    fills.push_back({viewer::CategoryColor(c), kBlack});
  for (auto [fill, expected] : fills) {
    kit::Appearance tile;
    tile.back = fill;
    kit::Color ring = kit::FocusRingOf(tile, kit::Rgb(0, 0, 0)).color;
    EXPECT_EQ(ring, expected) << std::hex << fill;
    EXPECT_GE(kit::ContrastRatio(ring, fill), 3.0) << std::hex << fill;
  }
}

}  // namespace
