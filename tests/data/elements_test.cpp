// The element data: layout of the records in index order, complete fields,
// Bulgarian texts, decimal commas, and values that fit the viewer's boxes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <set>

#include "tools/mkvrakel/element_table.h"

namespace {

using mkvrakel::Record;

enum Field { kAtomNum, kName, kMass, kRadius, kOrbitals, kShells, kMeltBoil, kDensity, kIsotopes,
             kElectronegativity, kOxidation, kDiscovery };

const std::vector<Record>& Records() {
  static const std::vector<Record> records = [] {
    std::vector<Record> r;
    const char* src = std::getenv("ELEMORA_SOURCE_DIR");
    if (!src) return r;
    if (auto err = mkvrakel::LoadElements(std::filesystem::path(src) / "data", r)) ADD_FAILURE() << *err;
    return r;
  }();
  return records;
}

int AtomNum(const Record& r) { return std::stoi(r[kAtomNum]); }

// Code points of a UTF-8 text.
std::u32string CodePoints(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t cp = n == 1 ? c : c & (0x3F >> (n - 1));
    for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += n;
  }
  return out;
}

TEST(ElementData, PositionsFollowTheTileLayout) {
  const auto& r = Records();
  ASSERT_GE(r.size(), 114u);
  for (int pos = 0; pos <= 108; ++pos) EXPECT_EQ(AtomNum(r[pos]), pos + 1) << "position " << pos;
  // The tiles after Mt read 110..112 for elements 110..112, and 113 for element 114.
  EXPECT_EQ(AtomNum(r[110]), 110);
  EXPECT_EQ(AtomNum(r[111]), 111);
  EXPECT_EQ(AtomNum(r[112]), 112);
  EXPECT_EQ(AtomNum(r[113]), 114);
  EXPECT_EQ(AtomNum(r[109]), 113);  // read by no tile: the element without one
}

TEST(ElementData, EveryElementOnceAndNoEmptyField) {
  std::set<int> seen;
  for (const auto& rec : Records()) {
    EXPECT_TRUE(seen.insert(AtomNum(rec)).second) << "element " << rec[kAtomNum] << " twice";
    for (size_t f = 0; f < rec.size(); ++f) EXPECT_FALSE(rec[f].empty()) << rec[kAtomNum] << " " << mkvrakel::kFields[f];
  }
  EXPECT_EQ(seen.size(), 118u);
  EXPECT_EQ(*seen.begin(), 1);
  EXPECT_EQ(*seen.rbegin(), 118);
}

TEST(ElementData, SpotValues) {
  const auto& r = Records();
  ASSERT_GE(r.size(), 114u);
  const Record& fe = r[25];
  EXPECT_EQ(fe[kAtomNum], "26");
  EXPECT_EQ(fe[kName], "Желязо");
  EXPECT_EQ(fe[kMass], "55,845");
  EXPECT_EQ(fe[kShells], "2 8 14 2");
  EXPECT_EQ(fe[kOrbitals], "1s2 2s2 2p6 3s2 3p6 3d6 4s2");
  EXPECT_EQ(fe[kDensity], "7,874 g/cm³");
  EXPECT_EQ(fe[kMeltBoil], "1538 / 2862 °C");
  EXPECT_EQ(fe[kElectronegativity], "1,83");
  EXPECT_EQ(fe[kDiscovery], "известен от древността");
  EXPECT_EQ(r[0][kName], "Водород");
  EXPECT_EQ(r[0][kMass], "1,008");
  EXPECT_EQ(r[28][kOrbitals], "1s2 2s2 2p6 3s2 3p6 3d10 4s1");  // Cu: the 4s electron moves to 3d
  EXPECT_EQ(r[78][kName], "Злато");
  EXPECT_EQ(r[91][kMass], "238,03");
  EXPECT_EQ(r[42][kMass], "[97]");
  EXPECT_EQ(r[110][kName], "Дармщатий");
  EXPECT_EQ(r[111][kName], "Рентгений");
  EXPECT_EQ(r[112][kName], "Коперниций");
  EXPECT_EQ(r[113][kName], "Флеровий");
  EXPECT_EQ(r[109][kName], "Нихоний");
}

