#include "viewer/solubility.h"

#include <cstdlib>
#include <numeric>

#include "base/utf.h"
#include "kit/scripted.h"

namespace viewer {

const std::array<Ion, 19> kCations{{
    {L"H", 1}, {L"Li", 1}, {L"NH4", 1, true}, {L"Na", 1}, {L"K", 1}, {L"Mg", 2}, {L"Ca", 2},
    {L"Ba", 2}, {L"Al", 3}, {L"Cr", 3}, {L"Mn", 2}, {L"Fe", 2}, {L"Fe", 3}, {L"Zn", 2},
    {L"Ag", 1}, {L"Hg", 2}, {L"Pb", 2}, {L"Sn", 2}, {L"Cu", 2},
}};

const std::array<Ion, 13> kAnions{{
    {L"OH", -1, true}, {L"F", -1}, {L"Cl", -1}, {L"Br", -1}, {L"I", -1}, {L"S", -2},
    {L"SO3", -2, true}, {L"SO4", -2, true}, {L"NO3", -1, true}, {L"PO4", -3, true},
    {L"CO3", -2, true}, {L"SiO3", -2, true}, {L"CH3COO", -1, true, true},
}};

const std::array<SeriesEntry, 21> kActivitySeries{{
    {L"Li", L"Литий"}, {L"K", L"Калий"}, {L"Ba", L"Барий"}, {L"Ca", L"Калций"}, {L"Na", L"Натрий"},
    {L"Mg", L"Магнезий"}, {L"Al", L"Алуминий"}, {L"Mn", L"Манган"}, {L"Zn", L"Цинк"}, {L"Cr", L"Хром"},
    {L"Fe", L"Желязо"}, {L"Co", L"Кобалт"}, {L"Ni", L"Никел"}, {L"Sn", L"Калай"}, {L"Pb", L"Олово"},
    {L"H2", L"Водород"}, {L"Cu", L"Мед"}, {L"Hg", L"Живак"}, {L"Ag", L"Сребро"}, {L"Pt", L"Платина"},
    {L"Au", L"Злато"},
}};

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// "2-", "+": the size of the charge where it is above one, then its sign.
std::wstring ChargeText(int charge) {
  std::wstring text = std::abs(charge) > 1 ? std::to_wstring(std::abs(charge)) : L"";
  return text + (charge > 0 ? L'+' : L'-');
}

// `count` of an ion in a compound: "Fe2", "(SO4)3", "Cl".
std::wstring Part(const Ion& ion, int count) {
  if (count == 1) return std::wstring(ion.atoms);
  const std::wstring n = std::to_wstring(count);
  return ion.polyatomic ? L"(" + std::wstring(ion.atoms) + L")" + n : std::wstring(ion.atoms) + n;
}

std::wstring Unicode(const Ion& ion) { return kit::UnicodeScripted(kit::ParseScripted(IonMarkup(ion))); }

}  // namespace

std::wstring_view MarkLetter(Mark mark) {
  static constexpr std::wstring_view kLetters[] = {L"Р", L"М", L"Н", L"—"};
  return kLetters[static_cast<std::size_t>(mark)];
}

std::wstring_view MarkWord(Mark mark) {
  static constexpr std::wstring_view kWords[] = {L"разтворимо", L"малко разтворимо", L"неразтворимо",
                                                 L"не съществува или водата го разлага"};
  return kWords[static_cast<std::size_t>(mark)];
}

std::wstring IonPlain(const Ion& ion) {
  std::wstring text(ion.atoms);
  const bool apart = std::abs(ion.charge) > 1 && !text.empty() && IsDigit(text.back());
  return text + (apart ? L" " : L"") + ChargeText(ion.charge);
}

std::wstring IonMarkup(const Ion& ion) {
  const std::wstring charge = ChargeText(ion.charge);
  return FormulaMarkup(ion.atoms) + (charge.size() > 1 ? L"^{" + charge + L"}" : L"^" + charge);
}

bool IsWater(const Ion& cation, const Ion& anion) { return cation.atoms == L"H" && anion.atoms == L"OH"; }

