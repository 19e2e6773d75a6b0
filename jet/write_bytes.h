// Little-endian stores for the writer: Put* overwrites bytes already there,
// Add* appends. Every writer file builds its structures with these.
#pragma once

#include <cstdint>
#include <cstring>

#include "jet/value.h"

namespace jet::write {

inline void PutU16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void AddU8(Bytes& b, std::uint32_t v) { b.push_back(static_cast<std::uint8_t>(v)); }
inline void AddU16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void AddU32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void AddF64(Bytes& b, double v) {
  std::uint64_t raw;
  std::memcpy(&raw, &v, sizeof raw);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(raw >> (8 * i)));
}

// A row pointer: the page in the upper three bytes, the row in the lowest.
inline std::uint32_t RowPointer(std::uint32_t page, std::uint32_t row) { return (page << 8) | row; }

}  // namespace jet::write
