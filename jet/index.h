// Index B-trees: the rows of a table in the order of one real index, read
// from the leaf pages left to right.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/pager.h"
#include "jet/table_def.h"

namespace jet {

// Row pointers (page << 8 | row) in index order. The walk descends from the
// root along each node's first child to the leftmost leaf, then follows the
// leaves' next-page links; that reaches the rightmost leaves too, which
// their parents name only in a tail field. Every index page is visited at
// most once.
Result<std::vector<uint32_t>> ReadIndexRows(Pager& pager, const TableDef& def, const RealIndexDef& index);

}  // namespace jet
