// Jet 4 writer: lays out the pages of a fresh file in one pass per kind.
//
// Page plan: 0 header, 1 global usage map, 2 MSysObjects definition, 3 its
// rows, 4 the user table's definition, then long-value pages, data pages,
// index pages (leaves, then node levels up to the root) and last the pages
// holding the usage maps.  Maps go last because they describe everything
// else; the definitions are encoded at the very end, when every row pointer
// they name is known.
#include "jet/writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>

namespace jet {
namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kDataHeader = 14;      // data page header before the slot table
constexpr std::size_t kMaxRow = kPageSize - kDataHeader - 2;
constexpr std::uint32_t kTdefMagic = 1625;   // constant Access writes in several places
constexpr std::uint32_t kIndexMagic = 1923;
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint32_t kCatalogRowsPage = 3;
constexpr std::uint32_t kUserTdefPage = 4;
constexpr std::uint32_t kFirstFreePage = 5;
constexpr std::uint32_t kTablesContainerId = 0x0F000001;
constexpr std::uint32_t kRootId = 0x0F000000;
constexpr std::uint32_t kSystemFlag = 0x80000000;
constexpr std::size_t kInlineMemoMax = 64;    // Jackcess' limit; Access reads it back
constexpr std::size_t kLvalSingleMax = 4076;  // one LVAL row filling a page
constexpr std::size_t kLvalPiece = 4072;      // data bytes per chained LVAL row
constexpr std::size_t kIndexEntriesStart = 0x1E0;
constexpr std::size_t kIndexSpace = kPageSize - kIndexEntriesStart;
constexpr std::size_t kLeafEntry = 9;         // flag + 4 key bytes + 3 page + 1 row
constexpr std::size_t kNodeEntry = 13;        // leaf entry + 4-byte child page
constexpr std::size_t kMinMapBytes = 64;      // what Access writes for a type-0 map


void PutU16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void AddU8(Bytes& b, std::uint32_t v) { b.push_back(static_cast<std::uint8_t>(v)); }
void AddU16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void AddU32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void AddF64(Bytes& b, double v) {
  std::uint64_t raw;
  std::memcpy(&raw, &v, sizeof raw);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(raw >> (8 * i)));
}

std::uint32_t RowPointer(std::uint32_t page, std::uint32_t row) { return (page << 8) | row; }

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing past U+10FFFF.
std::optional<std::u16string> Utf16(const std::string& s) {
  std::u16string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::uint32_t cp;
    int extra;
    if (c < 0x80) { cp = c; extra = 0; }
    else if (c >= 0xC2 && c <= 0xDF) { cp = c & 0x1F; extra = 1; }
    else if (c >= 0xE0 && c <= 0xEF) { cp = c & 0x0F; extra = 2; }
    else if (c >= 0xF0 && c <= 0xF4) { cp = c & 0x07; extra = 3; }
    else return std::nullopt;
    if (i + static_cast<std::size_t>(extra) >= s.size() && extra > 0) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (t & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return std::nullopt;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += 1 + extra;
  }
  return out;
}

Bytes Ucs2(const std::u16string& s) {
  Bytes b;
  b.reserve(s.size() * 2);
  for (char16_t c : s) AddU16(b, c);
  return b;
}

// Jet 4 text compression (jet-format.md 7): only strings made wholly of
// U+0001..U+00FF are compressed, as FF FE and one byte each, so no toggle byte
// is ever needed.  Short strings stay plain: compression would not save space.
Bytes EncodeText(const std::u16string& s) {
  const bool latin1 = s.size() >= 3 &&
      std::all_of(s.begin(), s.end(), [](char16_t c) { return c >= 1 && c <= 0xFF; });
  if (!latin1) return Ucs2(s);
  Bytes b{0xFF, 0xFE};
  for (char16_t c : s) b.push_back(static_cast<std::uint8_t>(c));
  return b;
}

// One column as the definition describes it.
struct ColDef {
  std::u16string name;
  std::uint8_t type = 0;
  std::uint8_t flags = 0;
  std::uint8_t extra_flags = 0;
  std::uint16_t length = 0;
  std::uint16_t number = 0;
  std::uint16_t var_index = 0;
  std::uint16_t fixed_offset = 0;
  bool fixed = false;
  bool boolean = false;
};

// One cell ready for the row: present or null, and its stored bytes.
struct Cell {
  bool present = false;
  Bytes bytes;
};

struct Layout {
  std::vector<ColDef> cols;
  std::size_t fixed_size = 0;
  std::size_t var_count = 0;
};

// Assigns fixed offsets and variable-table slots in column order.
void Arrange(Layout& l) {
  for (auto& c : l.cols) {
    if (c.boolean) continue;
    if (c.fixed) {
      c.fixed_offset = static_cast<std::uint16_t>(l.fixed_size);
      l.fixed_size += c.length;
    } else {
      c.var_index = static_cast<std::uint16_t>(l.var_count++);
    }
  }
}

