#include "base/utf.h"

#include <cstdint>

namespace base {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kIllFormed = 0xFFFFFFFF;  // not a code point

bool IsHigh(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The code point at s[i], i moved past it; a lone half is returned as it is.
template <class Char>
char32_t NextUtf16(std::basic_string_view<Char> s, std::size_t& i) {
  const char32_t c = static_cast<char16_t>(s[i++]);
  if (IsHigh(c) && i < s.size() && IsLow(static_cast<char16_t>(s[i])))
    return 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(s[i++]) - 0xDC00);
  return c;
}

// The code point at s[i], or kIllFormed with i moved past the longest start
// of a well-formed sequence (at least one byte).
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto b = static_cast<std::uint8_t>(s[i++]);
  if (b < 0x80) return b;
  int extra;
  char32_t c;
  std::uint8_t lo = 0x80, hi = 0xBF;  // the second byte's range rules out overlongs,
  if (b >= 0xC2 && b <= 0xDF) {       // surrogates and code points past U+10FFFF
    extra = 1;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    extra = 2;
    c = b & 0x0F;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    extra = 3;
    c = b & 0x07;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    return kIllFormed;
  }
  for (int k = 0; k < extra; ++k, lo = 0x80, hi = 0xBF) {
    if (i >= s.size()) return kIllFormed;
    const auto t = static_cast<std::uint8_t>(s[i]);
    if (t < lo || t > hi) return kIllFormed;
    c = c << 6 | (t & 0x3F);
    ++i;
  }
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (IsSurrogate(c) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

template <class String>
void AppendUtf16(String& out, char32_t c) {
  using Char = typename String::value_type;
  if (c >= 0x10000) {
    c -= 0x10000;
    out.push_back(static_cast<Char>(0xD800 + (c >> 10)));
    out.push_back(static_cast<Char>(0xDC00 + (c & 0x3FF)));
  } else {
    out.push_back(static_cast<Char>(c));
  }
}

template <class Char>
std::string FromUtf16(std::basic_string_view<Char> s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) AppendUtf8(out, NextUtf16(s, i));
  return out;
}

// UTF-8 into UTF-16 or, where `wide`, one unit a code point.
template <class String>
String FromUtf8(std::string_view s, bool wide) {
  String out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    char32_t c = NextUtf8(s, i);
    if (c == kIllFormed) c = kReplacement;
    if (wide) out.push_back(static_cast<typename String::value_type>(c));
    else AppendUtf16(out, c);
  }
  return out;
}

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

}  // namespace

std::string Utf16ToUtf8(std::u16string_view s) { return FromUtf16(s); }

std::string WideToUtf8(std::wstring_view s) {
  if constexpr (kWideIsUtf16) return FromUtf16(s);
  std::string out;
  out.reserve(s.size());
  for (wchar_t c : s) AppendUtf8(out, static_cast<char32_t>(c));
  return out;
}

std::u16string Utf8ToUtf16(std::string_view s) { return FromUtf8<std::u16string>(s, false); }
std::wstring Utf8ToWide(std::string_view s) { return FromUtf8<std::wstring>(s, !kWideIsUtf16); }

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const char32_t c = NextUtf8(s, i);
    if (c == kIllFormed) return std::nullopt;
    AppendUtf16(out, c);
  }
  return out;
}

std::wstring Utf16ToWide(std::u16string_view s) {
  if constexpr (kWideIsUtf16) return std::wstring(s.begin(), s.end());
  std::wstring out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) out.push_back(static_cast<wchar_t>(NextUtf16(s, i)));
  return out;
}

}  // namespace base
