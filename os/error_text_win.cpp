#include "base/win32.h"
#include "os/error_text.h"

namespace os {

std::wstring ErrorText(long code) {
  std::wstring text = std::to_wstring(code);
  wchar_t* message = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&message), 0,
                                nullptr);
  if (length && message) {
    std::wstring words(message, length);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) words.pop_back();
    text += L": " + words;
  }
  if (message) LocalFree(message);
  return text;
}

}  // namespace os
