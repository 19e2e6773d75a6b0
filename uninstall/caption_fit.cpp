#include "uninstall/caption_fit.h"

#include <cstdint>

#include "kit/drawing.h"

namespace gorvix {
namespace {

// Advance widths in thousandths of an em, each the larger of Tahoma Bold's
// (as Wine's own Tahoma has it) and Liberation Sans Bold's, which Wine draws
// where no Tahoma is installed. Printable ASCII from the blank on.
constexpr std::uint16_t kAscii[] = {
    293, 343, 490, 819, 637, 1199, 782, 276, 455, 455, 637, 819, 313, 432, 313, 578,
    637, 637, 637, 637, 637, 637, 637, 637, 637, 637, 364, 364, 819, 819, 819, 611,
    976, 723, 723, 723, 758, 667, 611, 778, 765, 484, 557, 723, 611, 894, 771, 778,
    667, 778, 727, 667, 613, 739, 675, 1028, 685, 671, 623, 455, 578, 455, 819, 637,
    546, 599, 632, 557, 630, 594, 383, 630, 641, 302, 363, 603, 302, 954, 641, 618,
    630, 630, 434, 557, 416, 641, 579, 890, 605, 576, 503, 624, 637, 624, 819,
};

// The Russian and Bulgarian alphabet, А to я.
constexpr std::uint16_t kCyrillic[] = {
    723, 719, 723, 567, 768, 667, 1044, 636, 776, 776, 697, 777, 894, 765, 778, 765,
    667, 723, 613, 669, 877, 685, 777, 719, 1090, 1104, 870, 980, 719, 712, 1128, 719,
    599, 628, 615, 499, 647, 594, 886, 525, 652, 652, 604, 654, 757, 650, 618, 647,
    630, 557, 521, 576, 888, 605, 656, 616, 924, 934, 730, 855, 615, 553, 923, 610,
};

// Anything else is taken as wider than a capital M.
constexpr int kUnknownWidth = 1000;

// Tahoma's line, the taller of the two: ascent and descent, 2472 units of
// 2048, rounded up.
constexpr int kLineThousandths = 1208;

constexpr int kTwipsPerPixel = 15;
constexpr int kSmallestEm = 11;   // 8.25 points

int Thousandths(wchar_t c) {
  if (c >= 0x20 && c <= 0x7E) return kAscii[c - 0x20];
  if (c >= 0x410 && c <= 0x44F) return kCyrillic[c - 0x410];
  switch (c) {
    case 0x401: return 669;              // Ё
    case 0x451: return 594;              // ё
    case 0xA0: return 293;               // no-break blank
    case 0xA9: case 0xAE: return 929;    // © ®
    case 0xAB: case 0xBB: return 704;    // « »
    case 0x2013: return 637;             // en dash
    case 0x201C: case 0x201D: case 0x201E: return 500;
    default: return kUnknownWidth;       // — and … among them
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

// The label is right-aligned without a frame, so its caption ends short of
// the edge as the painter sets it.
int Room(int width) { return width / kTwipsPerPixel - kit::InkPastEdge(false, kit::Align::kRight); }

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
