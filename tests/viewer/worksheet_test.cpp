// The target-independent parts of a copied, saved or printed table.
#include "viewer/worksheet.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

TEST(Worksheet, TitleNamesTheViewShown) {
  EXPECT_EQ(viewer::WorksheetTitle(std::nullopt, std::nullopt), L"Периодична система на химичните елементи");
  EXPECT_EQ(viewer::WorksheetTitle(viewer::Property::kElectronegativity, std::nullopt),
            L"Периодична система на химичните елементи: електроотрицателност");
  EXPECT_EQ(viewer::WorksheetTitle(viewer::Property::kAtomRadius, std::nullopt),
            L"Периодична система на химичните елементи: радиус на атома");
  EXPECT_EQ(viewer::WorksheetTitle(std::nullopt, -40),
            L"Периодична система на химичните елементи: агрегатно състояние при -40 °C");
}

TEST(Worksheet, FitKeepsProportionsAndCentres) {
  // A wide picture on a landscape page with margins: as wide as the area, centred up and down.
  EXPECT_EQ(viewer::FitInside(2000, 1000, {100, 50, 1000, 800}), (kit::Rect{100, 200, 1000, 500}));
  // A tall page: height-bound the other way round.
  EXPECT_EQ(viewer::FitInside(1000, 1000, {0, 0, 600, 400}), (kit::Rect{100, 0, 400, 400}));
  EXPECT_EQ(viewer::FitInside(0, 10, {5, 5, 10, 10}).width, 0);
  int w = 0, h = 0;
  EXPECT_EQ(viewer::WithMargin(10000, 6000, 2, &w, &h), (kit::Rect{200, 200, 10000, 6000}));
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(10400, 6400));
}

TEST(Worksheet, BlackAndWhiteFillsStayApart) {
  std::set<std::pair<unsigned, int>> seen;
  for (int c = 0; c < 8; ++c) {
    const auto f = viewer::CategoryPrintFill(static_cast<viewer::Category>(c));
    seen.insert({static_cast<unsigned>(f.back), static_cast<int>(f.hatch)});
  }
  EXPECT_EQ(seen.size(), 8u);
  // Five steps darkening with the value, neighbours apart, the missing one its own.
  std::set<std::pair<unsigned, int>> steps;
  viewer::PrintFill last = viewer::ScalePrintFill(0.0);
  for (double t : {0.0, 0.25, 0.45, 0.65, 1.0}) {
    const auto f = viewer::ScalePrintFill(t);
    steps.insert({static_cast<unsigned>(f.back), static_cast<int>(f.hatch)});
    EXPECT_LE(f.back & 0xFF, last.back & 0xFF);
    last = f;
  }
  EXPECT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps.count({static_cast<unsigned>(viewer::ScalePrintFill(std::nullopt).back),
                         static_cast<int>(viewer::ScalePrintFill(std::nullopt).hatch)}), 0u);
}

}  // namespace
