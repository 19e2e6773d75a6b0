#include "viewer/formula.h"

#include <algorithm>

#include "viewer/tile_table.h"

namespace viewer {
namespace {

// The largest total mass taken: 10^10 g/mol. Products and per cents of
// anything below it stay well inside 64 bits.
constexpr Mass kMaxTotal = Mass{10000000000} * kMassUnit;

std::wstring Quoted(std::wstring_view s) { return L"„" + std::wstring(s) + L"“"; }
std::wstring At(std::size_t index) { return L" на позиция " + std::to_wstring(index + 1); }

bool Upper(wchar_t c) { return c >= L'A' && c <= L'Z'; }
bool Lower(wchar_t c) { return c >= L'a' && c <= L'z'; }
bool Space(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u00A0' || c == L'\u202F'; }
bool Sign(wchar_t c) { return c == L'+' || c == L'-' || c == L'\u2212'; }
bool Cyrillic(wchar_t c) { return c >= L'\u0400' && c <= L'\u04FF'; }
bool Closing(wchar_t c) { return c == L')' || c == L']' || c == L'}'; }
bool Joiner(wchar_t c) { return c == L'·' || c == L'•' || c == L'*' || c == L'.' || c == L'\u22C5'; }
wchar_t CloserOf(wchar_t open) { return open == L'(' ? L')' : open == L'[' ? L']' : L'}'; }

// A digit as written, plain or as a subscript; -1 for anything else.
int Digit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'₀' && c <= L'₉') return c - L'₀';
  return -1;
}
int SuperDigit(wchar_t c) {
  switch (c) {
    case L'⁰': return 0;
    case L'¹': return 1;
    case L'²': return 2;
    case L'³': return 3;
    default: return c >= L'⁴' && c <= L'⁹' ? c - L'⁴' + 4 : -1;
  }
}

// The ways to read a lower-case run as symbols ("co": "Co", then "CO"),
// fewest symbols first; at most two.
std::vector<std::wstring> CapitalFixes(std::wstring_view run, const std::vector<FormulaElement>& elements) {
  auto known = [&](std::wstring_view piece) {
    std::wstring s(piece);
    s[0] = static_cast<wchar_t>(s[0] - L'a' + L'A');
    for (const FormulaElement& e : elements)
      if (e.symbol == s) return true;
    return false;
  };
  struct Reading {
    std::wstring text;
    int pieces;
  };
  // Whether the run can be read to its end from each place: the search
  // below only steps where it can, so it never wanders through the many
  // splits of a long run that has no reading at all.
  std::vector<bool> finishes(run.size() + 1, false);
  finishes[run.size()] = true;
  for (std::size_t at = run.size(); at-- > 0;)
    for (std::size_t len = 1; len <= 3 && !finishes[at]; ++len)
      finishes[at] = at + len <= run.size() && finishes[at + len] && known(run.substr(at, len));
  std::vector<Reading> out;
  // Depth-first over the splits that finish.
  std::vector<std::pair<std::size_t, Reading>> todo;
  if (finishes[0]) todo.push_back({0, {L"", 0}});
  while (!todo.empty() && out.size() < 16) {
    auto [at, so_far] = todo.back();
    todo.pop_back();
    if (at == run.size()) {
      out.push_back(so_far);
      continue;
    }
    for (std::size_t len = 3; len >= 1; --len) {
      if (at + len > run.size() || !finishes[at + len] || !known(run.substr(at, len))) continue;
      std::wstring piece(run.substr(at, len));
      piece[0] = static_cast<wchar_t>(piece[0] - L'a' + L'A');
      todo.push_back({at + len, {so_far.text + piece, so_far.pieces + 1}});
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const Reading& a, const Reading& b) { return a.pieces < b.pieces; });
  std::vector<std::wstring> fixes;
  for (const Reading& r : out)
    if (fixes.size() < 2 && std::find(fixes.begin(), fixes.end(), r.text) == fixes.end()) fixes.push_back(r.text);
  return fixes;
}

class Parser {
 public:
  Parser(std::wstring_view text, const std::vector<FormulaElement>& elements) : s_(text), elements_(elements) {}

