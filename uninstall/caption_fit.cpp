#include "uninstall/caption_fit.h"

#include <cstdint>

namespace gorvix {
namespace {

// Advance widths in thousandths of an em, each the larger of Tahoma Bold's
// (as Wine's own Tahoma has it) and DejaVu Sans Bold's, which Wine draws
// where no Tahoma is installed. Printable ASCII from the blank on.
constexpr std::uint16_t kAscii[] = {
    349, 457, 521, 838, 696, 1199, 873, 307, 458, 458, 637, 838, 380, 432, 380, 578,
    696, 696, 696, 696, 696, 696, 696, 696, 696, 696, 400, 400, 838, 838, 838, 581,
    1000, 774, 763, 734, 831, 684, 684, 821, 837, 484, 501, 775, 638, 996, 837, 851,
    733, 851, 771, 721, 683, 813, 774, 1104, 771, 725, 726, 458, 578, 458, 838, 637,
    546, 675, 716, 593, 716, 679, 436, 716, 712, 343, 363, 666, 343, 1042, 712, 688,
    716, 716, 494, 596, 479, 712, 652, 924, 646, 652, 583, 712, 637, 712, 838,
};

// The Russian and Bulgarian alphabet, А to я.
constexpr std::uint16_t kCyrillic[] = {
    774, 763, 763, 638, 891, 684, 1225, 711, 837, 837, 818, 831, 996, 837, 851, 837,
    733, 734, 683, 771, 992, 771, 928, 809, 1236, 1326, 940, 1037, 763, 734, 1174, 771,
    675, 699, 633, 523, 808, 679, 996, 582, 701, 701, 679, 733, 818, 691, 688, 691,
    716, 593, 580, 652, 993, 646, 742, 687, 1063, 1106, 752, 905, 633, 593, 973, 643,
};

// Anything else is taken as wide as a capital M or wider.
constexpr int kUnknownWidth = 1000;

// Tahoma's line: ascent and descent, 2472 units of 2048, rounded up.
constexpr int kLineThousandths = 1208;

constexpr int kTwipsPerPixel = 15;
constexpr int kSmallestEm = 11;   // 8.25 points

int Thousandths(wchar_t c) {
  if (c >= 0x20 && c <= 0x7E) return kAscii[c - 0x20];
  if (c >= 0x410 && c <= 0x44F) return kCyrillic[c - 0x410];
  switch (c) {
    case 0x401: return 684;              // Ё
    case 0x451: return 679;              // ё
    case 0xA0: return 349;               // no-break blank
    case 0xAB: case 0xBB: return 704;    // « »
    case 0x2013: return 637;             // en dash
    case 0x201C: case 0x201D: case 0x201E: return 658;
    default: return kUnknownWidth;       // © ® — … among them
  }
}

// The system draws a font of a given point size at a whole number of pixels.
int EmPixels(double points) { return static_cast<int>(points * 96 / 72 + 0.5); }

// A glyph's advance at that size, as hinted to whole pixels.
int Advance(wchar_t c, int em) { return (Thousandths(c) * em + 500) / 1000; }

int LinePixels(int em) { return (kLineThousandths * em + 999) / 1000; }

int ParagraphLines(const std::wstring& text, int em, int room) {
  int lines = 1;
  int used = 0;            // pixels of the current line, without blanks at its end
  bool empty_line = true;
  const int blank = Advance(L' ', em);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L' ', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    int width = 0;
    for (wchar_t c : word) width += Advance(c, em);
    if (!empty_line && used + blank + width <= room) {
      used += blank + width;
      continue;
    }
    if (!empty_line) ++lines;
    empty_line = false;
    if (width <= room) {
      used = width;
      continue;
    }
    // A word wider than the line is broken between letters.
    used = 0;
    for (wchar_t c : word) {
      int w = Advance(c, em);
      if (used > 0 && used + w > room) {
        ++lines;
        used = 0;
      }
      used += w;
    }
  }
  return lines;
}

// Right-aligned captions end a pixel short of the label's edge.
int Room(int width) { return width / kTwipsPerPixel - 1; }

int LinesAt(const std::wstring& text, int em, int width) {
  int lines = 0;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(L'\n', start);
    std::wstring paragraph = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (!paragraph.empty() && paragraph.back() == L'\r') paragraph.pop_back();
    lines += ParagraphLines(paragraph, em, Room(width));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

int EstimatedLines(const std::wstring& text, double points, int width) {
  return LinesAt(text, EmPixels(points), width);
}

int LineHeight(double points) { return LinePixels(EmPixels(points)) * kTwipsPerPixel; }

double FittingSize(const std::wstring& text, double points, int width, int height) {
  const int largest = EmPixels(points);
  for (int em = largest; em > kSmallestEm; --em) {
    if (LinesAt(text, em, width) * LinePixels(em) * kTwipsPerPixel <= height) {
      return em == largest ? points : em * 72.0 / 96;
    }
  }
  return largest > kSmallestEm ? kSmallestEm * 72.0 / 96 : points;
}

}  // namespace gorvix
