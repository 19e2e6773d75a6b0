#include "os/shortcut_text.h"

#include <cwctype>

namespace os {

namespace {

constexpr std::uint8_t kHotKeyShift = 0x01;
constexpr std::uint8_t kHotKeyControl = 0x02;
constexpr std::uint8_t kHotKeyAlt = 0x04;
constexpr std::uint16_t kVkF1 = 0x70;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A whole number of plain digits, with an optional leading minus, that fits
// an int; nothing for anything else (blanks, signs elsewhere, other digits).
std::optional<int> WholeNumber(const std::wstring& text) {
  const bool negative = !text.empty() && text[0] == L'-';
  const size_t first = negative ? 1 : 0;
  if (first == text.size()) return std::nullopt;
  // Gathered as a negative number: int's range reaches one further there.
  long long value = 0;
  for (size_t i = first; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 - (text[i] - L'0');
    if (value < -2147483648LL) return std::nullopt;
  }
  if (!negative) {
    if (value < -2147483647LL) return std::nullopt;
    value = -value;
  }
  return static_cast<int>(value);
}

}  // namespace

std::optional<std::uint16_t> ParseHotKey(const std::wstring& text) {
  std::uint8_t modifiers = 0;
  std::uint16_t key = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t plus = text.find(L'+', start);
    std::wstring part = text.substr(start, plus == std::wstring::npos ? std::wstring::npos : plus - start);
    for (auto& c : part) c = static_cast<wchar_t>(std::towupper(c));
    if (part == L"CTRL") {
      modifiers |= kHotKeyControl;
    } else if (part == L"ALT") {
      modifiers |= kHotKeyAlt;
    } else if (part == L"SHIFT") {
      modifiers |= kHotKeyShift;
    } else if (key != 0) {
      return std::nullopt;   // a second key
    } else if (part.size() == 1 && ((part[0] >= L'A' && part[0] <= L'Z') || IsDigit(part[0]))) {
      key = part[0];
    } else if (part.size() >= 2 && part.size() <= 3 && part[0] == L'F') {
      auto n = WholeNumber(part.substr(1));
      if (!n || *n < 1 || *n > 24) return std::nullopt;
      key = static_cast<std::uint16_t>(kVkF1 + *n - 1);
    } else {
      return std::nullopt;
    }
    if (plus == std::wstring::npos) break;
    start = plus + 1;
  }
  if (key == 0) return std::nullopt;
  return static_cast<std::uint16_t>(key | (modifiers << 8));
}

std::pair<std::wstring, int> SplitIconLocation(const std::wstring& location) {
  size_t comma = location.rfind(L',');
  if (comma != std::wstring::npos) {
    if (auto index = WholeNumber(location.substr(comma + 1))) return {location.substr(0, comma), *index};
  }
  return {location, 0};
}

}  // namespace os
