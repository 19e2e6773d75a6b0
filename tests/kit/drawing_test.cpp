// What the painter draws, decided without a device.
#include <gtest/gtest.h>

#include "kit/drawing.h"
#include "kit/platform.h"

namespace {

using kit::Align;
using kit::Hatch;
using kit::PixelBox;

TEST(Shapes, HatchingLiesOnOneGridSoThatNeighbouringFillsMeetDiagonalsCoverTheCornersCirclesAreCentred) {
  // Two boxes side by side, one edge shared: their horizontal lines meet.
  const auto left = kit::HatchSegments({-7, 3, 10, 30}, Hatch::kHorizontal, 8);
  const auto right = kit::HatchSegments({10, 3, 25, 30}, Hatch::kHorizontal, 8);
  ASSERT_EQ(left.size(), right.size());
  for (size_t i = 0; i < left.size(); ++i) {
    EXPECT_EQ(left[i].from.y % 8, 0);
    EXPECT_EQ(left[i].from.y, right[i].from.y);
    EXPECT_EQ(left[i].to.x, right[i].from.x);
  }
  EXPECT_EQ(left.front().from.y, 0);   // from the grid line at or above the top
  // Negative coordinates round down, not towards zero.
  EXPECT_EQ(kit::HatchSegments({-7, -7, 10, 10}, Hatch::kVertical, 8).front().from.x, -8);

  const PixelBox box{0, 0, 16, 16};
  auto count = [&](Hatch hatch) { return kit::HatchSegments(box, hatch, 4).size(); };
  EXPECT_EQ(count(Hatch::kCross), count(Hatch::kHorizontal) + count(Hatch::kVertical));
  EXPECT_EQ(count(Hatch::kDiagonalCross), count(Hatch::kForwardDiagonal) + count(Hatch::kBackwardDiagonal));
  EXPECT_TRUE(kit::HatchSegments(box, Hatch::kCross, 0).empty());
  for (const kit::Segment& s : kit::HatchSegments(box, Hatch::kForwardDiagonal, 4)) {
    EXPECT_EQ(s.from.x + s.from.y, s.to.x + s.to.y);   // rising to the right
    EXPECT_LE(s.from.y, box.top - 1);                    // past both edges
    EXPECT_GE(s.to.y, box.bottom + 1);
  }
  for (const kit::Segment& s : kit::HatchSegments(box, Hatch::kBackwardDiagonal, 4))
    EXPECT_EQ(s.from.x - s.from.y, s.to.x - s.to.y);
  // A circle fits the smaller side of its box.
  EXPECT_EQ(kit::CircleBox({10, 20, 50, 40}), (PixelBox{20, 20, 40, 40}));
  EXPECT_EQ(kit::CircleBox({0, 0, 9, 20}), (PixelBox{0, 5, 9, 14}));
}

TEST(LabelText, RightAlignedTextWithoutAFrameEndsAPixelShortAndCaptionsShrinkToTheLargestQuarterPointThatFits) {
  kit::Appearance label;
  label.alignment = Align::kRight;
  EXPECT_EQ(kit::TextArea(label, {0, 0, 40, 20}), (PixelBox{0, 0, 39, 20}));
  label.border = true;
  EXPECT_EQ(kit::TextArea(label, {0, 0, 40, 20}), (PixelBox{1, 1, 39, 19}));
  label.pen_width = 3;   // a picture's wider frame
  EXPECT_EQ(kit::TextArea(label, {0, 0, 40, 20}), (PixelBox{3, 3, 37, 17}));
  label.border = false;
  label.alignment = Align::kCenter;
  EXPECT_EQ(kit::TextArea(label, {0, 0, 40, 20}), (PixelBox{0, 0, 40, 20}));

  // A caption too wide shrinks to the largest quarter point that fits.
  auto width_at = [](double points) { return static_cast<int>(points * 3); };   // three pixels a point
  EXPECT_EQ(kit::FittingPoints(12, 31, width_at), 10.25);
  EXPECT_EQ(kit::FittingPoints(12, 0, width_at), 12);   // no room: left alone
  // A face whose width does not scale evenly is stepped down until it fits.
  auto lumpy = [](double points) { return static_cast<int>(points * 3) + (points > 8 ? 4 : 0); };
  EXPECT_EQ(kit::FittingPoints(12, 30, lumpy), 8.75);
  // Not at the layout's 96 DPI unless in a picture; a wrapped caption never.
  kit::Appearance caption, wrapped;
  wrapped.word_wrap = true;
  EXPECT_FALSE(kit::ShrinksToFit(caption, 96, false));
  EXPECT_TRUE(kit::ShrinksToFit(caption, 96, true));
  EXPECT_FALSE(kit::ShrinksToFit(wrapped, 300, true));
}

TEST(LabelText, ScriptedRunsFollowOnOneBaselineRaisedAndLowered) {
  const auto runs = kit::ScriptRuns(kit::ParseScripted(L"SO_4^{2-}"));
  kit::Appearance label;
  label.alignment = Align::kRight;
  const auto placed = kit::PlaceRuns(runs, {20, 6, 10}, label, {0, 0, 100, 30}, 10, 14);
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ((std::vector<int>{placed[0].x, placed[1].x, placed[2].x}), (std::vector<int>{64, 84, 90}));   // 100 - 36
  EXPECT_EQ(placed[0].baseline, 18);   // centred: (30 - 14) / 2 + 10
  EXPECT_GT(placed[1].baseline, placed[0].baseline);   // lowered
  EXPECT_LT(placed[2].baseline, placed[0].baseline);   // raised
  EXPECT_FALSE(placed[0].small);
  EXPECT_TRUE(placed[2].small);
  label.alignment = Align::kCenter;
  label.word_wrap = true;
  const auto wrapped = kit::PlaceRuns(runs, {20, 6, 10}, label, {0, 0, 100, 30}, 10, 14);
  EXPECT_EQ(wrapped[0].x, 32);
  EXPECT_EQ(wrapped[0].baseline, 10);   // at the top
}

TEST(Fonts, AMissingFaceGetsItsSiblingOnlyWhereTheSiblingHelps) {
  std::vector<std::wstring> installed = {L"Arial", L"Tahoma"};
  auto has = [&](const std::wstring& f) { return std::find(installed.begin(), installed.end(), f) != installed.end(); };
  EXPECT_EQ(kit::StandIn(L"Arial Black", false, has), (kit::FaceChoice{L"Arial", true}));
  EXPECT_EQ(kit::StandIn(L"Verdana", true, has), (kit::FaceChoice{L"Tahoma", true}));
  installed = {L"Arial Black"};
  EXPECT_EQ(kit::StandIn(L"Arial Black", false, has), (kit::FaceChoice{L"Arial Black", false}));
  EXPECT_EQ(kit::StandIn(L"Verdana", false, has), (kit::FaceChoice{L"Verdana", false}));   // no Tahoma either
}

TEST(FolderRows, AncestorsOpenSubfoldersClosedRootInLowerCase) {
  kit::ScopedHeadless headless;
  kit::Form form("form");
  kit::FolderList dir(form, "dir");
  dir.source = [](const std::wstring& f) -> std::optional<std::vector<std::wstring>> {
    if (f == L"C:\\") return std::vector<std::wstring>{L"Program Files"};
    if (f == L"C:\\Program Files") return std::vector<std::wstring>{L"Zentrik", L"Common Files"};
    return std::nullopt;
  };
  ASSERT_TRUE(dir.SetPath(L"C:\\Program Files"));
  const int row = kit::TwipsToPixels(kit::kFolderRowTwips);
  auto at = [&](int i) { return kit::FolderRowOf(dir, i, {0, i * row, 200, (i + 1) * row}); };
  EXPECT_FALSE(at(4));
  EXPECT_FALSE(at(-1));   // the list box's "no item"
  const std::wstring names[] = {L"c:\\", L"Program Files", L"Common Files", L"Zentrik"};
  const int levels[] = {0, 1, 2, 2};   // each a step further in; the subfolders one below the current
  std::vector<kit::FolderRow> rows;
  for (int i = 0; i < 4; ++i) {
    rows.push_back(*at(i));
    EXPECT_EQ(rows[i].name, names[i]);
    EXPECT_EQ(rows[i].open, i < 2) << i;   // the current folder and its ancestors
    EXPECT_EQ(rows[i].body.left - rows[0].body.left, levels[i] * kit::TwipsToPixels(150)) << i;
  }
  // The glyph stands in its row, the name after it.
  EXPECT_GE(rows[3].tab.top, 3 * row);
  EXPECT_LE(rows[3].body.bottom, 4 * row);
  EXPECT_GT(rows[3].text_left, rows[3].body.right);
}

}  // namespace
