// The element data of data/elements.tsv and its mapping onto the viewer's
// table `data_list`.
//
// The file is UTF-8 text: a header line naming the twelve fields, then one
// line per record, fields separated by tabs, records in the order of the
// index ID (the first line is the record at position 0).  Every field holds
// text; atom_num is a whole number and is stored as a Long.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/writer.h"

namespace mkvrakel {

inline constexpr std::size_t kFieldCount = 12;
inline constexpr std::array<const char*, kFieldCount> kFields = {
    "atom_num", "Name",    "atom_mass", "atom_rad",          "orbitals",  "elec_shell",
    "melt_boil", "density", "isotopes", "electronegativity", "oxidation", "discovery"};
inline constexpr const char* kTableName = "data_list";
inline constexpr const char* kDataFile = "elements.tsv";

using Record = std::array<std::string, kFieldCount>;

// Parses the file's text into records in ID order.  Returns an error naming
// the line when the header differs, a line has another number of fields, a
// field is empty, atom_num is not a whole number, or a text does not fit
// its column.
std::optional<std::string> ParseElements(std::string_view text, std::vector<Record>& out);

// Reads <data_dir>/elements.tsv and parses it.
std::optional<std::string> LoadElements(const std::filesystem::path& data_dir, std::vector<Record>& out);

// The table to write: an autonumber ID equal to the position + 1, the
// twelve fields, and rows stored in order of atomic number, so that the
// places where ID order departs from it (positions 109..112) are only found
// through the index.
jet::WriterTable ToWriterTable(const std::vector<Record>& records);

}  // namespace mkvrakel
