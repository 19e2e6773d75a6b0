// Long values: where a memo's bytes go, beside the row or on LVAL pages.
#pragma once

#include "jet/value.h"
#include "jet/write_pages.h"

namespace jet::write {

// The memo's 12-byte header for the row: kind and length, then the pointer
// to its first LVAL row. Short data follows the header inline; longer data
// is placed in one LVAL row of `lv`, or a chain of them.
Bytes PlaceMemo(Bytes data, RowPacker& lv);

}  // namespace jet::write
