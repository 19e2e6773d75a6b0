// What each kind of control looks like, as the painter, the window sync and
// the accessible object all read it.
#include <gtest/gtest.h>

#include "kit/appearance.h"
#include "kit/form.h"

namespace {

struct Page : kit::Form {
  Page() : kit::Form("page") {
    tile.bounds = {1005, 1500, 615, 495};   // edges fall on 67, 100, 108, 133 pixels
    tile.caption = L"Be";
    tile.back_color = kit::Rgb(255, 200, 0);
    tile.border = true;
    box.bounds = {0, 0, 1500, 1500};
    box.border = true;
    needle.bounds = {150, 150, 300, 300};
    needle.shape = kit::ShapeKind::kCircle;
    needle.filled = true;
    needle.fill_color = kit::Rgb(0, 0, 255);
    needle.border_width = 0;
    rule.x1 = 15;
    rule.y1 = 30;
    rule.x2 = 1500;
    rule.y2 = 30;
    rule.width = 3;
    field.text = L"C:\\Program Files";
    logo.resource = L"LOGO";
  }
  kit::Label tile{*this, "tile"};
  kit::PictureBox box{*this, "box"};
  kit::Shape needle{box, "needle"};
  kit::Line rule{*this, "rule"};
  kit::TextBox field{*this, "field"};
  kit::OptionButton choice{*this, "choice"};
  kit::Image logo{*this, "logo"};
  kit::DriveList drives{*this, "drives"};
};

TEST(Appearance, OfEachKindInPixelsAndPlainColours) {
  Page p;
  kit::Appearance tile = kit::AppearanceOf(p.tile);
  EXPECT_EQ(tile.place, (kit::PixelBox{67, 100, 108, 133}));
  EXPECT_TRUE(tile.shown && tile.has_text && tile.border);
  EXPECT_EQ(tile.text, L"Be");
  EXPECT_EQ(tile.back, kit::Rgb(255, 200, 0));
  EXPECT_EQ(tile.fore, kit::Rgb(0, 0, 0));   // the system's button text, resolved
  // Its focus ring: two pixels inside the frame, black on the orange; a
  // transparent label's ring stands out from the surface behind it.
  kit::FocusRing ring = kit::FocusRingOf(tile, kit::Rgb(0, 0, 0));
  EXPECT_EQ(ring.outer, (kit::PixelBox{68, 101, 107, 132}));
  EXPECT_EQ(ring.width, 2);
  EXPECT_EQ(ring.color, kit::Rgb(0, 0, 0));
  tile.transparent = true;
  EXPECT_EQ(kit::FocusRingOf(tile, kit::Rgb(0, 0, 0x80)).color, kit::Rgb(0xFF, 0xFF, 0xFF));
  // What lies under a label: the form, or a filled shape beneath it.
  EXPECT_EQ(kit::SurfaceUnder(p, p.choice), kit::Rgb(240, 240, 240));
  kit::Shape panel{p, "panel"};
  panel.bounds = {0, 0, 6000, 6000};
  panel.filled = true;
  panel.fill_color = kit::Rgb(0, 0x99, 0xFF);
  EXPECT_EQ(kit::SurfaceUnder(p, p.choice), kit::Rgb(0, 0x99, 0xFF));

  // Inside a framed picture box: a pixel in from the frame; a hidden box
  // hides what it holds.
  kit::Appearance needle = kit::AppearanceOf(p.needle);
  EXPECT_EQ(needle.place, (kit::PixelBox{11, 11, 31, 31}));
  EXPECT_EQ(needle.back, kit::Rgb(0, 0, 255));
  EXPECT_EQ(needle.pen_width, 1);   // outlined, never thinner than a pixel
  p.box.visible = false;
  EXPECT_FALSE(kit::AppearanceOf(p.needle).shown);

  kit::Appearance rule = kit::AppearanceOf(p.rule);
  EXPECT_EQ(rule.from, (kit::Point{1, 2}));
  EXPECT_EQ(rule.to, (kit::Point{100, 2}));
  EXPECT_EQ(rule.pen_width, 3);

  kit::Appearance field = kit::AppearanceOf(p.field);
  EXPECT_TRUE(field.has_text && field.border);
  EXPECT_EQ(field.back, kit::Rgb(255, 255, 255));
  EXPECT_FALSE(kit::AppearanceOf(p.choice).border);
  EXPECT_EQ(kit::AppearanceOf(p.logo).picture, L"LOGO");
  EXPECT_FALSE(kit::AppearanceOf(p.drives).has_text);   // its items are its text

  // A new text or place is no new style (a real window keeps its font);
  // a colour is, and every change shows in the one look hash.
  kit::Appearance before = kit::AppearanceOf(p.tile);
  p.tile.caption = L"Li";
  p.tile.bounds.left += 615;
  kit::Appearance moved = kit::AppearanceOf(p.tile);
  EXPECT_TRUE(kit::SameStyle(before, moved));
  EXPECT_NE(kit::LookHash(before), kit::LookHash(moved));
  p.tile.back_color = kit::Rgb(255, 255, 255);
  EXPECT_FALSE(kit::SameStyle(moved, kit::AppearanceOf(p.tile)));
}

}  // namespace
