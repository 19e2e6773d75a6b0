// A font as the forms name it: face, size in points, weight, character set.
#pragma once

#include <string>

namespace kit {

constexpr int kDefaultCharset = 0;
constexpr int kCyrillicCharset = 204;

struct Font {
  std::wstring face = L"MS Sans Serif";
  double points = 8.25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int charset = kDefaultCharset;

  friend bool operator==(const Font&, const Font&) = default;
};

inline Font MakeFont(const wchar_t* face, double points, bool bold,
                     int charset = kDefaultCharset) {
  Font f;
  f.face = face;
  f.points = points;
  f.bold = bold;
  f.charset = charset;
  return f;
}

}  // namespace kit
