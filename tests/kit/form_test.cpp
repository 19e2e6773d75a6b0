#include <gtest/gtest.h>

#include "kit/form.h"
#include "kit/geometry.h"
#include "kit/platform.h"

namespace {

TEST(Geometry, TwipsToPixelsRoundsHalvesAwayFromZero) {
  EXPECT_EQ(kit::TwipsToPixels(15, 96), 1);
  EXPECT_EQ(kit::TwipsToPixels(11640, 96), 776);
  EXPECT_EQ(kit::TwipsToPixels(-45, 96), -3);
  EXPECT_EQ(kit::TwipsToPixels(7, 96), 0);
  EXPECT_EQ(kit::TwipsToPixels(8, 96), 1);
  EXPECT_EQ(kit::TwipsToPixels(8600, 144), 860);
}

TEST(Form, LoadRunsOnceAndFirstShowRaisesResize) {
  kit::ScopedHeadless headless;
  kit::Form form("Form1");
  int loads = 0, resizes = 0;
  form.on_load = [&] { ++loads; };
  form.on_resize = [&] { ++resizes; };
  form.SetSize(100, 100);  // not shown yet: no resize
  form.Show();
  form.Hide();
  form.Show();
  form.Load();
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(resizes, 1);
  form.SetWidth(200);
  EXPECT_EQ(resizes, 2);
  form.SetWidth(200);
  EXPECT_EQ(resizes, 2);
}

TEST(Form, WidthChangedInsideResizeRaisesOneInnerPass) {
  kit::ScopedHeadless headless;
  kit::Form form("frmMsg");
  form.SetSize(4830, 2775);
  std::vector<int> widths;
  form.on_resize = [&] {
    widths.push_back(form.Width());
    form.SetWidth(4365);
  };
  form.Show();
  EXPECT_EQ(widths, (std::vector<int>{4830, 4365}));
}

TEST(Form, WindowBesideAnotherStandsRightOfItOrAtTheWorkAreasEdge) {
  kit::Form form("Beside");
  const kit::Rect work{0, 0, 1280, 994};
  // Room on the right: just beside, level with its top.
  EXPECT_EQ(kit::WindowOrigin(form, 300, 400, work, kit::Rect{100, 50, 776, 600}).x, 876);
  EXPECT_EQ(kit::WindowOrigin(form, 300, 400, work, kit::Rect{100, 50, 776, 600}).y, 50);
  // No room: at the right edge, over as little of the other as it must;
  // never above the work area's top or below its bottom.
  const kit::Point edge = kit::WindowOrigin(form, 500, 400, work, kit::Rect{252, -20, 776, 600});
  EXPECT_EQ(edge.x, 780);
  EXPECT_EQ(edge.y, 0);
  EXPECT_EQ(kit::WindowOrigin(form, 500, 400, work, kit::Rect{252, 900, 776, 90}).y, 594);
  // Wider than the work area: its left edge stays on it.
  EXPECT_EQ(kit::WindowOrigin(form, 1400, 400, work, kit::Rect{252, 0, 776, 600}).x, 0);
}

TEST(Dispatch, PostedTaskRunsAfterTheHandlerSoAFormCanDestroyItself) {
  kit::ScopedHeadless headless;
  auto form = std::make_unique<kit::Form>("frmExit");
  kit::Label no(*form, "Label10");
  bool destroyed = false;
  no.on_click = [&] {
    kit::PostTask([&] { destroyed = true; });
    EXPECT_FALSE(destroyed);
  };
  kit::Click(no);
  EXPECT_TRUE(destroyed);
}

TEST(Platform, HeadlessEndThrowsSoTestsSeeTheProgramEnd) {
  kit::ScopedHeadless headless;
  EXPECT_THROW(kit::EndProgram(0), kit::ProgramEnded);
  EXPECT_TRUE(headless.platform.ended);
}

}  // namespace
