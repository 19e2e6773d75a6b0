#include "jet/write_tdef.h"

#include <cstring>

#include "jet/pager.h"
#include "jet/text.h"
#include "jet/write_bytes.h"
#include "jet/write_pages.h"

namespace jet::write {
namespace {

constexpr const Format& kF = kJet4Format;
// Numbers Access writes in several places of a definition; readers skip them.
constexpr std::uint32_t kTdefMagic = 1625;
constexpr std::uint32_t kIndexMagic = 1923;
constexpr std::uint16_t kGeneralSortOrder = 0x0409;
constexpr std::uint32_t kTablesContainerId = 0x0F000001;
constexpr std::uint32_t kRootId = 0x0F000000;
constexpr std::uint32_t kSystemFlag = 0x80000000;
constexpr std::uint16_t kTableObject = 1;
constexpr std::uint16_t kContainerObject = 3;

void AddName(Bytes& b, const std::u16string& name) {
  AddU16(b, static_cast<std::uint32_t>(name.size() * 2));
  for (char16_t c : name) AddU16(b, c);
}

void AddColumn(Bytes& t, const ColDef& c) {
  AddU8(t, c.type);
  AddU32(t, kTdefMagic);
  AddU16(t, c.number);
  AddU16(t, c.var_index);
  AddU16(t, c.number);
  AddU16(t, kGeneralSortOrder);
  AddU8(t, 0);
  AddU8(t, 0);  // sort-order version: General (legacy)
  AddU8(t, c.flags);
  AddU8(t, c.extra_flags);
  AddU32(t, 0);
  AddU16(t, c.fixed ? c.fixed_offset : 0);
  AddU16(t, c.length);
}

// The real index over column 0, then its logical index: number 0 over real
// index 0, so every reader pairs them alike.
void AddIndex(Bytes& t, const IndexDef& index) {
  AddU32(t, kIndexMagic);
  AddU16(t, 0);  // column 0, ascending
  AddU8(t, 0x01);
  for (int slot = 1; slot < 10; ++slot) {
    AddU16(t, 0xFFFF);
    AddU8(t, 0);
  }
  AddU32(t, index.map_ptr);
  AddU32(t, index.root);
  AddU32(t, 0);
  AddU8(t, 0x89);  // primary key: unique + required, as Access marks it
  for (int i = 0; i < 5; ++i) AddU8(t, 0);
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
  AddName(t, index.name);
}

Bytes CatalogRow(const Layout& l, std::uint32_t id, std::uint32_t parent, const std::u16string& name,
                 std::uint16_t type, std::uint32_t flags, double created) {
  std::vector<Cell> cells(l.cols.size());
  cells[0] = LongCell(id);
  cells[1] = LongCell(parent);
  cells[2] = Cell{true, EncodeUcs2(name)};
  cells[3] = Cell{true, {static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(type >> 8)}};
  for (int i : {4, 5}) {
    cells[i].present = true;
    AddF64(cells[i].bytes, created);
  }
  cells[7] = LongCell(flags);
  return EncodeRow(l, cells);
}

}  // namespace

std::optional<Bytes> EncodeTdef(const TdefInput& in) {
  const Layout& l = *in.layout;
  Bytes t(kF.tdef_variable_part, 0);
  t[0] = kTdefPage;
  t[1] = 0x01;
  PutU32(t, 0x0C, kTdefMagic);
  PutU32(t, 0x10, in.rows);
  PutU32(t, 0x14, in.autonumber);
  t[0x18] = 0x01;  // Access sets it; Jackcess says autonumbering needs it
  t[kF.tdef_table_type] = in.table_type;
  PutU16(t, kF.tdef_table_type + 1, static_cast<std::uint32_t>(l.cols.size()));  // columns ever made
  PutU16(t, kF.tdef_num_var_cols, static_cast<std::uint32_t>(l.var_count));
  PutU16(t, kF.tdef_num_cols, static_cast<std::uint32_t>(l.cols.size()));
  const std::uint32_t nidx = in.index ? 1 : 0;
  PutU32(t, kF.tdef_num_logical, nidx);
  PutU32(t, kF.tdef_num_real, nidx);
  PutU32(t, kF.tdef_owned_map, in.owned_ptr);
  PutU32(t, kF.tdef_owned_map + 4, in.free_ptr);
  if (in.index) {  // statistics: rows, distinct keys (all distinct: unique index), 0
    AddU32(t, in.rows);
    AddU32(t, in.rows);
    AddU32(t, 0);
  }
  for (const auto& c : l.cols) AddColumn(t, c);
  for (const auto& c : l.cols) AddName(t, c.name);
  if (in.index) AddIndex(t, *in.index);
  for (const auto& m : in.lv_maps) {
    AddU16(t, m.column);
    AddU32(t, m.owned);
    AddU32(t, m.free);
  }
  AddU16(t, 0xFFFF);
  if (t.size() + 8 > kPageSize) return std::nullopt;
  PutU32(t, 0x08, static_cast<std::uint32_t>(t.size()));
  PutU16(t, 0x02, static_cast<std::uint32_t>(kPageSize - t.size() - 8));
  t.resize(kPageSize, 0);
  return t;
}

Bytes HeaderPage(double created) {
  Bytes p(kPageSize, 0);
  p[1] = 0x01;
  const char engine[] = "Standard Jet DB";
  std::memcpy(&p[4], engine, sizeof engine - 1);
  PutU32(p, kHeaderVersion, 1);  // Jet 4
  // Constant in every Access file; meaning unknown.
  const std::uint8_t fixed[24] = {0, 1, 0, 0, 1, 1, 0, 0, 2, 0, 0, 0,
                                  3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0};
  std::memcpy(&p[kHeaderEncrypted], fixed, sizeof fixed);
  PutU16(p, kHeaderCodePage, 1252);
  // An empty password is stored as the mask itself: the creation day, repeated.
  const auto day = static_cast<std::uint32_t>(created);
  for (std::size_t i = 0; i < 40; i += 4) PutU32(p, 0x42 + i, day);
  PutU16(p, 0x6E, kGeneralSortOrder);
  std::memcpy(&p[0x72], &created, sizeof created);
  Rc4Apply(kHeaderKey, sizeof kHeaderKey, &p[kHeaderEncrypted], kF.rc4_region_size);
  const std::uint8_t tail[8] = {0x54, 0x06, 0, 0, 0x34, 0x2E, 0x30, 0};  // as Access leaves it
  std::memcpy(&p[0x98], tail, sizeof tail);
  return p;
}

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

std::optional<Bytes> CatalogRowsPage(const Layout& catalog, const std::u16string& table_name, double created) {
  DataPage page;
  page.number = kCatalogRowsPage;
  page.owner = kCatalogPage;
  for (Bytes r : {CatalogRow(catalog, kTablesContainerId, kRootId, u"Tables", kContainerObject, kSystemFlag, created),
                  CatalogRow(catalog, kCatalogPage, kTablesContainerId, u"MSysObjects", kTableObject, kSystemFlag, created),
                  CatalogRow(catalog, kUserTdefPage, kTablesContainerId, table_name, kTableObject, 0, created)}) {
    if (!page.Fits(r.size())) return std::nullopt;
    page.Add(std::move(r));
  }
  return page.Render();
}

}  // namespace jet::write
