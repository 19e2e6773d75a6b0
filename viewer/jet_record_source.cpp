#include "viewer/jet_record_source.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "jet/database.h"

namespace viewer {
namespace {

class JetRecordSet : public RecordSet {
 public:
  explicit JetRecordSet(jet::Table table) : table_(std::move(table)) {}

  bool SetIndex(std::string_view index) override { return table_.SetIndex(index).ok(); }

  std::optional<Bookmark> GetBookmark() override {
    if (!OnRecord()) return std::nullopt;
    jet::Bookmark mark = table_.GetBookmark();
    if (mark.empty()) return std::nullopt;
    return Bookmark(mark.begin(), mark.end());
  }

  bool SetBookmark(const Bookmark& bookmark) override {
    return table_.SetBookmark(jet::Bookmark(bookmark.begin(), bookmark.end())).ok() && OnRecord();
  }

  bool Move(std::int32_t rows) override { return table_.Move(rows).ok() && OnRecord(); }

  std::optional<std::wstring> FieldText(std::string_view field) override {
    if (!OnRecord()) return std::nullopt;
    auto value = table_.Field(field);
    if (!value.ok() || value->IsNull()) return std::nullopt;
    return FieldValueText(*value);
  }

 private:
  bool OnRecord() const { return !table_.Eof() && !table_.Bof(); }

  jet::Table table_;
};

class JetDatabase : public Database {
 public:
  explicit JetDatabase(jet::Database db) : db_(std::move(db)) {}

  std::unique_ptr<RecordSet> OpenRecordset(std::string_view table) override {
    auto opened = db_.OpenTable(table);
    if (!opened.ok()) return nullptr;
    return std::make_unique<JetRecordSet>(std::move(opened).value());
  }

 private:
  jet::Database db_;
};

}  // namespace

std::unique_ptr<Database> JetDatabaseEngine::OpenDatabase(const std::wstring& path) {
#ifdef _WIN32
  // The native name as it is: std::filesystem::path would bring its parser
  // and the locale machinery into the viewer for nothing.
  auto opened = jet::Database::OpenFile(path);
#else
  auto opened = jet::Database::Open(std::filesystem::path(path));
#endif
  if (!opened.ok()) return nullptr;
  return std::make_unique<JetDatabase>(std::move(opened).value());
}

std::wstring FieldValueText(const jet::Value& value) {
  std::wstring text = value.ToWString();
  // The reader writes a decimal point; Bulgarian writes a comma.
  if (value.Is<float>() || value.Is<double>() || value.Is<jet::Currency>() || value.Is<jet::Numeric>())
    std::replace(text.begin(), text.end(), L'.', L',');
  return text;
}

}  // namespace viewer
