#include "viewer/property_values.h"

#include <cstdio>
#include <cstdint>

#include "viewer/tile_table.h"

namespace viewer {
namespace {

constexpr std::wstring_view kNoDataText = L"няма данни";
constexpr std::wstring_view kEstimate = L"оценка";
constexpr std::wstring_view kSublimes = L"сублимира при";
constexpr std::wstring_view kUnderPressure = L"под налягане";

// Every power of ten up to 1e22 is a double exactly, so mantissa / 10^n is
// one correctly rounded division: "0,0899 g/L" becomes the double nearest
// to 0.0000899, not something a digit off.
constexpr int kMaxDecimals = 22;
double PowerOfTen(int n) {
  double p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u00A0' || c == L'\u202F'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A cursor over one stored text.
class Scanner {
 public:
  explicit Scanner(std::wstring_view text) : rest_(text) { SkipSpaces(); }

  bool AtEnd() const { return rest_.empty(); }

  void SkipSpaces() {
    while (!rest_.empty() && IsSpace(rest_.front())) rest_.remove_prefix(1);
  }

  // Takes `word` (and the spaces after it) when the text goes on with it.
  bool Take(std::wstring_view word) {
    if (rest_.substr(0, word.size()) != word) return false;
    rest_.remove_prefix(word.size());
    SkipSpaces();
    return true;
  }

  // "~", a sign, digits, and a decimal comma (or point) with more digits.
  // `digits_out` receives the digits as one whole number.
  bool Number(Reading& out, std::uint64_t* digits_out = nullptr) {
    out = {};
    if (Take(L"~")) out.approximate = true;
    bool negative = false;
    if (!rest_.empty() && (rest_.front() == L'-' || rest_.front() == L'\u2212')) {
      negative = true;
      rest_.remove_prefix(1);
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool in_fraction = false;
    while (!rest_.empty()) {
      wchar_t c = rest_.front();
      if (IsDigit(c)) {
        if (++digits > 18) return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - L'0');
        if (in_fraction) ++decimals;
      } else if ((c == L',' || c == L'.') && !in_fraction && digits > 0 && rest_.size() > 1 &&
                 IsDigit(rest_[1])) {
        in_fraction = true;
      } else {
        break;
      }
      rest_.remove_prefix(1);
    }
    if (digits == 0) return false;
    out.kind = Reading::Kind::kValue;
    out.decimals = decimals;
    out.value = static_cast<double>(mantissa) / PowerOfTen(decimals);
    if (negative) out.value = -out.value;
    if (digits_out) *digits_out = mantissa;
    SkipSpaces();
    return true;
  }

  // Notes in brackets: "(оценка)" makes the value an estimate; any other
  // note ("(под налягане)", "(бял)") qualifies a value that still counts.
  bool Notes(bool& estimate, bool* under_pressure = nullptr) {
    while (!rest_.empty() && rest_.front() == L'(') {
      size_t close = rest_.find(L')');
      if (close == std::wstring_view::npos) return false;
      std::wstring_view note = rest_.substr(1, close - 1);
      while (!note.empty() && IsSpace(note.front())) note.remove_prefix(1);
      while (!note.empty() && IsSpace(note.back())) note.remove_suffix(1);
      if (note == kEstimate) estimate = true;
      if (note == kUnderPressure && under_pressure) *under_pressure = true;
      rest_.remove_prefix(close + 1);
      SkipSpaces();
    }
    return true;
  }

  bool Celsius() { return Take(L"°C") || Take(L"° C") || Take(L"\u2103"); }

 private:
  std::wstring_view rest_;
};

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool SaysNoData(std::wstring_view text) {
  text = Trimmed(text);
  // "?" is what the panel shows for an element without a record.
  return text == kNoDataText || text == L"?";
}

// A positive number with notes, then one of `units` (or none when
// `unit_optional`), then notes; each unit's shift scales it into the
// property's own.
struct Unit {
  std::wstring_view text;
  int shift;  // the value is divided by 10^shift
};
Reading ParseMagnitude(std::wstring_view text, std::initializer_list<Unit> units, bool unit_optional) {
  if (SaysNoData(text)) return Reading::NoData();
  Scanner s(text);
  Reading r;
  std::uint64_t mantissa = 0;
  bool estimate = false;
  if (!s.Number(r, &mantissa) || r.value <= 0 || !s.Notes(estimate)) return Reading::Unrecognized();
  const Unit* unit = nullptr;
  for (const Unit& u : units)
    if (s.Take(u.text)) {
      unit = &u;
      break;
    }
  if (!unit && !unit_optional) return Reading::Unrecognized();
  if (!s.Notes(estimate) || !s.AtEnd()) return Reading::Unrecognized();
  if (unit && unit->shift) {
    r.decimals += unit->shift;
    if (r.decimals > kMaxDecimals) return Reading::Unrecognized();
    r.value = static_cast<double>(mantissa) / PowerOfTen(r.decimals);
  }
  r.approximate = r.approximate || estimate;
  return r;
}

// One side of the melting/boiling pair: a temperature with its notes, or
// "няма данни". Notes after the unit of the last side are the whole pair's,
// and are left for the caller.
bool Side(Scanner& s, Reading& out, bool last) {
  if (s.Take(kNoDataText)) {
    out = Reading::NoData();
    return true;
  }
  bool estimate = false;
  if (!s.Number(out) || !s.Notes(estimate, &out.under_pressure)) return false;
  if (s.Celsius() && !last && !s.Notes(estimate, &out.under_pressure)) return false;
  out.approximate = out.approximate || estimate;
  return true;
}

}  // namespace

std::string_view FieldOf(Property property) {
  switch (property) {
    case Property::kAtomRadius: return "atom_rad";
    case Property::kElectronegativity: return "electronegativity";
    case Property::kDensity: return "density";
    case Property::kMeltingPoint:
    case Property::kBoilingPoint: return "melt_boil";
  }
  return {};
}

std::wstring_view CaptionOf(Property property) {
  switch (property) {
    case Property::kAtomRadius: return L"Радиус на атома";
    case Property::kElectronegativity: return L"Електроотрицателност";
    case Property::kDensity: return L"Плътност";
    case Property::kMeltingPoint: return L"Температура на топене";
    case Property::kBoilingPoint: return L"Температура на кипене";
  }
  return {};
}

std::wstring_view UnitOf(Property property) {
  switch (property) {
    case Property::kAtomRadius: return L" pm";
    case Property::kElectronegativity: return L"";
    case Property::kDensity: return L" g/cm³";
    case Property::kMeltingPoint:
    case Property::kBoilingPoint: return L" °C";
  }
  return {};
}

Reading ParseRadius(std::wstring_view text) { return ParseMagnitude(text, {{L"pm", 0}}, true); }

Reading ParseElectronegativity(std::wstring_view text) { return ParseMagnitude(text, {}, true); }

Reading ParseDensity(std::wstring_view text) {
  // Gases are stored per litre; a litre is 1000 cm³. A bare number could be
  // either, so it is not guessed at.
  return ParseMagnitude(text, {{L"g/cm³", 0}, {L"g/cm3", 0}, {L"g/L", 3}, {L"g/l", 3}}, false);
}

MeltBoil ParseMeltBoil(std::wstring_view text) {
  if (SaysNoData(text)) return {};
  const MeltBoil unrecognized{Reading::Unrecognized(), Reading::Unrecognized()};
  Scanner s(text);
  if (s.Take(kSublimes)) {
    // The solid turns straight into vapour: one temperature for both.
    Reading t;
    bool estimate = false;
    if (!s.Number(t) || !s.Notes(estimate) || !s.Celsius() || !s.Notes(estimate) || !s.AtEnd())
      return unrecognized;
    t.approximate = t.approximate || estimate;
    return {t, t};
  }
  MeltBoil out;
  if (!Side(s, out.melting, false) || !s.Take(L"/") || !Side(s, out.boiling, true)) return unrecognized;
  // A note after the whole pair ("302 / 337 °C (оценка)") speaks of both.
  bool estimate = false;
  if (!s.Notes(estimate) || !s.AtEnd()) return unrecognized;
  for (Reading* r : {&out.melting, &out.boiling})
    if (r->HasValue()) r->approximate = r->approximate || estimate;
  return out;
}

Reading ParseProperty(Property property, std::wstring_view text) {
  switch (property) {
    case Property::kAtomRadius: return ParseRadius(text);
    case Property::kElectronegativity: return ParseElectronegativity(text);
    case Property::kDensity: return ParseDensity(text);
    case Property::kMeltingPoint: return ParseMeltBoil(text).melting;
    case Property::kBoilingPoint: return ParseMeltBoil(text).boiling;
  }
  return Reading::Unrecognized();
}

std::wstring ValueText(Property property, const Reading& reading, bool mark_approximate) {
  if (!reading.HasValue()) return std::wstring(kNoDataText);
  // printf rounds as std::to_chars does (from the exact binary value)
  // without adding the latter's 180 KB to the viewer.
  char buffer[352];
  const int length = std::snprintf(buffer, sizeof buffer, "%.*f", reading.decimals, reading.value);
  if (length < 0 || static_cast<size_t>(length) >= sizeof buffer) return std::wstring(kNoDataText);
  const char* end = buffer + length;
  std::wstring text;
  if (mark_approximate && reading.approximate) text += L'~';
  for (const char* p = buffer; p != end; ++p) text += *p == '.' ? L',' : static_cast<wchar_t>(*p);
  text += UnitOf(property);
  return text;
}

int ParseAtomicNumber(std::wstring_view text) {
  int n = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  const size_t digits = i;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9' && n < 1000; ++i) n = n * 10 + (text[i] - L'0');
  while (i < text.size() && text[i] == L' ') ++i;
  return i == text.size() && i > digits && n >= 1 && n <= 999 ? n : 0;
}

std::vector<TileRecord> ReadTileRecords(RecordSet& rs, const Bookmark& first) {
  std::vector<TileRecord> out;
  out.reserve(Tiles().size());
  // The position of the current record, or -1 when there is none to step
  // on from.
  int at = -1;
  for (const TileInfo& tile : Tiles()) {
    TileRecord& record = out.emplace_back();
    if (tile.position == kNoRecord) continue;
    bool reached = at >= 0 && tile.position >= at ? rs.Move(tile.position - at)
                                                  : rs.SetBookmark(first) && rs.Move(tile.position);
    if (!reached) {
      at = -1;
      continue;
    }
    at = tile.position;
    record.has_record = true;
    if (auto name = rs.FieldText("Name")) record.name = std::move(*name);
    if (auto mass = rs.FieldText("atom_mass")) record.atom_mass = std::move(*mass);
    if (auto number = rs.FieldText("atom_num")) record.atomic_number = ParseAtomicNumber(*number);
    if (auto orbitals = rs.FieldText("orbitals")) record.orbitals = std::move(*orbitals);
    if (auto shells = rs.FieldText("elec_shell")) record.elec_shell = std::move(*shells);
    std::optional<MeltBoil> temperatures;
    for (Property p : kProperties) {
      Reading& r = record.readings[static_cast<size_t>(p)];
      if (p == Property::kMeltingPoint || p == Property::kBoilingPoint) {
        if (!temperatures) {
          auto text = rs.FieldText(FieldOf(p));
          temperatures = text ? ParseMeltBoil(*text) : MeltBoil{};
          if (text) record.melt_boil = std::move(*text);
        }
        r = p == Property::kMeltingPoint ? temperatures->melting : temperatures->boiling;
      } else if (auto text = rs.FieldText(FieldOf(p))) {
        r = ParseProperty(p, *text);
      }
    }
  }
  return out;
}

}  // namespace viewer
