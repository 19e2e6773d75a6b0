// Shared helpers of the Jet tests: where the sample databases and their
// expected outputs lie (tests/jet/third_party/samples, inside the project), and small file
// utilities. A fixture that is missing, unreadable or short throws, so its
// test fails with one line naming the file before any byte is used (and an
// oracle comparison never passes over an empty expectation).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "jet/database.h"

namespace jettest {

inline std::filesystem::path SourceDir() {
  const char* dir = std::getenv("ELEMORA_SOURCE_DIR");
  return dir ? std::filesystem::path(dir) : std::filesystem::current_path();
}

inline std::filesystem::path SampleDir() { return SourceDir() / "tests" / "jet" / "third_party" / "samples"; }
inline std::filesystem::path Sample(const std::string& name) { return SampleDir() / (name + ".mdb"); }

[[noreturn]] inline void FixtureFault(const std::filesystem::path& p, const std::string& why) {
  throw std::runtime_error("test fixture " + p.string() + ": " + why);
}

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) FixtureFault(p, "cannot be opened");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) FixtureFault(p, "cannot be read");
  return text;
}

// The sample databases' sizes as taken (tests/jet/third_party/samples/README.md has their hashes).
inline const std::map<std::string, size_t>& SampleSizes() {
  static const std::map<std::string, size_t> sizes = {
      {"test2V1997", 137216},         {"testIndexCodesV1997", 462848},      {"test2V2000", 262144},
      {"testUnicodeCompV2003", 294912}, {"compIndexTestV2000", 143360}, {"testIndexPropertiesV2000", 249856},
      {"overflowTestV2000", 143360},  {"functionsV2000", 208896}};
  return sizes;
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
  const std::string s = ReadText(p);
  const auto known = SampleSizes().find(p.stem().string());
  if (p.extension() == ".mdb" && known != SampleSizes().end() && s.size() != known->second)
    FixtureFault(p, std::to_string(s.size()) + " bytes, expected " + std::to_string(known->second));
  return std::vector<uint8_t>(s.begin(), s.end());
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Opens a sample through the file source, as the viewer opens its database.
inline jet::Database OpenSample(const std::string& name) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(Sample(name), ec);
  if (ec) FixtureFault(Sample(name), ec.message());
  if (size != SampleSizes().at(name)) FixtureFault(Sample(name), std::to_string(size) + " bytes, expected " + std::to_string(SampleSizes().at(name)));
  auto db = jet::Database::Open(Sample(name));
  if (!db.ok()) FixtureFault(Sample(name), db.status().ToString());
  return std::move(db).value();
}

inline const std::vector<std::string>& SampleNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const auto& [name, size] : SampleSizes()) n.push_back(name);
    return n;
  }();
  return names;
}

}  // namespace jettest

#define ASSERT_JET_OK(expr)                                   \
  do {                                                        \
    const ::jet::Status s_ = (expr);                          \
    ASSERT_TRUE(s_.ok()) << s_.ToString();                    \
  } while (0)
