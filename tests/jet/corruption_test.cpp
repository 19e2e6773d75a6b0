// Damaged files: truncated, bit-flipped, looping or encrypted. The reader
// must answer each with a status or a result, never a crash or a hang (the
// sanitizers of the host build watch for the rest).
#include <random>

#include "base/utf.h"
#include "fuzz/fuzz_input.h"
#include "jet/pager.h"
#include "tests/jet/fixtures.h"
#include "tools/mdbtool/export.h"

namespace {

using Bytes = std::vector<uint8_t>;

size_t PageSize(const Bytes& file) { return file.at(0x14) == 0 ? 2048 : 4096; }

// Opens and reads everything the fuzz target reads; false when opening failed.
bool ReadAll(Bytes bytes) {
  auto db = jet::Database::OpenFromMemory(std::move(bytes));
  if (!db.ok()) {
    EXPECT_FALSE(db.status().message().empty());
    return false;
  }
  fuzz::Exercise(*db);
  return true;
}

std::string ExportAll(Bytes bytes) {
  auto db = jet::Database::OpenFromMemory(std::move(bytes));
  if (!db.ok()) return "error: " + db.status().ToString();
  std::string out;
  auto names = db->TableNames();
  if (!names.ok()) return "error";
  for (const auto& name : *names) {
    auto t = db->OpenTable(base::Utf16ToUtf8(name));
    if (!t.ok()) return "error: " + t.status().ToString();
    if (!mdbtool::ExportCsv(*t, out).ok()) return "error";
  }
  return out;
}

void PutU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + static_cast<size_t>(i)) = static_cast<uint8_t>(v >> (8 * i));
}

class DamagedSample : public testing::TestWithParam<std::string> {};

TEST_P(DamagedSample, TruncatedAnywhereGivesAStatusOrAResult) {
  const Bytes file = jettest::ReadBytes(jettest::Sample(GetParam()));
  const size_t ps = PageSize(file);
  std::vector<size_t> lengths = {0, 1, 0x17, 0x18, 0x98, ps - 1, ps, ps + 1, file.size() - 1};
  for (size_t p = 2; p * ps < file.size(); p += 3) lengths.insert(lengths.end(), {p * ps, p * ps + ps / 2});
  for (size_t n : lengths) {
    SCOPED_TRACE(n);
    const bool opened = ReadAll(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min(n, file.size()))));
    if (n < ps) {
      EXPECT_FALSE(opened);
    }
  }
}

TEST_P(DamagedSample, FlippedBytesOnEveryPageGiveAStatusOrAResult) {
  const Bytes file = jettest::ReadBytes(jettest::Sample(GetParam()));
  const size_t ps = PageSize(file);
  std::mt19937 rng(7);
  for (size_t page = 0; page * ps < file.size(); ++page) {
    Bytes damaged = file;
    for (int k = 0; k < 6; ++k) {
      const size_t at = page * ps + rng() % ps;
      damaged[at] = static_cast<uint8_t>(damaged[at] ^ (1u << (rng() % 8)));
    }
    // The header structure and the first slots matter most: hit them too.
    damaged[page * ps + 2 + rng() % 0x40] ^= 0xFF;
    SCOPED_TRACE(page);
    (void)ReadAll(std::move(damaged));
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, DamagedSample, testing::ValuesIn(jettest::SampleNames()));

TEST(Damaged, HeaderOfAnotherKindIsRefused) {
  Bytes file = jettest::ReadBytes(jettest::Sample("functionsV2000"));
  Bytes wrong_type = file;
  wrong_type[0] = 0x01;
  EXPECT_EQ(jet::Database::OpenFromMemory(wrong_type).status().code(), jet::StatusCode::kCorruption);
  Bytes ace = file;
  ace[0x14] = 3;
  EXPECT_EQ(jet::Database::OpenFromMemory(ace).status().code(), jet::StatusCode::kUnsupported);
  Bytes odd = file;
  odd[0x14] = 0x47;
  EXPECT_EQ(jet::Database::OpenFromMemory(odd).status().code(), jet::StatusCode::kCorruption);
}

TEST(Damaged, DefinitionChainPointingAtItselfIsCorruption) {
  Bytes file = jettest::ReadBytes(jettest::Sample("functionsV2000"));
  PutU32(file, 2 * 4096 + 4, 2);  // the catalog definition continues on itself
  auto db = jet::Database::OpenFromMemory(file);
  EXPECT_EQ(db.status().code(), jet::StatusCode::kCorruption);
  EXPECT_NE(db.status().message().find("page 2"), std::string::npos) << db.status().message();
}

TEST(Damaged, IndexLeafChainLoopIsCorruption) {
  // The descending index's leaves are pages 32 and 33; make 33 lead back to 32.
  Bytes file = jettest::ReadBytes(jettest::Sample("compIndexTestV2000"));
  PutU32(file, 33 * 4096 + 0x10, 32);
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok());
  auto t = db->OpenTable("Table1");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t->SetIndex("CD_AGENTE").code(), jet::StatusCode::kCorruption);
  // The storage order is untouched by a broken index.
  EXPECT_EQ(*t->RecordCount(), 512u);
}

