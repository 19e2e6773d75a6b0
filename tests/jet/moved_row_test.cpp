// Rows that Jet moved to another page (a forwarding slot at the old place, the
// row itself flagged as moved): storage order lists them where they now lie,
// as mdbtools and mdb-reader do; index order and field reads are unchanged.
#include "jet/writer.h"
#include "tests/jet/patching.h"

namespace {

using namespace jettest;
using jet::Status;

constexpr size_t kPage = 4096;
constexpr uint32_t kTdef = 4;  // where the writer puts the table's definition

// Moves row `row` of data page `page` to page `to` as Jet does when a row
// outgrows its page: the bytes become a new slot there flagged 0x8000, and
// the old slot, flagged 0x4000, keeps only the pointer to it. A `to` one past
// the end appends a new data page of the table and adds it to the table's
// owned-pages map.
void MoveRow(Bytes& file, uint32_t page, uint8_t row, uint32_t to) {
  const size_t base = page * kPage;
  const uint16_t slot = U16(file, base + 14 + 2 * row);
  const size_t start = slot & 0x1FFF;
  const size_t end = row == 0 ? kPage : U16(file, base + 14 + 2 * (row - 1)) & 0x1FFF;
  const Bytes bytes(file.begin() + static_cast<std::ptrdiff_t>(base + start),
                    file.begin() + static_cast<std::ptrdiff_t>(base + end));
  const size_t tb = to * kPage;
  if (tb == file.size()) {
    file.resize(file.size() + kPage, 0);
    file[tb] = 0x01;
    file[tb + 1] = 0x01;
    PutU16(file, tb + 2, kPage - 14);
    PutU32(file, tb + 4, U32(file, base + 4));
    // The owned-pages map: a type-0 map row (first page, then one bit a page).
    const uint32_t map = U32(file, U32(file, base + 4) * kPage + 0x37);
    const size_t map_page = (map >> 8) * kPage;
    const size_t map_row = map_page + (U16(file, map_page + 14 + 2 * (map & 0xFF)) & 0x1FFF);
    ASSERT_EQ(file[map_row], 0);
    const uint32_t bit = to - U32(file, map_row + 1);
    file.at(map_row + 5 + bit / 8) |= static_cast<uint8_t>(1u << (bit % 8));
  }
  const uint16_t count = U16(file, tb + 12);
  const size_t prev = count == 0 ? kPage : U16(file, tb + 14 + 2 * (count - 1)) & 0x1FFF;
  ASSERT_GE(prev, 14 + 2 * (count + 1u) + bytes.size()) << "no room on page " << to;
  const size_t at = prev - bytes.size();
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(tb + at));
  PutU16(file, tb + 14 + 2 * count, static_cast<uint16_t>(at | 0x8000));
  PutU16(file, tb + 12, static_cast<uint16_t>(count + 1));
  PutU16(file, tb + 2, static_cast<uint16_t>(U16(file, tb + 2) - bytes.size() - 2));
  PutU32(file, base + start, (to << 8) | count);
  PutU16(file, base + 14 + 2 * row, static_cast<uint16_t>(slot | 0x4000));
}

Bytes Written(const std::vector<std::string>& names, int text_chars = 20) {
  jet::WriterTable t;
  t.name = "elements";
  t.columns = {{"Name", jet::ColumnType::kText, text_chars}, {"Other", jet::ColumnType::kText, text_chars}};
  for (size_t i = 0; i < names.size(); ++i) {
    jet::WriterRow r;
    r.id = static_cast<int32_t>(i + 1);
    r.values = {names[i], names[i].size() > 100 ? names[i] : std::string("x")};
    t.rows.push_back(std::move(r));
  }
  jet::WriteResult w = jet::WriteDatabase(t);
  EXPECT_TRUE(w.ok) << w.error;
  return w.bytes;
}

