// The structure of an atom as a lesson shows it: the shells with their
// electrons, the electron configuration (full and short, by shell or in the
// order of filling) and the orbital boxes of the outer subshells, filled by
// Hund's rule. Read from the record's stored texts ("1s2 2s2 2p6 ...",
// "2 8 14 2") and the element's place in the table; portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

struct Subshell {
  int n = 0;        // the shell, 1 (K) to 7 (Q)
  int l = 0;        // 0 s, 1 p, 2 d, 3 f
  int electrons = 0;

  int Orbitals() const { return 2 * l + 1; }
  wchar_t Letter() const { return L"spdf"[l]; }
  std::wstring Name() const;   // "3d"
  friend bool operator==(const Subshell&, const Subshell&) = default;
};

// A stored configuration: its subshells in the stored order (by shell), or
// why it cannot be used.
struct Configuration {
  std::vector<Subshell> subshells;
  enum class Fault { kNone, kUnreadable, kWrongCount } fault = Fault::kNone;
  int counted = 0;   // the electrons the text holds (with kWrongCount)

  bool Usable() const { return fault == Fault::kNone; }
  int Electrons(int n, int l) const;
};
// "1s2 2s2 2p6 3s2 3p6 3d6 4s2" for atomic number `z`: each subshell once,
// within its capacity, its electrons adding up to `z`.
Configuration ParseConfiguration(std::wstring_view text, int z);

// The order of filling (Klechkovsky's rule): by n + l, then by n.
bool FillsBefore(const Subshell& a, const Subshell& b);
// The ground state that the rule alone gives for `z` (1 to 118).
std::vector<Subshell> AufbauConfiguration(int z);

enum class SubshellOrder { kByShell, kByFilling };
// The noble gas whose configuration opens this one, or 0: the largest with
// a smaller atomic number whose subshells all stand here filled.
int NobleCore(const Configuration& config, int z);
// Scripted markup ("1s^2 2s^2 ..." or "[Ar] 3d^6 4s^2", kit/scripted.h).
std::wstring ConfigurationMarkup(const Configuration& config, int z, bool short_form, SubshellOrder order);
// The same with plain digits, as readers get it: "[Ar] 3d6 4s2".
std::wstring ConfigurationPlain(const Configuration& config, int z, bool short_form, SubshellOrder order);

// Where the table places an element: period, group 1-18 (0 for the f-block
// rows), block 's', 'p', 'd' or 'f'.
struct TablePlace {
  int period = 0;
  int group = 0;
  wchar_t block = L's';
};
TablePlace PlaceOf(int z);
// The older numbering with its subgroup: "VIIIб", "IIа".
std::wstring OldGroup(int group);

// One subshell of boxes: each orbital's electrons (0, 1 or 2), filled by
// Hund's rule.
struct OrbitalBoxes {
  Subshell subshell;
  std::vector<int> boxes;
  int Unpaired() const;
};
std::vector<int> HundFill(int orbitals, int electrons);
// The outer subshells the lesson draws for the element's block: ns, np
// (s and p); (n-1)d, ns (d, with np where it holds electrons: Lr);
// (n-2)f, (n-1)d, ns (f).
std::vector<OrbitalBoxes> OuterBoxes(const Configuration& config, const TablePlace& place);
int UnpairedElectrons(const std::vector<OrbitalBoxes>& boxes);
// The electrons in ns and np, with (n-1)d for the d-block; none for the
// f-block.
std::optional<int> ValenceElectrons(const Configuration& config, const TablePlace& place);

// "3d: 5 клетки, ↑↓ ↑ ↑ ↑ ↑" and "4 несдвоени", as readers get them.
std::wstring BoxesName(const OrbitalBoxes& boxes);
std::wstring UnpairedText(int unpaired);

// The electrons per shell from "2 8 14 2"; empty when unreadable.
std::vector<int> ParseShells(std::wstring_view text);
// "K 2"; the letter alone when `count` is negative.
std::wstring ShellText(int index, int count);
// "Електронна обвивка: K 2, L 8, M 14, N 2".
std::wstring ShellsName(const std::vector<int>& shells);

// What the window says instead of the boxes when the stored text cannot be
// used.
std::wstring FaultText(const Configuration& config, int z);

}  // namespace viewer
