// Painting a list of appearances onto any device context: a bitmap, a
// metafile or a printer page, through the same code that paints windows.
#pragma once

#include <vector>

#include "base/win32.h"
#include "kit/appearance.h"

namespace kit::win {

// Shapes and lines first, then the labels, each at its place in `dc`'s
// pixels; fonts are made for `dpi`, and a caption that would not fit its
// label in the face at hand is drawn in the largest size that fits.
void PaintScene(HDC dc, const std::vector<Appearance>& items, int dpi);

}  // namespace kit::win
