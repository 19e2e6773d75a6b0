// Turns a .mdb file into a sparse fuzz seed (fuzz_input.h) holding only the
// pages the reader touches while the fuzz target's work runs over it.
//   make_seed IN.mdb OUT
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "fuzz/fuzz_input.h"
#include "jet/pager.h"

namespace {

class RecordingSource final : public jet::ByteSource {
 public:
  RecordingSource(const std::vector<uint8_t>& bytes, std::set<uint64_t>& offsets) : bytes_(bytes), offsets_(offsets) {}
  uint64_t Size() const override { return bytes_.size(); }
  jet::Status Read(uint64_t offset, uint8_t* out, size_t n) override {
    if (offset > bytes_.size() || n > bytes_.size() - offset) return jet::Status::IoError("beyond the end");
    offsets_.insert(offset);
    std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
              bytes_.begin() + static_cast<std::ptrdiff_t>(offset + n), out);
    return jet::Status::Ok();
  }

 private:
  const std::vector<uint8_t>& bytes_;
  std::set<uint64_t>& offsets_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 0x20) return 1;
  const size_t ps = bytes[0x14] == 0 ? 2048 : 4096;
  std::set<uint64_t> offsets;
  auto db = jet::Database::OpenFromSource(std::make_unique<RecordingSource>(bytes, offsets));
  if (!db.ok()) {
    std::fprintf(stderr, "%s\n", db.status().ToString().c_str());
    return 1;
  }
  fuzz::Exercise(*db);
  std::string out = "JSPG";
  out.push_back(ps == 2048 ? 0 : 1);
  std::set<uint32_t> pages{0};
  for (uint64_t off : offsets) pages.insert(static_cast<uint32_t>(off / ps));
  for (uint32_t p : pages) {
    if (p >= fuzz::kMaxPages) continue;
    out.push_back(static_cast<char>(p & 0xFF));
    out.push_back(static_cast<char>(p >> 8));
    out.append(reinterpret_cast<const char*>(bytes.data()) + p * ps, ps);
  }
  std::ofstream(argv[2], std::ios::binary) << out;
  std::printf("%s: %zu of %zu pages\n", argv[1], pages.size(), bytes.size() / ps);
  return 0;
}
