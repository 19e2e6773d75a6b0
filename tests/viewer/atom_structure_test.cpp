// The atom's structure read from the stored texts: every shipped record, the
// two orders, the noble-gas core, Hund's rule, valence electrons and blocks.
#include "viewer/atom_structure.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

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
  for (const auto& r : records) {
    const int z = std::stoi(r[0]);
    const Configuration c = ParseConfiguration(base::Utf8ToWide(r[4]), z);
    ASSERT_TRUE(c.Usable()) << z << ": " << r[4];
    // Stored by shell, as the field promises.
    EXPECT_EQ(viewer::ConfigurationPlain(c, z, false, SubshellOrder::kByShell), base::Utf8ToWide(r[4])) << z;
    if (auto ref = kReference.find(z); ref != kReference.end())
      EXPECT_EQ(Short(c, z), ref->second) << z;
    else
      EXPECT_EQ(c.subshells, viewer::AufbauConfiguration(z)) << z << ": " << r[4];
    std::vector<int> shells(7);
    for (const auto& s : c.subshells) shells[static_cast<size_t>(s.n - 1)] += s.electrons;
    while (shells.back() == 0) shells.pop_back();
    EXPECT_EQ(viewer::ParseShells(base::Utf8ToWide(r[5])), shells) << z << ": " << r[5];
  }
}

TEST(AtomStructure, ADamagedConfigurationOrShellTextIsAFaultNotAReading) {
  for (const wchar_t* text : {L"", L"   ", L"1s2 2x2", L"1s3", L"2d1", L"1s2 1s2", L"1s2 2s", L"1s2,2s1",
                              L"1s2 2s2 2p7", L"0s1", L"1s02"})
    EXPECT_EQ(ParseConfiguration(text, 3).fault, Configuration::Fault::kUnreadable) << text;
  for (const wchar_t* bad : {L"", L"2,8", L"2 0 1", L"2 8 a", L"1 1 1 1 1 1 1 1"})
    EXPECT_TRUE(viewer::ParseShells(bad).empty()) << bad;
  EXPECT_EQ(viewer::ShellText(6, -1), L"Q");   // drawn blank, a shell keeps its letter
}

struct Element { int z; const wchar_t* stored; };
constexpr Element kN{7, L"1s2 2s2 2p3"}, kO{8, L"1s2 2s2 2p4"}, kFe{26, L"1s2 2s2 2p6 3s2 3p6 3d6 4s2"},
    kCr{24, L"1s2 2s2 2p6 3s2 3p6 3d5 4s1"}, kCu{29, L"1s2 2s2 2p6 3s2 3p6 3d10 4s1"},
    kPd{46, L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10"},
    kGd{64, L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10 4f7 5s2 5p6 5d1 6s2"},
    kLr{103, L"1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10 4f14 5s2 5p6 5d10 5f14 6s2 6p6 7s2 7p1"},
    kHe{2, L"1s2"}, kCl{17, L"1s2 2s2 2p6 3s2 3p5"}, kNa{11, L"1s2 2s2 2p6 3s1"};

TEST(AtomStructure, TheOrderOfFillingAndTheNobleGasCore) {
  auto aufbau = [](int z) { return Configuration{viewer::AufbauConfiguration(z)}; };
  EXPECT_EQ(viewer::ConfigurationPlain(aufbau(118), 118, false, SubshellOrder::kByFilling),
            L"1s2 2s2 2p6 3s2 3p6 4s2 3d10 4p6 5s2 4d10 5p6 6s2 4f14 5d10 6p6 7s2 5f14 6d10 7p6");
  EXPECT_EQ(Short(aufbau(2), 2), L"1s2");   // no core of its own
  EXPECT_EQ(Short(aufbau(10), 10), L"[He] 2s2 2p6");
  EXPECT_EQ(Short(aufbau(118), 118), L"[Rn] 5f14 6d10 7s2 7p6");
  EXPECT_EQ(viewer::ConfigurationMarkup(aufbau(30), 30, true, SubshellOrder::kByShell), L"[Ar] 3d^{10} 4s^2");
  // Lr's 7p is filled out of turn: by filling it comes last all the same.
  EXPECT_EQ(Short(ParseConfiguration(kLr.stored, kLr.z), kLr.z, SubshellOrder::kByFilling), L"[Rn] 7s2 5f14 7p1");
}

TEST(AtomStructure, PlacesAndBlocksAsTheTableHasThem) {
  for (auto [z, period, group, block] : std::vector<std::tuple<int, int, int, wchar_t>>{
           {1, 1, 1, L's'}, {2, 1, 18, L's'}, {5, 2, 13, L'p'}, {31, 4, 13, L'p'}, {56, 6, 2, L's'},
           {57, 6, 0, L'f'}, {70, 6, 0, L'f'}, {71, 6, 3, L'd'}, {89, 7, 0, L'f'}, {102, 7, 0, L'f'},
           {103, 7, 3, L'd'}, {118, 7, 18, L'p'}}) {
    const viewer::TablePlace p = viewer::PlaceOf(z);
    EXPECT_EQ(std::tuple(p.period, p.group, p.block), std::tuple(period, group, block)) << z;
  }
}

std::vector<viewer::OrbitalBoxes> BoxesOf(const Element& e) {
  return viewer::OuterBoxes(ParseConfiguration(e.stored, e.z), viewer::PlaceOf(e.z));
}

// Hund's rule fills every box once before any twice; valence electrons follow
// the group, none for the f-block; Lr's unpaired electron is its 7p.
TEST(AtomStructure, UnpairedAndValenceElectronsOfTheOuterSubshells) {
  for (const auto& [e, unpaired, valence] : std::vector<std::tuple<Element, int, std::optional<int>>>{
           {kN, 3, 5}, {kO, 2, 6}, {kFe, 4, 8}, {kCr, 6, 6}, {kCu, 1, 11}, {kPd, 0, 10}, {kGd, 8, std::nullopt},
           {kCl, 1, 7}, {kNa, 1, 1}, {kHe, 0, 2}, {kLr, 1, 3}}) {
    EXPECT_EQ(viewer::UnpairedElectrons(BoxesOf(e)), unpaired) << e.z;
    EXPECT_EQ(viewer::ValenceElectrons(ParseConfiguration(e.stored, e.z), viewer::PlaceOf(e.z)), valence) << e.z;
  }
  EXPECT_EQ(BoxesOf(kHe).size(), 1u);
  // How a reader hears a single or empty box.
  EXPECT_EQ(viewer::UnpairedText(1), L"1 несдвоен");
  EXPECT_EQ(viewer::BoxesName(BoxesOf(kPd)[1]), L"5s: 1 клетка, празна");
  EXPECT_EQ(viewer::BoxesName(BoxesOf(kNa)[1]), L"3p: 3 клетки, празни");
}

}  // namespace
