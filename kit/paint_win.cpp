// The painter of the Win32 backend: draws one appearance (a shape, a line,
// a label, an image) or one row of the folder list into a device context,
// as kit/drawing has worked it out. It keeps nothing between calls.
#include <algorithm>

#include "kit/backend_win.h"
#include "kit/drawing.h"

namespace kit::win {
namespace {

void PaintHatch(HDC dc, const RECT& r, Hatch hatch, int step) {
  const std::vector<Segment> lines = HatchSegments(PixelBox{r.left, r.top, r.right, r.bottom}, hatch, step);
  if (lines.empty()) return;
  SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  base::Gdi<HPEN> pen(CreatePen(PS_SOLID, HatchPenWidth(step), RGB(0, 0, 0)));
  base::SelectedObject p(dc, pen.get());
  for (const Segment& s : lines) {
    MoveToEx(dc, s.from.x, s.from.y, nullptr);
    LineTo(dc, s.to.x, s.to.y);
  }
  RestoreDC(dc, -1);
}

UINT AlignFlags(Align a) {
  switch (a) {
    case Align::kRight: return DT_RIGHT;
    case Align::kCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
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
  for (const ScriptRun& r : runs) {
    base::SelectedObject f(dc, FontFor(r.script == Script::kBase ? font : small, dpi));
    SIZE size{};
    GetTextExtentPoint32W(dc, label.text.c_str() + r.begin, static_cast<int>(r.end - r.begin), &size);
    widths.push_back(size.cx);
  }
  const PixelBox area{box.left, box.top, box.right, box.bottom};
  const UINT old_align = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  for (const PlacedRun& r : PlaceRuns(runs, widths, label, area, base.tmAscent, base.tmHeight)) {
    base::SelectedObject f(dc, FontFor(r.small ? small : font, dpi));
    ExtTextOutW(dc, r.x, r.baseline, ETO_CLIPPED, &box, label.text.c_str() + r.begin,
                static_cast<UINT>(r.end - r.begin), nullptr);
  }
  SetTextAlign(dc, old_align);
}

// A label's own pixels (background unless transparent, frame, caption) in
// its own coordinates.
void PaintLabelContent(const Appearance& label, HDC dc, RECT rc, int dpi, bool fit) {
  if (!label.transparent) {
    base::Gdi<HBRUSH> back(CreateSolidBrush(label.back));
    FillRect(dc, &rc, back.get());
    PaintHatch(dc, rc, label.hatch, label.hatch_step);
  }
  if (label.border) {
    base::Gdi<HPEN> pen(CreatePen(PS_INSIDEFRAME, FrameWidth(label), Resolve(kWindowText)));
    base::SelectedObject p(dc, pen.get());
    base::SelectedObject b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
  }
  const RECT text = ToRect(TextArea(label, PixelBox{rc.left, rc.top, rc.right, rc.bottom}));
  const bool ink_past_edge = InkPastEdge(label.border, label.alignment) > 0;
  UINT flags = AlignFlags(label.alignment) | DT_NOPREFIX | DT_EXPANDTABS;
  flags |= label.word_wrap ? DT_WORDBREAK : DT_SINGLELINE;
  Font font = label.font;
  if (fit) font = FittingFont(dc, label.text, font, dpi, text.right - text.left);
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
  RECT drawn = text;
  if (label.scripts.empty()) DrawTextW(dc, label.text.c_str(), static_cast<int>(label.text.size()), &drawn, flags);
  else PaintScripted(dc, label, text, font, dpi);
  if (ink_past_edge) RestoreDC(dc, -1);
}

}  // namespace

void PaintShape(const Appearance& s, HDC dc) {
  RECT r = ToRect(s.shape == ShapeKind::kCircle ? CircleBox(s.place) : s.place);
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

void PaintLabelAt(const Appearance& label, HDC dc, int dpi, bool in_picture) {
  RECT rc = ToRect(label.place);
  POINT old;
  SetViewportOrgEx(dc, rc.left, rc.top, &old);
  PaintLabelContent(label, dc, RECT{0, 0, rc.right - rc.left, rc.bottom - rc.top}, dpi,
                    ShrinksToFit(label, dpi, in_picture));
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

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

void PaintEmptyBox(const Appearance& box, HDC dc) {
  RECT r = ToRect(box.place);
  base::Gdi<HBRUSH> back(CreateSolidBrush(box.back));
  FillRect(dc, &r, back.get());
  if (box.border) FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
}

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

void DrawFolderItem(ControlRecord& rec, const DRAWITEMSTRUCT& item) {
  auto& list = static_cast<FolderList&>(*rec.control);
  RECT r = item.rcItem;
  // No item (-1) or one the list no longer has: nothing to draw.
  const std::optional<FolderRow> row =
      FolderRowOf(list, static_cast<int>(item.itemID), PixelBox{r.left, r.top, r.right, r.bottom});
  if (!row) return;
  HDC dc = item.hDC;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  base::Gdi<HBRUSH> back(CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : Resolve(list.back_color)));
  FillRect(dc, &r, back.get());

  base::Gdi<HBRUSH> folder_brush(CreateSolidBrush(RGB(255, 220, 90)));
  base::Gdi<HPEN> folder_pen(CreatePen(PS_SOLID, 1, RGB(120, 90, 0)));
  {
    base::SelectedObject b(dc, folder_brush.get());
    base::SelectedObject p(dc, folder_pen.get());
    Rectangle(dc, row->body.left, row->body.top, row->body.right, row->body.bottom);
    Rectangle(dc, row->tab.left, row->tab.top, row->tab.right, row->tab.bottom);
    if (row->open) {
      POINT lid[4];
      for (int i = 0; i < 4; ++i) lid[i] = POINT{row->lid[i].x, row->lid[i].y};
      Polygon(dc, lid, 4);
    }
  }
  base::SelectedObject f(dc, FontFor(list.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Resolve(list.fore_color));
  RECT text = r;
  text.left = row->text_left;
  DrawTextW(dc, row->name.c_str(), static_cast<int>(row->name.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace kit::win