TEST(Damaged, IndexMissingRecordsIsRefusedRatherThanMisnumbered) {
  // Clear the entry bitmap of the last leaf (2 of the 512 entries).
  Bytes file = jettest::ReadBytes(jettest::Sample("compIndexTestV2000"));
  std::fill(file.begin() + 33 * 4096 + 0x1B, file.begin() + 33 * 4096 + 0x1E0, 0);
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok());
  auto t = db->OpenTable("Table1");
  ASSERT_TRUE(t.ok());
  const jet::Status s = t->SetIndex("CD_AGENTE");
  EXPECT_EQ(s.code(), jet::StatusCode::kCorruption);
  EXPECT_NE(s.message().find("510 records"), std::string::npos) << s.message();
}

TEST(Damaged, IndexEntryPointingAtAnotherRowIsRefused) {
  // The first entry of leaf 32 holds its row pointer in its last 4 bytes;
  // make it name row 200 of its page, which does not exist.
  Bytes file = jettest::ReadBytes(jettest::Sample("compIndexTestV2000"));
  const size_t leaf = 32 * 4096;
  size_t end = 0;
  for (size_t bit = 0; bit < (0x1E0 - 0x1B) * 8; ++bit)
    if (file[leaf + 0x1B + bit / 8] >> (bit % 8) & 1) {
      end = 0x1E0 + bit;
      break;
    }
  ASSERT_GT(end, 0x1E0u + 4);
  file[leaf + end - 1] = 200;
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok());
  auto t = db->OpenTable("Table1");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t->SetIndex("CD_AGENTE").code(), jet::StatusCode::kCorruption);
}

TEST(Damaged, IndexPageOfAnotherTableIsCorruption) {
  Bytes file = jettest::ReadBytes(jettest::Sample("compIndexTestV2000"));
  PutU32(file, 32 * 4096 + 4, 3);  // owner field of a leaf
  auto db = jet::Database::OpenFromMemory(file);
  ASSERT_TRUE(db.ok());
  auto t = db->OpenTable("Table1");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t->SetIndex("CD_AGENTE").code(), jet::StatusCode::kCorruption);
}

TEST(Damaged, EncryptedPagesReadLikeThePlainFile) {
  // A non-zero database key means every page but 0 is RC4-encrypted with
  // key (database key XOR page number).
  const Bytes plain = jettest::ReadBytes(jettest::Sample("functionsV2000"));
  Bytes enc = plain;
  const uint8_t header_key[4] = {0xC7, 0xDA, 0x39, 0x6B};
  jet::Rc4Apply(header_key, 4, enc.data() + 0x18, 128);
  const uint32_t db_key = 0x1234ABCD;
  PutU32(enc, 0x3E, db_key);
  jet::Rc4Apply(header_key, 4, enc.data() + 0x18, 128);
  for (uint32_t p = 1; p * 4096 < enc.size(); ++p) {
    const uint32_t k = db_key ^ p;
    const uint8_t key[4] = {static_cast<uint8_t>(k), static_cast<uint8_t>(k >> 8), static_cast<uint8_t>(k >> 16),
                            static_cast<uint8_t>(k >> 24)};
    jet::Rc4Apply(key, 4, enc.data() + size_t{p} * 4096, 4096);
  }
  const std::string expected = ExportAll(plain);
  EXPECT_EQ(expected.rfind("error", 0), std::string::npos);
  EXPECT_EQ(ExportAll(enc), expected);
}

TEST(Damaged, FailingReadsAreIoErrors) {
  class FailingSource final : public jet::ByteSource {
   public:
    explicit FailingSource(Bytes b) : bytes_(std::move(b)) {}
    uint64_t Size() const override { return bytes_.size(); }
    jet::Status Read(uint64_t offset, uint8_t* out, size_t n) override {
      if (offset >= 3 * 4096) return jet::Status::IoError("disk gone");
      std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
                bytes_.begin() + static_cast<std::ptrdiff_t>(offset + n), out);
      return jet::Status::Ok();
    }
    Bytes bytes_;
  };
  auto db = jet::Database::OpenFromSource(
      std::make_unique<FailingSource>(jettest::ReadBytes(jettest::Sample("functionsV2000"))));
  EXPECT_EQ(db.status().code(), jet::StatusCode::kIoError);
}

// Every input the fuzzer ever found a fault with is kept in
// tests/jet/fuzz_regressions/ and must read without one.
TEST(FuzzRegressions, KeptFindingsReadCleanly) {
  const auto dir = jettest::SourceDir() / "tests" / "jet" / "fuzz_regressions";
  ASSERT_TRUE(std::filesystem::is_directory(dir));
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const Bytes input = jettest::ReadBytes(entry.path());
    (void)ReadAll(fuzz::ExpandInput(input.data(), input.size()));
    ++n;
  }
  EXPECT_GT(n, 0u);
}

}  // namespace
