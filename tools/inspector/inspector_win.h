// What the inspector's commands share: JSON text out, and the commands that
// read the system rather than our windows (registry keys, shortcuts, the
// clipboard).
#pragma once

#include <string>

namespace inspector {

std::string Utf8(const std::wstring& w);
// A JSON string literal, quotes included.
std::string Json(const std::wstring& w);

// inspector reg HKCU|HKLM PATH: the key's existence, values and subkeys.
int DumpKey(const std::wstring& root, const std::wstring& path);
// inspector lnk FILE: a shortcut as the shell reads it (IShellLinkW).
int DumpLink(const std::wstring& file);
// inspector clip: the clipboard's Unicode text, and the enhanced metafile's
// and the CF_DIB's headers (null where absent), as one JSON line.
int DumpClipboard();
// inspector clipdib FILE: the CF_DIB as a .bmp file.
int SaveClipboardDib(const std::wstring& file);

}  // namespace inspector
