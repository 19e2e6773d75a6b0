// vrakel.mdb as the build makes it from data/elements.tsv, written into a
// temporary folder once per test program and read back through the
// viewer's own record source, so tests see exactly what the program reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "jet/writer.h"
#include "tools/mkvrakel/element_table.h"
#include "viewer/jet_record_source.h"
#include "viewer/property_values.h"

namespace testing_viewer {

class VrakelFile {
 public:
  // The shared file; fails the calling test when it cannot be made.
  static VrakelFile& Get() {
    static VrakelFile file;
    return file;
  }

  bool ok() const { return ok_; }

  // The table in index order, positioned on its first record, and that
  // record's bookmark; null when the file could not be opened.
  std::unique_ptr<viewer::RecordSet> Open(viewer::Bookmark& first) {
    if (!db_) db_ = engine_.OpenDatabase(path_.wstring());
    if (!db_) return nullptr;
    auto rs = db_->OpenRecordset("data_list");
    if (!rs || !rs->SetIndex("ID")) return nullptr;
    auto mark = rs->GetBookmark();
    if (!mark) return nullptr;
    first = *mark;
    return rs;
  }

  // Every tile's record, read as the viewer reads them.
  const std::vector<viewer::TileRecord>& TileRecords() {
    if (records_.empty()) {
      viewer::Bookmark first;
      if (auto rs = Open(first)) records_ = viewer::ReadTileRecords(*rs, first);
    }
    return records_;
  }

  ~VrakelFile() {
    db_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

 private:
  VrakelFile() {
    const char* src = std::getenv("ELEMORA_SOURCE_DIR");
    if (!src) return;
    std::vector<mkvrakel::Record> records;
    if (mkvrakel::LoadElements(std::filesystem::path(src) / "data", records)) return;
    std::random_device rd;
    folder_ = std::filesystem::temp_directory_path() /
              ("viewer-vrakel-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder_);
    path_ = folder_ / "vrakel.mdb";
    ok_ = jet::WriteDatabaseFile(path_.string(), mkvrakel::ToWriterTable(records)).empty();
  }

  bool ok_ = false;
  std::filesystem::path folder_, path_;
  viewer::JetDatabaseEngine engine_;
  std::unique_ptr<viewer::Database> db_;
  std::vector<viewer::TileRecord> records_;
};

}  // namespace testing_viewer
