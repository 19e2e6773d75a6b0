#include "tests/jet/oracle.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <algorithm>
#include <set>

namespace oracle {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  path_ = fs::temp_directory_path() / ("elemora-writer-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::optional<std::string> Run(const std::string& command) {
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return out;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

bool HaveMdbTools() { return Run("command -v mdb-export").has_value(); }

std::string MdbReaderScript() {
  const char* src = std::getenv("ELEMORA_SOURCE_DIR");
  if (!src) return {};
  const fs::path dir = fs::path(src) / "tools" / "oracle";
  if (!fs::exists(dir / "node_modules" / "mdb-reader" / "package.json")) return {};
  if (!Run("command -v node")) return {};
  return (dir / "dump.cjs").string();
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') { field += '"'; ++i; }
      else if (c == '"') quoted = false;
      else field += c;
    } else if (c == '"') { quoted = true; any = true; }
    else if (c == ',') { record.push_back(field); field.clear(); any = true; }
    else if (c == '\n') {
      record.push_back(field);
      records.push_back(record);
      record.clear();
      field.clear();
      any = false;
    } else if (c != '\r') { field += c; any = true; }
  }
  if (any) { record.push_back(field); records.push_back(record); }
  return records;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"') out += "\\\"";
    else if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else out += static_cast<char>(c);
  }
  return out + "\"";
}

std::string JsonNumber(double v) {
  // Shortest text that reads back as v, as JavaScript prints numbers of
  // ordinary size (the tests keep to those).
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

namespace {
uint32_t U16(const std::vector<uint8_t>& f, size_t at) { return f[at] | (f[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& f, size_t at) {
  return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (static_cast<uint32_t>(f[at + 3]) << 24);
}
uint32_t Be(const std::vector<uint8_t>& f, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | f[at + i];
  return v;
}
constexpr size_t kPage = 4096;

// Ends of the entries on an index page, from its bitmap.
std::vector<size_t> EntryEnds(const std::vector<uint8_t>& f, size_t base) {
  std::vector<size_t> ends;
  for (size_t bit = 0; bit < 453 * 8; ++bit)
    if (f[base + 0x1B + bit / 8] & (1u << (bit % 8))) ends.push_back(0x1E0 + bit);
  return ends;
}
// Checks the tree below `page` the way a keyed search would use it: every
// node entry carries the greatest entry of its child, the tail child comes
// last.  Appends the leaves in key order; returns the subtree's greatest
// leaf entry (9 bytes), or nullopt on a fault.
std::optional<std::vector<uint8_t>> CheckTree(const std::vector<uint8_t>& f, uint32_t page, int depth,
                                              std::vector<uint32_t>& leaves, std::string& error) {
  const size_t pages = f.size() / kPage;
  if (page == 0 || page >= pages || depth > 8) { error = "bad child page"; return std::nullopt; }
  const size_t base = page * kPage;
  const auto ends = EntryEnds(f, base);
  if (f[base] == 0x04) {
    leaves.push_back(page);
    if (ends.empty()) return std::vector<uint8_t>{};
    return std::vector<uint8_t>(f.begin() + base + ends.back() - 9, f.begin() + base + ends.back());
  }
  if (f[base] != 0x03) { error = "not an index page"; return std::nullopt; }
  size_t start = 0x1E0;
  for (size_t end : ends) {
    if (end - start != 13) { error = "bad node entry"; return std::nullopt; }
    auto last = CheckTree(f, Be(f, base + start + 9, 4), depth + 1, leaves, error);
    if (!last) return std::nullopt;
    if (!std::equal(last->begin(), last->end(), f.begin() + base + start) || last->size() != 9) {
      error = "node entry on page " + std::to_string(page) + " is not its child's last entry";
      return std::nullopt;
    }
    start = end;
  }
  return CheckTree(f, U32(f, base + 0x14), depth + 1, leaves, error);
}

}  // namespace

std::optional<std::vector<int32_t>> IndexOrderIds(const std::vector<uint8_t>& f, uint32_t tdef_page,
                                                  std::string& error) {
  const size_t pages = f.size() / kPage;
  auto page_ok = [&](uint32_t p, uint8_t type) { return p < pages && f[p * kPage] == type; };
  if (!page_ok(tdef_page, 0x02)) { error = "no table definition"; return std::nullopt; }
  const size_t t = tdef_page * kPage;
  const uint32_t ncols = U16(f, t + 0x2D), nreal = U32(f, t + 0x33);
  if (nreal < 1) { error = "no index"; return std::nullopt; }
  size_t at = t + 0x3F + 12 * nreal + 25 * ncols;
  for (uint32_t c = 0; c < ncols; ++c) at += 2 + U16(f, at);
  uint32_t page = U32(f, at + 0x26);
  std::vector<uint32_t> tree_leaves, chain_leaves;
  if (!CheckTree(f, page, 0, tree_leaves, error)) return std::nullopt;

  std::vector<int32_t> ids;
  std::set<uint32_t> seen;
  while (page_ok(page, 0x03)) {  // descend along first entries
    if (!seen.insert(page).second) { error = "loop"; return std::nullopt; }
    const auto ends = EntryEnds(f, page * kPage);
    if (ends.empty() || ends[0] != 0x1E0 + 13) { error = "bad node entry"; return std::nullopt; }
    page = Be(f, page * kPage + 0x1E0 + 9, 4);
  }
  uint32_t prev = 0;
  while (page != 0) {
    if (!page_ok(page, 0x04) || !seen.insert(page).second) { error = "bad leaf chain"; return std::nullopt; }
    const size_t base = page * kPage;
    if (U32(f, base + 0x0C) != prev) { error = "bad prev pointer"; return std::nullopt; }
    size_t start = 0x1E0;
    for (size_t end : EntryEnds(f, base)) {
      if (end - start != 9 || f[base + start] != 0x7F) { error = "bad leaf entry"; return std::nullopt; }
      const int32_t key = static_cast<int32_t>(Be(f, base + start + 1, 4) ^ 0x80000000u);
      const uint32_t dpage = Be(f, base + start + 5, 3), drow = f[base + start + 8];
      if (!page_ok(dpage, 0x01) || drow >= U16(f, dpage * kPage + 12)) { error = "bad row pointer"; return std::nullopt; }
      const uint32_t roff = U16(f, dpage * kPage + 14 + 2 * drow) & 0x1FFF;
      const int32_t id = static_cast<int32_t>(U32(f, dpage * kPage + roff + 2));
      if (id != key) { error = "key " + std::to_string(key) + " names the row of " + std::to_string(id); return std::nullopt; }
        ids.push_back(id);
      start = end;
    }
    chain_leaves.push_back(page);
    prev = page;
    page = U32(f, base + 0x10);
  }
  if (tree_leaves != chain_leaves) { error = "the tree and the leaf chain disagree"; return std::nullopt; }
  return ids;
}

}  // namespace oracle