std::wstring CompoundFormula(const Ion& cation, const Ion& anion) {
  if (IsWater(cation, anion)) return L"H2O";
  const int plus = cation.charge, minus = -anion.charge;
  const int common = std::gcd(plus, minus);
  const int cations = minus / common, anions = plus / common;
  if (cation.atoms == L"H" && anion.acid_hydrogen_last) return Part(anion, anions) + Part(cation, cations);
  return Part(cation, cations) + Part(anion, anions);
}

std::wstring FormulaMarkup(std::wstring_view formula) {
  std::wstring out;
  for (wchar_t c : formula) {
    if (IsDigit(c)) out += L'_';
    out += c;
  }
  return out;
}

ParsedSolubility ParseSolubility(std::string_view text) {
  ParsedSolubility parsed;
  std::array<std::array<int, kCations.size()>, kAnions.size()> seen{};
  const std::wstring all = base::Utf8ToWide(text);
  std::size_t begin = 0, line_number = 0;
  while (begin < all.size()) {
    std::size_t end = all.find(L'\n', begin);
    if (end == std::wstring::npos) end = all.size();
    std::wstring line = all.substr(begin, end - begin);
    begin = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (line.empty() || line.front() == L'#') continue;
    const std::wstring where = L"line " + std::to_wstring(line_number) + L": ";
    const std::size_t tab1 = line.find(L'\t');
    const std::size_t tab2 = tab1 == std::wstring::npos ? tab1 : line.find(L'\t', tab1 + 1);
    if (tab2 == std::wstring::npos || line.find(L'\t', tab2 + 1) != std::wstring::npos) {
      parsed.errors.push_back(where + L"not three fields");
      continue;
    }
    auto find = [](const auto& ions, std::wstring_view name) {
      for (std::size_t i = 0; i < ions.size(); ++i)
        if (IonPlain(ions[i]) == name) return i;
      return ions.size();
    };
    const std::size_t cation = find(kCations, std::wstring_view(line).substr(0, tab1));
    const std::size_t anion = find(kAnions, std::wstring_view(line).substr(tab1 + 1, tab2 - tab1 - 1));
    const std::wstring_view letter = std::wstring_view(line).substr(tab2 + 1);
    const Mark* mark = nullptr;
    for (const Mark& m : kMarks)
      if (MarkLetter(m) == letter) mark = &m;
    if (cation == kCations.size() || anion == kAnions.size()) {
      parsed.errors.push_back(where + L"unknown ion");
    } else if (!mark) {
      parsed.errors.push_back(where + L"unknown mark");
    } else if (seen[anion][cation]++) {
      parsed.errors.push_back(where + L"cell given twice");
    } else {
      parsed.table.Set(anion, cation, *mark);
    }
  }
  for (std::size_t a = 0; a < kAnions.size(); ++a)
    for (std::size_t c = 0; c < kCations.size(); ++c) {
      if (seen[a][c]) continue;
      parsed.table.Set(a, c, Mark::kNone);
      parsed.errors.push_back(L"missing: " + IonPlain(kCations[c]) + L" " + IonPlain(kAnions[a]));
    }
  return parsed;
}

const SolubilityTable& Solubility() {
  static const SolubilityTable table = ParseSolubility(SolubilityData()).table;
  return table;
}

std::wstring CellName(std::size_t anion, std::size_t cation, Mark mark) {
  const Ion& c = kCations[cation];
  const Ion& a = kAnions[anion];
  return IonPlain(c) + L", " + IonPlain(a) + L": " + CompoundFormula(c, a) + L", " +
         (IsWater(c, a) ? std::wstring(L"вода") : std::wstring(MarkWord(mark)));
}

std::wstring SolubilityText(const SolubilityTable& table) {
  std::wstring text;
  for (const Ion& c : kCations) text += L"\t" + Unicode(c);
  text += L"\r\n";
  for (std::size_t a = 0; a < kAnions.size(); ++a) {
    text += Unicode(kAnions[a]);
    for (std::size_t c = 0; c < kCations.size(); ++c) text += L"\t" + std::wstring(MarkLetter(table.At(a, c)));
    text += L"\r\n";
  }
  return text;
}

std::wstring SeriesItemName(const SeriesEntry& entry) {
  return std::wstring(entry.symbol) + L", " + std::wstring(entry.name);
}

}  // namespace viewer
