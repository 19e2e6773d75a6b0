// A table definition (TDEF): columns, real indexes (B-trees) and logical
// (named) indexes, read from its chain of definition pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/pager.h"

namespace jet {

struct ColumnDef {
  ColumnInfo info;
  uint16_t var_index = 0;     // slot in the row's variable-offset table
  uint16_t fixed_offset = 0;  // position in the row's fixed area
};

struct RealIndexDef {
  struct Key {
    uint16_t column_number;
    bool ascending;
  };
  std::vector<Key> keys;
  uint32_t root_page = 0;
  uint8_t flags = 0;
};

struct LogicalIndexDef {
  std::u16string name;
  uint32_t real_index = 0;
  uint8_t kind = 0;  // 1 primary key, 2 foreign-key reference, 0 other
};

struct TableDef {
  uint32_t page = 0;
  uint8_t table_type = 0;
  uint16_t num_var_cols = 0;
  uint32_t owned_map = 0;                // row pointer of the owned-pages usage map
  std::vector<ColumnDef> columns;        // by column number
  std::vector<ColumnInfo> column_infos;  // the same, public part
  std::vector<RealIndexDef> real_indexes;
  std::vector<LogicalIndexDef> logical_indexes;
  std::vector<IndexInfo> index_infos;    // one per logical index
};

// Reads the definition starting at `page`, following continuation pages.
Result<TableDef> ReadTableDef(Pager& pager, uint32_t page);

// Decodes a name in a definition (Jet 3: code page bytes; Jet 4: UCS-2).
std::u16string DecodeName(const Format& format, const uint8_t* data, size_t size, uint16_t code_page);

// Position in `columns` of the column with this name, ASCII case ignored.
int FindColumnByName(const std::vector<ColumnInfo>& columns, std::u16string_view name);
bool NamesEqual(std::u16string_view a, std::u16string_view b);

}  // namespace jet
