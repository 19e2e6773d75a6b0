#include "look/meter.h"

#include <cmath>
#include <limits>
#include <optional>

#include "kit/platform.h"

namespace look {
namespace {

MeterState g_meter;

// An error inside a meter routine, carrying the description the user sees.
struct MeterError {
  const wchar_t* description;
};

constexpr const wchar_t* kNoSuchControl = L"Object doesn't support this property or method";
constexpr const wchar_t* kOverflow = L"Overflow";

template <typename T>
T& FindControl(kit::Form& window, const char* name, kit::ControlKind kind) {
  kit::Control* c = window.Find(name);
  if (!c || c->Kind() != kind) throw MeterError{kNoSuchControl};
  return static_cast<T&>(*c);
}

kit::PictureBox& Box(kit::Form& w) { return FindControl<kit::PictureBox>(w, "MeterBox", kit::ControlKind::kPictureBox); }
kit::Shape& Marker(kit::Form& w) { return FindControl<kit::Shape>(w, "MeterShape", kit::ControlKind::kShape); }
kit::Label& Caption(kit::Form& w) { return FindControl<kit::Label>(w, "MeterPos", kit::ControlKind::kLabel); }

// Nearest whole number, halves to the even neighbour (the default rounding
// mode), as a 16-bit integer; out of range is an overflow.
std::int16_t ToInt16(double x) {
  double r = std::nearbyint(x);
  if (!(r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max()))
    throw MeterError{kOverflow};
  return static_cast<std::int16_t>(r);
}

// The rounded value after the step codes and the lower clamp; nothing for a
// value above 100, which leaves the meter as it is.
std::optional<int> Resolve(float value, int last) {
  if (std::isnan(value)) throw MeterError{kOverflow};
  double r = std::nearbyint(static_cast<double>(value));
  if (r <= -3) return 0;
  if (r == -1) return last + 1 >= 100 ? 100 : last + 1;
  if (r == -2) return last - 1 < 0 ? 0 : last - 1;
  if (r > 100) return std::nullopt;
  return static_cast<int>(r);
}

}  // namespace

MeterState& Meter() { return g_meter; }
void ResetMeter() { g_meter = MeterState{}; }

void InitMeter(kit::Form& window, kit::Color meter_colour, kit::Color caption_colour) {
  try {
    kit::Shape& marker = Marker(window);
    g_meter.MeterCenterX = marker.bounds.left + marker.bounds.width / 2.0;
    g_meter.MeterCenterY = marker.bounds.top + marker.bounds.height / 2.0;
    g_meter.MeterRadius = ToInt16(marker.bounds.width / 2.0);

    // The ring lies one twip outside the wedge, in the colour the box has
    // now; as the box's picture it survives every clear.
    kit::PictureBox& box = Box(window);
    box.DrawCircle(g_meter.MeterCenterX, g_meter.MeterCenterY, marker.bounds.width / 2.0 + 1);
    box.picture = box.Image();

    kit::Label& caption = Caption(window);
    caption.caption = L"0%";
    caption.bounds.left = 0;
    caption.bounds.width = box.ScaleWidth();
    caption.bounds.top = ToInt16(g_meter.MeterCenterY - caption.bounds.height / 2.0);

    caption.fore_color = caption_colour;
    box.fore_color = meter_colour;
  } catch (const MeterError&) {
    return;  // set-up stops quietly where it failed
  }
  SetMeterValue(0, window);
}

void SetMeterValue(float value, kit::Form& window) {
  try {
    std::optional<int> v = Resolve(value, g_meter.MeterLastValue);
    if (!v) return;

    kit::PictureBox& box = Box(window);
    box.Cls();
    // Whole degrees to fill; v * 3.6 never falls on a half for 0..100.
    int degrees = static_cast<int>(std::nearbyint(*v * 3.6));
    const double cx = g_meter.MeterCenterX, cy = g_meter.MeterCenterY;
    const double r = g_meter.MeterRadius;
    // One radial line per degree, both ends included: they merge into a
    // solid sector at the dial's size.
    for (int i = 0; i <= degrees; ++i) {
      double a = i * 3.14159 / 180;
      box.DrawLine(cx, cy, cx + r * std::sin(a), cy - r * std::cos(a));
    }
    box.Refresh();

    Caption(window).caption = std::to_wstring(*v) + L"%";
    g_meter.MeterLastValue = static_cast<std::int16_t>(*v);
  } catch (const MeterError& e) {
    kit::CurrentPlatform().MessageBox(e.description, window.caption);
  }
}

void DesignMeter(const MeterControls& meter, MeterWindow window) {
  const bool installer = window == MeterWindow::kInstallerCopyingPage;
  meter.MeterBox.bounds = installer ? kit::Rect{4470, 2040, 1935, 1695} : kit::Rect{5910, 840, 1935, 1695};
  meter.MeterBox.back_color = kit::Rgb(0, 168, 255);
  meter.MeterBox.fore_color = kit::kWindowText;
  meter.MeterBox.border = false;

  meter.MeterShape.bounds = {300, 120, 1350, 1350};
  meter.MeterShape.shape = kit::ShapeKind::kCircle;
  meter.MeterShape.visible = false;

  kit::Label& pos = meter.MeterPos;
  pos.caption = L"0%";
  pos.fore_color = kit::Rgb(255, 255, 255);
  pos.alignment = kit::Align::kCenter;
  pos.transparent = true;
  pos.visible = false;
  if (installer) {
    pos.bounds = {900, 645, 255, 255};
    pos.font = kit::MakeFont(L"Arial", 9.75, false, kit::kCyrillicCharset);
  } else {
    pos.bounds = {705, 645, 450, 255};
    pos.font = kit::MakeFont(L"Tahoma", 12, true, kit::kCyrillicCharset);
  }
}

}  // namespace look
