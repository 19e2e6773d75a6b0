#include "viewer/atom_structure.h"

#include <algorithm>
#include <array>

namespace viewer {
namespace {

constexpr std::array<int, 7> kNobleGases = {2, 10, 18, 36, 54, 86, 118};
constexpr std::array<const wchar_t*, 7> kNobleSymbols = {L"He", L"Ne", L"Ar", L"Kr", L"Xe", L"Rn", L"Og"};

int Capacity(int l) { return 2 * (2 * l + 1); }

bool Digit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Every subshell that can hold electrons up to 7p, in the order of filling.
std::vector<Subshell> FillingSequence() {
  std::vector<Subshell> all;
  for (int n = 1; n <= 7; ++n)
    for (int l = 0; l < n && l <= 3; ++l) all.push_back({n, l, 0});
  std::stable_sort(all.begin(), all.end(), FillsBefore);
  return all;
}

// The subshells the form shows, in the order asked for, less the core's.
std::vector<Subshell> Shown(const Configuration& config, int z, bool short_form, SubshellOrder order) {
  std::vector<Subshell> core;
  if (short_form) {
    if (int gas = NobleCore(config, z)) core = AufbauConfiguration(gas);
  }
  std::vector<Subshell> out;
  for (const Subshell& s : config.subshells) {
    auto in_core = std::find_if(core.begin(), core.end(), [&](const Subshell& c) { return c.n == s.n && c.l == s.l; });
    if (in_core == core.end()) out.push_back(s);
  }
  if (order == SubshellOrder::kByFilling) std::stable_sort(out.begin(), out.end(), FillsBefore);
  return out;
}

std::wstring Written(const Configuration& config, int z, bool short_form, SubshellOrder order, bool scripted) {
  std::wstring text;
  if (short_form) {
    if (int gas = NobleCore(config, z)) {
      const auto at = std::find(kNobleGases.begin(), kNobleGases.end(), gas) - kNobleGases.begin();
      text = L"[" + std::wstring(kNobleSymbols[static_cast<size_t>(at)]) + L"]";
    }
  }
  for (const Subshell& s : Shown(config, z, short_form, order)) {
    if (!text.empty()) text += L' ';
    const std::wstring count = std::to_wstring(s.electrons);
    text += s.Name();
    if (!scripted) text += count;
    else text += count.size() == 1 ? L"^" + count : L"^{" + count + L"}";
  }
  return text;
}

}  // namespace

std::wstring Subshell::Name() const { return std::to_wstring(n) + Letter(); }

int Configuration::Electrons(int n, int l) const {
  for (const Subshell& s : subshells)
    if (s.n == n && s.l == l) return s.electrons;
  return 0;
}

Configuration ParseConfiguration(std::wstring_view text, int z) {
  Configuration out;
  size_t i = 0;
  auto unreadable = [&out] {
    out.subshells.clear();
    out.fault = Configuration::Fault::kUnreadable;
    return out;
  };
  while (i < text.size()) {
    if (text[i] == L' ' || text[i] == L'\t') {
      ++i;
      continue;
    }
    if (i + 2 >= text.size() || text[i] < L'1' || text[i] > L'7') return unreadable();
    Subshell s;
    s.n = text[i] - L'0';
    const size_t letter = std::wstring_view(L"spdf").find(text[i + 1]);
    if (letter == std::wstring_view::npos || static_cast<int>(letter) >= s.n) return unreadable();
    s.l = static_cast<int>(letter);
    i += 2;
    const size_t digits = i;
    while (i < text.size() && Digit(text[i]) && i - digits < 3) s.electrons = s.electrons * 10 + (text[i++] - L'0');
    if (i == digits || text[digits] == L'0' || (i < text.size() && text[i] != L' ' && text[i] != L'\t'))
      return unreadable();
    if (s.electrons < 1 || s.electrons > Capacity(s.l) || out.Electrons(s.n, s.l) > 0) return unreadable();
    out.subshells.push_back(s);
    out.counted += s.electrons;
  }
  if (out.subshells.empty()) return unreadable();
  if (out.counted != z) {
    out.subshells.clear();
    out.fault = Configuration::Fault::kWrongCount;
  }
  return out;
}

bool FillsBefore(const Subshell& a, const Subshell& b) {
  return a.n + a.l != b.n + b.l ? a.n + a.l < b.n + b.l : a.n < b.n;
}

std::vector<Subshell> AufbauConfiguration(int z) {
  std::vector<Subshell> out;
  int left = z;
  for (Subshell s : FillingSequence()) {
    if (left <= 0) break;
    s.electrons = std::min(left, Capacity(s.l));
    left -= s.electrons;
    out.push_back(s);
  }
  std::sort(out.begin(), out.end(), [](const Subshell& a, const Subshell& b) {
    return a.n != b.n ? a.n < b.n : a.l < b.l;
  });
  return out;
}

int NobleCore(const Configuration& config, int z) {
  for (auto gas = kNobleGases.rbegin(); gas != kNobleGases.rend(); ++gas) {
    if (*gas >= z) continue;
    const auto core = AufbauConfiguration(*gas);
    if (std::all_of(core.begin(), core.end(), [&](const Subshell& s) {
          return config.Electrons(s.n, s.l) == Capacity(s.l);
        }))
      return *gas;
  }
  return 0;
}

std::wstring ConfigurationMarkup(const Configuration& config, int z, bool short_form, SubshellOrder order) {
  return Written(config, z, short_form, order, true);
}

std::wstring ConfigurationPlain(const Configuration& config, int z, bool short_form, SubshellOrder order) {
  return Written(config, z, short_form, order, false);
}

TablePlace PlaceOf(int z) {
  constexpr std::array<int, 8> kPeriodStart = {1, 3, 11, 19, 37, 55, 87, 119};
  TablePlace p;
  while (p.period < 7 && z >= kPeriodStart[static_cast<size_t>(p.period) + 1]) ++p.period;
  const int o = z - kPeriodStart[static_cast<size_t>(p.period)];
  ++p.period;
  if (p.period == 1) p.group = o == 0 ? 1 : 18;
  else if (p.period <= 3) p.group = o < 2 ? o + 1 : o + 11;
  else if (p.period <= 5) p.group = o + 1;
  else p.group = o < 2 ? o + 1 : o < 16 ? 0 : o - 13;   // La-Yb and Ac-No stand in the f rows
  p.block = p.group == 0                        ? L'f'
            : p.group <= 2 || z == 2            ? L's'
            : p.group <= 12                     ? L'd'
                                                : L'p';
  return p;
}

std::wstring OldGroup(int group) {
  constexpr std::array<const wchar_t*, 19> kNames = {
      L"",     L"Iа",  L"IIа",  L"IIIб", L"IVб", L"Vб",  L"VIб",  L"VIIб",  L"VIIIб", L"VIIIб",
      L"VIIIб", L"Iб", L"IIб", L"IIIа", L"IVа", L"Vа",  L"VIа",  L"VIIа", L"VIIIа"};
  return group >= 1 && group <= 18 ? kNames[static_cast<size_t>(group)] : L"";
}

std::vector<int> HundFill(int orbitals, int electrons) {
  std::vector<int> boxes(static_cast<size_t>(std::max(orbitals, 0)), 0);
  for (size_t round = 0; round < 2; ++round)
    for (int& box : boxes)
      if (electrons > 0) {
        ++box;
        --electrons;
      }
  return boxes;
}

int OrbitalBoxes::Unpaired() const { return static_cast<int>(std::count(boxes.begin(), boxes.end(), 1)); }

std::vector<OrbitalBoxes> OuterBoxes(const Configuration& config, const TablePlace& place) {
  const int n = place.period;
  std::vector<std::pair<int, int>> wanted;   // n, l
  switch (place.block) {
    case L'f': wanted = {{n - 2, 3}, {n - 1, 2}, {n, 0}}; break;
    case L'd':
      wanted = {{n - 1, 2}, {n, 0}};
      if (config.Electrons(n, 1) > 0) wanted.push_back({n, 1});
      break;
    default:
      wanted = {{n, 0}};
      if (n > 1) wanted.push_back({n, 1});
  }
  std::vector<OrbitalBoxes> out;
  if (!config.Usable()) return out;
  for (auto [sn, l] : wanted) {
    const Subshell s{sn, l, config.Electrons(sn, l)};
    out.push_back({s, HundFill(s.Orbitals(), s.electrons)});
  }
  return out;
}

int UnpairedElectrons(const std::vector<OrbitalBoxes>& boxes) {
  int total = 0;
  for (const OrbitalBoxes& b : boxes) total += b.Unpaired();
  return total;
}

std::optional<int> ValenceElectrons(const Configuration& config, const TablePlace& place) {
  if (!config.Usable() || place.block == L'f') return std::nullopt;
  const int n = place.period;
  int count = config.Electrons(n, 0) + config.Electrons(n, 1);
  if (place.block == L'd') count += config.Electrons(n - 1, 2);
  return count;
}

std::wstring BoxesName(const OrbitalBoxes& b) {
  const size_t count = b.boxes.size();
  std::wstring text = b.subshell.Name() + L": " + std::to_wstring(count) + (count == 1 ? L" клетка, " : L" клетки, ");
  if (b.subshell.electrons == 0) return text + (count == 1 ? L"празна" : L"празни");
  for (size_t i = 0; i < count; ++i) {
    if (i) text += L' ';
    text += b.boxes[i] == 2 ? L"↑↓" : b.boxes[i] == 1 ? L"↑" : L"празна";
  }
  return text;
}

std::wstring UnpairedText(int unpaired) {
  return std::to_wstring(unpaired) + (unpaired == 1 ? L" несдвоен" : L" несдвоени");
}

std::vector<int> ParseShells(std::wstring_view text) {
  std::vector<int> out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L' ') {
      ++i;
      continue;
    }
    int count = 0;
    const size_t digits = i;
    while (i < text.size() && Digit(text[i]) && i - digits < 3) count = count * 10 + (text[i++] - L'0');
    if (i == digits || count == 0 || (i < text.size() && text[i] != L' ') || out.size() == 7) return {};
    out.push_back(count);
  }
  return out;
}

std::wstring ShellText(int index, int count) {
  std::wstring text(1, L"KLMNOPQ"[std::clamp(index, 0, 6)]);
  if (count >= 0) text += L" " + std::to_wstring(count);
  return text;
}

std::wstring ShellsName(const std::vector<int>& shells) {
  std::wstring text = L"Електронна обвивка: ";
  for (size_t i = 0; i < shells.size(); ++i) text += (i ? L", " : L"") + ShellText(static_cast<int>(i), shells[i]);
  return text;
}

std::wstring FaultText(const Configuration& config, int z) {
  if (config.fault == Configuration::Fault::kWrongCount)
    return L"Електроните в записаната конфигурация (" + std::to_wstring(config.counted) +
           L") не отговарят на атомния номер (" + std::to_wstring(z) + L"); клетките не могат да бъдат показани.";
  return L"Записаната електронна конфигурация на елемента не може да бъде прочетена; клетките не могат да бъдат "
         L"показани.";
}

}  // namespace viewer
