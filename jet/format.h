// Where each field lives in the two on-disk layouts (Jet 3 and Jet 4). The
// descriptor is picked once from the version byte of page 0 and every
// decoder reads its offsets from it.
#pragma once

#include <cstdint>

#include "jet/database.h"

namespace jet {

// What both layouts share: page 0's fixed places, the page types (byte 0 of
// every page) and the catalog's definition page.
inline constexpr uint32_t kHeaderVersion = 0x14;    // u32: 0 Jet 3, 1 Jet 4, 2.. ACE
inline constexpr uint32_t kHeaderEncrypted = 0x18;  // start of the RC4 region
inline constexpr uint32_t kHeaderCodePage = 0x3C;
inline constexpr uint32_t kHeaderDbKey = 0x3E;      // non-zero: every page is encrypted
inline constexpr uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
inline constexpr uint8_t kDataPage = 0x01;
inline constexpr uint8_t kTdefPage = 0x02;
inline constexpr uint8_t kIndexNodePage = 0x03;
inline constexpr uint8_t kIndexLeafPage = 0x04;
inline constexpr uint32_t kCatalogPage = 2;

struct Format {
  JetVersion version;
  uint32_t page_size;
  uint32_t rc4_region_size;  // encrypted bytes of page 0 from 0x18

  // Data pages.
  uint32_t data_owner = 4;
  uint32_t data_row_count;
  uint32_t data_first_slot;

  // Table definition.
  uint32_t tdef_table_type;
  uint32_t tdef_num_var_cols;
  uint32_t tdef_num_cols;
  uint32_t tdef_num_logical;
  uint32_t tdef_num_real;
  uint32_t tdef_owned_map;
  uint32_t tdef_variable_part;
  uint32_t real_index_stats;
  uint32_t column_size;
  uint32_t col_number, col_var_index, col_flags, col_fixed_offset, col_length;
  uint32_t col_precision, col_scale;
  uint32_t name_length_size;  // bytes of a name's length prefix
  uint32_t real_index_size;
  uint32_t real_index_columns, real_index_root, real_index_flags;
  uint32_t logical_index_size;
  uint32_t logical_index_real;
  uint32_t logical_index_type;

  // Index pages.
  uint32_t index_owner = 4;
  uint32_t index_next;
  uint32_t index_tail;
  uint32_t index_prefix;
  uint32_t index_prefix_size;
  uint32_t index_bitmap;
  uint32_t index_entries;

  // Rows: the width of ncols/eod/offsets/nvar fields.
  uint32_t row_count_size;

  bool jet3() const { return version == JetVersion::kJet3; }
};

inline constexpr Format kJet3Format{
    JetVersion::kJet3, 2048, 126,
    4, 0x08, 0x0A,
    0x14, 0x17, 0x19, 0x1B, 0x1F, 0x23, 0x2B, 8, 18,
    0x01, 0x03, 0x0D, 0x0E, 0x10, 0x0B, 0x0C, 1,
    39, 0x00, 0x22, 0x26,
    20, 0x04, 0x13,
    4, 0x0C, 0x10, 0x14, 1, 0x16, 0xF8,
    1};

inline constexpr Format kJet4Format{
    JetVersion::kJet4, 4096, 128,
    4, 0x0C, 0x0E,
    0x28, 0x2B, 0x2D, 0x2F, 0x33, 0x37, 0x3F, 12, 25,
    0x05, 0x07, 0x0F, 0x15, 0x17, 0x0B, 0x0C, 2,
    52, 0x04, 0x26, 0x2E,
    28, 0x08, 0x17,
    4, 0x10, 0x14, 0x18, 2, 0x1B, 0x1E0,
    2};

}  // namespace jet
