// The painting passes of the Win32 backend: a form's windowless controls
// in one pass (its colour, shapes and lines beneath, then labels and images
// in z-order, a transparent label showing whatever lies under it, then the
// focus ring), a picture box (our own pixel buffer, blitted, with its
// captions), a scene of appearances for a picture or a page, and the back
// buffer every window paints through.
#include <algorithm>

#include "kit/backend_win.h"
#include "kit/scene_win.h"

namespace kit::win {
namespace {

void PaintSurface(Form& form, HDC dc, SIZE size) {
  RECT all{0, 0, size.cx, size.cy};
  base::Gdi<HBRUSH> back(CreateSolidBrush(Resolve(form.back_color)));
  FillRect(dc, &all, back.get());
  for (Control* c : form.Controls()) {
    if (c->Container() || (c->Kind() != ControlKind::kShape && c->Kind() != ControlKind::kLine)) continue;
    Appearance a = AppearanceOf(*c);
    if (!a.shown) continue;
    if (a.kind == ControlKind::kShape) PaintShape(a, dc);
    else PaintLine(a, dc);
  }
}

// Copies the part of a picture box's drawing that lies under a child window.
void PaintPictureArea(const PictureBox& box, HDC dc, POINT origin, SIZE size) {
  const Bitmap& img = box.Image();
  RECT all{0, 0, size.cx, size.cy};
  base::Gdi<HBRUSH> back(CreateSolidBrush(Resolve(box.back_color)));
  FillRect(dc, &all, back.get());
  if (img.Empty()) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = img.Width();
  bi.bmiHeader.biHeight = -img.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  // Our colours are 0x00BBGGRR; a DIB wants 0x00RRGGBB.
  std::vector<DWORD> bits(img.Pixels().size());
  for (size_t i = 0; i < bits.size(); ++i) {
    Color c = img.Pixels()[i];
    bits[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  }
  SetDIBitsToDevice(dc, -origin.x, -origin.y, static_cast<DWORD>(img.Width()), static_cast<DWORD>(img.Height()), 0, 0,
                    0, static_cast<UINT>(img.Height()), bits.data(), &bi, DIB_RGB_COLORS);
}

// The ring on a focused label-button; where the caption runs under it (a
// tile's symbol sits in its corner), the caption shows through in the
// other colour, so it stays readable.
void PaintFocusRing(const Form& form, const Control& focus, HDC dc) {
  FocusRing ring = FocusRingOf(AppearanceOf(focus), SurfaceUnder(form, focus));
  const PixelBox& o = ring.outer;
  const int w = ring.width;
  if (o.Width() <= 2 * w || o.Height() <= 2 * w) return;
  base::Gdi<HBRUSH> brush(CreateSolidBrush(ring.color));
  const RECT sides[] = {{o.left, o.top, o.right, o.top + w},
                        {o.left, o.bottom - w, o.right, o.bottom},
                        {o.left, o.top + w, o.left + w, o.bottom - w},
                        {o.right - w, o.top + w, o.right, o.bottom - w}};
  for (const RECT& side : sides) FillRect(dc, &side, brush.get());
  SaveDC(dc);
  IntersectClipRect(dc, o.left, o.top, o.right, o.bottom);
  ExcludeClipRect(dc, o.left + w, o.top + w, o.right - w, o.bottom - w);
  Appearance through = AppearanceOf(focus);
  through.transparent = true;
  through.fore = BlackOrWhiteOn(ring.color);
  PaintLabelAt(through, dc, Dpi(), false);
  RestoreDC(dc, -1);
}

}  // namespace

void PaintForm(FormRecord& rec, HDC dc, const RECT& area, bool show_focus) {
  Form& form = *rec.form;
  PaintSurface(form, dc, SIZE{area.right, area.bottom});
  RECT clip{};
  GetClipBox(dc, &clip);
  for (Control* c : form.Controls()) {
    if (c->Container() || (c->Kind() != ControlKind::kLabel && c->Kind() != ControlKind::kImage)) continue;
    Appearance a = AppearanceOf(*c);
    RECT r = ToRect(a.place), overlap;
    if (!a.shown || !IntersectRect(&overlap, &r, &clip)) continue;
    if (c->Kind() == ControlKind::kLabel) {
      PaintLabelAt(a, dc, Dpi(), false);
    } else if (auto* cr = static_cast<ControlRecord*>(c->native)) {
      PaintImage(*cr, a, dc);
    }
  }
  // Boxes not yet made into windows, above the rest as their windows will be.
  for (Control* c : form.Controls()) {
    auto* cr = static_cast<ControlRecord*>(c->native);
    if (!cr || !cr->painted_box) continue;
    Appearance a = AppearanceOf(*c);
    if (a.shown) PaintEmptyBox(a, dc);
  }
  Control* focus = form.Focused();
  rec.painted_focus = nullptr;
  if (show_focus && focus && focus->Kind() == ControlKind::kLabel && Shown(*focus) && !focus->Container()) {
    PaintFocusRing(form, *focus, dc);
    rec.painted_focus = focus;
  }
}

void PaintScene(HDC dc, const std::vector<Appearance>& items, int dpi) {
  for (const Appearance& a : items) {
    if (!a.shown) continue;
    if (a.kind == ControlKind::kShape) PaintShape(a, dc);
    else if (a.kind == ControlKind::kLine) PaintLine(a, dc);
  }
  for (const Appearance& a : items)
    if (a.shown && a.kind == ControlKind::kLabel) PaintLabelAt(a, dc, dpi, true);
}

void PaintBuffered(HWND hwnd, const std::function<void(HDC buffer, const RECT& client)>& paint, bool first) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (first) {
    // Nothing is on the screen yet to flicker against, and a back buffer
    // the size of the window is memory touched for the first time, which
    // costs the start-up several milliseconds.
    paint(dc, rc);
    EndPaint(hwnd, &ps);
    return;
  }
  {
    base::MemoryDc mem(CreateCompatibleDC(dc));
    base::Gdi<HBITMAP> bmp(CreateCompatibleBitmap(dc, std::max(1L, rc.right), std::max(1L, rc.bottom)));
    base::SelectedObject select(mem.get(), bmp.get());
    IntersectClipRect(mem.get(), ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    paint(mem.get(), rc);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, mem.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  EndPaint(hwnd, &ps);
}

void PaintPicture(ControlRecord& rec, HDC dc) {
  auto& box = static_cast<PictureBox&>(*rec.control);
  RECT rc;
  GetClientRect(rec.hwnd, &rc);
  int inset = box.border ? 1 : 0;
  PaintPictureArea(box, dc, POINT{-inset, -inset}, SIZE{rc.right, rc.bottom});
  if (box.border) {
    base::Gdi<HPEN> pen(CreatePen(PS_SOLID, 1, Resolve(kWindowText)));
    base::SelectedObject p(dc, pen.get());
    base::SelectedObject b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, rc.right, rc.bottom);
  }
  for (Control* c : box.Children()) {
    if (c->Kind() != ControlKind::kLabel || !c->visible) continue;
    PaintLabelAt(AppearanceOf(*c), dc, Dpi(), false);
  }
}

}  // namespace kit::win
