// Shared helpers of the Jet tests: where the sample databases and their
// expected outputs lie, and small file utilities.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "jet/database.h"

namespace jettest {

inline std::filesystem::path SourceDir() {
  const char* dir = std::getenv("ELEMORA_SOURCE_DIR");
  return dir ? std::filesystem::path(dir) : std::filesystem::current_path();
}

inline std::filesystem::path SampleDir() { return SourceDir() / ".." / "shared" / "testdata" / "mdb"; }
inline std::filesystem::path Sample(const std::string& name) { return SampleDir() / (name + ".mdb"); }

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
  const std::string s = ReadText(p);
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

inline jet::Database OpenSample(const std::string& name) {
  auto db = jet::Database::Open(Sample(name));
  if (!db.ok()) ADD_FAILURE() << name << ": " << db.status().ToString();
  return std::move(db).value();
}

inline const std::vector<std::string>& SampleNames() {
  static const std::vector<std::string> names = {
      "test2V1997",         "testIndexCodesV1997",          "test2V2000",          "testUnicodeCompV2003",
      "compIndexTestV2000", "testIndexPropertiesV2000", "overflowTestV2000", "functionsV2000"};
  return names;
}

}  // namespace jettest

#define ASSERT_JET_OK(expr)                                   \
  do {                                                        \
    const ::jet::Status s_ = (expr);                          \
    ASSERT_TRUE(s_.ok()) << s_.ToString();                    \
  } while (0)
