// vrakel.mdb as the build makes it from data/elements.tsv, written into a
// temporary folder once per test program and read back through the
// viewer's own record source, so tests see exactly what the program reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
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
  const std::filesystem::path& Path() const { return path_; }

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

// Opens the shared vrakel.mdb whatever path the window asks for (it asks
// for a Windows path), and counts the fields read through it.
class VrakelEngine : public viewer::DatabaseEngine {
 public:
  std::unique_ptr<viewer::Database> OpenDatabase(const std::wstring&) override {
    auto db = inner_.OpenDatabase(VrakelFile::Get().Path().wstring());
    if (!db) return nullptr;
    return std::make_unique<CountingDatabase>(std::move(db), *this);
  }

  // Reads of each field since the start.
  std::map<std::string, int> reads;

 private:
  class CountingSet : public viewer::RecordSet {
   public:
    CountingSet(std::unique_ptr<viewer::RecordSet> inner, VrakelEngine& engine)
        : inner_(std::move(inner)), engine_(engine) {}
    bool SetIndex(std::string_view index) override { return inner_->SetIndex(index); }
    std::optional<viewer::Bookmark> GetBookmark() override { return inner_->GetBookmark(); }
    bool SetBookmark(const viewer::Bookmark& b) override { return inner_->SetBookmark(b); }
    bool Move(std::int32_t rows) override { return inner_->Move(rows); }
    std::optional<std::wstring> FieldText(std::string_view field) override {
      ++engine_.reads[std::string(field)];
      return inner_->FieldText(field);
    }

   private:
    std::unique_ptr<viewer::RecordSet> inner_;
    VrakelEngine& engine_;
  };
  class CountingDatabase : public viewer::Database {
   public:
    CountingDatabase(std::unique_ptr<viewer::Database> inner, VrakelEngine& engine)
        : inner_(std::move(inner)), engine_(engine) {}
    std::unique_ptr<viewer::RecordSet> OpenRecordset(std::string_view table) override {
      auto rs = inner_->OpenRecordset(table);
      if (!rs) return nullptr;
      return std::make_unique<CountingSet>(std::move(rs), engine_);
    }

   private:
    std::unique_ptr<viewer::Database> inner_;
    VrakelEngine& engine_;
  };

  viewer::JetDatabaseEngine inner_;
};

}  // namespace testing_viewer
