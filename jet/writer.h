// Minimal Jet 4 (.mdb) writer, used at build time to turn the element data into
// the database the viewer reads.
//
// It writes a file from scratch: page 0, the global usage map, a small
// MSysObjects catalog, and one user table with an autonumber Long column and a
// unique ascending index over it.  The file is read by mdbtools, by the npm
// mdb-reader and by our own reader; Access itself is not a target (a file
// built from scratch lacks the full system catalog Access expects).
//
// The layout is described in jet/FORMAT.md.  Portable C++, no Windows
// headers.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "jet/value.h"

namespace jet {

struct WriterColumn {
  std::string name;           // UTF-8; must not be empty or repeat another name
  // One of kBoolean, kByte, kInteger, kLong, kDouble, kText, kMemo; other
  // types are refused.
  ColumnType type = ColumnType::kText;
  int max_chars = 255;        // Text only: 1..255 characters
  // Text only: a fixed-length column, kept at its full width in the row's
  // fixed area (as Access stores a Text field marked fixed); shorter values
  // are padded with spaces.
  bool fixed_length = false;
};

// One cell.  Null is std::monostate.  Boolean, Byte, Integer and Long take
// an integer, range-checked against the type (a Boolean is 0 or 1; a null
// Boolean is stored as false, since Jet has no null Boolean).  Double takes a
// double or an integer.  Text and Memo take UTF-8 text.
using WriterValue = std::variant<std::monostate, std::int64_t, double, std::string>;

struct WriterRow {
  std::int32_t id = 0;               // value of the autonumber column; unique
  std::vector<WriterValue> values;   // one per WriterTable::columns, same order
};

struct WriterTable {
  std::string name;                  // UTF-8
  std::string id_column = "ID";      // the autonumber Long column, column 0
  std::string index_name = "ID";     // the unique index over it
  std::vector<WriterColumn> columns; // the columns after the ID column
  // Rows in the order they are stored in the file.  The index orders them by
  // id whatever this order is, so tests can store rows out of key order.
  std::vector<WriterRow> rows;
};

struct WriterOptions {
  // Creation date stamped on page 0 and in the catalog, as a Jet date (days
  // since 1899-12-30).  Fixed by default so a build is reproducible.
  double created = 37257.5;  // 2002-01-01 12:00
};

struct WriteResult {
  bool ok = false;
  std::string error;                 // why not, when !ok
  std::vector<std::uint8_t> bytes;   // the whole file, when ok
};

// Builds the file in memory.  Fails (never throws for bad input) on invalid
// UTF-8, values that do not fit their column, duplicate ids, a row that does
// not fit a page, or a file beyond what the usage maps can describe
// (about 16 000 pages, 64 MB).
[[nodiscard]] WriteResult WriteDatabase(const WriterTable& table,
                                        const WriterOptions& options = {});

// WriteDatabase, then stores the bytes at `path` (replacing any file there).
// Returns an empty string on success, else the reason.
[[nodiscard]] std::string WriteDatabaseFile(const std::string& path,
                                            const WriterTable& table,
                                            const WriterOptions& options = {});

}  // namespace jet
