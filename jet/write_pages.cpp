#include "jet/write_pages.h"

#include <algorithm>

#include "jet/write_bytes.h"

namespace jet::write {
namespace {

constexpr std::size_t kMinMapBytes = 64;  // what Access writes for an inline map

}  // namespace

// A row pointer names the row in one byte, so a page holds at most 256 rows.
bool DataPage::Fits(std::size_t len) const {
  return rows.size() < 256 && kDataHeader + 2 * (rows.size() + 1) + used + len <= kPageSize;
}

void DataPage::Add(Bytes row) {
  used += row.size();
  rows.push_back(std::move(row));
}

Bytes DataPage::Render() const {
  Bytes p(kPageSize, 0);
  p[0] = kDataPage;
  p[1] = 0x01;
  PutU16(p, 2, static_cast<std::uint32_t>(kPageSize - kDataHeader - 2 * rows.size() - used));
  PutU32(p, kJet4Format.data_owner, owner);
  PutU16(p, kJet4Format.data_row_count, static_cast<std::uint32_t>(rows.size()));
  // Rows fill the page from its end downwards, slot 0 last in the page.
  std::size_t end = kPageSize;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t start = end - rows[i].size();
    std::copy(rows[i].begin(), rows[i].end(), p.begin() + start);
    PutU16(p, kDataHeader + 2 * i, static_cast<std::uint32_t>(start));
    end = start;
  }
  return p;
}

std::uint32_t PageFile::NewPage() {
  pages_.emplace_back();
  return static_cast<std::uint32_t>(pages_.size() - 1);
}

Bytes PageFile::Join() const {
  Bytes out;
  out.reserve(pages_.size() * kPageSize);
  for (const auto& p : pages_) {
    if (p.empty()) out.insert(out.end(), kPageSize, 0);
    else out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

std::uint32_t RowPacker::Add(Bytes row) {
  if (pages_.empty() || !pages_.back().Fits(row.size())) {
    DataPage p;
    p.number = file_.NewPage();
    p.owner = owner_;
    pages_.push_back(std::move(p));
  }
  DataPage& p = pages_.back();
  p.Add(std::move(row));
  return RowPointer(p.number, static_cast<std::uint32_t>(p.rows.size() - 1));
}

void RowPacker::Replace(std::uint32_t ptr, Bytes row) {
  for (auto& p : pages_)
    if (p.number == ptr >> 8) p.rows[ptr & 0xFF] = std::move(row);
}

std::vector<std::uint32_t> RowPacker::PageNumbers() const {
  std::vector<std::uint32_t> v;
  for (const auto& d : pages_) v.push_back(d.number);
  return v;
}

void RowPacker::Render() const {
  for (const auto& p : pages_) file_.Set(p.number, p.Render());
}

std::optional<Bytes> UsageMap(std::uint32_t first, const std::vector<std::uint32_t>& pages,
                              std::optional<std::uint32_t> set_beyond) {
  std::uint32_t last = first;
  for (auto p : pages) last = std::max(last, p);
  if (set_beyond) last = std::max(last, *set_beyond + 64);
  const std::size_t bits = last - first + 1;
  const std::size_t len = std::max(kMinMapBytes, (bits + 7) / 8);
  if (5 + len > kMaxRow / 2) return std::nullopt;
  Bytes row(5 + len, 0);  // map type 0 (inline bitmap), first page, bits
  PutU32(row, 1, first);
  for (auto p : pages) row[5 + (p - first) / 8] |= static_cast<std::uint8_t>(1u << ((p - first) % 8));
  if (set_beyond)
    for (std::size_t i = *set_beyond - first; i < len * 8; ++i)
      row[5 + i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
  return row;
}

std::optional<Bytes> GlobalMapPage(std::uint32_t page_count) {
  auto global = UsageMap(0, {}, page_count);
  if (!global) return std::nullopt;
  DataPage p1;
  p1.number = 1;
  p1.owner = 1;
  p1.Add(std::move(*global));
  p1.Add(Bytes(5 + kMinMapBytes, 0));
  return p1.Render();
}

}  // namespace jet::write
