// Text with smaller raised or lowered characters: the charge of an ion, the
// counts of a formula, the electrons of a subshell. The fonts the programs
// may get lack most Unicode superscript and subscript digits (Liberation
// Sans under Wine has only ¹²³), so the text stays plain characters with a
// mark for each, and the painter draws the marked ones smaller itself.
// Screen readers get the plain characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kit {

enum class Script : unsigned char { kBase, kSuper, kSub };

struct ScriptedText {
  std::wstring text;
  std::vector<Script> marks;   // one a character; empty when nothing is marked
  friend bool operator==(const ScriptedText&, const ScriptedText&) = default;
};

// From a short markup: "^x" and "_x" mark the one character x, "^{...}" and
// "_{...}" a run: "SO_4^{2-}", "1s^2 2s^2 2p^6", "CuSO_4·5H_2O". A "^" or
// "_" with nothing after it stays as it is.
ScriptedText ParseScripted(std::wstring_view markup);

// The same text with the marked characters as Unicode superscripts and
// subscripts ("SO₄²⁻"), for the clipboard and documents; a character that
// has no such form stays plain.
std::wstring UnicodeScripted(const ScriptedText& text);

// Runs of one mark, in order; the painter measures and draws one at a time.
struct ScriptRun {
  std::size_t begin = 0, end = 0;
  Script script = Script::kBase;
};
std::vector<ScriptRun> ScriptRuns(const ScriptedText& text);

// The size of a marked character against the text's, and where its
// baseline lies against the text's, as parts of the text's ascent (up).
constexpr double kScriptScale = 0.68;
constexpr double kSuperRise = 0.42;
constexpr double kSubDrop = -0.22;

}  // namespace kit
