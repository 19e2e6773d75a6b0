// The chart's geometry: ticks and their labels, the logarithmic axis, gaps
// where values are missing, the periods' marks and hitting a point.
#include "viewer/chart_geometry.h"

#include <gtest/gtest.h>

namespace {

using viewer::ChartPoint;

TEST(ChartAxis, RoundTicksWithDecimalCommasAndLogarithmicDecades) {
  const auto radius = viewer::FitValueAxis(25, 298, false);
  EXPECT_EQ(radius.labels, (std::vector<std::wstring>{L"0", L"50", L"100", L"150", L"200", L"250", L"300"}));
  EXPECT_DOUBLE_EQ(radius.Position(150), 0.5);
  const auto en = viewer::FitValueAxis(0.7, 3.98, false, 8);
  EXPECT_EQ(en.labels, (std::vector<std::wstring>{L"0,5", L"1,0", L"1,5", L"2,0", L"2,5", L"3,0", L"3,5", L"4,0"}));
  const auto melting = viewer::FitValueAxis(-272, 3642, false);
  EXPECT_EQ(melting.labels.front(), L"-1000");
  EXPECT_EQ(melting.labels.back(), L"4000");
  const auto density = viewer::FitValueAxis(0.0000899, 22.59, true);
  EXPECT_EQ(density.labels.front(), L"0,00001");
  EXPECT_EQ(density.labels.back(), L"100");
  EXPECT_DOUBLE_EQ(density.Position(0.001), 2.0 / 7.0);
  EXPECT_DOUBLE_EQ(density.Position(1), 5.0 / 7.0);
}

TEST(ChartLayout, PointsGapsPeriodsAndHits) {
  // He and Li are consecutive; Be is missing, so B stands alone.
  const std::vector<ChartPoint> points = {{2, 100}, {3, 0}, {5, 50}};
  const viewer::ValueAxis axis = viewer::FitValueAxis(0, 100, false);
  const kit::Rect plot{1000, 500, 11800, 4000};  // 100 twips a column
  const auto layout = viewer::LayoutChart(points, axis, plot);
  EXPECT_EQ(layout.points[0], (kit::Point{1150, 500}));   // top of the plot
  EXPECT_EQ(layout.points[1], (kit::Point{1250, 4500}));  // its bottom
  EXPECT_EQ(layout.points[2].y, 2500);
  EXPECT_EQ(layout.joins, (std::vector<std::pair<int, int>>{{0, 1}}));
  // Lines after He, Ne, Ar, Kr, Xe and Rn; seven period numbers.
  EXPECT_EQ(layout.period_lines, (std::vector<int>{1200, 2000, 2800, 4600, 6400, 9600}));
  ASSERT_EQ(layout.period_labels.size(), 7u);
  EXPECT_EQ(layout.period_labels[0].x, 1100);
  EXPECT_EQ(layout.period_labels[6].x, 1000 + 10200);  // the middle of 87..118
  EXPECT_EQ(layout.x_ticks.size(), 11u);
  EXPECT_EQ(viewer::HitPoint(layout, 1240, 4480, 60), 1);
  EXPECT_EQ(viewer::HitPoint(layout, 1200, 2500, 60), std::nullopt);
}

}  // namespace
