// Text and Binary columns marked fixed-length: their values sit at the full
// declared width in the row's fixed area (Jet 3: code-page bytes; Jet 4:
// UCS-2, possibly compressed) and read as mdbtools and mdb-reader read them.
#include "jet/writer.h"
#include "tests/jet/patching.h"

namespace {

using namespace jettest;

// Where a column's descriptor lies in the file (definitions of one page).
struct Descriptor {
  size_t at = 0;                 // its first byte, the type
  size_t fixed_offset = 0, length = 0;  // where those fields lie
};

Descriptor FindDescriptor(const Bytes& file, uint32_t tdef_page, uint16_t number) {
  const bool j3 = Jet3(file);
  const size_t base = tdef_page * PageSize(file);
  const uint16_t columns = U16(file, base + (j3 ? 0x19 : 0x2D));
  const uint32_t real_indexes = U32(file, base + (j3 ? 0x1F : 0x33));
  size_t at = base + (j3 ? 0x2B + 8 * real_indexes : 0x3F + 12 * real_indexes);
  for (uint16_t i = 0; i < columns; ++i, at += j3 ? 18 : 25) {
    if (U16(file, at + (j3 ? 1 : 5)) != number) continue;
    return j3 ? Descriptor{at, at + 0x0E, at + 0x10} : Descriptor{at, at + 0x15, at + 0x17};
  }
  ADD_FAILURE() << "no column " << number << " on page " << tdef_page;
  return {};
}

// The field of a fixed column in the row starting at `row`.
uint8_t* FixedField(Bytes& file, size_t row, const Descriptor& d) {
  return &file.at(row + (Jet3(file) ? 1 : 2) + U16(file, d.fixed_offset));
}

// ---- Jet 4, written by our writer ------------------------------------------

constexpr uint32_t kWrittenTdef = 4;  // where the writer puts the table's definition

Bytes WrittenCodes() {
  jet::WriterTable t;
  t.name = "codes";
  t.columns = {{"symbol", jet::ColumnType::kText, 6, true}, {"Name", jet::ColumnType::kText, 20}};
  const char* symbols[] = {"Fe", "Желязо", "", "abcdef", nullptr};
  for (int i = 0; i < 5; ++i) {
    jet::WriterRow r;
    r.id = i + 1;
    r.values = {symbols[i] ? jet::WriterValue(std::string(symbols[i])) : jet::WriterValue(),
                std::string("name ") + std::to_string(i + 1)};
    t.rows.push_back(std::move(r));
  }
  jet::WriteResult w = jet::WriteDatabase(t);
  EXPECT_TRUE(w.ok) << w.error;
  return w.bytes;
}

TEST(FixedText, Jet4ValuesReadAtTheirFullWidth) {
  const Bytes file = WrittenCodes();
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok()) << db.status().ToString();
  auto t = db->OpenTable("codes");
  ASSERT_TRUE(t.ok());
  EXPECT_TRUE(t->Columns()[1].fixed);
  EXPECT_FALSE(t->Columns()[2].fixed);
  const std::vector<std::string> expected = {"Fe    ", "Желязо", "      ", "abcdef"};
  for (size_t i = 0; i < 5; ++i, (void)t->MoveNext()) {
    SCOPED_TRACE(i);
    auto symbol = t->Field("symbol");
    ASSERT_TRUE(symbol.ok()) << symbol.status().ToString();
    if (i < expected.size()) {
      EXPECT_EQ(symbol->ToUtf8(), expected[i]);
    } else {
      EXPECT_TRUE(symbol->IsNull());
    }
    // The variable column beside it keeps its own value.
    EXPECT_EQ(t->Field("Name")->ToUtf8(), "name " + std::to_string(i + 1));
  }
}

TEST(FixedText, Jet4CompressedAndZeroPaddedValues) {
  Bytes file = WrittenCodes();
  const Descriptor d = FindDescriptor(file, kWrittenTdef, 1);
  const auto rows = RowStarts(file, kWrittenTdef);
  ASSERT_EQ(rows.size(), 5u);
  // Row 1: "Fe" and zero bytes. Row 4: compressed "xyz", padded with spaces.
  std::fill_n(FixedField(file, rows[0], d) + 4, 8, 0);
  const uint8_t compressed[12] = {0xFF, 0xFE, 'x', 'y', 'z', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  std::copy(compressed, compressed + 12, FixedField(file, rows[3], d));
  const std::string ours = OurExport(file, "codes");
  EXPECT_EQ(ours,
            "ID,symbol,Name\n1,\"Fe\",\"name 1\"\n2,\"Желязо\",\"name 2\"\n3,\"      \",\"name 3\"\n"
            "4,\"xyz       \",\"name 4\"\n5,<NULL>,\"name 5\"\n");
  if (oracle::HaveMdbTools()) {
    EXPECT_EQ(ours, MdbExport(file, "codes").value_or("mdb-export failed"));
  }
}

TEST(FixedText, Jet4ReadsLikeTheOracles) {
  const Bytes file = WrittenCodes();
  if (oracle::HaveMdbTools()) {
    EXPECT_EQ(OurExport(file, "codes"), MdbExport(file, "codes").value_or("mdb-export failed"));
  }
  if (auto theirs = MdbReaderRows(file, "codes")) {
    EXPECT_EQ(OurJsonRows(file, "codes"), *theirs);
  }
}

TEST(FixedText, WidthBeyondTheRowIsCorruptionNotACrash) {
  Bytes file = WrittenCodes();
  PutU16(file, FindDescriptor(file, kWrittenTdef, 1).length, 0x0FF0);
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok());
  auto t = db->OpenTable("codes");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t->Field("symbol").status().code(), jet::StatusCode::kCorruption);
  EXPECT_EQ(t->Row().status().code(), jet::StatusCode::kCorruption);
  EXPECT_EQ(t->Field("Name")->ToUtf8(), "name 1");
}

