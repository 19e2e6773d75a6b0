// The circular progress dial: a ring in a picture box, a wedge that grows
// clockwise from twelve o'clock by 3.6 degrees per percent, and a percentage
// caption that the windows keep hidden but current.
//
// The meter state is one set per program, shared by every call: the geometry
// belongs to the window set up last, and SetMeterValue draws with it on any
// window it is given. The routines find the meter's controls on the window by
// their names (`MeterBox`, `MeterShape`, `MeterPos`), so any form carrying a
// picture box, a shape and a label of those names has a working meter.
#pragma once

#include <cstdint>
#include <string>

#include "kit/color.h"
#include "kit/control.h"
#include "kit/form.h"

namespace look {

struct MeterState {
  double MeterCenterX = 0;
  double MeterCenterY = 0;
  std::int16_t MeterRadius = 0;
  std::int16_t MeterLastValue = 0;
};

// The program's meter state.
MeterState& Meter();
// Back to the state of program start (no geometry, last value 0); tests use it.
void ResetMeter();

// Step codes understood by SetMeterValue.
constexpr float kMeterStepUp = -1.0f;
constexpr float kMeterStepDown = -2.0f;

// Measures the dial from `MeterShape`, draws the ring in the box's current
// fore colour and keeps it as the box's picture so that every clear keeps it,
// places the caption, takes the two colours and shows 0. An error (a control
// missing or of another kind, a radius out of range) ends it silently at the
// failing step; the steps before keep their effect.
void InitMeter(kit::Form& window, kit::Color meter_colour, kit::Color caption_colour);

// Shows a percentage (rounded half to even) or a step code (-1 up, -2 down).
// Values from -3 down show 0; values above 100 change nothing. An error shows
// a message box with its description; what was drawn stays and the last
// value is kept.
void SetMeterValue(float value, kit::Form& window);

// The three meter controls of a window, for placing them.
struct MeterControls {
  kit::PictureBox& MeterBox;
  kit::Shape& MeterShape;
  kit::Label& MeterPos;
};

// The two windows that carry a meter.
enum class MeterWindow { kInstallerCopyingPage, kUninstaller };

// Gives the meter controls their designed place and look on that window:
// the box, the hidden circle marker inside it and the hidden caption label.
void DesignMeter(const MeterControls& meter, MeterWindow window);

// The colours each window hands to InitMeter.
constexpr kit::Color kInstallerMeterColour = kit::Rgb(0, 168, 128);
constexpr kit::Color kInstallerCaptionColour = kit::Rgb(255, 255, 255);
constexpr kit::Color kUninstallerMeterColour = kit::Rgb(0, 0, 0);
constexpr kit::Color kUninstallerCaptionColour = kit::Rgb(0, 168, 255);

}  // namespace look
