// The one conversion between UTF-8 and UTF-16 (and wchar_t text, UTF-16 on
// Windows and UTF-32 elsewhere) for every layer. Ill-formed input never
// fails: a lone surrogate half and every ill-formed UTF-8 sequence become
// U+FFFD, except in the strict form, which refuses it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace base {

std::string Utf16ToUtf8(std::u16string_view s);
std::string WideToUtf8(std::wstring_view s);

// One U+FFFD for each ill-formed sequence, as long as its valid start (the
// Unicode recommendation), so a cut-off character never swallows the next.
std::u16string Utf8ToUtf16(std::string_view s);
std::wstring Utf8ToWide(std::string_view s);

// Nothing when `s` is not well-formed UTF-8: an overlong form, an encoded
// surrogate, a code point past U+10FFFF or a cut-off sequence.
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view s);

// Pairs are joined where wchar_t is 32 bits; lone halves pass through
// unchanged, as they do where wchar_t is UTF-16.
std::wstring Utf16ToWide(std::u16string_view s);

}  // namespace base
