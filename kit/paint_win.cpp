// Painting for the Win32 backend: a form's windowless controls in one pass
// (its colour, shapes and lines beneath, then labels and images in z-order,
// a transparent label showing whatever lies under it), picture boxes (our
// own pixel buffer, blitted, with their captions) and the folder list's lines.
#include <algorithm>
#include <cwchar>
#include <map>
#include <tuple>

#include "kit/backend_win.h"

namespace kit::win {
namespace {

// Pens and brushes live only for one paint; fonts are kept for the run.
struct Gdi {
  HGDIOBJ handle;
  explicit Gdi(HGDIOBJ h) : handle(h) {}
  ~Gdi() {
    if (handle) DeleteObject(handle);
  }
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;
};

struct Select {
  HDC dc;
  HGDIOBJ old;
  Select(HDC d, HGDIOBJ h) : dc(d), old(SelectObject(d, h)) {}
  ~Select() { SelectObject(dc, old); }
  Select(const Select&) = delete;
  Select& operator=(const Select&) = delete;
};

RECT ToPixels(const Rect& r, POINT origin) {
  RECT out;
  out.left = TwipsToPixels(r.left) - origin.x;
  out.top = TwipsToPixels(r.top) - origin.y;
  out.right = TwipsToPixels(r.left + r.width) - origin.x;
  out.bottom = TwipsToPixels(r.top + r.height) - origin.y;
  return out;
}

void PaintShape(const Shape& s, HDC dc, POINT origin) {
  RECT r = ToPixels(s.bounds, origin);
  if (s.shape == ShapeKind::kCircle) {
    // A circle fits the smaller side and stands centred in the box.
    int w = r.right - r.left, h = r.bottom - r.top, d = std::min(w, h);
    r.left += (w - d) / 2;
    r.top += (h - d) / 2;
    r.right = r.left + d;
    r.bottom = r.top + d;
  }
  Gdi brush(s.filled ? CreateSolidBrush(Resolve(s.fill_color)) : nullptr);
  Gdi pen(s.outlined ? CreatePen(PS_INSIDEFRAME, std::max(1, s.border_width), Resolve(s.border_color)) : nullptr);
  Select b(dc, s.filled ? brush.handle : GetStockObject(NULL_BRUSH));
  Select p(dc, s.outlined ? pen.handle : GetStockObject(NULL_PEN));
  if (s.shape == ShapeKind::kCircle) {
    Ellipse(dc, r.left, r.top, r.right + (s.outlined ? 0 : 1), r.bottom + (s.outlined ? 0 : 1));
  } else if (s.outlined) {
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  } else if (s.filled) {
    FillRect(dc, &r, static_cast<HBRUSH>(brush.handle));
  }
}

void PaintLine(const Line& l, HDC dc, POINT origin) {
  int x1 = TwipsToPixels(l.x1) - origin.x, y1 = TwipsToPixels(l.y1) - origin.y;
  int x2 = TwipsToPixels(l.x2) - origin.x, y2 = TwipsToPixels(l.y2) - origin.y;
  Color c = Resolve(l.color);
  Gdi pen(CreatePen(PS_SOLID, std::max(1, l.width), c));
  Select p(dc, pen.handle);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  // GDI leaves out the last pixel; a line control includes both ends.
  if (l.width <= 1) SetPixelV(dc, x2, y2, c);
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
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
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

HFONT FontFor(const Font& font) {
  static std::map<std::tuple<std::wstring, long long, bool, bool, bool, int, int>, HFONT> cache;
  int dpi = Dpi();
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

void PaintSurface(Form& form, HDC dc, POINT origin, SIZE size) {
  RECT all{0, 0, size.cx, size.cy};
  Gdi back(CreateSolidBrush(Resolve(form.back_color)));
  FillRect(dc, &all, static_cast<HBRUSH>(back.handle));
  for (Control* c : form.Controls()) {
    if (!c->visible || c->Container()) continue;
    if (c->Kind() == ControlKind::kShape) PaintShape(static_cast<Shape&>(*c), dc, origin);
    else if (c->Kind() == ControlKind::kLine) PaintLine(static_cast<Line&>(*c), dc, origin);
  }
}

// Copies the part of a picture box's drawing that lies under a child window.
void PaintPictureArea(const PictureBox& box, HDC dc, POINT origin, SIZE size) {
  const Bitmap& img = box.Image();
  RECT all{0, 0, size.cx, size.cy};
  Gdi back(CreateSolidBrush(Resolve(box.back_color)));
  FillRect(dc, &all, static_cast<HBRUSH>(back.handle));
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

// A label's own pixels (background unless transparent, frame, caption) in
// its own coordinates.
void PaintLabelContent(const Label& label, HDC dc, RECT rc) {
  if (!label.transparent) {
    Gdi back(CreateSolidBrush(Resolve(label.back_color)));
    FillRect(dc, &rc, static_cast<HBRUSH>(back.handle));
  }
  RECT text = rc;
  if (label.border) {
    Gdi pen(CreatePen(PS_SOLID, 1, Resolve(kWindowText)));
    Select p(dc, pen.handle);
    Select b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    InflateRect(&text, -1, -1);
  }
  // Some faces ink a pixel past the last glyph's advance (Wine's Tahoma
  // does); flush right against the edge that column would be cut off, so the
  // text ends a pixel short and may ink the label's last column, but nothing
  // outside the label.
  bool ink_past_edge = !label.border && label.alignment == Align::kRight;
  if (ink_past_edge) text.right -= 1;
  Select f(dc, FontFor(label.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Resolve(label.fore_color));
  UINT flags = AlignFlags(label.alignment) | DT_NOPREFIX | DT_EXPANDTABS;
  flags |= label.word_wrap ? DT_WORDBREAK : DT_SINGLELINE;
  if (ink_past_edge) {
    SaveDC(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    flags |= DT_NOCLIP;
  }
  DrawTextW(dc, label.caption.c_str(), static_cast<int>(label.caption.size()), &text, flags);
  if (ink_past_edge) RestoreDC(dc, -1);
}

}  // namespace

void LoadPicture(ControlRecord& rec) {
  auto& img = static_cast<Image&>(*rec.control);
  if (rec.picture) {
    if (rec.picture_is_icon) DestroyIcon(static_cast<HICON>(rec.picture));
    else DeleteObject(rec.picture);
    rec.picture = nullptr;
  }
  if (img.resource.empty()) return;
  rec.picture = LoadImageW(Instance(), img.resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  rec.picture_is_icon = false;
  if (!rec.picture) {
    RECT r = PixelRect(img.bounds);
    rec.picture = LoadImageW(Instance(), img.resource.c_str(), IMAGE_ICON, r.right - r.left, r.bottom - r.top, 0);
    rec.picture_is_icon = rec.picture != nullptr;
  }
}

RECT PaintRect(const Control& c) { return PixelRect(c.bounds); }

std::size_t PaintHash(const Control& c) {
  std::size_t h = LookHash(c);
  for (int v : {c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height, ShownNow(c) ? 1 : 0})
    h = HashCombine(h, static_cast<std::size_t>(v));
  if (c.Kind() == ControlKind::kLabel) h = HashCombine(h, std::hash<std::wstring>{}(static_cast<const Label&>(c).caption));
  return h | 1;
}

namespace {

void PaintImage(ControlRecord& rec, HDC dc) {
  auto& img = static_cast<Image&>(*rec.control);
  if (!rec.picture) return;
  RECT rc = PaintRect(img);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (rec.picture_is_icon) {
    DrawIconEx(dc, rc.left, rc.top, static_cast<HICON>(rec.picture), img.stretch ? w : 0, img.stretch ? h : 0, 0,
               nullptr, DI_NORMAL);
    return;
  }
  BITMAP bm{};
  GetObjectW(rec.picture, sizeof(bm), &bm);
  HDC mem = CreateCompatibleDC(dc);
  Select s(mem, rec.picture);
  // An image shows nothing outside its own box, as its window did.
  SaveDC(dc);
  IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
  if (img.stretch) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, rc.left, rc.top, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  } else {
    BitBlt(dc, rc.left, rc.top, std::min<int>(w, bm.bmWidth), std::min<int>(h, bm.bmHeight), mem, 0, 0, SRCCOPY);
  }
  RestoreDC(dc, -1);
  DeleteDC(mem);
}

// A label at its place in a window whose origin is `origin`.
void PaintLabelAt(const Label& label, HDC dc, RECT rc) {
  POINT old;
  SetViewportOrgEx(dc, rc.left, rc.top, &old);
  PaintLabelContent(label, dc, RECT{0, 0, rc.right - rc.left, rc.bottom - rc.top});
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

}  // namespace

void PaintForm(FormRecord& rec, HDC dc, const RECT& area, bool show_focus) {
  Form& form = *rec.form;
  PaintSurface(form, dc, POINT{0, 0}, SIZE{area.right, area.bottom});
  RECT clip{};
  GetClipBox(dc, &clip);
  for (Control* c : form.Controls()) {
    if (c->Container() || !c->visible) continue;
    if (c->Kind() != ControlKind::kLabel && c->Kind() != ControlKind::kImage) continue;
    RECT r = PaintRect(*c), overlap;
    if (!IntersectRect(&overlap, &r, &clip)) continue;
    if (c->Kind() == ControlKind::kLabel) {
      PaintLabelAt(static_cast<Label&>(*c), dc, r);
    } else if (auto* cr = static_cast<ControlRecord*>(c->native)) {
      PaintImage(*cr, dc);
    }
  }
  Control* focus = form.Focused();
  rec.painted_focus = nullptr;
  if (show_focus && focus && focus->Kind() == ControlKind::kLabel && ShownNow(*focus) && !focus->Container()) {
    RECT r = PaintRect(*focus);
    // Inside a tile's frame, clear of its caption's first pixels.
    InflateRect(&r, -3, -3);
    if (r.right > r.left && r.bottom > r.top) {
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      DrawFocusRect(dc, &r);
    }
    rec.painted_focus = focus;
  }
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
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1L, rc.right), std::max(1L, rc.bottom));
  HGDIOBJ old = SelectObject(mem, bmp);
  IntersectClipRect(mem, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
  paint(mem, rc);
  BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
         mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  EndPaint(hwnd, &ps);
}

void PaintPicture(ControlRecord& rec, HDC dc) {
  auto& box = static_cast<PictureBox&>(*rec.control);
  RECT rc;
  GetClientRect(rec.hwnd, &rc);
  int inset = box.border ? 1 : 0;
  PaintPictureArea(box, dc, POINT{-inset, -inset}, SIZE{rc.right, rc.bottom});
  if (box.border) {
    Gdi pen(CreatePen(PS_SOLID, 1, Resolve(kWindowText)));
    Select p(dc, pen.handle);
    Select b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, rc.right, rc.bottom);
  }
  for (Control* c : box.Children()) {
    if (c->Kind() != ControlKind::kLabel || !c->visible) continue;
    RECT r = PaintRect(*c);
    OffsetRect(&r, inset, inset);
    PaintLabelAt(static_cast<Label&>(*c), dc, r);
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
  Gdi back(CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : Resolve(list.back_color)));
  FillRect(dc, &r, static_cast<HBRUSH>(back.handle));

  // An open folder for the current folder and its ancestors, a closed one
  // for the subfolders; each level indented a little further.
  int indent = list.Indent(index);
  int current = static_cast<int>(lines.size()) - list.ListCount() - 1;
  int unit = TwipsToPixels(150);
  int x = r.left + 2 + indent * unit;
  int h = r.bottom - r.top;
  int gw = TwipsToPixels(210), gh = TwipsToPixels(150);
  int gy = r.top + (h - gh) / 2;
  Gdi folder_brush(CreateSolidBrush(RGB(255, 220, 90)));
  Gdi folder_pen(CreatePen(PS_SOLID, 1, RGB(120, 90, 0)));
  {
    Select b(dc, folder_brush.handle);
    Select p(dc, folder_pen.handle);
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
  Select f(dc, FontFor(list.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Resolve(list.fore_color));
  RECT text = r;
  text.left = x + gw + 4;
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace kit::win