// Row layout of jet-format.md 5.1; cells are indexed by column number.
Bytes EncodeRow(const Layout& l, const std::vector<Cell>& cells) {
  const std::size_t ncols = l.cols.size();
  Bytes row(2 + l.fixed_size, 0);
  PutU16(row, 0, static_cast<std::uint32_t>(ncols));
  for (const auto& c : l.cols) {
    const Cell& cell = cells[c.number];
    if (c.fixed && !c.boolean && cell.present)
      std::copy(cell.bytes.begin(), cell.bytes.end(), row.begin() + 2 + c.fixed_offset);
  }
  if (l.var_count > 0) {
    std::vector<std::uint32_t> offsets(l.var_count);
    for (std::size_t v = 0; v < l.var_count; ++v) {
      for (const auto& c : l.cols) {
        if (c.fixed || c.var_index != v) continue;
        offsets[v] = static_cast<std::uint32_t>(row.size());
        const Cell& cell = cells[c.number];
        if (cell.present) row.insert(row.end(), cell.bytes.begin(), cell.bytes.end());
      }
    }
    AddU16(row, static_cast<std::uint32_t>(row.size()));  // end of variable data
    for (std::size_t v = l.var_count; v-- > 0;) AddU16(row, offsets[v]);
    AddU16(row, static_cast<std::uint32_t>(l.var_count));
  }
  Bytes mask((ncols + 7) / 8, 0);
  for (const auto& c : l.cols) {
    const Cell& cell = cells[c.number];
    const bool bit = c.boolean ? (cell.present && !cell.bytes.empty() && cell.bytes[0] != 0)
                               : cell.present;
    if (bit) mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
  }
  row.insert(row.end(), mask.begin(), mask.end());
  return row;
}

// A data page under construction: rows are kept apart until the page is
// written so that a reserved row can be filled in later (LVAL chains).
struct DataPage {
  std::uint32_t number = 0;
  std::uint32_t owner = 0;
  std::vector<Bytes> rows;
  std::size_t used = 0;

  // A row pointer names the row in one byte, so a page holds at most 256 rows.
  bool Fits(std::size_t len) const {
    return rows.size() < 256 && kDataHeader + 2 * (rows.size() + 1) + used + len <= kPageSize;
  }
  Bytes Render() const {
    Bytes p(kPageSize, 0);
    p[0] = 0x01;
    p[1] = 0x01;
    PutU16(p, 2, static_cast<std::uint32_t>(kPageSize - kDataHeader - 2 * rows.size() - used));
    PutU32(p, 4, owner);
    PutU16(p, 12, static_cast<std::uint32_t>(rows.size()));
    std::size_t end = kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::size_t start = end - rows[i].size();
      std::copy(rows[i].begin(), rows[i].end(), p.begin() + start);
      PutU16(p, kDataHeader + 2 * i, static_cast<std::uint32_t>(start));
      end = start;
    }
    return p;
  }
};

// Page numbers are handed out in order; every page is rendered at the end.
class File {
 public:
  File() : pages_(kFirstFreePage) {}
  std::uint32_t NewPage() {
    pages_.emplace_back();
    return static_cast<std::uint32_t>(pages_.size() - 1);
  }
  std::uint32_t Count() const { return static_cast<std::uint32_t>(pages_.size()); }
  void Set(std::uint32_t page, Bytes bytes) { pages_[page] = std::move(bytes); }
  Bytes Join() const {
    Bytes out;
    out.reserve(pages_.size() * kPageSize);
    for (const auto& p : pages_) {
      if (p.empty()) out.insert(out.end(), kPageSize, 0);
      else out.insert(out.end(), p.begin(), p.end());
    }
    return out;
  }

 private:
  std::vector<Bytes> pages_;
};

// Packs rows of one owner onto consecutive pages of their own.
class RowPacker {
 public:
  RowPacker(File& file, std::uint32_t owner) : file_(file), owner_(owner) {}
  // Returns the row pointer; the row may be replaced later by one of equal size.
  std::uint32_t Add(Bytes row) {
    if (pages_.empty() || !pages_.back().Fits(row.size())) {
      DataPage p;
      p.number = file_.NewPage();
      p.owner = owner_;
      pages_.push_back(std::move(p));
    }
    DataPage& p = pages_.back();
    p.used += row.size();
    p.rows.push_back(std::move(row));
    return RowPointer(p.number, static_cast<std::uint32_t>(p.rows.size() - 1));
  }
  void Replace(std::uint32_t ptr, Bytes row) {
    for (auto& p : pages_)
      if (p.number == ptr >> 8) p.rows[ptr & 0xFF] = std::move(row);
  }
  const std::vector<DataPage>& pages() const { return pages_; }
  void Render() const {
    for (const auto& p : pages_) file_.Set(p.number, p.Render());
  }

