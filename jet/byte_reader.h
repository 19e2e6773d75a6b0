// Checked little- and big-endian reads from a byte range. Reading outside
// the range returns 0 and makes the reader fail; the first failure is kept
// with its position, so a decoder reads a whole structure and checks once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "jet/status.h"

namespace jet {

class ByteReader {
 public:
  // `page` and `base` only label errors: base is the offset of data[0] in
  // that page (or in the structure the caller names).
  ByteReader(const uint8_t* data, size_t size, uint32_t page = 0, uint32_t base = 0)
      : data_(data), size_(size), page_(page), base_(base) {}

  size_t size() const { return size_; }
  const uint8_t* data() const { return data_; }
  bool Has(size_t offset, size_t length) const { return offset <= size_ && length <= size_ - offset; }

  uint8_t U8(size_t off) { return Has(off, 1) ? data_[off] : Fail(off); }
  uint16_t U16(size_t off) {
    if (!Has(off, 2)) return Fail(off);
    return static_cast<uint16_t>(data_[off] | data_[off + 1] << 8);
  }
  uint32_t U24BE(size_t off) {
    if (!Has(off, 3)) return Fail(off);
    return uint32_t{data_[off]} << 16 | uint32_t{data_[off + 1]} << 8 | data_[off + 2];
  }
  uint32_t U32(size_t off) {
    if (!Has(off, 4)) return Fail(off);
    return uint32_t{data_[off]} | uint32_t{data_[off + 1]} << 8 | uint32_t{data_[off + 2]} << 16 |
           uint32_t{data_[off + 3]} << 24;
  }
  uint32_t U32BE(size_t off) {
    if (!Has(off, 4)) return Fail(off);
    return uint32_t{data_[off]} << 24 | uint32_t{data_[off + 1]} << 16 | uint32_t{data_[off + 2]} << 8 |
           data_[off + 3];
  }
  uint64_t U64(size_t off) {
    if (!Has(off, 8)) return Fail(off);
    return uint64_t{U32(off)} | uint64_t{U32(off + 4)} << 32;
  }
  // Pointer to `length` bytes at `off`, or null (and failure).
  const uint8_t* Span(size_t off, size_t length) {
    if (!Has(off, length)) {
      Fail(off);
      return nullptr;
    }
    return data_ + off;
  }

  bool ok() const { return !failed_; }
  // The first failure as a corruption status naming `what`.
  Status status(const char* what) const {
    if (!failed_) return Status::Ok();
    return Status::Corruption(page_, static_cast<uint32_t>(base_ + fail_offset_),
                              std::string(what) + " runs past its end");
  }

 private:
  uint8_t Fail(size_t off) {
    if (!failed_) {
      failed_ = true;
      fail_offset_ = off;
    }
    return 0;
  }

  const uint8_t* data_;
  size_t size_;
  uint32_t page_;
  uint32_t base_;
  bool failed_ = false;
  size_t fail_offset_ = 0;
};

}  // namespace jet
