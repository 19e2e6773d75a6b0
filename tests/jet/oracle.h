// Helpers that read a written file back through independent tools: mdbtools
// (mdb-tables, mdb-schema, mdb-export) and the npm mdb-reader (through
// tools/oracle/dump.cjs), plus a small index walker of our own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace oracle {

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs a shell command; its standard output, or nullopt when it exits non-zero.
std::optional<std::string> Run(const std::string& command);
std::string Quote(const std::string& s);

bool HaveMdbTools();
// The source tree's tools/oracle/dump.cjs with mdb-reader installed, or empty.
std::string MdbReaderScript();

// RFC 4180 records as mdb-export writes them (quoted fields may hold newlines).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

// JSON text of a string or number as JSON.stringify writes it.
std::string JsonString(const std::string& utf8);
std::string JsonNumber(double v);

// Checks the B-tree of the first index (node entries name the greatest entry
// of their child, the tail pointer the last child) and walks it of the user table whose definition is
// on `tdef_page`: leftmost leaf, then the leaves' next pointers.  Returns, in
// index order, the Long stored at the start of each entry's row (column 0 of
// the table's fixed area), or nullopt with `error` set when a page or entry
// is not what it should be.
std::optional<std::vector<std::int32_t>> IndexOrderIds(const std::vector<std::uint8_t>& file,
                                                       std::uint32_t tdef_page, std::string& error);

}  // namespace oracle
