#include "setup/number_format.h"

#include <cstdio>
#include <cmath>
#include <cstdint>

namespace setup {

std::wstring FormatGrouped(std::int64_t value, const NumberLocale& locale) {
  if (value == 0) return L"";
  bool negative = value < 0;
  // Through unsigned so that the most negative value has a magnitude too.
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::wstring digits = std::to_wstring(magnitude);
  std::wstring out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += locale.thousands;
    out += digits[i];
  }
  return negative ? L"-" + out : out;
}

std::int64_t ParseGrouped(const std::wstring& text, const NumberLocale& locale) {
  std::int64_t value = 0;
  bool negative = false, any = false;
  for (size_t i = 0; i < text.size();) {
    if (!locale.thousands.empty() && text.compare(i, locale.thousands.size(), locale.thousands) == 0) {
      i += locale.thousands.size();
      continue;
    }
    wchar_t c = text[i++];
    if (c == L'-' && !any) {
      negative = true;
    } else if (c >= L'0' && c <= L'9') {
      if (value > (INT64_MAX - 9) / 10) return 0;
      value = value * 10 + (c - L'0');
      any = true;
    } else {
      return 0;
    }
  }
  return negative ? -value : value;
}

std::wstring FormatGeneral(double value, const NumberLocale& locale) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::wstring out;
  for (const char* p = buffer; *p; ++p) {
    if (*p == '.') {
      out += locale.decimal;
    } else {
      out += static_cast<wchar_t>(*p);
    }
  }
  return out;
}

std::wstring FreeMegabytesText(std::int32_t free_kb, bool queried, const NumberLocale& locale, double* megabytes) {
  // The grouped text is what the figure is read back from; an empty text
  // (a drive with nothing free) reads as 0.
  double mb = queried ? static_cast<double>(ParseGrouped(FormatGrouped(free_kb, locale), locale)) / 1024.0 : 0.0;
  std::wstring text = FormatGeneral(mb, locale);
  size_t comma = text.find(L',');
  if (comma != std::wstring::npos && comma + 3 < text.size()) text.resize(comma + 3);
  if (megabytes) {
    // The value as shown, so that the decision matches what the user reads.
    *megabytes = comma != std::wstring::npos ? std::trunc(mb * 100) / 100 : mb;
  }
  return text;
}

}  // namespace setup