 private:
  File& file_;
  std::uint32_t owner_;
  std::vector<DataPage> pages_;
};

// The memo's 12-byte header, with the data inline when short, else placed in
// one LVAL row or a chain of them (jet-format.md 8).
Bytes PlaceMemo(Bytes data, RowPacker& lv) {
  const auto length = static_cast<std::uint32_t>(data.size());
  Bytes h;
  if (data.size() <= kInlineMemoMax) {
    AddU32(h, length | 0x80000000u);
    AddU32(h, 0);
    AddU32(h, 0);
    h.insert(h.end(), data.begin(), data.end());
    return h;
  }
  if (data.size() <= kLvalSingleMax) {
    AddU32(h, length | 0x40000000u);
    AddU32(h, lv.Add(std::move(data)));
    AddU32(h, 0);
    return h;
  }
  // A chain: every piece starts with the pointer to the next (0 on the last),
  // so the pieces are reserved first and filled once all places are known.
  std::vector<std::uint32_t> ptrs;
  for (std::size_t at = 0; at < data.size(); at += kLvalPiece)
    ptrs.push_back(lv.Add(Bytes(4 + std::min(kLvalPiece, data.size() - at), 0)));
  for (std::size_t k = 0; k < ptrs.size(); ++k) {
    const std::size_t at = k * kLvalPiece;
    Bytes piece;
    AddU32(piece, k + 1 < ptrs.size() ? ptrs[k + 1] : 0);
    piece.insert(piece.end(), data.begin() + at, data.begin() + std::min(at + kLvalPiece, data.size()));
    lv.Replace(ptrs[k], std::move(piece));
  }
  AddU32(h, length);
  AddU32(h, ptrs[0]);
  AddU32(h, 0);
  return h;
}

// Leaf entry of an ascending Long key (jet-format.md 11.3, 11.4): flag 7F,
// the key big-endian with its sign bit flipped, then the row's page
// (3 bytes) and row number, also big-endian.
Bytes LeafEntry(std::int32_t id, std::uint32_t row_ptr) {
  Bytes b{0x7F};
  const std::uint32_t key = static_cast<std::uint32_t>(id) ^ 0x80000000u;
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(key >> s));
  for (int s = 24; s >= 8; s -= 8) b.push_back(static_cast<std::uint8_t>(row_ptr >> s));
  b.push_back(static_cast<std::uint8_t>(row_ptr));
  return b;
}

Bytes IndexPage(std::uint8_t type, const std::vector<Bytes>& entries, std::uint32_t prev,
                std::uint32_t next, std::uint32_t tail) {
  Bytes p(kPageSize, 0);
  p[0] = type;
  p[1] = 0x01;
  PutU32(p, 4, kUserTdefPage);
  PutU32(p, 0x0C, prev);
  PutU32(p, 0x10, next);
  PutU32(p, 0x14, tail);
  p[0x1A] = type == 0x03 ? 1 : 0;
  std::size_t at = kIndexEntriesStart;
  for (const auto& e : entries) {
    std::copy(e.begin(), e.end(), p.begin() + at);
    at += e.size();
    const std::size_t bit = at - kIndexEntriesStart;  // the bitmap marks where each entry ends
    p[0x1B + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
  }
  PutU16(p, 2, static_cast<std::uint32_t>(kPageSize - at));
  return p;
}

// Splits n items into the fewest groups of at most cap, sizes as even as
// possible, so that no node ends up with a lone child.
std::vector<std::size_t> Groups(std::size_t n, std::size_t cap) {
  const std::size_t count = std::max<std::size_t>(1, (n + cap - 1) / cap);
  std::vector<std::size_t> sizes(count, n / count);
  for (std::size_t i = 0; i < n % count; ++i) ++sizes[i];
  return sizes;
}

struct IndexTree {
  std::uint32_t root = 0;
  std::vector<std::uint32_t> pages;  // every page of the tree, leaves first
};

// Writes the B-tree over entries already in key order.  Leaves hold every
// entry; each node level names each child but the last by its greatest
// entry and the last through the tail pointer, as Access does.  An empty
// index is one empty leaf.
IndexTree WriteIndex(File& file, const std::vector<Bytes>& entries) {
  struct Child { std::uint32_t page; Bytes last; };
  IndexTree tree;
  std::vector<Child> level;
  const auto leaf_sizes = Groups(entries.size(), kIndexSpace / kLeafEntry);
  std::vector<std::uint32_t> pages;
  for (std::size_t i = 0; i < leaf_sizes.size(); ++i) pages.push_back(file.NewPage());
  std::size_t at = 0;
  for (std::size_t i = 0; i < leaf_sizes.size(); ++i) {
    const std::vector<Bytes> leaf(entries.begin() + at, entries.begin() + at + leaf_sizes[i]);
    at += leaf_sizes[i];
    file.Set(pages[i], IndexPage(0x04, leaf, i ? pages[i - 1] : 0, i + 1 < pages.size() ? pages[i + 1] : 0, 0));
    level.push_back({pages[i], leaf.empty() ? Bytes{} : leaf.back()});
  }
  tree.pages = pages;
  while (level.size() > 1) {
    const auto sizes = Groups(level.size(), kIndexSpace / kNodeEntry + 1);  // entries + the tail
    pages.clear();
    for (std::size_t i = 0; i < sizes.size(); ++i) pages.push_back(file.NewPage());
    std::vector<Child> up;
    at = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      std::vector<Bytes> node;
      for (std::size_t k = 0; k + 1 < sizes[i]; ++k) {
        Bytes e = level[at + k].last;
        const std::uint32_t child = level[at + k].page;
        for (int s = 24; s >= 0; s -= 8) e.push_back(static_cast<std::uint8_t>(child >> s));
        node.push_back(std::move(e));
      }
      const Child& tail = level[at + sizes[i] - 1];
      at += sizes[i];
      file.Set(pages[i], IndexPage(0x03, node, i ? pages[i - 1] : 0, i + 1 < pages.size() ? pages[i + 1] : 0, tail.page));
      up.push_back({pages[i], tail.last});
    }
    tree.pages.insert(tree.pages.end(), pages.begin(), pages.end());
    level = std::move(up);
  }
  tree.root = level.front().page;
  return tree;
}

