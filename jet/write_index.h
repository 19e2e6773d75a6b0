// The writer's index: a B-tree over the autonumber Long key, ascending.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/value.h"
#include "jet/write_pages.h"

namespace jet::write {

// Leaf entry of an ascending Long key: flag 7F, the key big-endian with its
// sign bit flipped (so bytes sort as numbers do), then the row's page
// (3 bytes) and row number, also big-endian.
Bytes LeafEntry(std::int32_t id, std::uint32_t row_ptr);

struct IndexTree {
  std::uint32_t root = 0;
  std::vector<std::uint32_t> pages;  // every page of the tree, leaves first
};

// Writes the tree over entries already in key order onto new pages of
// `file`. Leaves hold every entry; each node level names each child but the
// last by its greatest entry and the last through the tail pointer, as
// Access does. An empty index is one empty leaf.
IndexTree WriteIndex(PageFile& file, const std::vector<Bytes>& entries);

}  // namespace jet::write
