// Read-only access to Jet 3 (Access 97) and Jet 4 (Access 2000-2003) .mdb
// files: the list of tables, their columns and indexes, and a cursor over a
// table's records in storage order or in the order of a named index.
//
// Every file is treated as hostile. A damaged, truncated or looping file
// gives a failed Status (kCorruption, naming the page and offset), never a
// crash, a hang or an allocation beyond what the file's size justifies.
//
// Objects are not thread-safe. A Table keeps the file open on its own, so it
// may outlive the Database it came from; copies of a Database share the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"
#include "jet/value.h"

namespace jet {

enum class JetVersion { kJet3, kJet4 };

class ByteSource;

struct OpenOptions {
  // Code page for Jet 3 text when the one in the file's header is wrong
  // (0 = trust the header). 1252 and 1251 are known; others read as 1252.
  uint16_t jet3_code_page = 0;
};

struct ColumnInfo {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  uint16_t number = 0;       // column number: the null-mask bit
  uint16_t length = 0;       // bytes (Text: of the uncompressed form)
  uint8_t precision = 0;     // Numeric only
  uint8_t scale = 0;         // Numeric only
  bool fixed = false;        // stored in the fixed area of a row
  bool auto_number = false;
};

struct IndexColumn {
  size_t column = 0;  // position in Table::Columns()
  bool ascending = true;
};

struct IndexInfo {
  std::u16string name;
  std::vector<IndexColumn> columns;
  bool primary_key = false;
  bool unique = false;
  bool ignore_nulls = false;
};

// An opaque position in a table; valid for the Table (and its copies) that
// gave it out.
using Bookmark = std::vector<uint8_t>;

class Table {
 public:
  const std::u16string& Name() const;
  // Columns in column-number order, as readers and exports list them.
  const std::vector<ColumnInfo>& Columns() const;
  const std::vector<IndexInfo>& Indexes() const;
  // Position in Columns() of the column with this name (ASCII case does not
  // matter), or -1.
  int FindColumn(std::string_view utf8_name) const;

  // Orders the records by the named index (its B-tree, as Jet keeps it) and
  // makes the first of them current. An empty name returns to storage order.
  Status SetIndex(std::string_view utf8_name);

  // Cursor movement. A fresh Table is on its first record in storage order.
  // Moving beyond the last record leaves the cursor at Eof(), before the
  // first at Bof(); such a move returns kNotFound.
  Status MoveFirst();
  Status MoveNext() { return Move(1); }
  Status Move(int64_t rows);
  bool Eof() const;
  bool Bof() const;
  // Records in the current order.
  Result<uint64_t> RecordCount();

  // The current record's bookmark (empty at Bof/Eof); SetBookmark makes that
  // record current again.
  Bookmark GetBookmark() const;
  Status SetBookmark(const Bookmark& bookmark);

  // A field of the current record.
  Result<Value> Field(std::string_view utf8_name) const;
  Result<Value> FieldAt(size_t column) const;
  // Every field of the current record, in Columns() order.
  Result<std::vector<Value>> Row() const;

  struct State;

 private:
  friend class Database;
  explicit Table(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

class Database {
 public:
  // Opens a file read-only; other programs may read and write it meanwhile.
  static Result<Database> Open(const std::filesystem::path& path, const OpenOptions& options = {});
  // The same, from the name as the system spells it; what a small program
  // that already holds a native name calls (see FileSource).
  static Result<Database> OpenFile(const std::filesystem::path::string_type& name, const OpenOptions& options = {});
  static Result<Database> OpenFromMemory(std::vector<uint8_t> bytes, const OpenOptions& options = {});
  // From any byte source (jet/pager.h), e.g. one that fails or records reads.
  static Result<Database> OpenFromSource(std::unique_ptr<ByteSource> source, const OpenOptions& options = {});

  JetVersion Version() const;
  uint16_t CodePage() const;

  // Names of the user tables (system tables too if asked), in catalog order.
  Result<std::vector<std::u16string>> TableNames(bool include_system = false) const;
  // Opens a table by name (ASCII case does not matter).
  Result<Table> OpenTable(std::string_view utf8_name) const;

  struct State;

 private:
  explicit Database(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

}  // namespace jet
