// mkvrakel <data-dir> <out.mdb>: writes the viewer's element database from
// the element data.  Run by the build after the host tools are built.
#include <cstdio>
#include <vector>

#include "jet/writer.h"
#include "tools/mkvrakel/element_table.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mkvrakel <data-dir> <out.mdb>\n");
    return 2;
  }
  std::vector<mkvrakel::Record> records;
  if (auto err = mkvrakel::LoadElements(argv[1], records)) {
    std::fprintf(stderr, "mkvrakel: %s\n", err->c_str());
    return 1;
  }
  const std::string err = jet::WriteDatabaseFile(argv[2], mkvrakel::ToWriterTable(records));
  if (!err.empty()) {
    std::fprintf(stderr, "mkvrakel: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
