// The writer's pages: handing out page numbers, packing rows onto data
// pages, and the usage maps that tell a reader which pages belong to what.
//
// Page plan: 0 the header, 1 the global usage map, 2 the catalog's
// definition, 3 its rows, 4 the user table's definition; every later page
// is handed out in the order it is asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/format.h"
#include "jet/value.h"

namespace jet::write {

inline constexpr std::size_t kPageSize = kJet4Format.page_size;
inline constexpr std::size_t kDataHeader = kJet4Format.data_first_slot;  // before the slot table
inline constexpr std::size_t kMaxRow = kPageSize - kDataHeader - 2;      // a row alone on a page
inline constexpr std::uint32_t kCatalogRowsPage = 3;
inline constexpr std::uint32_t kUserTdefPage = 4;
inline constexpr std::uint32_t kFirstFreePage = 5;
inline constexpr std::uint32_t kLvalOwner = 0x4C41564C;  // "LVAL": long-value pages

// A data page under construction: rows are kept apart until the page is
// written so that a reserved row can be filled in later (LVAL chains).
struct DataPage {
  std::uint32_t number = 0;
  std::uint32_t owner = 0;
  std::vector<Bytes> rows;
  std::size_t used = 0;

  bool Fits(std::size_t len) const;
  void Add(Bytes row);
  Bytes Render() const;
};

// Page numbers are handed out in order; every page is rendered at the end.
class PageFile {
 public:
  PageFile() : pages_(kFirstFreePage) {}
  std::uint32_t NewPage();
  std::uint32_t Count() const { return static_cast<std::uint32_t>(pages_.size()); }
  void Set(std::uint32_t page, Bytes bytes) { pages_[page] = std::move(bytes); }
  Bytes Join() const;

 private:
  std::vector<Bytes> pages_;
};

// Packs rows of one owner onto consecutive pages of their own.
class RowPacker {
 public:
  RowPacker(PageFile& file, std::uint32_t owner) : file_(file), owner_(owner) {}
  // Returns the row pointer; the row may be replaced later by one of equal size.
  std::uint32_t Add(Bytes row);
  void Replace(std::uint32_t ptr, Bytes row);
  std::vector<std::uint32_t> PageNumbers() const;
  void Render() const;

 private:
  PageFile& file_;
  std::uint32_t owner_;
  std::vector<DataPage> pages_;
};

// An inline-bitmap usage map row listing `pages`, which must lie at or after
// `first`. `set_beyond` marks every page from there on instead (the global
// map's inverted sense: a set bit means free). Empty when the map would not
// fit half a page.
std::optional<Bytes> UsageMap(std::uint32_t first, const std::vector<std::uint32_t>& pages,
                              std::optional<std::uint32_t> set_beyond = std::nullopt);

// Page 1: the global map, then a second map Access keeps there, all zeros.
std::optional<Bytes> GlobalMapPage(std::uint32_t page_count);

}  // namespace jet::write
