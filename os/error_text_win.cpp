#include "base/win32.h"
#include "os/error_text.h"

namespace os {

std::wstring ErrorWords(long code) {
  wchar_t* message = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&message), 0,
                                nullptr);
  std::wstring words = length && message ? std::wstring(message, length) : std::wstring();
  if (message) LocalFree(message);
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) words.pop_back();
  return words;
}

std::wstring ErrorText(long code) {
  const std::wstring words = ErrorWords(code);
  return words.empty() ? std::to_wstring(code) : std::to_wstring(code) + L": " + words;
}

}  // namespace os
