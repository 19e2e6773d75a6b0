// Feeds arbitrary bytes to the Jet reader as a database file and reads what
// it offers: catalog, tables in storage order and in index order, fields.
// Any crash, hang or sanitizer report is a bug.
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto db = jet::Database::OpenFromMemory(fuzz::ExpandInput(data, size));
  if (db.ok()) fuzz::Exercise(*db);
  return 0;
}