TEST(ElementData, ShellsAddUpToTheAtomicNumberAndMatchTheConfiguration) {
  const std::regex subshell(R"(([1-7])([spdf])(\d+))");
  for (const auto& rec : Records()) {
    int total = 0;
    std::map<int, int> per_shell;
    for (std::sregex_iterator it(rec[kOrbitals].begin(), rec[kOrbitals].end(), subshell), end; it != end; ++it) {
      const int n = std::stoi((*it)[3]);
      total += n;
      per_shell[std::stoi((*it)[1])] += n;
    }
    EXPECT_EQ(total, AtomNum(rec)) << rec[kName];
    std::string shells;
    for (auto [n, e] : per_shell) shells += (shells.empty() ? "" : " ") + std::to_string(e);
    EXPECT_EQ(shells, rec[kShells]) << rec[kName];
  }
}

TEST(ElementData, NumbersUseTheDecimalComma) {
  const std::regex mass(R"(\d+(,\d+)?|\[\d+\])");
  const std::regex en(R"(\d,\d{1,2}|няма данни)");
  const std::regex radius(R"(\d{2,3})");
  const std::regex isotopes(R"(\d{1,2})");
  const std::regex oxidation(R"(0|[+-]\d|[+-]?\d,[+-]\d|\?)");
  for (const auto& rec : Records()) {
    const std::string& who = rec[kName];
    EXPECT_TRUE(std::regex_match(rec[kMass], mass)) << who << ": " << rec[kMass];
    EXPECT_TRUE(std::regex_match(rec[kElectronegativity], en)) << who << ": " << rec[kElectronegativity];
    EXPECT_TRUE(std::regex_match(rec[kRadius], radius)) << who << ": " << rec[kRadius];
    EXPECT_TRUE(std::regex_match(rec[kIsotopes], isotopes)) << who << ": " << rec[kIsotopes];
    EXPECT_TRUE(std::regex_match(rec[kOxidation], oxidation)) << who << ": " << rec[kOxidation];
    for (int f : {kDensity, kMeltBoil})
      EXPECT_EQ(rec[f].find('.'), std::string::npos) << who << ": " << rec[f];
  }
}

TEST(ElementData, NamesAndDiscoverersAreBulgarian) {
  for (const auto& rec : Records()) {
    for (char32_t c : CodePoints(rec[kName]))
      EXPECT_TRUE(c >= U'А' && c <= U'я') << rec[kAtomNum] << ": " << rec[kName];
    bool cyrillic = false;
    for (char32_t c : CodePoints(rec[kDiscovery])) {
      EXPECT_FALSE((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) << rec[kName] << ": " << rec[kDiscovery];
      cyrillic = cyrillic || (c >= U'А' && c <= U'я');
    }
    EXPECT_TRUE(cyrillic) << rec[kName];
  }
}

TEST(ElementData, ParserRefusesBrokenFiles) {
  std::string header;
  for (const char* f : mkvrakel::kFields) header += std::string(header.empty() ? "" : "\t") + f;
  const std::string good = "1\tВодород\t1,008\t31\t1s1\t1\t-259 / -253 °C\t0,0899 g/L\t2\t2,20\t+1,-1\tКавендиш, 1766";
  std::vector<Record> out;
  ASSERT_FALSE(mkvrakel::ParseElements(header + "\n" + good + "\n", out));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_FALSE(mkvrakel::ParseElements("\xEF\xBB\xBF" + header + "\r\n" + good + "\r\n", out));
  EXPECT_EQ(out.at(0)[kName], "Водород");

  struct Case { std::string text; const char* error_part; };
  const Case cases[] = {
      {"", "no header"},
      {good + "\n", "header field 1"},
      {header + "\n1\tВодород\n", "2 fields instead of 12"},
      {header + "\n" + good + "\textra\n", "13 fields"},
      {header + "\n1\t\t1,008\t31\t1s1\t1\tx\tx\t2\t2,20\t+1\tx\n", "Name is empty"},
      {header + "\nH\tВодород\t1,008\t31\t1s1\t1\tx\tx\t2\t2,20\t+1\tx\n", "atom_num"},
      {header + "\n1\t" + std::string(256, 'a') + "\t1\t1\t1\t1\tx\tx\t2\t2\t+1\tx\n", "Name is too long"},
  };
  for (const Case& c : cases) {
    const auto err = mkvrakel::ParseElements(c.text, out);
    ASSERT_TRUE(err) << c.error_part;
    EXPECT_NE(err->find(c.error_part), std::string::npos) << *err;
  }
}

}  // namespace
