// Text as stored in rows and table definitions: Jet 4 UCS-2 with its
// one-byte "compressed" form, and Jet 3 single-byte code pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

// Jet 4 text: UCS-2 little-endian, or FF FE followed by the compressed form
// in which a 0x00 byte switches between one byte and two bytes a character.
// An odd trailing byte of plain UCS-2 is dropped.
std::u16string DecodeJet4Text(const uint8_t* data, size_t size);

// Jet 3 text in a Windows code page. 1251 (Cyrillic) and 1252 (Western) are
// known; every other code page is read as 1252. Bytes a code page leaves
// undefined come out as the C1 control of the same number, as Windows does.
std::u16string DecodeCodePage(const uint8_t* data, size_t size, uint16_t code_page);

// Plain UCS-2 little-endian, as names and fixed-width texts are stored.
std::vector<uint8_t> EncodeUcs2(std::u16string_view s);
// Jet 4 text as Access writes it: FF FE and one byte a character when every
// character is U+0001..U+00FF (so no toggle byte is ever needed), else plain
// UCS-2. Strings under three characters stay plain: compression would not
// save space.
std::vector<uint8_t> EncodeJet4Text(std::u16string_view s);

}  // namespace jet