// ---- Jet 3: a sample whose GUID column is made a fixed Text(16) -------------

constexpr uint32_t kTable13Tdef = 101;  // testIndexCodesV1997, table Table13 (name, data GUID)

// The sample with Table13.data turned into a fixed-length Text(16) column and
// each row's 16 bytes replaced: "r<k> " plus 0xC6 0xE5 (Æå in Windows-1252,
// Же in 1251), padded with spaces; the third row with zero bytes instead.
Bytes Jet3Codes(size_t* row_count) {
  Bytes file = jettest::ReadBytes(jettest::Sample("testIndexCodesV1997"));
  const Descriptor d = FindDescriptor(file, kTable13Tdef, 1);
  EXPECT_EQ(file.at(d.at), 0x0F) << "Table13.data is no longer the GUID column";
  EXPECT_EQ(U16(file, d.length), 16);
  file.at(d.at) = 0x0A;
  const auto rows = RowStarts(file, kTable13Tdef);
  for (size_t k = 0; k < rows.size(); ++k) {
    std::string text = "r" + std::to_string(k) + " \xC6\xE5";
    text.resize(16, k == 2 ? '\0' : ' ');
    std::copy(text.begin(), text.end(), FixedField(file, rows[k], d));
  }
  *row_count = rows.size();
  return file;
}

std::string Jet3Expected(size_t k, const std::string& letters) {
  std::string text = "r" + std::to_string(k) + " " + letters;
  if (k != 2) text += std::string(12 - std::to_string(k).size(), ' ');  // 16 bytes in the file
  return text;
}

TEST(FixedText, Jet3ValuesReadInTheFilesCodePage) {
  size_t count = 0;
  const Bytes file = Jet3Codes(&count);
  ASSERT_EQ(count, 20u);
  for (uint16_t code_page : {0, 1251}) {
    SCOPED_TRACE(code_page);
    jet::OpenOptions options;
    options.jet3_code_page = code_page;
    auto db = jet::Database::OpenFromMemory(file, options);
    ASSERT_TRUE(db.ok());
    auto t = db->OpenTable("Table13");
    ASSERT_TRUE(t.ok());
    EXPECT_TRUE(t->Columns()[1].fixed);
    for (size_t k = 0; k < count; ++k, (void)t->MoveNext()) {
      auto v = t->Field("data");
      ASSERT_TRUE(v.ok()) << v.status().ToString();
      EXPECT_EQ(v->ToUtf8(), Jet3Expected(k, code_page ? "Же" : "Æå")) << k;
    }
  }
}

TEST(FixedText, Jet3ReadsLikeTheOracles) {
  size_t count = 0;
  const Bytes file = Jet3Codes(&count);
  if (oracle::HaveMdbTools()) {
    EXPECT_EQ(OurExport(file, "Table13"), MdbExport(file, "Table13").value_or("mdb-export failed"));
  }
  // mdb-reader keeps the zero bytes of the third row as characters.
  if (auto theirs = MdbReaderRows(file, "Table13")) {
    auto ours = OurJsonRows(file, "Table13");
    ASSERT_EQ(ours.size(), theirs->size());
    for (size_t k = 0; k < ours.size(); ++k) {
      if (k == 2) continue;
      EXPECT_EQ(ours[k], (*theirs)[k]) << k;
    }
  }
}

// A real file: Access 97 keeps MSysAccessObjects.Data as a fixed Binary(241).
TEST(FixedBinary, Jet3SystemTableReadsAllItsBytes) {
  jet::Database db = jettest::OpenSample("test2V1997");
  auto t = db.OpenTable("MSysAccessObjects");
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  ASSERT_EQ(*t->RecordCount(), 50u);
  for (; !t->Eof(); (void)t->MoveNext()) {
    auto data = t->Field("Data");
    ASSERT_TRUE(data.ok()) << data.status().ToString();
    ASSERT_TRUE(data->Is<jet::Bytes>());
    EXPECT_EQ(data->Get<jet::Bytes>().size(), 241u);
  }
  ASSERT_JET_OK(t->MoveFirst());
  // As mdb-reader reads the first record.
  EXPECT_EQ(t->Field("Data")->ToUtf8().substr(0, 40), "05000000002E000030303301787E300101000000");
}

}  // namespace
