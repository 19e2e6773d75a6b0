// UTF-16 text (wchar_t strings) to UTF-8 bytes, for files meant for any reader.
#pragma once

#include <string>
#include <string_view>

namespace os {

// Surrogate pairs are joined; a lone half becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

}  // namespace os
