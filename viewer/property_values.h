// The element properties the table can be coloured by, and how their stored
// texts become numbers.
//
// The database holds every value as the text the panel shows: "132" for a
// radius in picometres, "1,83" with a decimal comma, "7,874 g/cm³" or
// "0,0899 g/L" for a gas, "1538 / 2862 °C" for the melting and boiling
// points, with "~" and notes in brackets where a value is approximate or
// qualified, and "няма данни" where nothing is known. All of that is read
// here, in one place; everything after works on numbers.
//
// Portable: no window, no database engine, only the record set interface.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/record_source.h"

namespace viewer {

enum class Property {
  kAtomRadius,
  kElectronegativity,
  kDensity,
  kMeltingPoint,
  kBoilingPoint,
};

// In the order the popup menu lists them, after "Категории".
inline constexpr std::array<Property, 5> kProperties = {
    Property::kAtomRadius, Property::kElectronegativity, Property::kDensity, Property::kMeltingPoint,
    Property::kBoilingPoint};

// The record field a property is read from; both temperatures share the
// hidden "melt_boil".
std::string_view FieldOf(Property property);
// The menu's text for the property ("Радиус на атома").
std::wstring_view CaptionOf(Property property);
// The unit a value is shown in, with its leading space (" pm", " g/cm³",
// " °C"); empty for electronegativity, which has none.
std::wstring_view UnitOf(Property property);

// One value as read from a stored text.
struct Reading {
  enum class Kind {
    kNoData,        // "няма данни", or no record at all
    kValue,         // a number, approximate ones included
    kUnrecognized,  // text that is none of the forms above
  };
  Kind kind = Kind::kNoData;
  // In the property's unit (densities of gases already in g/cm³).
  double value = 0;
  // Digits after the decimal comma, so the value can be written back with
  // the precision it was stored with ("2,20" stays "2,20").
  int decimals = 0;
  // Marked "~" or "(оценка)". Still a value.
  bool approximate = false;
  // Marked "(под налягане)": a melting point only reached under pressure,
  // not at the normal pressure the states of matter are shown for.
  bool under_pressure = false;

  bool HasValue() const { return kind == Kind::kValue; }
  static Reading NoData() { return {}; }
  static Reading Unrecognized() { return {Kind::kUnrecognized}; }
};

// "132" or "132 pm".
Reading ParseRadius(std::wstring_view text);
// "1,83", "0,7".
Reading ParseElectronegativity(std::wstring_view text);
// "7,874 g/cm³", "~6,4 g/cm³", "0,0899 g/L" (divided by 1000 into g/cm³).
Reading ParseDensity(std::wstring_view text);

struct MeltBoil {
  Reading melting, boiling;
};
// "1538 / 2862 °C", with notes on either side or after the unit:
// "-272 (под налягане) / -269 °C", "44 (бял) / 281 °C",
// "302 / 337 °C (оценка)" (an estimate for both), "1527 (оценка) / няма данни";
// "сублимира при 3642 °C" gives the one temperature for both points.
MeltBoil ParseMeltBoil(std::wstring_view text);

// The reading of `property` from the text of its field.
Reading ParseProperty(Property property, std::wstring_view text);

// A value in its unit for the legend and for screen readers, with the
// decimal comma and the stored precision: "3,98", "28 pm", "0,0000899 g/cm³",
// "-272 °C"; "~6,4 g/cm³" when `mark_approximate` and the value is
// approximate; "няма данни" without a value.
std::wstring ValueText(Property property, const Reading& reading, bool mark_approximate = true);

// "26" as a whole number; 0 for anything else.
int ParseAtomicNumber(std::wstring_view text);

// What colouring and typing need of each tile's record, read once.
struct TileRecord {
  bool has_record = false;  // the tile reads a record and it could be reached
  int atomic_number = 0;    // from the record's "atom_num"; 0 when unreadable
  std::wstring name;        // the Bulgarian name; empty when unknown
  std::wstring atom_mass;   // as stored: "55,845", "[97]"; empty when unknown
  std::wstring melt_boil;   // the melting and boiling points as stored
  std::wstring orbitals;    // the electron configuration as stored
  std::wstring elec_shell;  // the electrons per shell as stored
  std::array<Reading, kProperties.size()> readings;

  const Reading& Of(Property property) const { return readings[static_cast<size_t>(property)]; }
};

// Reads the record of every tile, by its position counted from `first`
// exactly as a click does, in the order of the tile table. A tile without a
// position, or whose record or field cannot be read, gets no data for it.
// One pass over the set: the positions ascend, so each record is reached by
// a short step from the one before.
std::vector<TileRecord> ReadTileRecords(RecordSet& rs, const Bookmark& first);

}  // namespace viewer
