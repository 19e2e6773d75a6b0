// Numbers as the user's locale writes them, for the free-space figure. The
// separators are passed in, so the rules run the same on any machine; the
// Windows build reads them from the user's locale (number_format_win.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace setup {

struct NumberLocale {
  std::wstring thousands = L"\u00A0";   // Bulgarian: a no-break space
  std::wstring decimal = L",";
};

// The separators of the user's locale (Windows only).
NumberLocale UserNumberLocale();

// The "###,###" pattern: digits grouped by three with the thousands
// separator; zero gives an empty text, as the pattern has no fixed digit.
std::wstring FormatGrouped(std::int64_t value, const NumberLocale& locale);
// Reads such a text back; an empty or unreadable text is 0.
std::int64_t ParseGrouped(const std::wstring& text, const NumberLocale& locale);
// A number as the general number format writes it: up to 15 significant
// digits, the locale's decimal separator, no grouping, no trailing zeros.
std::wstring FormatGeneral(double value, const NumberLocale& locale);

// The free-space text of the disk page: FreeKB as megabytes (divided by
// 1024), written in the locale's format and cut, not rounded, two
// characters after the first ",". `megabytes` receives the value shown.
std::wstring FreeMegabytesText(std::int32_t free_kb, bool queried, const NumberLocale& locale,
                               double* megabytes);

}  // namespace setup
