// Text as stored in rows and table definitions: Jet 4 UCS-2 with its
// one-byte "compressed" form, and Jet 3 single-byte code pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace jet {

// Jet 4 text: UCS-2 little-endian, or FF FE followed by the compressed form
// in which a 0x00 byte switches between one byte and two bytes a character.
// An odd trailing byte of plain UCS-2 is dropped.
std::u16string DecodeJet4Text(const uint8_t* data, size_t size);

// Jet 3 text in a Windows code page. 1251 (Cyrillic) and 1252 (Western) are
// known; every other code page is read as 1252. Bytes a code page leaves
// undefined come out as the C1 control of the same number, as Windows does.
std::u16string DecodeCodePage(const uint8_t* data, size_t size, uint16_t code_page);

}  // namespace jet
