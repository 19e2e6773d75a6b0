#include "tools/mkvrakel/element_table.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <numeric>
#include <sstream>

namespace mkvrakel {
namespace {

constexpr std::size_t kMaxTextChars = 255;

std::vector<std::string_view> Split(std::string_view line, char sep) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (true) {
    const std::size_t next = line.find(sep, at);
    parts.push_back(line.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
    if (next == std::string_view::npos) return parts;
    at = next + 1;
  }
}

// Characters in UTF-16 units, as the column length counts them.
std::size_t Utf16Length(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s) {
    if ((c & 0xC0) != 0x80) n += c >= 0xF0 ? 2 : 1;
  }
  return n;
}

std::optional<long> WholeNumber(std::string_view s) {
  long v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

std::optional<std::string> ParseElements(std::string_view text, std::vector<Record>& out) {
  out.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a BOM from an editor
  std::size_t line_no = 0;
  bool header_seen = false;
  for (std::string_view line : Split(text, '\n')) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const auto fields = Split(line, '\t');
    const std::string where = "line " + std::to_string(line_no) + ": ";
    if (fields.size() != kFieldCount)
      return where + std::to_string(fields.size()) + " fields instead of " + std::to_string(kFieldCount);
    if (!header_seen) {
      for (std::size_t i = 0; i < kFieldCount; ++i)
        if (fields[i] != kFields[i]) return where + "header field " + std::to_string(i + 1) + " should be " + kFields[i];
      header_seen = true;
      continue;
    }
    Record r;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      if (fields[i].empty()) return where + std::string(kFields[i]) + " is empty";
      if (Utf16Length(fields[i]) > kMaxTextChars) return where + std::string(kFields[i]) + " is too long";
      r[i] = std::string(fields[i]);
    }
    const auto num = WholeNumber(r[0]);
    if (!num || *num < 1 || *num > 999) return where + "atom_num is not a whole number from 1 to 999";
    out.push_back(std::move(r));
  }
  if (!header_seen) return std::string("no header line");
  return std::nullopt;
}

std::optional<std::string> LoadElements(const std::filesystem::path& data_dir, std::vector<Record>& out) {
  const auto path = data_dir / kDataFile;
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path.string();
  std::ostringstream text;
  text << in.rdbuf();
  if (auto err = ParseElements(text.str(), out)) return path.string() + ": " + *err;
  return std::nullopt;
}

jet::WriterTable ToWriterTable(const std::vector<Record>& records) {
  jet::WriterTable t;
  t.name = kTableName;
  t.columns.push_back({kFields[0], jet::ColumnType::kLong});
  for (std::size_t i = 1; i < kFieldCount; ++i)
    t.columns.push_back({kFields[i], jet::ColumnType::kText, static_cast<int>(kMaxTextChars)});
  std::vector<std::size_t> order(records.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return *WholeNumber(records[a][0]) < *WholeNumber(records[b][0]);
  });
  for (std::size_t pos : order) {
    jet::WriterRow row;
    row.id = static_cast<std::int32_t>(pos + 1);
    row.values.push_back(std::int64_t{*WholeNumber(records[pos][0])});
    for (std::size_t i = 1; i < kFieldCount; ++i) row.values.push_back(records[pos][i]);
    t.rows.push_back(std::move(row));
  }
  return t;
}

}  // namespace mkvrakel