// Type-0 usage map row (jet-format.md 9) listing `pages`, which must lie at
// or after `first`.  `set_beyond` marks every page from there on instead
// (the global map's inverted sense).
std::optional<Bytes> UsageMap(std::uint32_t first, const std::vector<std::uint32_t>& pages,
                              std::optional<std::uint32_t> set_beyond = std::nullopt) {
  std::uint32_t last = first;
  for (auto p : pages) last = std::max(last, p);
  if (set_beyond) last = std::max(last, *set_beyond + 64);
  const std::size_t bits = last - first + 1;
  const std::size_t len = std::max(kMinMapBytes, (bits + 7) / 8);
  if (5 + len > kMaxRow / 2) return std::nullopt;
  Bytes row(5 + len, 0);
  PutU32(row, 1, first);
  for (auto p : pages) row[5 + (p - first) / 8] |= static_cast<std::uint8_t>(1u << ((p - first) % 8));
  if (set_beyond)
    for (std::size_t i = *set_beyond - first; i < len * 8; ++i)
      row[5 + i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
  return row;
}

struct IndexDef {
  std::u16string name;
  std::uint32_t map_ptr = 0;
  std::uint32_t root = 0;
};

struct TdefInput {
  std::uint8_t table_type = 0x4E;
  const Layout* layout = nullptr;
  std::uint32_t rows = 0;
  std::uint32_t autonumber = 0;
  std::uint32_t owned_ptr = 0;
  std::uint32_t free_ptr = 0;
  std::optional<IndexDef> index;
  // column number, owned-LVAL map pointer, free map pointer
  std::vector<std::array<std::uint32_t, 3>> lv_maps;
};

void AddName(Bytes& b, const std::u16string& name) {
  AddU16(b, static_cast<std::uint32_t>(name.size() * 2));
  for (char16_t c : name) AddU16(b, c);
}

// Table definition (jet-format.md 4); one page only.
std::optional<Bytes> EncodeTdef(const TdefInput& in) {
  const Layout& l = *in.layout;
  Bytes t(0x3F, 0);
  t[0] = 0x02;
  t[1] = 0x01;
  PutU32(t, 0x0C, kTdefMagic);
  PutU32(t, 0x10, in.rows);
  PutU32(t, 0x14, in.autonumber);
  t[0x18] = 0x01;
  t[0x28] = in.table_type;
  PutU16(t, 0x29, static_cast<std::uint32_t>(l.cols.size()));
  PutU16(t, 0x2B, static_cast<std::uint32_t>(l.var_count));
  PutU16(t, 0x2D, static_cast<std::uint32_t>(l.cols.size()));
  const std::uint32_t nidx = in.index ? 1 : 0;
  PutU32(t, 0x2F, nidx);
  PutU32(t, 0x33, nidx);
  PutU32(t, 0x37, in.owned_ptr);
  PutU32(t, 0x3B, in.free_ptr);
  if (in.index) {  // statistics: rows, distinct keys (all distinct: unique index), 0
    AddU32(t, in.rows);
    AddU32(t, in.rows);
    AddU32(t, 0);
  }
  for (const auto& c : l.cols) {
    AddU8(t, c.type);
    AddU32(t, kTdefMagic);
    AddU16(t, c.number);
    AddU16(t, c.var_index);
    AddU16(t, c.number);
    AddU16(t, 0x0409);  // sort order "General"
    AddU8(t, 0);
    AddU8(t, 0);        // sort-order version: General (legacy)
    AddU8(t, c.flags);
    AddU8(t, c.extra_flags);
    AddU32(t, 0);
    AddU16(t, c.fixed ? c.fixed_offset : 0);
    AddU16(t, c.length);
  }
  for (const auto& c : l.cols) AddName(t, c.name);
  if (in.index) {
    AddU32(t, kIndexMagic);
    AddU16(t, 0);  // column 0, ascending
    AddU8(t, 0x01);
    for (int slot = 1; slot < 10; ++slot) {
      AddU16(t, 0xFFFF);
      AddU8(t, 0);
    }
    AddU32(t, in.index->map_ptr);
    AddU32(t, in.index->root);
    AddU32(t, 0);
    AddU8(t, 0x89);  // primary key: unique + required, as Access marks it
    for (int i = 0; i < 5; ++i) AddU8(t, 0);
    // Logical index: number 0 over real index 0, so every reader pairs them alike.
    AddU32(t, kTdefMagic);
    AddU32(t, 0);
    AddU32(t, 0);
    AddU8(t, 0);
    AddU32(t, 0xFFFFFFFF);
    AddU32(t, 0);
    AddU8(t, 0);
    AddU8(t, 0);
    AddU8(t, 1);  // primary key
    AddU32(t, 0);
    AddName(t, in.index->name);
  }
  for (const auto& m : in.lv_maps) {
    AddU16(t, m[0]);
    AddU32(t, m[1]);
    AddU32(t, m[2]);
  }
  AddU16(t, 0xFFFF);
  if (t.size() + 8 > kPageSize) return std::nullopt;
  PutU32(t, 0x08, static_cast<std::uint32_t>(t.size()));
  PutU16(t, 0x02, static_cast<std::uint32_t>(kPageSize - t.size() - 8));
  t.resize(kPageSize, 0);
  return t;
}

void Rc4(std::uint8_t* data, std::size_t len, const std::array<std::uint8_t, 4>& key) {
  std::array<std::uint8_t, 256> s;
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + key[i % key.size()]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  for (std::size_t n = 0, i = 0, j = 0; n < len; ++n) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    data[n] ^= s[(s[i] + s[j]) & 0xFF];
  }
}

