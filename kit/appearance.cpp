#include "kit/appearance.h"

#include <algorithm>
#include <functional>

namespace kit {
namespace {

std::size_t Combine(std::size_t seed, std::size_t v) { return seed ^ (v + 0x9e3779b9u + (seed << 6) + (seed >> 2)); }

Appearance Style(const Appearance& a) {
  Appearance s = a;
  s.place = {};
  s.shown = false;
  s.text.clear();
  s.scripts.clear();
  return s;
}

void TakeText(Appearance& a, const std::wstring& text, bool border, Align alignment) {
  a.has_text = true;
  a.text = text;
  a.border = border;
  a.alignment = alignment;
}

}  // namespace

PixelBox ToPixels(const Rect& r) { return ToPixels(r, Dpi()); }

PixelBox ToPixels(const Rect& r, int dpi) {
  return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.Right(), dpi),
          TwipsToPixels(r.Bottom(), dpi)};
}

Appearance AppearanceOf(const Control& c) { return AppearanceOf(c, Dpi()); }

Appearance AppearanceOf(const Control& c, int dpi) {
  Appearance a;
  a.kind = c.Kind();
  a.place = ToPixels(c.bounds, dpi);
  if (auto* box = static_cast<const PictureBox*>(c.Container()); box && box->border) {
    a.place = {a.place.left + 1, a.place.top + 1, a.place.right + 1, a.place.bottom + 1};
  }
  a.shown = Shown(c);
  if (const StyledControl* s = StyleOf(c)) {
    a.font = s->font;
    a.fore = Resolve(s->fore_color);
    a.back = Resolve(s->back_color);
  }
  switch (c.Kind()) {
    case ControlKind::kLabel: {
      auto& l = static_cast<const Label&>(c);
      TakeText(a, l.caption_shown ? l.caption : std::wstring(), l.border, l.alignment);
      if (l.caption_shown && l.caption_scripts.size() == l.caption.size()) a.scripts = l.caption_scripts;
      a.transparent = l.transparent;
      a.word_wrap = l.word_wrap;
      if (l.monochrome && c.Owner().monochrome) {
        a.back = l.monochrome->back;
        a.fore = Rgb(0, 0, 0);
        a.hatch = l.monochrome->hatch;
      }
      break;
    }
    case ControlKind::kTextBox: {
      auto& t = static_cast<const TextBox&>(c);
      TakeText(a, t.text, t.border, t.alignment);
      break;
    }
    case ControlKind::kOptionButton:
      a.has_text = true;
      a.text = static_cast<const OptionButton&>(c).caption;
      break;
    case ControlKind::kPictureBox: a.border = static_cast<const PictureBox&>(c).border; break;
    case ControlKind::kFolderList: a.border = true; break;
    case ControlKind::kImage: {
      auto& i = static_cast<const Image&>(c);
      a.picture = i.resource;
      a.stretch = i.stretch;
      break;
    }
    case ControlKind::kShape: {
      auto& s = static_cast<const Shape&>(c);
      a.shape = s.shape;
      a.filled = s.filled;
      a.back = Resolve(s.fill_color);
      a.fore = Resolve(s.border_color);
      a.pen_width = s.outlined ? std::max(1, s.border_width) : 0;
      if (s.monochrome && c.Owner().monochrome) {
        a.back = s.monochrome->back;
        a.hatch = s.monochrome->hatch;
      }
      break;
    }
    case ControlKind::kLine: {
      auto& l = static_cast<const Line&>(c);
      a.place = {};
      a.from = {TwipsToPixels(l.x1, dpi), TwipsToPixels(l.y1, dpi)};
      a.to = {TwipsToPixels(l.x2, dpi), TwipsToPixels(l.y2, dpi)};
      a.fore = Resolve(l.color);
      a.pen_width = std::max(1, l.width);
      break;
    }
    default:
      break;
  }
  // Six pixels apart on the screen; as far apart on paper.
  if (a.hatch != Hatch::kNone) a.hatch_step = std::max(3, TwipsToPixels(90, dpi));
  return a;
}

FocusRing FocusRingOf(const Appearance& label, Color surface) {
  int inset = label.border ? 1 : 0;
  PixelBox outer{label.place.left + inset, label.place.top + inset, label.place.right - inset,
                 label.place.bottom - inset};
  return {outer, std::max(2, TwipsToPixels(30)), BlackOrWhiteOn(label.transparent ? surface : label.back)};
}

Color SurfaceUnder(const Form& form, const Control& c) {
  int x = c.bounds.left + c.bounds.width / 2, y = c.bounds.top + c.bounds.height / 2;
  Color under = form.back_color;
  // Shapes lie beneath every label, whatever their order.
  for (Control* o : form.Controls())
    if (o->Kind() == ControlKind::kShape && Shown(*o) && !o->Container() && static_cast<Shape*>(o)->filled &&
        o->bounds.Contains(x, y))
      under = static_cast<Shape*>(o)->fill_color;
  for (Control* o : form.Controls()) {
    if (o == &c) break;
    if (o->Kind() == ControlKind::kLabel && Shown(*o) && !o->Container() && !static_cast<Label*>(o)->transparent &&
        o->bounds.Contains(x, y))
      under = static_cast<Label*>(o)->back_color;
  }
  return Resolve(under);
}

bool SameStyle(const Appearance& a, const Appearance& b) { return Style(a) == Style(b); }

std::size_t LookHash(const Appearance& a) {
  std::size_t h = std::hash<std::wstring>{}(a.text);
  h = Combine(h, std::hash<std::wstring>{}(a.font.face));
  h = Combine(h, std::hash<double>{}(a.font.points));
  h = Combine(h, std::hash<std::wstring>{}(a.picture));
  for (Script s : a.scripts) h = Combine(h, static_cast<std::size_t>(s));
  for (int v : {static_cast<int>(a.kind), a.place.left, a.place.top, a.place.right, a.place.bottom, int{a.shown},
                int{a.font.bold}, int{a.font.italic}, int{a.font.underline}, a.font.charset, static_cast<int>(a.fore),
                static_cast<int>(a.back), int{a.border}, static_cast<int>(a.alignment), int{a.transparent},
                int{a.word_wrap}, int{a.stretch}, static_cast<int>(a.shape), int{a.filled}, static_cast<int>(a.hatch),
                a.hatch_step, a.pen_width, a.from.x, a.from.y, a.to.x, a.to.y})
    h = Combine(h, static_cast<std::size_t>(v));
  return h | 1;
}

}  // namespace kit
