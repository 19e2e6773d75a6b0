#include "look/skin.h"

namespace look {
namespace {
constexpr kit::Color kWhite = kit::Rgb(255, 255, 255);

void Outline(kit::Shape& s) {
  s.shape = kit::ShapeKind::kRectangle;
  s.outlined = true;
  s.border_color = kWhite;
  s.border_width = 1;
}
}  // namespace

void DesignSkin(kit::Shape& frame, kit::Shape* band, kit::Shape* side, int side_width) {
  Outline(frame);
  frame.filled = false;
  if (band) {
    Outline(*band);
    band->filled = true;
    band->fill_color = kit::Rgb(0, 0, 192);
  }
  if (side) {
    Outline(*side);
    side->filled = true;
    side->fill_color = kit::Rgb(0, 150, 255);
    side->bounds.width = side_width;
  }
}

void ApplySkin(kit::Form& window, kit::Shape& frame, kit::Shape* band, kit::Shape* side) {
  frame.bounds.top = 0;
  frame.bounds.left = 0;
  frame.bounds.height = window.Height();
  frame.bounds.width = window.Width();
  if (band) {
    band->bounds.top = 0;
    band->bounds.left = 0;
    band->bounds.height = kBandHeight;
    band->bounds.width = window.Width();
  }
  if (band && side) {
    side->bounds.top = band->bounds.height + band->bounds.top - kBandOverlap;
    side->bounds.left = 0;
    side->bounds.height = window.Height() - band->bounds.height + kBandOverlap;
  }
}

void DesignDialogBand(kit::Shape& band) {
  Outline(band);
  band.filled = true;
  band.fill_color = kit::Rgb(0, 0, 192);
  band.bounds = {-30, -120, 8370, 600};
}

void ResizeMessageDialog(kit::Form& dialog, kit::Shape& frame, kit::Label& message, kit::Label& acknowledge) {
  ApplySkin(dialog, frame, nullptr, nullptr);
  // Raises this resize again from inside; the inner pass finds the width right.
  dialog.SetWidth(message.bounds.width + 2 * message.bounds.left);
  acknowledge.bounds.left = dialog.Width() - acknowledge.bounds.width - 100;
}

void DesignRule(kit::Line& line, int x1, int y1, int x2, int y2) {
  line.x1 = x1;
  line.y1 = y1;
  line.x2 = x2;
  line.y2 = y2;
  line.color = kit::Rgb(255, 255, 255);
}

}  // namespace look
