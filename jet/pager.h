// Page access for the reader: where the bytes come from (a file or a memory
// buffer), the page-0 header, per-page decryption and a bounded cache.
// Every page number is checked against the file's page count here, so the
// decoders above never see a page that does not exist.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <vector>

#include "jet/format.h"
#include "jet/status.h"

namespace jet {

// A source of raw bytes. Read fills exactly `n` bytes or fails.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  virtual Status Read(uint64_t offset, uint8_t* out, size_t n) = 0;
  // The whole content when it is already in memory (no copy), else null.
  virtual const std::shared_ptr<const std::vector<uint8_t>>* Memory() const { return nullptr; }
};

std::unique_ptr<ByteSource> MemorySource(std::vector<uint8_t> bytes);
// `name` as the system spells it (UTF-16 on Windows). Taking the native
// string rather than std::filesystem::path keeps the path parser and, on
// Windows, the locale machinery it converts with out of the programs.
Result<std::unique_ptr<ByteSource>> FileSource(const std::filesystem::path::string_type& name);

// One page's bytes, shared with the cache; stays valid while held.
struct Page {
  std::shared_ptr<const uint8_t> data;
  uint32_t number = 0;
  uint32_t size = 0;
  uint8_t type() const { return data.get()[0]; }
};

// RC4 keystream XOR, in place (encrypting and decrypting are the same).
void Rc4Apply(const uint8_t* key, size_t key_size, uint8_t* data, size_t n);

class Pager {
 public:
  // Reads and checks page 0.
  static Result<std::unique_ptr<Pager>> Create(std::unique_ptr<ByteSource> source, uint16_t code_page_override);

  const Format& format() const { return format_; }
  uint32_t page_count() const { return page_count_; }
  uint16_t code_page() const { return code_page_; }

  Result<Page> Get(uint32_t page_number);

 private:
  Pager(std::unique_ptr<ByteSource> source, const Format& format) : source_(std::move(source)), format_(format) {}

  std::unique_ptr<ByteSource> source_;
  Format format_;
  uint32_t page_count_ = 0;
  uint16_t code_page_ = 1252;
  uint32_t db_key_ = 0;
  std::unordered_map<uint32_t, std::shared_ptr<const uint8_t>> cache_;
};

}  // namespace jet
