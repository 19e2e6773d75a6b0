// Painting for the Win32 backend: a form's windowless controls in one pass
// (its colour, shapes and lines beneath, then labels and images in z-order,
// a transparent label showing whatever lies under it), picture boxes (our
// own pixel buffer, blitted, with their captions) and the folder list's lines.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <map>
#include <tuple>

#include "kit/backend_win.h"
#include "kit/scene_win.h"

namespace kit::win {
namespace {

// The largest multiple of `step` that is not above `v`.
int GridAtOrBelow(int v, int step) { return (v >= 0 ? v : v - step + 1) / step * step; }

// Black lines `step` pixels apart over `r`, on a grid fixed to the device's
// coordinates, so that neighbouring fills of one hatching line up.
void PaintHatch(HDC dc, const RECT& r, Hatch hatch, int step) {
  if (hatch == Hatch::kNone || step <= 0) return;
  SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  base::Gdi<HPEN> pen(CreatePen(PS_SOLID, std::max(1, step / 6), RGB(0, 0, 0)));
  base::SelectedObject p(dc, pen.get());
  auto stroke = [dc](int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  };
  const bool across = hatch == Hatch::kHorizontal || hatch == Hatch::kCross;
  const bool down = hatch == Hatch::kVertical || hatch == Hatch::kCross;
  const bool rising = hatch == Hatch::kForwardDiagonal || hatch == Hatch::kDiagonalCross;
  const bool falling = hatch == Hatch::kBackwardDiagonal || hatch == Hatch::kDiagonalCross;
  if (across)
    for (int y = GridAtOrBelow(r.top, step); y < r.bottom; y += step) stroke(r.left, y, r.right, y);
  if (down)
    for (int x = GridAtOrBelow(r.left, step); x < r.right; x += step) stroke(x, r.top, x, r.bottom);
  // x + y constant rises to the right; x - y constant falls.
  if (rising)
    for (int c = GridAtOrBelow(r.left + r.top, step); c <= r.right + r.bottom; c += step)
      stroke(c - r.top + 1, r.top - 1, c - r.bottom - 1, r.bottom + 1);
  if (falling)
    for (int c = GridAtOrBelow(r.left - r.bottom, step); c <= r.right - r.top; c += step)
      stroke(c + r.top - 1, r.top - 1, c + r.bottom + 1, r.bottom + 1);
  RestoreDC(dc, -1);
}

void PaintShape(const Appearance& s, HDC dc) {
  RECT r = ToRect(s.place);
  if (s.shape == ShapeKind::kCircle) {
    // A circle fits the smaller side and stands centred in the box.
    int w = r.right - r.left, h = r.bottom - r.top, d = std::min(w, h);
    r.left += (w - d) / 2;
    r.top += (h - d) / 2;
    r.right = r.left + d;
    r.bottom = r.top + d;
  }
  bool outlined = s.pen_width > 0;
  base::Gdi<HBRUSH> brush(s.filled ? CreateSolidBrush(s.back) : nullptr);
  base::Gdi<HPEN> pen(outlined ? CreatePen(PS_INSIDEFRAME, s.pen_width, s.fore) : nullptr);
  base::SelectedObject b(dc, s.filled ? brush.get() : GetStockObject(NULL_BRUSH));
  base::SelectedObject p(dc, outlined ? pen.get() : GetStockObject(NULL_PEN));
  if (s.shape == ShapeKind::kCircle) {
    Ellipse(dc, r.left, r.top, r.right + (outlined ? 0 : 1), r.bottom + (outlined ? 0 : 1));
  } else if (outlined) {
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  } else if (s.filled) {
    FillRect(dc, &r, brush.get());
  }
  if (s.filled && s.hatch != Hatch::kNone && s.shape == ShapeKind::kRectangle) {
    PaintHatch(dc, r, s.hatch, s.hatch_step);
    // The outline again, over the lines' ends.
    if (outlined) {
      base::SelectedObject none(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
  }
}

void PaintLine(const Appearance& l, HDC dc) {
  base::Gdi<HPEN> pen(CreatePen(PS_SOLID, l.pen_width, l.fore));
  base::SelectedObject p(dc, pen.get());
  MoveToEx(dc, l.from.x, l.from.y, nullptr);
  LineTo(dc, l.to.x, l.to.y);
  // GDI leaves out the last pixel; a line control includes both ends.
  if (l.pen_width <= 1) SetPixelV(dc, l.to.x, l.to.y, l.fore);
}

UINT AlignFlags(Align a) {
  switch (a) {
    case Align::kRight: return DT_RIGHT;
    case Align::kCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

namespace {

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  static std::map<std::wstring, bool> known;
  auto it = known.find(face);
  if (it != known.end()) return it->second;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  bool found = false;
  base::WindowDc screen;
  EnumFontFamiliesExW(screen.get(), &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  known[face] = found;
  return found;
}

// Where a face is missing (outside Windows, Arial Black and Verdana usually
// are), the font mapper's stand-in is often far wider and cuts the captions;
// a close sibling keeps them inside their labels: Arial in bold for Arial
// Black, Tahoma (Verdana's narrower twin) for Verdana.
std::wstring FaceOrSibling(const std::wstring& face, bool* bold) {
  if (face == L"Arial Black" && !FaceInstalled(face)) {
    *bold = true;
    return L"Arial";
  }
  if (face == L"Verdana" && !FaceInstalled(face) && FaceInstalled(L"Tahoma")) return L"Tahoma";
  return face;
}

}  // namespace

HFONT FontFor(const Font& font) { return FontFor(font, Dpi()); }

HFONT FontFor(const Font& font, int dpi) {
  static std::map<std::tuple<std::wstring, long long, bool, bool, bool, int, int>, HFONT> cache;
  auto key = std::make_tuple(font.face, static_cast<long long>(font.points * 100), font.bold, font.italic,
                             font.underline, font.charset, dpi);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  int height = -static_cast<int>(font.points * dpi / 72.0 + 0.5);
  bool bold = font.bold;
  std::wstring face = FaceOrSibling(font.face, &bold);
  HFONT f = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline, FALSE,
                        static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  cache[key] = f;
  return f;
}

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

}  // namespace

namespace {

// `font`, or where `text` would not fit `width` pixels at `dpi` (a face
// wider than the one the layout was made for), the largest size that does.
Font FittingFont(HDC dc, const std::wstring& text, Font font, int dpi, int width) {
  auto width_at = [&](const Font& f) {
    base::SelectedObject s(dc, FontFor(f, dpi));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  int wide = width_at(font);
  if (wide <= width || wide <= 0 || width <= 0) return font;
  font.points = std::floor(font.points * width / wide * 4) / 4;
  while (font.points > 1 && width_at(font) > width) font.points -= 0.25;
  return font;
}

// A caption with marked characters, on one line as DrawText sets one: each
// run in its own size, the marked ones raised or lowered from the baseline.
void PaintScripted(HDC dc, const Appearance& label, const RECT& box, const Font& font, int dpi) {
  Font small = font;
  small.points = font.points * kScriptScale;
  const std::vector<ScriptRun> runs = ScriptRuns({label.text, label.scripts});
  TEXTMETRICW base{};
  {
    base::SelectedObject f(dc, FontFor(font, dpi));
    GetTextMetricsW(dc, &base);
  }
  std::vector<int> widths;
  int total = 0;
  for (const ScriptRun& r : runs) {
    base::SelectedObject f(dc, FontFor(r.script == Script::kBase ? font : small, dpi));
    SIZE size{};
    GetTextExtentPoint32W(dc, label.text.c_str() + r.begin, static_cast<int>(r.end - r.begin), &size);
    widths.push_back(size.cx);
    total += size.cx;
  }
  int x = label.alignment == Align::kLeft    ? box.left
          : label.alignment == Align::kRight ? box.right - total
                                             : (box.left + box.right - total) / 2;
  const int top = label.word_wrap ? box.top : (box.top + box.bottom - base.tmHeight) / 2;
  const int baseline = top + base.tmAscent;
  const UINT old_align = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  for (size_t i = 0; i < runs.size(); ++i) {
    const ScriptRun& r = runs[i];
    const double shift = r.script == Script::kSuper ? kSuperRise : r.script == Script::kSub ? kSubDrop : 0;
    base::SelectedObject f(dc, FontFor(r.script == Script::kBase ? font : small, dpi));
    ExtTextOutW(dc, x, baseline - static_cast<int>(std::lround(base.tmAscent * shift)), ETO_CLIPPED, &box,
                label.text.c_str() + r.begin, static_cast<UINT>(r.end - r.begin), nullptr);
    x += widths[i];
  }
  SetTextAlign(dc, old_align);
}

// A label's own pixels (background unless transparent, frame, caption) in
// its own coordinates.
void PaintLabelContent(const Appearance& label, HDC dc, RECT rc, int dpi = Dpi(), bool fit = false) {
  if (!label.transparent) {
    base::Gdi<HBRUSH> back(CreateSolidBrush(label.back));
    FillRect(dc, &rc, back.get());
    PaintHatch(dc, rc, label.hatch, label.hatch_step);
  }
  RECT text = rc;
  if (label.border) {
    // A frame is a pixel wide in the window; a picture at a finer scale
    // asks for a wider one (pen_width) so that it prints as the window shows.
    const int frame = std::max(1, label.pen_width);
    base::Gdi<HPEN> pen(CreatePen(PS_INSIDEFRAME, frame, Resolve(kWindowText)));
    base::SelectedObject p(dc, pen.get());
    base::SelectedObject b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    InflateRect(&text, -frame, -frame);
  }
  // Some faces ink a pixel past the last glyph's advance (Wine's Tahoma
  // does); flush right against the edge that column would be cut off, so the
  // text ends a pixel short and may ink the label's last column, but nothing
  // outside the label.
  bool ink_past_edge = !label.border && label.alignment == Align::kRight;
  if (ink_past_edge) text.right -= 1;
  UINT flags = AlignFlags(label.alignment) | DT_NOPREFIX | DT_EXPANDTABS;
  flags |= label.word_wrap ? DT_WORDBREAK : DT_SINGLELINE;
  Font font = label.font;
  if (fit && !label.word_wrap) font = FittingFont(dc, label.text, font, dpi, text.right - text.left);
  base::SelectedObject f(dc, FontFor(font, dpi));
  // Over lines, the text stands on its own fill so that it stays readable.
  const bool on_lines = !label.transparent && label.hatch != Hatch::kNone;
  SetBkMode(dc, on_lines ? OPAQUE : TRANSPARENT);
  SetBkColor(dc, label.back);
  SetTextColor(dc, label.fore);
  if (ink_past_edge) {
    SaveDC(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    flags |= DT_NOCLIP;
  }
  if (label.scripts.empty()) DrawTextW(dc, label.text.c_str(), static_cast<int>(label.text.size()), &text, flags);
  else PaintScripted(dc, label, text, font, dpi);
  if (ink_past_edge) RestoreDC(dc, -1);
}

}  // namespace

void LoadPicture(ControlRecord& rec) {
  auto& img = static_cast<Image&>(*rec.control);
  rec.bitmap.Reset();
  rec.icon.Reset();
  if (img.resource.empty()) return;
  rec.bitmap.Reset(
      static_cast<HBITMAP>(LoadImageW(Instance(), img.resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!rec.bitmap) {
    RECT r = PixelRect(img.bounds);
    rec.icon.Reset(static_cast<HICON>(
        LoadImageW(Instance(), img.resource.c_str(), IMAGE_ICON, r.right - r.left, r.bottom - r.top, 0)));
  }
}

namespace {

void PaintImage(ControlRecord& rec, const Appearance& img, HDC dc) {
  RECT rc = ToRect(img.place);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (rec.icon) {
    DrawIconEx(dc, rc.left, rc.top, rec.icon.get(), img.stretch ? w : 0, img.stretch ? h : 0, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!rec.bitmap) return;
  BITMAP bm{};
  GetObjectW(rec.bitmap.get(), sizeof(bm), &bm);
  base::MemoryDc mem(CreateCompatibleDC(dc));
  base::SelectedObject s(mem.get(), rec.bitmap.get());
  // An image shows nothing outside its own box, as its window did.
  SaveDC(dc);
  IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
  if (img.stretch) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, rc.left, rc.top, w, h, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  } else {
    BitBlt(dc, rc.left, rc.top, std::min<int>(w, bm.bmWidth), std::min<int>(h, bm.bmHeight), mem.get(), 0, 0,
           SRCCOPY);
  }
  RestoreDC(dc, -1);
}

// A label at its place in a window whose origin is `origin`. The layouts
// were made at 96 DPI; at any other scale a face's widths need not follow
// (Wine's stand-ins grow faster), so a caption that would lose its end is
// drawn in the largest size that fits.
void PaintLabelAt(const Appearance& label, HDC dc, int dpi = Dpi(), bool fit = false) {
  RECT rc = ToRect(label.place);
  POINT old;
  SetViewportOrgEx(dc, rc.left, rc.top, &old);
  PaintLabelContent(label, dc, RECT{0, 0, rc.right - rc.left, rc.bottom - rc.top}, dpi, fit || dpi != 96);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
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
      PaintLabelAt(a, dc);
    } else if (auto* cr = static_cast<ControlRecord*>(c->native)) {
      PaintImage(*cr, a, dc);
    }
  }
  Control* focus = form.Focused();
  rec.painted_focus = nullptr;
  if (show_focus && focus && focus->Kind() == ControlKind::kLabel && Shown(*focus) && !focus->Container()) {
    FocusRing ring = FocusRingOf(AppearanceOf(*focus), SurfaceUnder(form, *focus));
    const PixelBox& o = ring.outer;
    const int w = ring.width;
    if (o.Width() > 2 * w && o.Height() > 2 * w) {
      base::Gdi<HBRUSH> brush(CreateSolidBrush(ring.color));
      const RECT sides[] = {{o.left, o.top, o.right, o.top + w},
                            {o.left, o.bottom - w, o.right, o.bottom},
                            {o.left, o.top + w, o.left + w, o.bottom - w},
                            {o.right - w, o.top + w, o.right, o.bottom - w}};
      for (const RECT& side : sides) FillRect(dc, &side, brush.get());
      // Where the caption runs under the ring (a tile's symbol sits in its
      // corner), it shows through in the other colour, so it stays readable.
      SaveDC(dc);
      IntersectClipRect(dc, o.left, o.top, o.right, o.bottom);
      ExcludeClipRect(dc, o.left + w, o.top + w, o.right - w, o.bottom - w);
      Appearance through = AppearanceOf(*focus);
      through.transparent = true;
      through.fore = BlackOrWhiteOn(ring.color);
      PaintLabelAt(through, dc);
      RestoreDC(dc, -1);
    }
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
    PaintLabelAt(AppearanceOf(*c), dc);
  }
}

void DrawFolderItem(ControlRecord& rec, const DRAWITEMSTRUCT& item) {
  auto& list = static_cast<FolderList&>(*rec.control);
  if (item.itemID == static_cast<UINT>(-1)) return;
  auto lines = list.Lines();
  int index = static_cast<int>(item.itemID);
  if (index < 0 || index >= static_cast<int>(lines.size())) return;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  base::Gdi<HBRUSH> back(CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : Resolve(list.back_color)));
  FillRect(dc, &r, back.get());

  // An open folder for the current folder and its ancestors, a closed one
  // for the subfolders; each level indented a little further.
  int indent = list.Indent(index);
  int current = static_cast<int>(lines.size()) - list.ListCount() - 1;
  int unit = TwipsToPixels(150);
  int x = r.left + 2 + indent * unit;
  int h = r.bottom - r.top;
  int gw = TwipsToPixels(210), gh = TwipsToPixels(150);
  int gy = r.top + (h - gh) / 2;
  base::Gdi<HBRUSH> folder_brush(CreateSolidBrush(RGB(255, 220, 90)));
  base::Gdi<HPEN> folder_pen(CreatePen(PS_SOLID, 1, RGB(120, 90, 0)));
  {
    base::SelectedObject b(dc, folder_brush.get());
    base::SelectedObject p(dc, folder_pen.get());
    Rectangle(dc, x, gy + 2, x + gw, gy + gh);
    Rectangle(dc, x, gy, x + gw / 2, gy + 3);
    if (index <= current) {
      POINT lid[4] = {{x + 2, gy + gh}, {x + gw / 3, gy + 5}, {x + gw + 2, gy + 5}, {x + gw - 2, gy + gh}};
      Polygon(dc, lid, 4);
    }
  }
  std::wstring name = lines[index];
  if (index == 0) {
    // The root shows as the drive, in lower case.
    for (auto& ch : name) ch = static_cast<wchar_t>(towlower(ch));
  } else {
    size_t slash = name.find_last_of(L'\\');
    if (slash != std::wstring::npos) name = name.substr(slash + 1);
  }
  base::SelectedObject f(dc, FontFor(list.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Resolve(list.fore_color));
  RECT text = r;
  text.left = x + gw + 4;
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace kit::win
