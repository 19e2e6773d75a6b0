// Writes the benchmark database for bench/jet_export.sh: one table of N rows
// (default 100 000) with the column types a reader spends its time on —
// Long, Integer, Double, Boolean, short and long Text (Latin, so stored
// compressed, and Cyrillic, stored as UCS-2) and an inline Memo — stored out
// of key order so the index order differs from the storage order.
//   jet_export_gen OUT.mdb [ROWS]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "jet/writer.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: jet_export_gen OUT.mdb [ROWS]\n", stderr);
    return 2;
  }
  const long rows = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 100000;
  jet::WriterTable table;
  table.name = "bench";
  table.columns = {{"name", jet::ColumnType::kText, 40},     {"city", jet::ColumnType::kText, 30},
                   {"mass", jet::ColumnType::kDouble, 0},    {"group", jet::ColumnType::kInteger, 0},
                   {"count", jet::ColumnType::kLong, 0},     {"metal", jet::ColumnType::kBoolean, 0},
                   {"note", jet::ColumnType::kMemo, 0}};
  static const char* kCities[] = {"София", "Пловдив", "Варна", "Бургас", "Русе"};
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  table.rows.reserve(static_cast<size_t>(rows));
  for (long i = 0; i < rows; ++i) {
    jet::WriterRow row;
    // Ids in a scrambled order: i * 7919 modulo a prime above rows.
    row.id = static_cast<int32_t>((static_cast<int64_t>(i) * 7919) % 1000003) + 1;
    row.values.push_back(std::string("element-") + std::to_string(next() % 100000));
    row.values.push_back(std::string(kCities[next() % 5]));
    row.values.push_back(static_cast<double>(next() % 1000000) / 997.0);
    row.values.push_back(static_cast<int64_t>(next() % 18));
    row.values.push_back(static_cast<int64_t>(next() % 2000000) - 1000000);
    row.values.push_back(static_cast<int64_t>(next() % 2));
    if (i % 3 == 0)
      row.values.push_back(std::monostate{});
    else
      row.values.push_back(std::string("note \"") + std::to_string(i) + "\", line");
    table.rows.push_back(std::move(row));
  }
  const std::string error = jet::WriteDatabaseFile(argv[1], table);
  if (!error.empty()) {
    std::fprintf(stderr, "jet_export_gen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
