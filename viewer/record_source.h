// The little the viewer needs from a database engine: open one file
// read-only, open a table, order it by a named index, remember a record by
// its bookmark, step forward by a count and read a field of the current
// record as text. The element display is written against these interfaces
// alone; the Jet reader backs them in the program and tests use a double.
//
// Table, index and field names are ASCII. Nothing here throws; every
// failure is a result the caller can test.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// Opaque: names one record of the set that made it, and nothing else.
using Bookmark = std::vector<std::uint8_t>;

// A table-type record set: one table, optionally in the order of an index,
// with at most one current record.
class RecordSet {
 public:
  virtual ~RecordSet() = default;

  // Orders the set by the named index and makes the first record in that
  // order current. False, with the order unchanged, when there is no such
  // index.
  virtual bool SetIndex(std::string_view index) = 0;

  // The bookmark of the current record; nothing when no record is current
  // (an empty table, or a move that left the set).
  virtual std::optional<Bookmark> GetBookmark() = 0;
  // Makes the record named by `bookmark` current. False when the bookmark
  // names no record of this set; no record is current then.
  virtual bool SetBookmark(const Bookmark& bookmark) = 0;

  // Makes the record `rows` further on in the current order current (0
  // stays, negative steps back). False when that lies outside the set; no
  // record is current then.
  virtual bool Move(std::int32_t rows) = 0;

  // The named field of the current record as text: numbers in their plain
  // text form with a decimal comma. Nothing when no record is current, the
  // table has no such field, the field is null or its value cannot be read.
  virtual std::optional<std::wstring> FieldText(std::string_view field) = 0;
};

// An open database. Record sets it gives out may refer to it and must not
// outlive it.
class Database {
 public:
  virtual ~Database() = default;
  // The named table as a record set positioned on its first stored record;
  // nothing when there is no such table or it cannot be read.
  virtual std::unique_ptr<RecordSet> OpenRecordset(std::string_view table) = 0;
};

class DatabaseEngine {
 public:
  virtual ~DatabaseEngine() = default;
  // Opens the file at exactly `path`, never writing to it; nothing when it
  // is missing, unreadable or not a database this engine understands.
  virtual std::unique_ptr<Database> OpenDatabase(const std::wstring& path) = 0;
};

}  // namespace viewer
