// mdbtool: lists, describes and exports the tables of Jet 3 / Jet 4 .mdb
// files with our own reader.
//
//   mdbtool tables FILE                 user tables, one a line
//   mdbtool schema FILE TABLE           columns and indexes
//   mdbtool export FILE TABLE [--index NAME]
//                                       CSV in storage or index order
#include <cstdio>
#include <cstring>
#include <string>

#include "base/utf.h"
#include "jet/database.h"
#include "tools/mdbtool/export.h"

namespace {

int Usage() {
  std::fputs(
      "usage: mdbtool tables FILE\n"
      "       mdbtool schema FILE TABLE\n"
      "       mdbtool export FILE TABLE [--index NAME]\n",
      stderr);
  return 2;
}

int Fail(const jet::Status& status) {
  std::fprintf(stderr, "mdbtool: %s\n", status.ToString().c_str());
  return 1;
}

bool Write(const std::string& s) { return std::fwrite(s.data(), 1, s.size(), stdout) == s.size(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  auto db = jet::Database::Open(argv[2]);
  if (!db.ok()) return Fail(db.status());

  if (command == "tables" && argc == 3) {
    auto names = db->TableNames();
    if (!names.ok()) return Fail(names.status());
    std::string out;
    for (const auto& n : *names) out += base::Utf16ToUtf8(n) + "\n";
    return Write(out) ? 0 : 1;
  }
  if (command == "schema" && argc == 4) {
    auto table = db->OpenTable(argv[3]);
    if (!table.ok()) return Fail(table.status());
    return Write(mdbtool::Schema(*table, db->Version())) ? 0 : 1;
  }
  if (command == "export" && (argc == 4 || (argc == 6 && std::strcmp(argv[4], "--index") == 0))) {
    auto table = db->OpenTable(argv[3]);
    if (!table.ok()) return Fail(table.status());
    if (argc == 6) {
      if (auto s = table->SetIndex(argv[5]); !s.ok()) return Fail(s);
    }
    std::string out;
    bool written = true;
    // Print what was read even when a later record is damaged.
    const jet::Status s = mdbtool::ExportCsv(*table, out, [&](std::string& chunk) {
      written = Write(chunk) && written;
      chunk.clear();
    });
    written = Write(out) && written;
    if (!written) return 1;
    return s.ok() ? 0 : Fail(s);
  }
  return Usage();
}