// The table's data pages, ascending.
std::vector<uint32_t> DataPages(const Bytes& file) {
  std::vector<uint32_t> pages;
  for (uint32_t p = 1; (p + 1) * kPage <= file.size(); ++p)
    if (file[p * kPage] == 0x01 && U32(file, p * kPage + 4) == kTdef) pages.push_back(p);
  return pages;
}

std::vector<int32_t> Ids(jet::Table& t) {
  std::vector<int32_t> ids;
  for (Status s = t.MoveFirst(); s.ok(); s = t.MoveNext()) ids.push_back(t.Field("ID")->Get<int32_t>());
  return ids;
}

void ExpectOrder(const Bytes& file, const std::vector<int32_t>& stored, const std::vector<std::string>& names) {
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto t = db->OpenTable("elements");
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_EQ(Ids(*t), stored);
  // The index names moved rows by their old slot, and still lists every id once.
  ASSERT_JET_OK(t->SetIndex("ID"));
  std::vector<int32_t> ascending(stored.size());
  for (size_t i = 0; i < ascending.size(); ++i) ascending[i] = static_cast<int32_t>(i + 1);
  EXPECT_EQ(Ids(*t), ascending);
  ASSERT_JET_OK(t->MoveFirst());
  for (size_t i = 0; i < names.size(); ++i, (void)t->MoveNext()) {
    EXPECT_EQ(t->Field("Name")->ToUtf8(), names[i]);
  }

  if (oracle::HaveMdbTools()) {
    EXPECT_EQ(OurExport(file, "elements"), MdbExport(file, "elements").value_or("mdb-export failed"));
  }
  if (auto theirs = MdbReaderRows(file, "elements")) {
    EXPECT_EQ(OurJsonRows(file, "elements"), *theirs);
  }
}

TEST(MovedRow, ComesWhereItNowLiesOnALaterPage) {
  const std::vector<std::string> names = {"Водород", "Хелий", "Литий", "Берилий", "Бор", "Въглерод"};
  Bytes file = Written(names);
  const auto pages = DataPages(file);
  ASSERT_EQ(pages.size(), 1u);
  MoveRow(file, pages[0], 2, static_cast<uint32_t>(file.size() / kPage));
  ExpectOrder(file, {1, 2, 4, 5, 6, 3}, names);
}

TEST(MovedRow, ComesWhereItNowLiesOnAnEarlierPage) {
  // Rows of about 1 KB: three fill the first page, the fourth and the small
  // fifth go to the second; the fifth then moves into the first page's room.
  std::string big;
  for (int i = 0; i < 255; ++i) big += "Ж";
  std::vector<std::string> names = {big, big, big, big, "Бор"};
  for (size_t i = 0; i < 4; ++i) names[i].replace(0, 2, std::to_string(i));
  Bytes file = Written(names, 255);
  const auto pages = DataPages(file);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(U16(file, pages[1] * kPage + 12), 2);
  MoveRow(file, pages[1], 1, pages[0]);
  ExpectOrder(file, {1, 2, 3, 5, 4}, names);
}

TEST(MovedRow, TwoSlotsForwardingToOneRowAreCorruption) {
  Bytes file = Written({"a", "b", "c", "d"});
  const uint32_t page = DataPages(file).at(0);
  MoveRow(file, page, 1, static_cast<uint32_t>(file.size() / kPage));
  // Slot 3 now forwards to the same moved row as slot 1.
  const size_t base = page * kPage;
  const size_t one = U16(file, base + 14 + 2) & 0x1FFF, three = U16(file, base + 14 + 6) & 0x1FFF;
  std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(base + one), 4,
              file.begin() + static_cast<std::ptrdiff_t>(base + three));
  PutU16(file, base + 14 + 6, static_cast<uint16_t>(three | 0x4000));
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok());
  EXPECT_EQ(db->OpenTable("elements").status().code(), jet::StatusCode::kCorruption);
}

}  // namespace
