// How the scripting host spells two of a shortcut's properties, turned into
// what the shell link object takes. Portable, so that the parsing is tested
// on the build machine; malformed text is an answer, never an exception.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace os {

// "Ctrl+Alt+E", "Shift+F10" (any letter case) as a shell link's hot key
// word: the virtual key in the low byte, HOTKEYF_SHIFT (1), HOTKEYF_CONTROL
// (2) and HOTKEYF_ALT (4) in the high byte. Nothing when the text names no
// key or holds anything else.
std::optional<std::uint16_t> ParseHotKey(const std::wstring& text);

// "path,index" into the path and the index; "path", or an index that is not
// a whole number within int's range, gives the whole text and index 0.
std::pair<std::wstring, int> SplitIconLocation(const std::wstring& location);

}  // namespace os
