// The fonts of the Win32 backend: one HFONT for each font, size and DPI the
// program asks for, made on first use and kept until the program ends; the
// face a missing one is drawn in (kit/drawing decides which); the size a
// caption is shrunk to, measured in the face at hand.
#include <cwchar>
#include <map>
#include <tuple>

#include "kit/backend_win.h"
#include "kit/drawing.h"

namespace kit::win {
namespace {

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  static std::map<std::wstring, bool> known;
  auto it = known.find(face);
  if (it != known.end()) return it->second;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  bool found = false;
  base::WindowDc screen;
  EnumFontFamiliesExW(screen.get(), &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  known[face] = found;
  return found;
}

}  // namespace

HFONT FontFor(const Font& font) { return FontFor(font, Dpi()); }

HFONT FontFor(const Font& font, int dpi) {
  // The fonts are deleted with the cache when the program ends.
  static std::map<std::tuple<std::wstring, long long, bool, bool, bool, int, int>, base::Gdi<HFONT>> cache;
  auto key = std::make_tuple(font.face, static_cast<long long>(font.points * 100), font.bold, font.italic,
                             font.underline, font.charset, dpi);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second.get();
  const FaceChoice face = StandIn(font.face, font.bold, FaceInstalled);
  HFONT f = CreateFontW(FontHeight(font.points, dpi), 0, 0, 0, face.bold ? FW_BOLD : FW_NORMAL, font.italic,
                        font.underline, FALSE, static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.face.c_str());
  cache.emplace(key, base::Gdi<HFONT>(f));
  return f;
}

Font FittingFont(HDC dc, const std::wstring& text, Font font, int dpi, int width) {
  font.points = FittingPoints(font.points, width, [&](double points) {
    Font f = font;
    f.points = points;
    base::SelectedObject s(dc, FontFor(f, dpi));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  });
  return font;
}

}  // namespace kit::win
