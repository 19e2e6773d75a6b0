#include "jet/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "base/utf.h"

namespace jet {
namespace {

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// The first `digits` significant digits of `v` > 0, correctly rounded, as
// a whole number and the power of ten of its last digit.
struct Decimal {
  uint64_t significand;
  int exponent;
};
Decimal RoundedTo(double v, int digits) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
  Decimal d{0, 0};
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') d.significand = d.significand * 10 + static_cast<uint64_t>(*p - '0');
  d.exponent = std::atoi(p + 1) - (digits - 1);
  return d;
}

template <class F>
F ReadBack(const Decimal& d) {
  const std::string text = std::to_string(d.significand) + "e" + std::to_string(d.exponent);
  if constexpr (std::is_same_v<F, float>)
    return std::strtof(text.c_str(), nullptr);
  else
    return std::strtod(text.c_str(), nullptr);
}

// A whole number written out exactly, as printf's %.0f writes it.
std::string WholeDigits(double v) {
  char buf[320];
  std::snprintf(buf, sizeof buf, "%.0f", v);
  return buf;
}

// The shortest digits of positive `v` laid out as std::to_chars lays them
// out: fixed or scientific, whichever is shorter, fixed on a tie. A whole
// number in fixed form shows all of its exact digits, not the shortest
// ones followed by zeros.
std::string Layout(Decimal d, double v) {
  std::string digits = std::to_string(d.significand);
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
    ++d.exponent;
  }
  const int n = static_cast<int>(digits.size());
  const int first = d.exponent + n - 1;  // the power of ten of the first digit
  std::string fixed;
  if (first < 0)
    fixed = "0." + std::string(static_cast<size_t>(-first - 1), '0') + digits;
  else if (n <= first + 1)
    fixed = WholeDigits(v);
  else
    fixed = digits.substr(0, static_cast<size_t>(first + 1)) + "." + digits.substr(static_cast<size_t>(first + 1));
  const int power = first < 0 ? -first : first;
  std::string scientific = digits.substr(0, 1);
  if (n > 1) scientific += "." + digits.substr(1);
  scientific += first < 0 ? "e-" : "e+";
  if (power < 10) scientific += '0';
  scientific += std::to_string(power);
  return fixed.size() <= scientific.size() ? fixed : scientific;
}

// The shortest decimal that reads back as `v`, nearest to it among those
// of its length. Built on printf and strtod rather than std::to_chars, which
// would add some 180 KB to every program that reads a database.
template <class F>
std::string Shortest(F v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-Infinity" : "Infinity";
  const std::string sign = std::signbit(v) ? "-" : "";
  const F magnitude = std::fabs(v);
  if (magnitude == 0) return sign + "0";
  constexpr int kMostDigits = std::is_same_v<F, float> ? 9 : 17;
  for (int digits = 1; digits < kMostDigits; ++digits) {
    Decimal nearest = RoundedTo(magnitude, digits);
    const F back = ReadBack<F>(nearest);
    if (back == magnitude) return sign + Layout(nearest, magnitude);
    // Next to a power of two the values that read back lie closer on one
    // side than on the other; the neighbour across `v` may still be in.
    Decimal across = nearest;
    across.significand = back < magnitude ? across.significand + 1 : across.significand - 1;
    if (across.significand != 0 && ReadBack<F>(across) == magnitude) return sign + Layout(across, magnitude);
  }
  return sign + Layout(RoundedTo(magnitude, kMostDigits), magnitude);
}

// Unsigned 128-bit magnitude (most significant word first) as decimal digits.
std::string MagnitudeDigits(std::array<uint32_t, 4> m) {
  std::string digits;
  for (;;) {
    bool zero = true;
    uint64_t rem = 0;
    for (auto& w : m) {
      const uint64_t cur = rem << 32 | w;
      w = static_cast<uint32_t>(cur / 10);
      rem = cur % 10;
      if (w) zero = false;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + rem));
    if (zero) break;
  }
  return digits;
}

std::string ScaledDecimal(bool negative, std::string digits, unsigned scale, bool trim) {
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  std::string out = digits.substr(0, digits.size() - scale);
  std::string frac = digits.substr(digits.size() - scale);
  if (trim) {
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
  }
  if (!frac.empty()) out += "." + frac;
  const bool is_zero = out.find_first_not_of("0.") == std::string::npos;
  return (negative && !is_zero ? "-" : "") + out;
}

// Days since 1970-01-01 to a proleptic Gregorian date.
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

std::string ShortestText(double v) { return Shortest(v); }
std::string ShortestText(float v) { return Shortest(v); }

CivilTime ToCivil(DateTime t) {
  double v = t.days;
  // Beyond year ±10000 nothing is a real date; keep the arithmetic defined.
  if (!std::isfinite(v)) v = 0;
  if (v > 3e6) v = 3e6;
  if (v < -3e6) v = -3e6;
  const double whole = std::trunc(v);
  int64_t day = static_cast<int64_t>(whole);
  int64_t seconds = std::llround(std::fabs(v - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += 1;
  }
  CivilTime c{};
  CivilFromDays(day - 25569, c.year, c.month, c.day);
  c.hour = static_cast<int>(seconds / 3600);
  c.minute = static_cast<int>(seconds / 60 % 60);
  c.second = static_cast<int>(seconds % 60);
  return c;
}

std::u16string Value::ToText() const {
  struct Visitor {
    std::u16string operator()(std::monostate) const { return {}; }
    std::u16string operator()(bool b) const { return b ? u"True" : u"False"; }
    std::u16string operator()(uint8_t v) const { return Ascii(std::to_string(v)); }
    std::u16string operator()(int16_t v) const { return Ascii(std::to_string(v)); }
    std::u16string operator()(int32_t v) const { return Ascii(std::to_string(v)); }
    std::u16string operator()(Currency c) const {
      const bool neg = c.scaled < 0;
      const uint64_t mag = neg ? 0 - static_cast<uint64_t>(c.scaled) : static_cast<uint64_t>(c.scaled);
      return Ascii(ScaledDecimal(neg, std::to_string(mag), 4, true));
    }
    std::u16string operator()(float v) const { return Ascii(Shortest(v)); }
    std::u16string operator()(double v) const { return Ascii(Shortest(v)); }
    std::u16string operator()(DateTime t) const {
      const CivilTime c = ToCivil(t);
      char buf[64];
      if (c.hour == 0 && c.minute == 0 && c.second == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
      else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                      c.second);
      return Ascii(buf);
    }
    std::u16string operator()(const std::u16string& s) const { return s; }
    std::u16string operator()(const Bytes& b) const {
      static const char kHex[] = "0123456789ABCDEF";
      std::u16string out;
      out.reserve(b.size() * 2);
      for (uint8_t x : b) {
        out.push_back(static_cast<char16_t>(kHex[x >> 4]));
        out.push_back(static_cast<char16_t>(kHex[x & 15]));
      }
      return out;
    }
    std::u16string operator()(const Guid& g) const {
      const auto& b = g.bytes;
      char buf[48];
      std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                    b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
      return Ascii(buf);
    }
    std::u16string operator()(const Numeric& n) const {
      return Ascii(ScaledDecimal(n.negative, MagnitudeDigits(n.magnitude), n.scale, false));
    }
  };
  return std::visit(Visitor{}, v_);
}

std::wstring Value::ToWString() const { return base::Utf16ToWide(ToText()); }
std::string Value::ToUtf8() const { return base::Utf16ToUtf8(ToText()); }

}  // namespace jet
