// Helpers of the tests that patch a database in memory and read it back with
// our reader and, where installed, with mdbtools and mdb-reader.
#pragma once

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/jet/fixtures.h"
#include "tests/jet/oracle.h"
#include "tools/mdbtool/export.h"

namespace jettest {

using Bytes = std::vector<uint8_t>;

inline uint16_t U16(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8); }
inline uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | uint32_t{U16(b, at + 2)} << 16; }
inline void PutU16(Bytes& b, size_t at, uint16_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

inline bool Jet3(const Bytes& file) { return file.at(0x14) == 0; }
inline size_t PageSize(const Bytes& file) { return Jet3(file) ? 2048 : 4096; }

inline void PutU32(Bytes& b, size_t at, uint32_t v) {
  PutU16(b, at, static_cast<uint16_t>(v));
  PutU16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// File offsets of the table's plain rows in storage order.
inline std::vector<size_t> RowStarts(const Bytes& file, uint32_t tdef_page) {
  const size_t ps = PageSize(file);
  const size_t count_at = Jet3(file) ? 0x08 : 0x0C;
  std::vector<size_t> rows;
  for (size_t base = ps; base + ps <= file.size(); base += ps) {
    if (file[base] != 0x01 || U32(file, base + 4) != tdef_page) continue;
    for (uint16_t i = 0; i < U16(file, base + count_at); ++i) {
      const uint16_t slot = U16(file, base + count_at + 2 + 2 * i);
      if ((slot & 0xC000) == 0) rows.push_back(base + (slot & 0x1FFF));
    }
  }
  return rows;
}

struct Saved {
  oracle::TempDir dir;
  std::string path;
  explicit Saved(const Bytes& bytes) : path((dir.path() / "t.mdb").string()) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
};

inline std::string OurExport(const Bytes& bytes, const std::string& table, const jet::OpenOptions& options = {}) {
  auto db = jet::Database::OpenFromMemory(bytes, options);
  if (!db.ok()) return "error: " + db.status().ToString();
  auto t = db->OpenTable(table);
  if (!t.ok()) return "error: " + t.status().ToString();
  std::string out;
  const jet::Status s = mdbtool::ExportCsv(*t, out);
  return s.ok() ? out : "error: " + s.ToString();
}

inline std::optional<std::string> MdbExport(const Bytes& bytes, const std::string& table) {
  Saved file(bytes);
  return oracle::Run("mdb-export -b hex -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -0 '<NULL>' " +
                     oracle::Quote(file.path) + " " + table);
}

// mdb-reader's rows as dump.cjs prints them, one JSON array a line.
inline std::optional<std::vector<std::string>> MdbReaderRows(const Bytes& bytes, const std::string& table) {
  const std::string script = oracle::MdbReaderScript();
  if (script.empty()) return std::nullopt;
  Saved file(bytes);
  auto out = oracle::Run("node " + oracle::Quote(script) + " " + oracle::Quote(file.path) + " " + table);
  if (!out) return std::vector<std::string>{"mdb-reader failed"};
  auto lines = jettest::Lines(*out);
  return std::vector<std::string>(lines.begin() + std::min<size_t>(4, lines.size()), lines.end());
}

// Our records as dump.cjs would print them (texts, integers and nulls only).
inline std::vector<std::string> OurJsonRows(const Bytes& bytes, const std::string& table) {
  std::vector<std::string> rows;
  auto db = jet::Database::OpenFromMemory(bytes);
  auto t = db->OpenTable(table);
  if (!t.ok()) return {"error"};
  for (; !t->Eof(); (void)t->MoveNext()) {
    auto row = t->Row();
    if (!row.ok()) return {"error"};
    std::string line = "[";
    for (const auto& v : *row) {
      if (line.size() > 1) line += ",";
      if (v.IsNull()) line += "null";
      else if (v.Is<std::u16string>()) line += oracle::JsonString(v.ToUtf8());
      else line += v.ToUtf8();
    }
    rows.push_back(line + "]");
  }
  return rows;
}

}  // namespace jettest