// Database definition page (jet-format.md 2.3).
Bytes HeaderPage(double created) {
  Bytes p(kPageSize, 0);
  p[1] = 0x01;
  const char engine[] = "Standard Jet DB";
  std::memcpy(&p[4], engine, sizeof engine - 1);
  PutU32(p, 0x14, 1);  // Jet 4
  const std::uint8_t fixed[24] = {0, 1, 0, 0, 1, 1, 0, 0, 2, 0, 0, 0,
                                  3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0};
  std::memcpy(&p[0x18], fixed, sizeof fixed);
  PutU16(p, 0x3C, 1252);
  // An empty password is stored as the mask itself: the creation day, repeated.
  const auto day = static_cast<std::uint32_t>(created);
  for (std::size_t i = 0; i < 40; i += 4) PutU32(p, 0x42 + i, day);
  PutU16(p, 0x6E, 0x0409);
  std::memcpy(&p[0x72], &created, sizeof created);
  Rc4(&p[0x18], 128, {0xC7, 0xDA, 0x39, 0x6B});
  const std::uint8_t tail[8] = {0x54, 0x06, 0, 0, 0x34, 0x2E, 0x30, 0};
  std::memcpy(&p[0x98], tail, sizeof tail);
  return p;
}

Cell LongCell(std::uint32_t v) {
  Cell c{true, {}};
  AddU32(c.bytes, v);
  return c;
}

// The catalog: Access' seventeen MSysObjects columns, in column order.
Layout CatalogLayout() {
  struct CatalogColumn { const char16_t* name; std::uint8_t type; std::uint16_t length; };
  static const CatalogColumn columns[] = {
      {u"Id", 0x04, 4},         {u"ParentId", 0x04, 4},     {u"Name", 0x0A, 510},
      {u"Type", 0x03, 2},       {u"DateCreate", 0x08, 8},   {u"DateUpdate", 0x08, 8},
      {u"Owner", 0x09, 255},    {u"Flags", 0x04, 4},        {u"Database", 0x0C, 0},
      {u"Connect", 0x0C, 0},    {u"ForeignName", 0x0A, 510}, {u"RmtInfoShort", 0x09, 255},
      {u"RmtInfoLong", 0x0B, 0}, {u"Lv", 0x0B, 0},          {u"LvProp", 0x0B, 0},
      {u"LvModule", 0x0B, 0},   {u"LvExtra", 0x0B, 0}};
  Layout l;
  std::uint16_t n = 0;
  for (const auto& s : columns) {
    ColDef c;
    c.name = s.name;
    c.type = s.type;
    c.length = s.length;
    c.number = n++;
    c.fixed = s.type == 0x03 || s.type == 0x04 || s.type == 0x08;
    c.flags = c.fixed ? 0x13 : 0x12;
    l.cols.push_back(c);
  }
  Arrange(l);
  return l;
}