  Formula Run() {
    Formula f;
    std::size_t end = s_.size();
    while (end > 0 && Space(s_[end - 1])) --end;
    std::size_t begin = 0;
    while (begin < end && Space(s_[begin])) ++begin;
    if (begin == end) return f;
    if (s_.size() > kMaxFormulaLength) {
      f.error = L"Формулата е по-дълга от " + std::to_wstring(kMaxFormulaLength) + L" знака.";
      return f;
    }
    end = TakeCharge(begin, end);
    if (error_.empty()) ReadBody(begin, end);
    if (!error_.empty()) {
      f.error = error_;
      return f;
    }
    for (const auto& [element, atoms] : stack_.front()) {
      const Mass each = elements_[static_cast<std::size_t>(element)].mass;
      if (atoms > kMaxTotal / std::max<Mass>(each, 1) || f.total + atoms * each > kMaxTotal) {
        f.error = L"Формулата дава твърде голяма маса: над 10 000 000 000 g/mol.";
        return f;
      }
      f.rows.push_back({element, atoms, atoms * each});
      f.total += atoms * each;
      f.approximate = f.approximate || elements_[static_cast<std::size_t>(element)].mass_number;
    }
    f.charge = charge_;
    f.markup = markup_;
    f.plain = plain_;
    if (multiplier_ > 1) {
      f.markup = std::to_wstring(multiplier_) + L" × " + f.markup;
      f.plain = std::to_wstring(multiplier_) + L" × " + f.plain;
    }
    if (!charge_.empty()) {
      f.markup += L"^{" + charge_ + L"}";
      f.plain += L"^" + charge_;
    }
    return f;
  }

 private:
  using Counts = std::vector<std::pair<int, std::int64_t>>;

  void Fail(std::wstring message) {
    if (error_.empty()) error_ = std::move(message);
  }

  // Takes a trailing charge off: "^2-", "²⁻", "2-" after a space or a
  // closing bracket, or a sign alone ("NH4+"). Returns where the body ends.
  std::size_t TakeCharge(std::size_t begin, std::size_t end) {
    std::size_t at = end;
    // Superscripts: digits, then the sign.
    if (s_[end - 1] == L'⁺' || s_[end - 1] == L'⁻') {
      at = end - 1;
      std::wstring digits;
      while (at > begin && SuperDigit(s_[at - 1]) >= 0) digits.insert(digits.begin(), L'0' + SuperDigit(s_[--at]));
      SetCharge(digits, s_[end - 1] == L'⁺', at);
      return Trimmed(begin, at);
    }
    if (!Sign(s_[end - 1])) return end;
    at = end - 1;
    std::size_t digits_at = at;
    while (digits_at > begin && Digit(s_[digits_at - 1]) >= 0 && s_[digits_at - 1] < L'₀') --digits_at;
    std::wstring digits(s_.substr(digits_at, at - digits_at));
    const bool plus = s_[end - 1] == L'+';
    if (digits_at > begin && s_[digits_at - 1] == L'^') {
      SetCharge(digits, plus, digits_at - 1);
      return Trimmed(begin, digits_at - 1);
    }
    if (!digits.empty() && digits_at > begin && (Space(s_[digits_at - 1]) || Closing(s_[digits_at - 1]))) {
      SetCharge(digits, plus, digits_at);
      return Trimmed(begin, digits_at);
    }
    // Digits straight before the sign: "Fe3+" is iron(III), "NO3-" a
    // nitrate; which one is meant cannot be told, so it is asked again.
    if (!digits.empty()) {
      Fail(Quoted(s_.substr(digits_at, end - digits_at)) + At(digits_at) +
           L": зарядът не се отделя от броя — пишете го след интервал или „^“ (Fe^3+, NO3^-).");
      return end;
    }
    SetCharge(L"", plus, at);
    return at;
  }

  std::size_t Trimmed(std::size_t begin, std::size_t end) {
    while (end > begin && Space(s_[end - 1])) --end;
    return end;
  }

  void SetCharge(const std::wstring& digits, bool plus, std::size_t at) {
    std::int64_t n = 0;
    for (wchar_t c : digits) n = std::min<std::int64_t>(n * 10 + (c - L'0'), 100000);
    if (!digits.empty() && (n == 0 || n > 99)) Fail(L"Зарядът" + At(at) + L" трябва да е от 1 до 99.");
    charge_ = (n > 1 ? std::to_wstring(n) : L"") + (plus ? L"+" : L"-");
  }

  // Skips spaces; the index of the next character, or `end`.
  std::size_t Next(std::size_t i, std::size_t end) const {
    while (i < end && Space(s_[i])) ++i;
    return i;
  }

