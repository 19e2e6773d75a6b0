// The atom's structure read from the stored texts: parsing every record
// the program ships, the reference ground states, the two orders, the
// noble-gas core, Hund's rule, valence electrons and the table's blocks.
#include "viewer/atom_structure.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "base/utf.h"
#include "tools/mkvrakel/element_table.h"

namespace {

using viewer::Configuration;
using viewer::ParseConfiguration;
using viewer::SubshellOrder;

std::wstring Short(const Configuration& c, int z, SubshellOrder order = SubshellOrder::kByShell) {
  return viewer::ConfigurationPlain(c, z, true, order);
}

// The ground states that depart from the filling rule (NIST, Atomic Spectra
// Database, ground levels), and technetium, which a well-known program
// gets wrong although it follows the rule.
const std::map<int, std::wstring> kReference = {
    {24, L"[Ar] 3d5 4s1"},       {29, L"[Ar] 3d10 4s1"},      {41, L"[Kr] 4d4 5s1"},
    {42, L"[Kr] 4d5 5s1"},       {43, L"[Kr] 4d5 5s2"},       {44, L"[Kr] 4d7 5s1"},
    {45, L"[Kr] 4d8 5s1"},       {46, L"[Kr] 4d10"},          {47, L"[Kr] 4d10 5s1"},
    {57, L"[Xe] 5d1 6s2"},       {58, L"[Xe] 4f1 5d1 6s2"},   {64, L"[Xe] 4f7 5d1 6s2"},
    {78, L"[Xe] 4f14 5d9 6s1"},  {79, L"[Xe] 4f14 5d10 6s1"}, {89, L"[Rn] 6d1 7s2"},
    {90, L"[Rn] 6d2 7s2"},       {91, L"[Rn] 5f2 6d1 7s2"},   {92, L"[Rn] 5f3 6d1 7s2"},
    {93, L"[Rn] 5f4 6d1 7s2"},   {96, L"[Rn] 5f7 6d1 7s2"},   {103, L"[Rn] 5f14 7s2 7p1"},
};

TEST(AtomStructure, EveryShippedRecordHoldsItsGroundStateAndMatchingShells) {
  const char* src = std::getenv("ELEMORA_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  std::vector<mkvrakel::Record> records;
  ASSERT_FALSE(mkvrakel::LoadElements(std::filesystem::path(src) / "data", records));
  ASSERT_EQ(records.size(), 118u);
  int exceptions = 0;
  for (const auto& r : records) {
    const int z = std::stoi(r[0]);
    const Configuration c = ParseConfiguration(base::Utf8ToWide(r[4]), z);
    ASSERT_TRUE(c.Usable()) << z << ": " << r[4];
    // Stored by shell, as the field promises.
    EXPECT_EQ(viewer::ConfigurationPlain(c, z, false, SubshellOrder::kByShell), base::Utf8ToWide(r[4])) << z;
    if (auto ref = kReference.find(z); ref != kReference.end()) {
      EXPECT_EQ(Short(c, z), ref->second) << z;
      exceptions += z != 43;
    } else {
      EXPECT_EQ(c.subshells, viewer::AufbauConfiguration(z)) << z << ": " << r[4];
    }
    std::vector<int> shells;
    for (const auto& s : c.subshells) {
      if (static_cast<int>(shells.size()) < s.n) shells.resize(static_cast<size_t>(s.n));
      shells[static_cast<size_t>(s.n - 1)] += s.electrons;
    }
    EXPECT_EQ(viewer::ParseShells(base::Utf8ToWide(r[5])), shells) << z << ": " << r[5];
  }
  EXPECT_EQ(exceptions, 20);
}

TEST(AtomStructure, ADamagedTextOrACountThatDoesNotAddUpIsAFaultNotAConfiguration) {
  for (const wchar_t* text : {L"", L"   ", L"1s2 2x2", L"1s3", L"2d1", L"1s2 1s2", L"1s2 2s", L"1s2,2s1",
                              L"1s2 2s2 2p7", L"0s1", L"1s02"})
    EXPECT_EQ(ParseConfiguration(text, 3).fault, Configuration::Fault::kUnreadable) << text;
  const Configuration wrong = ParseConfiguration(L"1s2 2s2", 5);
  EXPECT_EQ(wrong.fault, Configuration::Fault::kWrongCount);
  EXPECT_EQ(wrong.counted, 4);
  EXPECT_TRUE(wrong.subshells.empty());
  EXPECT_NE(viewer::FaultText(wrong, 5).find(L"(4)"), std::wstring::npos);
  // No boxes and no valence from a fault.
  EXPECT_TRUE(viewer::OuterBoxes(wrong, viewer::PlaceOf(5)).empty());
  EXPECT_FALSE(viewer::ValenceElectrons(wrong, viewer::PlaceOf(5)));
}

TEST(AtomStructure, TheOrderOfFillingAndTheNobleGasCore) {
  const Configuration fe = ParseConfiguration(L"1s2 2s2 2p6 3s2 3p6 3d6 4s2", 26);
  EXPECT_EQ(viewer::ConfigurationPlain(fe, 26, false, SubshellOrder::kByFilling), L"1s2 2s2 2p6 3s2 3p6 4s2 3d6");
  EXPECT_EQ(Short(fe, 26), L"[Ar] 3d6 4s2");
  EXPECT_EQ(Short(fe, 26, SubshellOrder::kByFilling), L"[Ar] 4s2 3d6");
  EXPECT_EQ(viewer::ConfigurationMarkup(fe, 26, true, SubshellOrder::kByShell), L"[Ar] 3d^6 4s^2");
  const Configuration zn = ParseConfiguration(L"1s2 2s2 2p6 3s2 3p6 3d10 4s2", 30);
  EXPECT_EQ(viewer::ConfigurationMarkup(zn, 30, true, SubshellOrder::kByShell), L"[Ar] 3d^{10} 4s^2");

  auto aufbau = [](int z) { return Configuration{viewer::AufbauConfiguration(z)}; };
  EXPECT_EQ(viewer::ConfigurationPlain(aufbau(118), 118, false, SubshellOrder::kByFilling),
            L"1s2 2s2 2p6 3s2 3p6 4s2 3d10 4p6 5s2 4d10 5p6 6s2 4f14 5d10 6p6 7s2 5f14 6d10 7p6");
  EXPECT_EQ(Short(aufbau(1), 1), L"1s1");
  EXPECT_EQ(Short(aufbau(2), 2), L"1s2");   // no core of its own
  EXPECT_EQ(Short(aufbau(10), 10), L"[He] 2s2 2p6");
  EXPECT_EQ(Short(aufbau(118), 118), L"[Rn] 5f14 6d10 7s2 7p6");
  // Lr's 7p is filled out of turn: by filling it comes last all the same.
  const Configuration lr = ParseConfiguration(L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10 4f14 5s2 5p6 5d10 5f14 6s2 "
                                              L"6p6 7s2 7p1", 103);
  EXPECT_EQ(Short(lr, 103, SubshellOrder::kByFilling), L"[Rn] 7s2 5f14 7p1");
}

TEST(AtomStructure, PlacesAndBlocksAsTheTableHasThem) {
  struct Case {
    int z, period, group;
    wchar_t block;
  };
  for (const Case& c : {Case{1, 1, 1, L's'}, Case{2, 1, 18, L's'}, Case{5, 2, 13, L'p'}, Case{12, 3, 2, L's'},
                        Case{26, 4, 8, L'd'}, Case{31, 4, 13, L'p'}, Case{56, 6, 2, L's'}, Case{57, 6, 0, L'f'},
                        Case{70, 6, 0, L'f'}, Case{71, 6, 3, L'd'}, Case{80, 6, 12, L'd'}, Case{86, 6, 18, L'p'},
                        Case{89, 7, 0, L'f'}, Case{102, 7, 0, L'f'}, Case{103, 7, 3, L'd'}, Case{118, 7, 18, L'p'}}) {
    const viewer::TablePlace p = viewer::PlaceOf(c.z);
    EXPECT_EQ(p.period, c.period) << c.z;
    EXPECT_EQ(p.group, c.group) << c.z;
    EXPECT_EQ(p.block, c.block) << c.z;
  }
}

struct Element {
  int z;
  const wchar_t* stored;
};
constexpr Element kN{7, L"1s2 2s2 2p3"}, kO{8, L"1s2 2s2 2p4"}, kFe{26, L"1s2 2s2 2p6 3s2 3p6 3d6 4s2"},
    kCr{24, L"1s2 2s2 2p6 3s2 3p6 3d5 4s1"}, kCu{29, L"1s2 2s2 2p6 3s2 3p6 3d10 4s1"},
    kPd{46, L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10"},
    kGd{64, L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10 4f7 5s2 5p6 5d1 6s2"},
    kLr{103, L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10 4f14 5s2 5p6 5d10 5f14 6s2 6p6 7s2 7p1"},
    kHe{2, L"1s2"}, kCl{17, L"1s2 2s2 2p6 3s2 3p5"}, kNa{11, L"1s2 2s2 2p6 3s1"};

std::vector<viewer::OrbitalBoxes> BoxesOf(const Element& e) {
  return viewer::OuterBoxes(ParseConfiguration(e.stored, e.z), viewer::PlaceOf(e.z));
}
std::optional<int> ValenceOf(const Element& e) {
  return viewer::ValenceElectrons(ParseConfiguration(e.stored, e.z), viewer::PlaceOf(e.z));
}

TEST(AtomStructure, HundsRuleFillsEveryBoxOnceBeforeAnyTwice) {
  EXPECT_EQ(viewer::HundFill(5, 6), (std::vector<int>{2, 1, 1, 1, 1}));
  EXPECT_EQ(viewer::HundFill(7, 14), std::vector<int>(7, 2));
  const std::pair<Element, int> unpaired[] = {{kN, 3}, {kO, 2}, {kFe, 4}, {kCr, 6}, {kCu, 1}, {kPd, 0}, {kGd, 8}};
  for (const auto& [e, count] : unpaired) EXPECT_EQ(viewer::UnpairedElectrons(BoxesOf(e)), count) << e.z;

  // The subshells each block draws, and how a reader hears them.
  const auto fe = BoxesOf(kFe);
  ASSERT_EQ(fe.size(), 2u);
  EXPECT_EQ(viewer::BoxesName(fe[0]), L"3d: 5 клетки, ↑↓ ↑ ↑ ↑ ↑");
  EXPECT_EQ(viewer::UnpairedText(fe[0].Unpaired()), L"4 несдвоени");
  EXPECT_EQ(viewer::BoxesName(fe[1]), L"4s: 1 клетка, ↑↓");
  EXPECT_EQ(viewer::UnpairedText(1), L"1 несдвоен");
  EXPECT_EQ(viewer::BoxesName(BoxesOf(kPd)[1]), L"5s: 1 клетка, празна");
  EXPECT_EQ(viewer::BoxesName(BoxesOf(kNa)[1]), L"3p: 3 клетки, празни");
  const auto lr = BoxesOf(kLr);
  ASSERT_EQ(lr.size(), 3u);
  EXPECT_EQ(lr[2].subshell.Name(), L"7p");
  EXPECT_EQ(BoxesOf(kHe).size(), 1u);
}

TEST(AtomStructure, ValenceElectronsFollowTheGroup) {
  EXPECT_EQ(ValenceOf(kFe), 8);
  EXPECT_EQ(ValenceOf(kCr), 6);
  EXPECT_EQ(ValenceOf(kCu), 11);
  EXPECT_EQ(ValenceOf(kPd), 10);
  EXPECT_EQ(ValenceOf(kCl), 7);   // group 17 less 10
  EXPECT_EQ(ValenceOf(kNa), 1);
  EXPECT_EQ(ValenceOf(kHe), 2);
  EXPECT_EQ(ValenceOf(kLr), 3);
  EXPECT_FALSE(ValenceOf(kGd));   // the f-block has no valence line
}

TEST(AtomStructure, ShellsFromTheStoredCounts) {
  EXPECT_EQ(viewer::ShellText(6, -1), L"Q");
  for (const wchar_t* bad : {L"", L"2,8", L"2 0 1", L"2 8 a", L"1 1 1 1 1 1 1 1"})
    EXPECT_TRUE(viewer::ParseShells(bad).empty()) << bad;
}

}  // namespace