Bytes CatalogRow(const Layout& l, std::uint32_t id, std::uint32_t parent, const std::u16string& name,
                 std::uint16_t type, std::uint32_t flags, double created) {
  std::vector<Cell> cells(l.cols.size());
  cells[0] = LongCell(id);
  cells[1] = LongCell(parent);
  cells[2] = Cell{true, Ucs2(name)};
  cells[3] = Cell{true, {static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(type >> 8)}};
  for (int i : {4, 5}) {
    cells[i].present = true;
    AddF64(cells[i].bytes, created);
  }
  cells[7] = LongCell(flags);
  return EncodeRow(l, cells);
}

std::string Describe(const WriterTable& t, std::size_t row, std::size_t col, const std::string& why) {
  const std::string column = col < t.columns.size() ? t.columns[col].name : t.id_column;
  return "row " + std::to_string(row) + " (id " + std::to_string(t.rows[row].id) + "), column " +
         column + ": " + why;
}

// Builds the user table's layout; column 0 is the autonumber.
std::optional<std::string> UserLayout(const WriterTable& t, Layout& l, std::vector<std::u16string>& names) {
  std::vector<std::string> all{t.id_column};
  for (const auto& c : t.columns) all.push_back(c.name);
  if (all.size() > 255) return "too many columns";
  for (std::size_t i = 0; i < all.size(); ++i) {
    auto n = Utf16(all[i]);
    if (!n || n->empty() || n->size() > 64) return "bad column name '" + all[i] + "'";
    for (std::size_t j = 0; j < i; ++j)
      if (all[j] == all[i]) return "column name '" + all[i] + "' repeats";
    names.push_back(*n);
  }
  ColDef id;
  id.name = names[0];
  id.type = 0x04;
  id.length = 4;
  id.fixed = true;
  id.flags = 0x07;  // fixed, updatable, autonumber
  l.cols.push_back(id);
  for (std::size_t i = 0; i < t.columns.size(); ++i) {
    const auto& src = t.columns[i];
    ColDef c;
    c.name = names[i + 1];
    c.number = static_cast<std::uint16_t>(i + 1);
    c.type = static_cast<std::uint8_t>(src.type);
    c.flags = 0x02;
    switch (src.type) {
      case ColumnType::kBoolean: c.length = 1; c.fixed = true; c.boolean = true; break;
      case ColumnType::kByte: c.length = 1; c.fixed = true; break;
      case ColumnType::kInteger: c.length = 2; c.fixed = true; break;
      case ColumnType::kLong: c.length = 4; c.fixed = true; break;
      case ColumnType::kDouble: c.length = 8; c.fixed = true; break;
      case ColumnType::kText:
        if (src.max_chars < 1 || src.max_chars > 255) return "column " + src.name + ": text length 1..255";
        c.length = static_cast<std::uint16_t>(2 * src.max_chars);
        c.extra_flags = 0x01;
        c.fixed = src.fixed_length;
        break;
      case ColumnType::kMemo: c.extra_flags = 0x01; break;
      default: return "column " + src.name + ": unsupported type";
    }
    if (src.fixed_length && src.type != ColumnType::kText) return "column " + src.name + ": only Text can be fixed-length";
    if (c.fixed) c.flags |= 0x01;
    l.cols.push_back(c);
  }
  Arrange(l);
  return std::nullopt;
}

// Turns a caller's value into the stored bytes of a fixed column, or the text
// of a Text/Memo column (memos are placed later).
std::optional<std::string> FixedCell(ColumnType type, const WriterValue& v, Cell& out) {
  if (std::holds_alternative<std::monostate>(v)) {
    out.present = false;
    return std::nullopt;
  }
  out.present = true;
  if (type == ColumnType::kDouble) {
    double d;
    if (auto* i = std::get_if<std::int64_t>(&v)) d = static_cast<double>(*i);
    else if (auto* f = std::get_if<double>(&v)) d = *f;
    else return "a number is needed";
    AddF64(out.bytes, d);
    return std::nullopt;
  }
  const auto* i = std::get_if<std::int64_t>(&v);
  if (!i) return "an integer is needed";
  std::int64_t lo = 0, hi = 0;
  int size = 0;
  switch (type) {
    case ColumnType::kBoolean: lo = 0; hi = 1; size = 1; break;
    case ColumnType::kByte: lo = 0; hi = 255; size = 1; break;
    case ColumnType::kInteger: lo = -32768; hi = 32767; size = 2; break;
    default: lo = std::numeric_limits<std::int32_t>::min(); hi = std::numeric_limits<std::int32_t>::max(); size = 4; break;
  }
  if (*i < lo || *i > hi) return "value out of range";
  const auto u = static_cast<std::uint64_t>(*i);
  for (int k = 0; k < size; ++k) out.bytes.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
  return std::nullopt;
}

