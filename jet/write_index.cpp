#include "jet/write_index.h"

#include <algorithm>

#include "jet/write_bytes.h"

namespace jet::write {
namespace {

constexpr const Format& kF = kJet4Format;
constexpr std::size_t kIndexSpace = kPageSize - kF.index_entries;
constexpr std::size_t kLeafEntry = 9;   // flag + 4 key bytes + 3 page + 1 row
constexpr std::size_t kNodeEntry = 13;  // leaf entry + 4-byte child page

// Entries lie back to back from the entries' start; the bitmap marks where
// each one ends.
Bytes IndexPage(std::uint8_t type, const std::vector<Bytes>& entries, std::uint32_t prev,
                std::uint32_t next, std::uint32_t tail) {
  Bytes p(kPageSize, 0);
  p[0] = type;
  p[1] = 0x01;
  PutU32(p, kF.index_owner, kUserTdefPage);
  PutU32(p, kF.index_next - 4, prev);  // the previous page, just before the next
  PutU32(p, kF.index_next, next);
  PutU32(p, kF.index_tail, tail);
  p[kF.index_prefix + 2] = type == kIndexNodePage ? 1 : 0;
  std::size_t at = kF.index_entries;
  for (const auto& e : entries) {
    std::copy(e.begin(), e.end(), p.begin() + at);
    at += e.size();
    const std::size_t bit = at - kF.index_entries;
    p[kF.index_bitmap + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
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

std::vector<std::uint32_t> NewPages(PageFile& file, std::size_t n) {
  std::vector<std::uint32_t> pages;
  for (std::size_t i = 0; i < n; ++i) pages.push_back(file.NewPage());
  return pages;
}

}  // namespace

Bytes LeafEntry(std::int32_t id, std::uint32_t row_ptr) {
  Bytes b{0x7F};
  const std::uint32_t key = static_cast<std::uint32_t>(id) ^ 0x80000000u;
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(key >> s));
  for (int s = 24; s >= 8; s -= 8) b.push_back(static_cast<std::uint8_t>(row_ptr >> s));
  b.push_back(static_cast<std::uint8_t>(row_ptr));
  return b;
}

IndexTree WriteIndex(PageFile& file, const std::vector<Bytes>& entries) {
  struct Child { std::uint32_t page; Bytes last; };
  // Pages of one level link to their neighbours.
  auto write_level = [&file](const std::vector<std::uint32_t>& pages, std::size_t i, std::uint8_t type,
                             const std::vector<Bytes>& content, std::uint32_t tail) {
    file.Set(pages[i], IndexPage(type, content, i ? pages[i - 1] : 0, i + 1 < pages.size() ? pages[i + 1] : 0, tail));
  };
  IndexTree tree;
  std::vector<Child> level;
  const auto leaf_sizes = Groups(entries.size(), kIndexSpace / kLeafEntry);
  std::vector<std::uint32_t> pages = NewPages(file, leaf_sizes.size());
  std::size_t at = 0;
  for (std::size_t i = 0; i < leaf_sizes.size(); ++i) {
    const std::vector<Bytes> leaf(entries.begin() + at, entries.begin() + at + leaf_sizes[i]);
    at += leaf_sizes[i];
    write_level(pages, i, kIndexLeafPage, leaf, 0);
    level.push_back({pages[i], leaf.empty() ? Bytes{} : leaf.back()});
  }
  tree.pages = pages;
  while (level.size() > 1) {
    const auto sizes = Groups(level.size(), kIndexSpace / kNodeEntry + 1);  // entries + the tail
    pages = NewPages(file, sizes.size());
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
      write_level(pages, i, kIndexNodePage, node, tail.page);
      up.push_back({pages[i], tail.last});
    }
    tree.pages.insert(tree.pages.end(), pages.begin(), pages.end());
    level = std::move(up);
  }
  tree.root = level.front().page;
  return tree;
}

}  // namespace jet::write
