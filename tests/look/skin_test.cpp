#include <gtest/gtest.h>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/platform.h"
#include "look/meter.h"
#include "look/skin.h"

namespace {

struct Page : kit::Form {
  explicit Page(int side_width) : kit::Form("Form2") {
    look::DesignSkin(Shape1, &Shape2, &Shape3, side_width);
    on_resize = [this] { look::ApplySkin(*this, Shape1, &Shape2, &Shape3); };
  }
  kit::Shape Shape1{*this, "Shape1"};
  kit::Shape Shape2{*this, "Shape2"};
  kit::Shape Shape3{*this, "Shape3"};
};

TEST(Skin, ResizeStretchesFrameBandAndSidePanel) {
  kit::ScopedHeadless headless;
  struct Case { int side, width, height; kit::Rect panel; };
  const Case cases[] = {
      {look::kInstallerSideWidth, 8700, 5160, {0, 585, 2190, 4575}},
      {look::kUninstallerSideWidth, 8775, 5235, {0, 585, 2835, 4650}},
      {look::kInstallerSideWidth, 9165, 5160, {0, 585, 2190, 4575}},
  };
  for (const Case& c : cases) {
    Page page(c.side);
    page.SetSize(c.width, c.height);
    page.Show();
    EXPECT_EQ(page.Shape1.bounds, (kit::Rect{0, 0, c.width, c.height}));
    EXPECT_EQ(page.Shape2.bounds, (kit::Rect{0, 0, c.width, 600}));
    EXPECT_EQ(page.Shape3.bounds, c.panel);
    // The panel ends exactly at the bottom edge.
    EXPECT_EQ(page.Shape3.bounds.Bottom(), c.height);
    page.on_resize();
    EXPECT_EQ(page.Shape3.bounds, c.panel);
  }
}

TEST(Skin, DesignedLook) {
  kit::ScopedHeadless headless;
  Page page(look::kInstallerSideWidth);
  const kit::Color white = kit::Rgb(255, 255, 255);
  EXPECT_FALSE(page.Shape1.filled);
  EXPECT_EQ(page.Shape1.border_color, white);
  EXPECT_EQ(page.Shape1.border_width, 1);
  EXPECT_TRUE(page.Shape2.filled);
  EXPECT_EQ(page.Shape2.fill_color, kit::Rgb(0, 0, 192));
  EXPECT_EQ(page.Shape2.border_color, white);
  EXPECT_TRUE(page.Shape3.filled);
  EXPECT_EQ(page.Shape3.fill_color, kit::Rgb(0, 150, 255));
  EXPECT_EQ(page.Shape3.border_color, white);
}

struct MessageDialog : kit::Form {
  MessageDialog() : kit::Form("frmMsg") {
    look::DesignSkin(Shape1, nullptr, nullptr, 0);
    look::DesignDialogBand(Shape2);
    Msg.bounds = {1140, 720, 2085, 600};
    Label11.bounds = {3000, 1500, 480, 300};
    on_resize = [this] {
      ++resizes;
      look::ResizeMessageDialog(*this, Shape1, Msg, Label11);
    };
  }
  kit::Shape Shape1{*this, "Shape1"};
  kit::Shape Shape2{*this, "Shape2"};
  kit::Label Msg{*this, "Msg"};
  kit::Label Label11{*this, "Label11"};
  int resizes = 0;
};

TEST(Skin, MessageDialogTakesItsMessagesWidth) {
  kit::ScopedHeadless headless;
  MessageDialog dlg;
  dlg.SetSize(6000, 2400);
  dlg.Show();
  EXPECT_EQ(dlg.Width(), 4365);
  EXPECT_EQ(dlg.Label11.bounds.left, 3785);
  EXPECT_EQ(dlg.Shape1.bounds, (kit::Rect{0, 0, 4365, 2400}));
  EXPECT_EQ(dlg.resizes, 2);   // the width change raised one inner pass
  EXPECT_EQ(dlg.Shape2.bounds, (kit::Rect{-30, -120, 8370, 600}));

  // A longer message on a later showing widens the dialog again.
  dlg.Msg.bounds.width = 5000;
  dlg.on_resize();
  EXPECT_EQ(dlg.Width(), 7280);
  EXPECT_EQ(dlg.Label11.bounds.left, 7280 - 480 - 100);
  EXPECT_EQ(dlg.Shape1.bounds.width, 7280);
}

TEST(Skin, MeterControlsStandWhereEachWindowWantsThem) {
  kit::ScopedHeadless headless;
  kit::Form form("Form6");
  kit::PictureBox MeterBox(form, "MeterBox");
  kit::Shape MeterShape(MeterBox, "MeterShape");
  kit::Label MeterPos(MeterBox, "MeterPos");
  look::DesignMeter({MeterBox, MeterShape, MeterPos}, look::MeterWindow::kInstallerCopyingPage);
  EXPECT_EQ(MeterBox.bounds, (kit::Rect{4470, 2040, 1935, 1695}));
  EXPECT_EQ(MeterShape.bounds, (kit::Rect{300, 120, 1350, 1350}));
  EXPECT_EQ(MeterPos.bounds, (kit::Rect{900, 645, 255, 255}));
  EXPECT_EQ(MeterPos.font.face, L"Arial");
  EXPECT_EQ(MeterBox.fore_color, kit::kWindowText);
  EXPECT_FALSE(MeterShape.visible);
  EXPECT_FALSE(MeterPos.visible);

  look::DesignMeter({MeterBox, MeterShape, MeterPos}, look::MeterWindow::kUninstaller);
  EXPECT_EQ(MeterBox.bounds, (kit::Rect{5910, 840, 1935, 1695}));
  EXPECT_EQ(MeterBox.back_color, kit::Rgb(0, 168, 255));
  EXPECT_EQ(MeterPos.bounds, (kit::Rect{705, 645, 450, 255}));
  EXPECT_EQ(MeterPos.font, kit::MakeFont(L"Tahoma", 12, true, kit::kCyrillicCharset));
  EXPECT_EQ(MeterPos.caption, L"0%");
  EXPECT_EQ(MeterPos.alignment, kit::Align::kCenter);
  EXPECT_TRUE(MeterPos.transparent);
}

}  // namespace
