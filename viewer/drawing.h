// The lines and text a window beside the table draws with the kit's
// controls and makes anew with each element, property or size: one vector
// owns them, and the window clears it before drawing again (and before the
// form they register with goes).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "viewer/window_look.h"

namespace viewer {

using Drawing = std::vector<std::unique_ptr<kit::Control>>;

template <class T>
T& Keep(Drawing& drawing, std::unique_ptr<T> control) {
  T& out = *control;
  drawing.push_back(std::move(control));
  return out;
}

inline kit::Line& DrawLine(kit::Form& form, Drawing& drawing, std::string name, kit::Point a, kit::Point b,
                           kit::Color color, int width = 1) {
  auto line = std::make_unique<kit::Line>(form, std::move(name));
  line->x1 = a.x;
  line->y1 = a.y;
  line->x2 = b.x;
  line->y2 = b.y;
  line->color = color;
  line->width = width;
  return Keep(drawing, std::move(line));
}

// Ink on the window's paper; the caller gives the label its text.
inline kit::Label& DrawText(kit::Form& form, Drawing& drawing, std::string name, kit::Rect bounds, kit::Font font,
                            kit::Align align) {
  auto label = std::make_unique<kit::Label>(form, std::move(name));
  label->bounds = bounds;
  label->font = std::move(font);
  label->fore_color = kInk;
  label->transparent = true;
  label->alignment = align;
  return Keep(drawing, std::move(label));
}

}  // namespace viewer
