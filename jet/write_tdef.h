// The definitions the writer puts on fixed pages: page 0 (the database
// header), the table definitions, and the catalog (MSysObjects) with its
// rows naming the user table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/write_row.h"

namespace jet::write {

struct IndexDef {
  std::u16string name;
  std::uint32_t map_ptr = 0;  // row pointer of the index's usage map
  std::uint32_t root = 0;
};

struct LvMaps {
  std::uint32_t column = 0;  // column number of a Memo/OLE column
  std::uint32_t owned = 0;   // row pointers of its two usage maps
  std::uint32_t free = 0;
};

struct TdefInput {
  std::uint8_t table_type = 0x4E;  // 'N' user table, 'S' system table
  const Layout* layout = nullptr;
  std::uint32_t rows = 0;
  std::uint32_t autonumber = 0;    // the last value handed out
  std::uint32_t owned_ptr = 0;     // row pointers of the table's usage maps
  std::uint32_t free_ptr = 0;
  std::optional<IndexDef> index;   // one unique ascending index over column 0
  std::vector<LvMaps> lv_maps;
};

// The table definition page; empty when it does not fit one page.
std::optional<Bytes> EncodeTdef(const TdefInput& in);

// Page 0 of a Jet 4 file without a password, made on day `created`.
Bytes HeaderPage(double created);

// Access' seventeen MSysObjects columns, in column order.
Layout CatalogLayout();

// Page 3: the catalog's rows (the Tables container, MSysObjects itself and
// the user table); empty when the table's name makes them overflow it.
std::optional<Bytes> CatalogRowsPage(const Layout& catalog, const std::u16string& table_name, double created);

}  // namespace jet::write
