// An in-memory element table for the display tests: records stored in one
// order and indexed in another, every call written to a log, and each step
// of opening able to fail.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "viewer/record_source.h"

namespace testing_viewer {

struct FakeTable {
  // Fields of each record in storage order; a field left out reads as null.
  std::vector<std::map<std::string, std::wstring>> records;
  // Storage numbers of the records in the order of the index "ID".
  std::vector<int> id_order;
  std::vector<std::string> log;
  bool has_table = true;
  bool has_index = true;
  // The bookmark given out for a record; empty makes GetBookmark fail.
  bool bookmarks_work = true;
};

class FakeRecordSet : public viewer::RecordSet {
 public:
  explicit FakeRecordSet(FakeTable& t) : t_(t) {
    for (size_t i = 0; i < t.records.size(); ++i) order_.push_back(static_cast<int>(i));
  }

  bool SetIndex(std::string_view index) override {
    t_.log.push_back("SetIndex " + std::string(index));
    if (!t_.has_index || index != "ID") return false;
    order_ = t_.id_order;
    at_ = 0;
    return true;
  }
  std::optional<viewer::Bookmark> GetBookmark() override {
    t_.log.push_back("GetBookmark");
    if (!t_.bookmarks_work || !OnRecord()) return std::nullopt;
    return viewer::Bookmark{static_cast<std::uint8_t>(order_[at_]), 0xB0};
  }
  bool SetBookmark(const viewer::Bookmark& b) override {
    t_.log.push_back("SetBookmark " + std::to_string(b.empty() ? -1 : b[0]));
    auto it = b.size() == 2 ? std::find(order_.begin(), order_.end(), b[0]) : order_.end();
    if (it == order_.end()) {
      at_ = -1;
      return false;
    }
    at_ = static_cast<int>(it - order_.begin());
    return true;
  }
  bool Move(std::int32_t rows) override {
    t_.log.push_back("Move " + std::to_string(rows));
    if (!OnRecord()) return false;
    long next = static_cast<long>(at_) + rows;
    at_ = next < 0 || next >= static_cast<long>(order_.size()) ? -1 : static_cast<int>(next);
    return OnRecord();
  }
  std::optional<std::wstring> FieldText(std::string_view field) override {
    t_.log.push_back("Field " + std::string(field));
    if (!OnRecord()) return std::nullopt;
    const auto& rec = t_.records[order_[at_]];
    auto it = rec.find(std::string(field));
    if (it == rec.end()) return std::nullopt;
    return it->second;
  }

 private:
  bool OnRecord() const { return at_ >= 0 && at_ < static_cast<int>(order_.size()); }
  FakeTable& t_;
  std::vector<int> order_;
  int at_ = 0;
};

class FakeDatabase : public viewer::Database {
 public:
  explicit FakeDatabase(FakeTable& t) : t_(t) {}
  std::unique_ptr<viewer::RecordSet> OpenRecordset(std::string_view table) override {
    t_.log.push_back("OpenRecordset " + std::string(table));
    if (!t_.has_table || table != "data_list") return nullptr;
    return std::make_unique<FakeRecordSet>(t_);
  }

 private:
  FakeTable& t_;
};

class FakeEngine : public viewer::DatabaseEngine {
 public:
  std::unique_ptr<viewer::Database> OpenDatabase(const std::wstring& path) override {
    opened.push_back(path);
    if (on_open) on_open();
    if (!file_exists) return nullptr;
    return std::make_unique<FakeDatabase>(table);
  }

  FakeTable table;
  bool file_exists = true;
  std::vector<std::wstring> opened;
  std::function<void()> on_open;
};

}  // namespace testing_viewer
