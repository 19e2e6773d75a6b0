#include "os/registry.h"

namespace os {

std::vector<std::uint8_t> TextBytes(const std::wstring& text) {
  std::vector<std::uint8_t> out;
  out.reserve((text.size() + 1) * 2);
  for (wchar_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::wstring BytesText(const std::vector<std::uint8_t>& bytes) {
  std::wstring out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0) break;
    out.push_back(c);
  }
  return out;
}

}  // namespace os
