#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/platform.h"
#include "look/meter.h"

namespace {

constexpr kit::Color kRing = kit::Rgb(1, 2, 3);
constexpr kit::Color kWedge = kit::Rgb(200, 0, 0);
constexpr kit::Color kBack = kit::Rgb(0, 168, 255);
constexpr kit::Color kCaption = kit::Rgb(0, 168, 255);

// A window with the uninstaller's meter. At 96 DPI the dial's centre is
// pixel (65, 53) and its radius 45 pixels.
struct MeterWindow : kit::Form {
  MeterWindow() : kit::Form("Form1") {
    look::DesignMeter({MeterBox, MeterShape, MeterPos}, look::MeterWindow::kUninstaller);
    MeterBox.fore_color = kRing;
  }
  kit::PictureBox MeterBox{*this, "MeterBox"};
  kit::Shape MeterShape{MeterBox, "MeterShape"};
  kit::Label MeterPos{MeterBox, "MeterPos"};

  const kit::Bitmap& Pixels() { return MeterBox.Image(); }
  // The pixel at an angle clockwise from twelve o'clock, `r` pixels out.
  kit::Color At(double degrees, double r) {
    double a = degrees * 3.141592653589793 / 180;
    return Pixels().At(static_cast<int>(std::lround(65 + r * std::sin(a))),
                       static_cast<int>(std::lround(53 - r * std::cos(a))));
  }
  int LeftHalfRing() {
    int n = 0;
    for (int y = 0; y < Pixels().Height(); ++y)
      for (int x = 0; x < 63; ++x) n += Pixels().At(x, y) == kRing;
    return n;
  }
};

class Meter : public ::testing::Test {
 protected:
  void SetUp() override { look::ResetMeter(); }
  void TearDown() override { look::ResetMeter(); }
  kit::ScopedHeadless headless;
};

TEST_F(Meter, InitMeasuresTheDialPlacesTheCaptionAndShowsZero) {
  MeterWindow w;
  look::InitMeter(w, kWedge, kCaption);
  const look::MeterState& m = look::Meter();
  EXPECT_EQ(m.MeterCenterX, 975.0);
  EXPECT_EQ(m.MeterCenterY, 795.0);
  EXPECT_EQ(m.MeterRadius, 675);
  EXPECT_EQ(m.MeterLastValue, 0);
  EXPECT_EQ(w.MeterPos.caption, L"0%");
  EXPECT_EQ(w.MeterPos.bounds, (kit::Rect{0, 668, 1935, 255}));  // 795 - 127.5, to even
  EXPECT_EQ(w.MeterPos.fore_color, kCaption);
  EXPECT_FALSE(w.MeterPos.visible);
  EXPECT_EQ(w.MeterBox.fore_color, kWedge);
  // 0 is one line from the centre straight up to the rim: 46 pixels.
  EXPECT_EQ(w.Pixels().CountColor(kWedge), 46);
  for (int y = 8; y <= 53; ++y) EXPECT_EQ(w.Pixels().At(65, y), kWedge) << y;
  // The ring, in the colour the box had before set-up, is its picture now.
  EXPECT_GT(w.MeterBox.picture.CountColor(kRing), 250);
  EXPECT_EQ(w.MeterBox.picture.CountColor(kWedge), 0);
  EXPECT_EQ(w.At(270, 45), kRing);
  EXPECT_EQ(w.At(270, 40), kBack);
}

TEST_F(Meter, RadiusRoundsHalvesToEven) {
  MeterWindow w;
  w.MeterShape.bounds.width = 1351;
  look::InitMeter(w, kWedge, kCaption);
  EXPECT_EQ(look::Meter().MeterRadius, 676);
  EXPECT_EQ(look::Meter().MeterCenterX, 300 + 675.5);
  w.MeterShape.bounds.width = 1349;
  look::InitMeter(w, kWedge, kCaption);
  EXPECT_EQ(look::Meter().MeterRadius, 674);
}

TEST_F(Meter, WedgesGrowClockwiseFromTwelve) {
  MeterWindow w;
  look::InitMeter(w, kWedge, kCaption);

  look::SetMeterValue(50, w);   // 0..180 degrees: the right half
  EXPECT_EQ(w.MeterPos.caption, L"50%");
  EXPECT_EQ(w.At(90, 30), kWedge);
  EXPECT_EQ(w.At(45, 40), kWedge);
  EXPECT_EQ(w.At(179, 40), kWedge);
  EXPECT_EQ(w.At(270, 30), kBack);
  EXPECT_EQ(w.At(200, 40), kBack);

  look::SetMeterValue(33, w);   // 119 degrees
  EXPECT_EQ(w.MeterPos.caption, L"33%");
  EXPECT_EQ(w.At(110, 40), kWedge);
  EXPECT_EQ(w.At(128, 40), kBack);

  look::SetMeterValue(96, w);   // 346 degrees
  EXPECT_EQ(w.MeterPos.caption, L"96%");
  EXPECT_EQ(w.At(340, 40), kWedge);
  EXPECT_EQ(w.At(353, 40), kBack);

  look::SetMeterValue(100, w);  // the whole disc
  EXPECT_EQ(w.MeterPos.caption, L"100%");
  // 361 one-pixel lines leave only a sprinkle of single-pixel gaps (the
  // moire of neighbouring lines) and a solid core.
  int disc = 0, holes = 0;
  for (int y = 0; y < w.Pixels().Height(); ++y)
    for (int x = 0; x < w.Pixels().Width(); ++x) {
      double d = std::hypot(x - 65, y - 53);
      if (d > 44) continue;
      ++disc;
      if (w.Pixels().At(x, y) != kWedge) {
        ++holes;
        EXPECT_GT(d, 12) << x << "," << y;
        EXPECT_EQ(w.Pixels().At(x, y), kBack);
      }
    }
  EXPECT_LT(holes * 25, disc);
  EXPECT_EQ(look::Meter().MeterLastValue, 100);
  EXPECT_FALSE(headless.platform.refreshed.empty());
  EXPECT_EQ(headless.platform.refreshed.back(), &w.MeterBox);
}

TEST_F(Meter, EveryCallRedrawsFromTheRingAlone) {
  MeterWindow fresh;
  look::InitMeter(fresh, kWedge, kCaption);
  look::SetMeterValue(10, fresh);
  const kit::Bitmap only_ten = fresh.Pixels();
  const int ring_left = fresh.LeftHalfRing();
  ASSERT_GT(ring_left, 100);

  look::ResetMeter();
  MeterWindow w;
  look::InitMeter(w, kWedge, kCaption);
  look::SetMeterValue(100, w);
  look::SetMeterValue(50, w);   // the left half is back to the bare ring
  EXPECT_EQ(w.LeftHalfRing(), ring_left);
  look::SetMeterValue(90, w);
  look::SetMeterValue(10, w);   // 90 then 10: only the 36-degree wedge is left
  EXPECT_EQ(w.Pixels(), only_ten);
  EXPECT_EQ(w.At(30, 40), kWedge);
  EXPECT_EQ(w.At(90, 40), kBack);
  EXPECT_EQ(w.At(300, 40), kBack);
  EXPECT_EQ(w.LeftHalfRing(), ring_left);
}

TEST_F(Meter, StepCodesAndClamps) {
  MeterWindow w;
  look::InitMeter(w, kWedge, kCaption);
  struct Case { float in; int shown; };
  const Case cases[] = {
      {50, 50}, {look::kMeterStepUp, 51}, {look::kMeterStepDown, 50}, {look::kMeterStepDown, 49},
      {100, 100}, {-1, 100}, {0, 0}, {-2, 0}, {-3, 0}, {70, 70}, {-7, 0},
      {99, 99}, {-1, 100}, {-1, 100},
      {2.5f, 2}, {3.5f, 4}, {-2.5f, 3},  // -2.5 rounds to -2: a step down
      {-0.4f, 0}, {100.5f, 100}, {-1.5f, 99},  // -1.5 rounds to -2
  };
  for (const Case& c : cases) {
    look::SetMeterValue(c.in, w);
    EXPECT_EQ(look::Meter().MeterLastValue, c.shown) << c.in;
    EXPECT_EQ(w.MeterPos.caption, std::to_wstring(c.shown) + L"%") << c.in;
  }
  EXPECT_TRUE(headless.platform.messages.empty());
}

TEST_F(Meter, ValuesAbove100ChangeNothing) {
  MeterWindow w;
  look::InitMeter(w, kWedge, kCaption);
  look::SetMeterValue(33, w);
  const kit::Bitmap before = w.Pixels();
  size_t refreshes = headless.platform.refreshed.size();
  for (float v : {101.0f, 100.6f, 1e9f, std::numeric_limits<float>::infinity()}) {
    look::SetMeterValue(v, w);
    EXPECT_EQ(w.Pixels(), before) << v;
    EXPECT_EQ(w.MeterPos.caption, L"33%") << v;
    EXPECT_EQ(look::Meter().MeterLastValue, 33) << v;
  }
  EXPECT_EQ(headless.platform.refreshed.size(), refreshes);
  EXPECT_TRUE(headless.platform.messages.empty());
  look::SetMeterValue(-std::numeric_limits<float>::infinity(), w);
  EXPECT_EQ(w.MeterPos.caption, L"0%");
}

TEST_F(Meter, GeometryOfTheLastSetUpServesEveryWindow) {
  MeterWindow a, b;
  b.MeterShape.bounds = {0, 0, 600, 600};
  look::InitMeter(b, kWedge, kCaption);
  look::InitMeter(a, kWedge, kCaption);
  look::SetMeterValue(0, b);   // b is drawn with a's centre and radius
  EXPECT_EQ(b.Pixels().At(65, 10), kWedge);
}

// A window that lacks some of the meter's controls.
struct PartialWindow : kit::Form {
  PartialWindow() : kit::Form("Form6") {
    MeterBox.bounds = {0, 0, 1935, 1695};
    MeterBox.back_color = kBack;
    MeterBox.fore_color = kRing;
    MeterShape.bounds = {300, 120, 1350, 1350};
  }
  kit::PictureBox MeterBox{*this, "MeterBox"};
  kit::Shape MeterShape{MeterBox, "MeterShape"};
};

TEST_F(Meter, InitStopsQuietlyAtTheFailingStep) {
  PartialWindow w;
  look::Meter().MeterLastValue = 42;
  look::InitMeter(w, kWedge, kCaption);
  // Geometry and ring are done; colours and the 0 are not.
  EXPECT_EQ(look::Meter().MeterRadius, 675);
  EXPECT_GT(w.MeterBox.picture.CountColor(kRing), 250);
  EXPECT_EQ(w.MeterBox.fore_color, kRing);
  EXPECT_EQ(look::Meter().MeterLastValue, 42);
  EXPECT_TRUE(headless.platform.messages.empty());

  kit::Form empty("Form9");
  look::ResetMeter();
  look::InitMeter(empty, kWedge, kCaption);
  EXPECT_EQ(look::Meter().MeterRadius, 0);
  EXPECT_TRUE(headless.platform.messages.empty());
}

TEST_F(Meter, SetValueReportsErrorsAndKeepsTheLastValue) {
  MeterWindow good;
  look::InitMeter(good, kWedge, kCaption);
  look::SetMeterValue(20, good);

  PartialWindow w;   // no caption label: the wedge is drawn, then the error
  w.MeterBox.fore_color = kWedge;
  look::SetMeterValue(50, w);
  ASSERT_EQ(headless.platform.messages.size(), 1u);
  EXPECT_EQ(headless.platform.messages[0], L"Object doesn't support this property or method");
  EXPECT_EQ(w.MeterBox.Image().At(95, 53), kWedge);
  EXPECT_EQ(look::Meter().MeterLastValue, 20);

  kit::Form empty("Form9");
  look::SetMeterValue(30, empty);
  EXPECT_EQ(headless.platform.messages.size(), 2u);
  look::SetMeterValue(std::numeric_limits<float>::quiet_NaN(), good);
  ASSERT_EQ(headless.platform.messages.size(), 3u);
  EXPECT_EQ(headless.platform.messages[2], L"Overflow");
  EXPECT_EQ(good.MeterPos.caption, L"20%");
  EXPECT_EQ(look::Meter().MeterLastValue, 20);
}

}  // namespace
