// Text forms of tables for people working with .mdb files, in the
// conventions of mdbtools' mdb-export and mdb-schema so the outputs can be
// compared line by line.
#pragma once

#include <functional>
#include <string>

#include "jet/database.h"

namespace mdbtool {

// One field as mdb-export -b hex -D/-T '%Y-%m-%d %H:%M:%S' -0 '<NULL>'
// prints it: NULL as <NULL>, Booleans 1/0, Single %.8g, Double %.16g,
// Currency with 4 decimals, Numeric with the column's scale, and texts,
// dates, GUIDs and bytes (upper-case hex) in double quotes.
void AppendCsvField(std::string& out, const jet::Value& value, const jet::ColumnInfo& column);

// Header line and every record of the table in its current order
// (after SetIndex, in index order), starting from the first record. When
// given, `flush` is called now and then to take (and clear) what is in `out`.
jet::Status ExportCsv(jet::Table& table, std::string& out, const std::function<void(std::string&)>& flush = {});

// The table's CREATE TABLE block as mdb-schema writes it, followed by one
// comment line per index.
std::string Schema(const jet::Table& table, jet::JetVersion version);

// The type name mdb-schema uses ("Long Integer", "Text (50)", ...).
std::string TypeName(const jet::ColumnInfo& column, jet::JetVersion version);

}  // namespace mdbtool
