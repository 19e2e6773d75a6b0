#include "jet/pager.h"

#include "base/utf.h"
#include "jet/byte_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace jet {
namespace {

class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::vector<uint8_t> bytes)
      : bytes_(std::make_shared<const std::vector<uint8_t>>(std::move(bytes))) {}
  uint64_t Size() const override { return bytes_->size(); }
  Status Read(uint64_t offset, uint8_t* out, size_t n) override {
    if (offset > bytes_->size() || n > bytes_->size() - offset)
      return Status::IoError("read beyond the end of the buffer");
    std::memcpy(out, bytes_->data() + offset, n);
    return Status::Ok();
  }
  const std::shared_ptr<const std::vector<uint8_t>>* Memory() const override { return &bytes_; }

 private:
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
};

// A C stream rather than std::ifstream: the iostreams and locale machinery
// would more than double the size of every program that reads a database.
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

bool SeekTo(std::FILE* f, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::optional<uint64_t> SizeOf(std::FILE* f) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return std::nullopt;
  long long end = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return std::nullopt;
  off_t end = ftello(f);
#endif
  if (end < 0) return std::nullopt;
  return static_cast<uint64_t>(end);
}

class FileByteSource final : public ByteSource {
 public:
  FileByteSource(UniqueFile in, uint64_t size) : in_(std::move(in)), size_(size) {}
  uint64_t Size() const override { return size_; }
  Status Read(uint64_t offset, uint8_t* out, size_t n) override {
    if (offset > size_ || n > size_ - offset) return Status::IoError("read beyond the end of the file");
    if (!SeekTo(in_.get(), offset) || std::fread(out, 1, n, in_.get()) != n) {
      std::clearerr(in_.get());
      return Status::IoError("cannot read the file");
    }
    return Status::Ok();
  }

 private:
  UniqueFile in_;
  uint64_t size_;
};

// Pages kept in memory at most; beyond this the cache starts afresh, which
// bounds memory on big files while a sequential scan still reads each page
// once.
constexpr size_t kCachePages = 4096;

}  // namespace

std::unique_ptr<ByteSource> MemorySource(std::vector<uint8_t> bytes) {
  return std::make_unique<MemoryByteSource>(std::move(bytes));
}

Result<std::unique_ptr<ByteSource>> FileSource(const std::filesystem::path::string_type& name) {
  // Opened for reading without denying others read or write access (the
  // C runtime's default sharing), which read-only shared opening needs.
#ifdef _WIN32
  UniqueFile in(_wfopen(name.c_str(), L"rb"));
  if (!in) return Status::IoError("cannot open " + base::WideToUtf8(name));
#else
  UniqueFile in(std::fopen(name.c_str(), "rb"));
  if (!in) return Status::IoError("cannot open " + name);
#endif
  std::optional<uint64_t> size = SizeOf(in.get());
  if (!size) return Status::IoError("cannot read the file size");
  return std::unique_ptr<ByteSource>(std::make_unique<FileByteSource>(std::move(in), *size));
}

void Rc4Apply(const uint8_t* key, size_t key_size, uint8_t* data, size_t n) {
  uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<uint8_t>(j + s[i] + key[static_cast<size_t>(i) % key_size]);
    std::swap(s[i], s[j]);
  }
  uint8_t a = 0, b = 0;
  for (size_t k = 0; k < n; ++k) {
    a = static_cast<uint8_t>(a + 1);
    b = static_cast<uint8_t>(b + s[a]);
    std::swap(s[a], s[b]);
    data[k] ^= s[static_cast<uint8_t>(s[a] + s[b])];
  }
}

Result<std::unique_ptr<Pager>> Pager::Create(std::unique_ptr<ByteSource> source, uint16_t code_page_override) {
  const uint64_t size = source->Size();
  if (size < 0x18 + 128) return Status::Corruption(0, 0, "file too short for a database header");
  uint8_t head[kHeaderEncrypted];
  JET_RETURN_IF_ERROR(source->Read(0, head, sizeof head));
  if (head[0] != 0x00 || head[1] != 0x01) return Status::Corruption(0, 0, "not a Jet database (page 0 type)");
  const uint32_t version = ByteReader(head, sizeof head).U32(kHeaderVersion);
  if (version >= 2 && version <= 6)
    return Status::Unsupported("Access 2007 or later database (ACE); only Jet 3 and Jet 4 are read");
  if (version > 1) return Status::Corruption(0, kHeaderVersion, "unknown database version");
  const Format& format = version == 0 ? kJet3Format : kJet4Format;
  if (size < format.page_size) return Status::Corruption(0, 0, "file shorter than one page");

  std::unique_ptr<Pager> pager(new Pager(std::move(source), format));
  // Jet files are limited to 2 GiB, so the page count fits 32 bits; a larger
  // input is still only read up to the last page number a pointer can name.
  const uint64_t pages = size / format.page_size;
  pager->page_count_ = static_cast<uint32_t>(pages > 0xFFFFFFu ? 0xFFFFFFu : pages);

  std::vector<uint8_t> header(format.page_size);
  JET_RETURN_IF_ERROR(pager->source_->Read(0, header.data(), header.size()));
  Rc4Apply(kHeaderKey, sizeof kHeaderKey, header.data() + kHeaderEncrypted, format.rc4_region_size);
  ByteReader plain(header.data(), header.size());
  const uint16_t stored_cp = plain.U16(kHeaderCodePage);
  pager->code_page_ = code_page_override ? code_page_override : stored_cp;
  pager->db_key_ = plain.U32(kHeaderDbKey);
  return pager;
}

Result<Page> Pager::Get(uint32_t number) {
  if (number >= page_count_)
    return Status::Corruption(number, 0, "page number beyond the end of the file (" +
                                             std::to_string(page_count_) + " pages)");
  const uint32_t ps = format_.page_size;
  if (auto it = cache_.find(number); it != cache_.end()) return Page{it->second, number, ps};

  std::shared_ptr<const uint8_t> data;
  const auto* memory = source_->Memory();
  if (memory && db_key_ == 0) {
    // Point into the buffer itself; the aliasing pointer keeps it alive.
    return Page{std::shared_ptr<const uint8_t>(*memory, (*memory)->data() + uint64_t{number} * ps), number, ps};
  }
  {
    std::shared_ptr<uint8_t[]> buf(new uint8_t[ps]);
    JET_RETURN_IF_ERROR(source_->Read(uint64_t{number} * ps, buf.get(), ps));
    if (db_key_ != 0 && number != 0) {
      const uint32_t k = db_key_ ^ number;
      const uint8_t key[4] = {static_cast<uint8_t>(k), static_cast<uint8_t>(k >> 8), static_cast<uint8_t>(k >> 16),
                              static_cast<uint8_t>(k >> 24)};
      Rc4Apply(key, 4, buf.get(), ps);
    }
    data = std::shared_ptr<const uint8_t>(buf, buf.get());
  }
  if (cache_.size() >= kCachePages) cache_.clear();
  cache_.emplace(number, data);
  return Page{std::move(data), number, ps};
}

}  // namespace jet