  // A whole number from `i` (spaces between its digits ignored); returns
  // where it ends, or nothing (and says why) when it is out of range.
  std::optional<std::int64_t> Number(std::size_t& i, std::size_t end) {
    const std::size_t from = i;
    std::int64_t n = 0;
    std::wstring written;
    while (i < end && Digit(s_[i]) >= 0) {
      n = std::min<std::int64_t>(n * 10 + Digit(s_[i]), 1000000);
      written += static_cast<wchar_t>(L'0' + Digit(s_[i]));
      i = Next(i + 1, end);
    }
    if (n == 0 || n > kMaxCount) {
      Fail(L"Броят " + Quoted(written) + At(from) + L" трябва да е от 1 до " + std::to_wstring(kMaxCount) + L".");
      return std::nullopt;
    }
    return n;
  }

  void ReadBody(std::size_t begin, std::size_t end) {
    // The whole formula, then the part after the last joiner, then one
    // level for each group open.
    stack_.assign(2, {});
    bool unit_start = true;   // at the start or after a joiner: a multiplier may follow
    std::size_t joiner_at = end;
    std::int64_t part_k = 1;
    std::size_t i = Next(begin, end);
    while (i < end && error_.empty()) {
      const wchar_t c = s_[i];
      if (Digit(c) >= 0) {
        const std::size_t at = i;
        auto n = Number(i, end);
        if (!n) return;
        if (unit_start && joiner_at == end) {
          multiplier_ = *n;
        } else if (unit_start) {
          part_k = *n;
          markup_ += std::to_wstring(*n);
          plain_ += std::to_wstring(*n);
        } else if (last_.empty()) {
          Fail(L"Числото" + At(at) + L" не стои след символ или скоба.");
          return;
        } else {
          for (auto& [e, count] : last_) count = std::min(count, kMaxTotal) * *n;
          markup_ += L"_{" + std::to_wstring(*n) + L"}";
          plain_ += std::to_wstring(*n);
        }
        unit_start = false;
        continue;
      }
      Flush();
      unit_start = false;
      if (Upper(c)) {
        std::size_t j = i + 1;
        while (j < end && Lower(s_[j])) ++j;
        const std::wstring symbol(s_.substr(i, j - i));
        const int element = Find(symbol);
        if (element < 0) return Fail(L"Непознат символ " + Quoted(symbol));
        last_ = {{element, 1}};
        markup_ += symbol;
        plain_ += symbol;
        i = Next(j, end);
      } else if (Lower(c)) {
        std::size_t j = i + 1;
        while (j < end && Lower(s_[j])) ++j;
        const std::wstring run(s_.substr(i, j - i));
        std::wstring message = Quoted(run) + L": символът започва с главна буква";
        const auto fixes = CapitalFixes(run, elements_);
        for (std::size_t k = 0; k < fixes.size(); ++k) message += (k == 0 ? L" — " : L" или ") + fixes[k];
        return Fail(message + (fixes.empty() ? L"." : L"?"));
      } else if (c == L'(' || c == L'[' || c == L'{') {
        if (static_cast<int>(opens_.size()) >= kMaxNesting)
          return Fail(L"Скобите са вложени по-дълбоко от " + std::to_wstring(kMaxNesting) + L" нива" + At(i) + L".");
        opens_.push_back(i);
        stack_.push_back({});
        markup_ += c;
        plain_ += c;
        i = Next(i + 1, end);
      } else if (Closing(c)) {
        const std::wstring bracket(1, c);
        if (opens_.empty()) return Fail(L"Скобата " + Quoted(bracket) + At(i) + L" няма отваряща.");
        const std::size_t open = opens_.back();
        if (CloserOf(s_[open]) != c)
          return Fail(L"Скобата " + Quoted(bracket) + At(i) + L" не затваря " + Quoted(std::wstring(1, s_[open])) +
                      At(open) + L".");
        if (stack_.back().empty()) return Fail(L"Скобите" + At(open) + L" са празни.");
        last_ = std::move(stack_.back());
        stack_.pop_back();
        opens_.pop_back();
        markup_ += c;
        plain_ += c;
        i = Next(i + 1, end);
      } else if (Joiner(c)) {
        const std::wstring joiner(1, c);
        if (!opens_.empty())
          return Fail(L"Знакът " + Quoted(joiner) + At(i) + L" свързва части на формулата и не може да е в скоби.");
        if (stack_.back().empty()) return Fail(L"Преди " + Quoted(joiner) + At(i) + L" липсва част от формулата.");
        EndPart(part_k);
        part_k = 1;
        joiner_at = i;
        markup_ += L"·";
        plain_ += L"·";
        i = Next(i + 1, end);
        unit_start = true;
      } else if (Cyrillic(c)) {
        return Fail(L"Знакът " + Quoted(std::wstring(1, c)) + At(i) +
                    L" е буква на кирилица: символите се пишат с латински букви.");
      } else {
        return Fail(L"Непознат знак " + Quoted(std::wstring(1, c)) + At(i) + L".");
      }
    }
    if (!error_.empty()) return;
    Flush();
    if (!opens_.empty())
      return Fail(L"Скобата " + Quoted(std::wstring(1, s_[opens_.back()])) + At(opens_.back()) + L" не е затворена");
    if (stack_.back().empty())
      return Fail(joiner_at == end ? std::wstring(L"Формулата няма нито един символ.")
                                   : L"След " + Quoted(std::wstring(1, s_[joiner_at])) + At(joiner_at) +
                                         L" липсва част от формулата.");
    EndPart(part_k);
    for (auto& [e, count] : stack_.front()) count = std::min(count, kMaxTotal) * multiplier_;
  }

