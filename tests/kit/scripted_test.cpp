// Text with raised and lowered characters: the markup, its Unicode form for
// documents, and that a label's marks reach what the painter reads.
#include <gtest/gtest.h>

#include "kit/appearance.h"
#include "kit/form.h"
#include "kit/scripted.h"

namespace {

using kit::Script;
constexpr Script B = Script::kBase, P = Script::kSuper, D = Script::kSub;

TEST(Scripted, MarkupMarksOneCharacterOrARun) {
  EXPECT_EQ(kit::ParseScripted(L"SO_4^{2-}"), (kit::ScriptedText{L"SO42-", {B, B, D, P, P}}));
  EXPECT_EQ(kit::ParseScripted(L"3d^6 4s^2"), (kit::ScriptedText{L"3d6 4s2", {B, B, P, B, B, B, P}}));
  // Nothing marked: no marks at all; a lone or unclosed sign stays as typed.
  EXPECT_EQ(kit::ParseScripted(L"NaCl"), (kit::ScriptedText{L"NaCl", {}}));
  EXPECT_EQ(kit::ParseScripted(L"a^").text, L"a^");
  EXPECT_EQ(kit::ParseScripted(L"x^{2").text, L"x{2");
  EXPECT_EQ(kit::ParseScripted(L"x^{}y"), (kit::ScriptedText{L"xy", {}}));

  EXPECT_EQ(kit::UnicodeScripted(kit::ParseScripted(L"SO_4^{2-}")), L"SO₄²⁻");
  EXPECT_EQ(kit::UnicodeScripted(kit::ParseScripted(L"NH_4^+ ·10H_2O")), L"NH₄⁺ ·10H₂O");

  const auto runs = kit::ScriptRuns(kit::ParseScripted(L"Fe^{3+}x"));
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].begin, 2u);
  EXPECT_EQ(runs[1].end, 4u);
  EXPECT_EQ(runs[1].script, P);
}

TEST(Scripted, LabelMarksReachTheAppearanceWhileTheyFitTheCaption) {
  kit::Form form("f");
  kit::Label ion{form, "ion"};
  kit::SetScripted(ion, L"Ca^{2+}");
  EXPECT_EQ(ion.caption, L"Ca2+");
  kit::Appearance a = kit::AppearanceOf(ion);
  EXPECT_EQ(a.scripts.size(), 4u);
  const std::size_t marked = kit::LookHash(a);
  ion.caption_scripts.clear();
  EXPECT_NE(kit::LookHash(kit::AppearanceOf(ion)), marked);
  // A caption changed without its marks is drawn plain rather than misplaced.
  kit::SetScripted(ion, L"Ca^{2+}");
  ion.caption = L"Calcium";
  EXPECT_TRUE(kit::AppearanceOf(ion).scripts.empty());
}

}  // namespace