WriteResult Fail(std::string why) {
  WriteResult r;
  r.error = std::move(why);
  return r;
}

}  // namespace

WriteResult WriteDatabase(const WriterTable& table, const WriterOptions& options) {
  const auto table_name = Utf16(table.name);
  const auto index_name = Utf16(table.index_name);
  if (!table_name || table_name->empty() || table_name->size() > 64) return Fail("bad table name");
  if (!index_name || index_name->empty() || index_name->size() > 64) return Fail("bad index name");
  Layout user;
  std::vector<std::u16string> names;
  if (auto err = UserLayout(table, user, names)) return Fail(*err);

  // Validate ids before anything is placed.
  std::vector<std::pair<std::int32_t, std::size_t>> by_id;
  by_id.reserve(table.rows.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    if (table.rows[r].values.size() != table.columns.size())
      return Fail("row " + std::to_string(r) + ": wrong number of values");
    by_id.emplace_back(table.rows[r].id, r);
  }
  std::sort(by_id.begin(), by_id.end());
  for (std::size_t i = 1; i < by_id.size(); ++i)
    if (by_id[i].first == by_id[i - 1].first)
      return Fail("id " + std::to_string(by_id[i].first) + " repeats");

  File file;
  const std::size_t ncols = user.cols.size();

  // Long values first: the rows carry pointers to them.  Each memo column has
  // its own LVAL pages so its usage map lists only its own.
  std::vector<std::vector<Cell>> cells(table.rows.size(), std::vector<Cell>(ncols));
  std::vector<std::size_t> memo_cols;
  for (std::size_t c = 0; c < table.columns.size(); ++c)
    if (table.columns[c].type == ColumnType::kMemo) memo_cols.push_back(c);
  std::vector<RowPacker> lvals;
  for (std::size_t m = 0; m < memo_cols.size(); ++m) lvals.emplace_back(file, 0x4C41564C);  // "LVAL"

  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const WriterRow& row = table.rows[r];
    cells[r][0] = LongCell(static_cast<std::uint32_t>(row.id));
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      const WriterColumn& col = table.columns[c];
      Cell& cell = cells[r][c + 1];
      const WriterValue& v = row.values[c];
      if (col.type != ColumnType::kText && col.type != ColumnType::kMemo) {
        if (auto err = FixedCell(col.type, v, cell)) return Fail(Describe(table, r, c, *err));
        continue;
      }
      if (std::holds_alternative<std::monostate>(v)) continue;
      const auto* s = std::get_if<std::string>(&v);
      if (!s) return Fail(Describe(table, r, c, "text is needed"));
      const auto u = Utf16(*s);
      if (!u) return Fail(Describe(table, r, c, "invalid UTF-8"));
      cell.present = true;
      if (col.type == ColumnType::kText) {
        if (u->size() > static_cast<std::size_t>(col.max_chars))
          return Fail(Describe(table, r, c, "text longer than the column"));
        if (col.fixed_length) {
          // The full width, never compressed, so every value has the same size.
          std::u16string padded = *u;
          padded.resize(static_cast<std::size_t>(col.max_chars), u' ');
          cell.bytes = Ucs2(padded);
        } else {
          cell.bytes = EncodeText(*u);
        }
        continue;
      }
      Bytes data = EncodeText(*u);
      if (data.size() >= (1u << 24)) return Fail(Describe(table, r, c, "memo too long"));
      const auto lv = std::find(memo_cols.begin(), memo_cols.end(), c) - memo_cols.begin();
      cell.bytes = PlaceMemo(std::move(data), lvals[lv]);
    }
  }

  // Data rows in the caller's storage order.
  RowPacker data(file, kUserTdefPage);
  std::vector<std::uint32_t> where(table.rows.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    Bytes encoded = EncodeRow(user, cells[r]);
    if (encoded.size() > kMaxRow) return Fail(Describe(table, r, table.columns.size(), "row does not fit a page"));
    where[r] = data.Add(std::move(encoded));
  }
  cells.clear();

  std::vector<Bytes> entries;
  entries.reserve(by_id.size());
  for (const auto& [id, r] : by_id) entries.push_back(LeafEntry(id, where[r]));
  const IndexTree tree = WriteIndex(file, entries);
  const std::vector<std::uint32_t>& index_pages = tree.pages;
  const std::uint32_t root = tree.root;

  // Usage maps, on pages of their own after everything they describe.
  RowPacker maps(file, 0);
  auto add_map = [&](std::uint32_t first, const std::vector<std::uint32_t>& pages) -> std::optional<std::uint32_t> {
    auto row = UsageMap(first, pages);
    if (!row) return std::nullopt;
    return maps.Add(std::move(*row));
  };
  auto pages_of = [](const RowPacker& p) {
    std::vector<std::uint32_t> v;
    for (const auto& d : p.pages()) v.push_back(d.number);
    return v;
  };
  const Layout catalog = CatalogLayout();
  TdefInput cat_in;
  cat_in.table_type = 0x53;
  cat_in.layout = &catalog;
  cat_in.rows = 3;
  TdefInput user_in;
  user_in.layout = &user;
  user_in.rows = static_cast<std::uint32_t>(table.rows.size());
  user_in.autonumber = by_id.empty() ? 0 : static_cast<std::uint32_t>(std::max(0, by_id.back().first));
  const auto data_pages = pages_of(data);
  const std::uint32_t first_data = data_pages.empty() ? kUserTdefPage : data_pages.front();
  const std::vector<std::uint32_t> none;

  auto need = [](std::optional<std::uint32_t> p, std::uint32_t& out) {
    if (!p) return false;
    out = *p;
    return true;
  };
  bool fits = need(add_map(kCatalogRowsPage, {kCatalogRowsPage}), cat_in.owned_ptr) &&
              need(add_map(kCatalogRowsPage, none), cat_in.free_ptr) &&
              need(add_map(first_data, data_pages), user_in.owned_ptr) &&
              need(add_map(first_data, none), user_in.free_ptr);
  IndexDef idx;
  idx.name = *index_name;
  idx.root = root;
  fits = fits && need(add_map(index_pages.front(), index_pages), idx.map_ptr);
  user_in.index = idx;
  for (const auto& c : catalog.cols) {
    if (c.type != 0x0B && c.type != 0x0C) continue;
    std::uint32_t owned = 0, free = 0;
    fits = fits && need(add_map(0, none), owned) && need(add_map(0, none), free);
    cat_in.lv_maps.push_back({c.number, owned, free});
  }
  for (std::size_t m = 0; m < memo_cols.size(); ++m) {
    const auto pages = pages_of(lvals[m]);
    const std::uint32_t first = pages.empty() ? 0 : pages.front();
    std::uint32_t owned = 0, free = 0;
    fits = fits && need(add_map(first, pages), owned) && need(add_map(first, none), free);
    user_in.lv_maps.push_back({static_cast<std::uint32_t>(memo_cols[m] + 1), owned, free});
  }
  if (!fits) return Fail("too many pages for the usage maps");

  // Catalog rows: the Tables container, MSysObjects itself and the user table.
  DataPage cat_rows;
  cat_rows.number = kCatalogRowsPage;
  cat_rows.owner = kCatalogPage;
  for (Bytes r : {CatalogRow(catalog, kTablesContainerId, kRootId, u"Tables", 3, kSystemFlag, options.created),
                  CatalogRow(catalog, kCatalogPage, kTablesContainerId, u"MSysObjects", 1, kSystemFlag, options.created),
                  CatalogRow(catalog, kUserTdefPage, kTablesContainerId, *table_name, 1, 0, options.created)}) {
    if (!cat_rows.Fits(r.size())) return Fail("table name too long");
    cat_rows.used += r.size();
    cat_rows.rows.push_back(std::move(r));
  }
  file.Set(kCatalogRowsPage, cat_rows.Render());

  auto cat_tdef = EncodeTdef(cat_in);
  auto user_tdef = EncodeTdef(user_in);
  if (!cat_tdef || !user_tdef) return Fail("table definition does not fit a page");
  file.Set(kCatalogPage, std::move(*cat_tdef));
  file.Set(kUserTdefPage, std::move(*user_tdef));
  for (const auto& lv : lvals) lv.Render();
  data.Render();
  maps.Render();

  // Global map (page 1, row 0): a set bit means free, so only pages past the end are set.
  auto global = UsageMap(0, none, file.Count());
  if (!global) return Fail("too many pages for the usage maps");
  DataPage p1;
  p1.number = 1;
  p1.owner = 1;
  p1.rows.push_back(std::move(*global));
  p1.rows.push_back(Bytes(5 + kMinMapBytes, 0));
  p1.used = p1.rows[0].size() + p1.rows[1].size();
  file.Set(1, p1.Render());
  file.Set(0, HeaderPage(options.created));

  WriteResult result;
  result.ok = true;
  result.bytes = file.Join();
  return result;
}

std::string WriteDatabaseFile(const std::string& path, const WriterTable& table,
                              const WriterOptions& options) {
  WriteResult r = WriteDatabase(table, options);
  if (!r.ok) return r.error;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return "cannot create " + path;
  out.write(reinterpret_cast<const char*>(r.bytes.data()), static_cast<std::streamsize>(r.bytes.size()));
  out.close();
  if (!out) return "cannot write " + path;
  return {};
}

}  // namespace jet
