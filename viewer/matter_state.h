// Solid, liquid or gas at a chosen temperature, from the melting and boiling
// points the colouring already reads; and the temperature as the class
// types it. Portable: the window code only shows what is decided here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kit/color.h"
#include "viewer/property_values.h"

namespace viewer {

enum class MatterState { kSolid, kLiquid, kGas, kNoData };

// The range the temperature can be set in, in whole degrees Celsius.
inline constexpr int kLowestCelsius = -273;
inline constexpr int kHighestCelsius = 6000;
inline constexpr int kRoomCelsius = 25;

// Below the melting point solid, from it up to below the boiling point
// liquid, from the boiling point up gas. A sublimation temperature is read
// as both points, so the liquid range is empty. A melting point reached
// only under pressure (helium) leaves the element liquid down to absolute
// zero. Without a boiling point the state above the melting point is not
// known; a tile without a record or points is not known at all.
MatterState StateAt(const TileRecord& record, double celsius);

// "твърдо", "течно", "газ", "няма данни".
std::wstring_view StateName(MatterState state);
kit::Color StateColor(MatterState state);
// What a screen reader hears after the category: "течно при 25 °C", or
// "няма данни" where the state is not known.
std::wstring StateDescription(MatterState state, int celsius);

// A whole number of degrees as typed: spaces around it, a leading "-"
// (or the typographic minus) or "+"; nothing else. Empty when the text is
// not such a number or lies outside the range.
std::optional<int> ParseCelsius(std::wstring_view text);
// "25", "-40": the text box's text and the value a reader hears before " °C".
std::wstring CelsiusText(int celsius);
// "298 K", rounded from T + 273,15.
std::wstring KelvinText(int celsius);

}  // namespace viewer