  // The symbol or group just read goes into its level with its count.
  void Flush() {
    for (const auto& [e, n] : last_) Add(stack_.back(), e, n);
    last_.clear();
  }

  // The part since the last joiner goes into the whole, `k` times.
  void EndPart(std::int64_t k) {
    for (const auto& [e, n] : stack_.back()) Add(stack_.front(), e, std::min(n, kMaxTotal) * k);
    stack_.back().clear();
  }

  // Counts are held below kMaxTotal before each product, so nothing
  // overflows; a total past it is refused when the masses are added.
  static void Add(Counts& into, int element, std::int64_t atoms) {
    atoms = std::min(atoms, kMaxTotal);
    for (auto& [e, n] : into)
      if (e == element) {
        n = std::min(n, kMaxTotal) + atoms;
        return;
      }
    into.push_back({element, atoms});
  }

  int Find(const std::wstring& symbol) const {
    for (std::size_t k = 0; k < elements_.size(); ++k)
      if (elements_[k].symbol == symbol) return static_cast<int>(k);
    return -1;
  }

  std::wstring_view s_;
  const std::vector<FormulaElement>& elements_;
  std::wstring error_;
  std::wstring markup_, plain_, charge_;
  std::int64_t multiplier_ = 1;
  std::vector<Counts> stack_;
  std::vector<std::size_t> opens_;   // where each open group's bracket stands
  Counts last_;                      // the symbol or group just read, before its count
};

}  // namespace

std::optional<Mass> ParseAtomicMass(std::wstring_view text, bool* mass_number) {
  const bool bracketed = text.size() > 2 && text.front() == L'[' && text.back() == L']';
  if (bracketed) text = text.substr(1, text.size() - 2);
  if (mass_number) *mass_number = bracketed;
  Mass whole = 0, fraction = 0;
  int digits = 0, decimals = -1;
  for (wchar_t c : text) {
    if (c == L',' && decimals < 0 && digits > 0 && !bracketed) {
      decimals = 0;
      continue;
    }
    if (c < L'0' || c > L'9' || digits >= 9) return std::nullopt;
    ++digits;
    if (decimals < 0) {
      whole = whole * 10 + (c - L'0');
    } else {
      if (++decimals > 4) return std::nullopt;
      fraction = fraction * 10 + (c - L'0');
    }
  }
  if (digits == 0 || decimals == 0) return std::nullopt;
  for (int d = std::max(decimals, 0); d < 4; ++d) fraction *= 10;
  const Mass mass = whole * kMassUnit + fraction;
  if (mass <= 0) return std::nullopt;
  return mass;
}

std::vector<FormulaElement> FormulaElements(const std::vector<TileRecord>& records) {
  std::vector<FormulaElement> out;
  const auto& tiles = Tiles();
  for (std::size_t i = 0; i < records.size() && i < tiles.size(); ++i) {
    const TileRecord& r = records[i];
    if (!r.has_record) continue;
    FormulaElement e;
    auto mass = ParseAtomicMass(r.atom_mass, &e.mass_number);
    if (!mass) continue;
    e.symbol.assign(tiles[i].symbol.begin(), tiles[i].symbol.end());
    e.name = r.name;
    e.mass_text = r.atom_mass;
    e.mass = *mass;
    out.push_back(std::move(e));
  }
  return out;
}

Formula ParseFormula(std::wstring_view text, const std::vector<FormulaElement>& elements) {
  return Parser(text, elements).Run();
}

}  // namespace viewer
