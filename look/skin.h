// The skin of the borderless windows of the installer and the uninstaller:
// a background colour and three shapes behind every other control, the
// frame (`Shape1`), the header band (`Shape2`) and the side panel (`Shape3`),
// which the window's resize handler stretches to its current size.
#pragma once

#include "kit/color.h"
#include "kit/control.h"
#include "kit/form.h"

namespace look {

constexpr kit::Color kInstallerBackColour = kit::Rgb(0, 168, 255);
constexpr kit::Color kUninstallerBackColour = kit::Rgb(0, 167, 255);

constexpr int kBandHeight = 600;
// The side panel overlaps the band by one pixel so the two white outlines merge.
constexpr int kBandOverlap = 15;
constexpr int kInstallerSideWidth = 2190;
constexpr int kUninstallerSideWidth = 2835;

// Gives the shapes their designed look: a white one-pixel frame, transparent
// inside; a dark blue band and a light blue side panel, both outlined white.
// `side_width` is the panel's width, which the resize step keeps. Either of
// `band` and `side` may be null for windows that lack them.
void DesignSkin(kit::Shape& frame, kit::Shape* band, kit::Shape* side, int side_width);

// The resize step every skinned window runs first: the frame around the
// whole window, the band across its top, the side panel from just under the
// band to the bottom edge. A null `band` or `side` is left alone (the
// dialogs keep their band where the design put it).
void ApplySkin(kit::Form& window, kit::Shape& frame, kit::Shape* band, kit::Shape* side);

// The white one-pixel rules that tie the step labels together, from
// (x1, y1) to (x2, y2) in twips.
void DesignRule(kit::Line& line, int x1, int y1, int x2, int y2);

// The dialogs' header band: a fixed band at (-30, -120), 8370 x 600, that
// the dialog's edges cut down to a 480-high strip; their resize leaves it.
void DesignDialogBand(kit::Shape& band);

// The message dialog's resize: the frame first, then the window becomes as
// wide as its message plus an equal margin on both sides, and the
// acknowledge label sits 100 twips from the right edge. The width change
// raises the resize again; on that pass nothing changes any more.
void ResizeMessageDialog(kit::Form& dialog, kit::Shape& frame, kit::Label& message, kit::Label& acknowledge);

}  // namespace look
