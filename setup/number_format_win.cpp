#include "base/win32.h"
#include "setup/number_format.h"

namespace setup {
namespace {

std::wstring LocaleText(LCTYPE what, const wchar_t* fallback) {
  wchar_t buffer[8] = {};
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buffer, 8);
  return n > 1 ? std::wstring(buffer, n - 1) : std::wstring(fallback);
}

}  // namespace

NumberLocale UserNumberLocale() {
  return NumberLocale{LocaleText(LOCALE_STHOUSAND, L"\u00A0"), LocaleText(LOCALE_SDECIMAL, L",")};
}

}  // namespace setup
