// Whether a wrapped caption in bold Tahoma fits its label, estimated without
// a screen so that the window can choose a size before it draws and a test
// can check the choice. The estimate follows the system's word wrapping
// (breaks at blanks, a word too long for a line broken between letters) with
// each letter's width taken from the wider of Tahoma Bold and the face Wine
// draws in its place, so it errs towards more lines, never fewer.
//
// Sizes are in points, places in twips; the arithmetic is done in pixels at
// 96 dots per inch, where the system rounds a font to whole pixels.
#pragma once

#include <string>

namespace gorvix {

// Lines that `text` takes when wrapped into `width` twips in bold Tahoma of
// `points` points. A line break in the text starts a new line.
int EstimatedLines(const std::wstring& text, double points, int width);

// The height of one such line, in twips.
int LineHeight(double points);

// The largest size from `points` down, in steps of one pixel, at which
// `text` takes no more than `height` twips in a label `width` twips wide;
// `points` itself when it fits, 8.25 points (the smallest size offered)
// when nothing does.
double FittingSize(const std::wstring& text, double points, int width, int height);

}  // namespace gorvix
