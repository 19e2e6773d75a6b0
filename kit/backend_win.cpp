// The Win32 backend: one window per form, one child window per label, text
// box, option button, list, picture box and image; shapes and lines are
// painted by the form itself. The backend never decides anything: it shows
// the models' fields and turns window messages into the models' events.
#include "kit/backend_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "kit/platform.h"
#include "kit/win32_app.h"

namespace kit::win {
namespace {

constexpr wchar_t kFormClass[] = L"ElemoraForm";
constexpr wchar_t kLabelClass[] = L"ElemoraLabel";
constexpr wchar_t kPictureClass[] = L"ElemoraPicture";
constexpr wchar_t kImageClass[] = L"ElemoraImage";
// Tests and screen readers find a control's name through this window property
// (a global atom holding the name).
constexpr wchar_t kNameProp[] = L"ElemoraName";

HINSTANCE g_instance = nullptr;
std::unordered_map<HWND, ControlRecord*> g_by_hwnd;
int g_sync_depth = 0;

std::size_t HashCombine(std::size_t seed, std::size_t v) { return seed ^ (v + 0x9e3779b9u + (seed << 6) + (seed >> 2)); }
std::size_t HashFont(const Font& f) {
  std::size_t h = std::hash<std::wstring>{}(f.face);
  h = HashCombine(h, std::hash<double>{}(f.points));
  return HashCombine(h, (f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.underline ? 4 : 0) | (f.charset << 3));
}

FormRecord* FormRec(Form& form) { return static_cast<FormRecord*>(form.native); }

void SetName(HWND hwnd, const std::string& name) {
  std::wstring wide(name.begin(), name.end());
  ATOM atom = GlobalAddAtomW(wide.c_str());
  if (atom) SetPropW(hwnd, kNameProp, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void DropName(HWND hwnd) {
  auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(hwnd, kNameProp)));
  if (atom) GlobalDeleteAtom(atom);
}

// Pixel rectangle of a control in its parent window. Edges are rounded
// separately so that neighbours that share an edge in twips share it in pixels.
RECT PixelRect(const Rect& r) {
  RECT out;
  out.left = TwipsToPixels(r.left);
  out.top = TwipsToPixels(r.top);
  out.right = TwipsToPixels(r.left + r.width);
  out.bottom = TwipsToPixels(r.top + r.height);
  return out;
}

int MouseShift() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

void DestroyRecord(ControlRecord& rec) {
  if (rec.hwnd) {
    DropName(rec.hwnd);
    g_by_hwnd.erase(rec.hwnd);
    DestroyWindow(rec.hwnd);
    rec.hwnd = nullptr;
  }
  if (rec.brush) DeleteObject(rec.brush);
  rec.brush = nullptr;
  if (rec.picture) {
    if (rec.picture_is_icon) DestroyIcon(static_cast<HICON>(rec.picture));
    else DeleteObject(rec.picture);
  }
  rec.picture = nullptr;
}

HBRUSH BrushFor(ControlRecord& rec, Color color) {
  Color rgb = Resolve(color);
  if (!rec.brush || rec.brush_color != rgb) {
    if (rec.brush) DeleteObject(rec.brush);
    rec.brush = CreateSolidBrush(rgb);
    rec.brush_color = rgb;
  }
  return rec.brush;
}

// ---- window procedures

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

template <class C>
void ColorsOf(const C& control, Color* fore, Color* back) {
  *fore = control.fore_color;
  *back = control.back_color;
}

// Colours of the system controls come from the parent (form or picture box).
LRESULT ControlColor(HWND child, HDC dc) {
  ControlRecord* rec = RecordOf(child);
  if (!rec) {
    // A combo box's own list or edit part: colour it as the combo box.
    rec = RecordOf(GetParent(child));
  }
  if (!rec) return 0;
  Control* c = rec->control;
  Color fore = kWindowText, back = kWindowBack;
  switch (c->Kind()) {
    case ControlKind::kTextBox: ColorsOf(static_cast<TextBox&>(*c), &fore, &back); break;
    case ControlKind::kOptionButton: ColorsOf(static_cast<OptionButton&>(*c), &fore, &back); break;
    case ControlKind::kDriveList: ColorsOf(static_cast<DriveList&>(*c), &fore, &back); break;
    case ControlKind::kFolderList: ColorsOf(static_cast<FolderList&>(*c), &fore, &back); break;
    default: return 0;
  }
  SetTextColor(dc, Resolve(fore));
  SetBkColor(dc, Resolve(back));
  return reinterpret_cast<LRESULT>(BrushFor(*rec, back));
}

// Messages that system controls send to their parent, for forms and picture
// boxes alike. Returns true when handled.
bool ChildNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      LRESULT r = ControlColor(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp));
      if (!r) return false;
      *result = r;
      return true;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      ControlRecord* rec = RecordOf(item->hwndItem);
      if (!rec || rec->control->Kind() != ControlKind::kFolderList) return false;
      DrawFolderItem(*rec, *item);
      *result = TRUE;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      m->itemHeight = static_cast<UINT>(TwipsToPixels(240));
      *result = TRUE;
      return true;
    }
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      ControlRecord* rec = child ? RecordOf(child) : nullptr;
      if (!rec || rec->applying) return false;
      int code = HIWORD(wp);
      Control* c = rec->control;
      switch (c->Kind()) {
        case ControlKind::kTextBox:
          if (code == EN_CHANGE) {
            auto* t = static_cast<TextBox*>(c);
            int n = GetWindowTextLengthW(child);
            std::wstring text(static_cast<size_t>(n) + 1, L'\0');
            GetWindowTextW(child, text.data(), n + 1);
            text.resize(static_cast<size_t>(n));
            t->text = text;
            rec->applied_text = text;
            rec->text_applied = true;
            Fire(t->on_change);
          }
          break;
        case ControlKind::kOptionButton:
          if (code == BN_CLICKED) {
            auto* o = static_cast<OptionButton*>(c);
            Fire([o] { o->SetValue(true); });
          }
          break;
        case ControlKind::kDriveList:
          if (code == CBN_SELCHANGE) {
            auto* d = static_cast<DriveList*>(c);
            int index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
            Fire([d, index] { d->Select(index); });
          }
          break;
        case ControlKind::kFolderList:
          if (code == LBN_DBLCLK) {
            auto* f = static_cast<FolderList*>(c);
            int index = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
            Fire([f, index] { f->Open(index); });
          }
          break;
        default:
          break;
      }
      *result = 0;
      return true;
    }
    default:
      return false;
  }
}

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN: return MouseButton::kRight;
    case WM_MBUTTONDOWN: return MouseButton::kMiddle;
    default: return MouseButton::kLeft;
  }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  auto* rec = reinterpret_cast<FormRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!rec) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  if (ChildNotification(msg, wp, lp, &result)) return result;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      HDC mem = CreateCompatibleDC(dc);
      HBITMAP bmp = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
      HGDIOBJ old = SelectObject(mem, bmp);
      PaintSurface(*rec->form, mem, POINT{0, 0}, SIZE{rc.right, rc.bottom});
      BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteObject(bmp);
      DeleteDC(mem);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      Form* form = rec->form;
      int x = PixelsToTwips(static_cast<short>(LOWORD(lp)));
      int y = PixelsToTwips(static_cast<short>(HIWORD(lp)));
      MouseButton button = ButtonOf(msg);
      int shift = MouseShift();
      if (form->on_mouse_down) Fire([form, button, shift, x, y] { form->on_mouse_down(button, shift, x, y); });
      return 0;
    }
    case WM_SIZE:
      rec->form->window_state = wp == SIZE_MAXIMIZED   ? WindowState::kMaximized
                                : wp == SIZE_MINIMIZED ? WindowState::kMinimized
                                                       : WindowState::kNormal;
      return 0;
    case WM_CLOSE: {
      Form* form = rec->form;
      if (form->on_close_request) Fire(form->on_close_request);
      else EndProgram(0);
      return 0;
    }
    case WM_DPICHANGED: {
      SetDpi(HIWORD(wp));
      auto* suggested = reinterpret_cast<RECT*>(lp);
      // Re-apply every place and font at the new scale.
      for (Form* f : LiveForms()) {
        if (auto* fr = FormRec(*f)) {
          fr->applied_width = fr->applied_height = -1;
          for (auto& [c, cr] : fr->controls) {
            cr->applied_rect = RECT{-1, -1, -1, -1};
            cr->applied_look = 0;
          }
        }
      }
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
      CurrentPlatform().Sync();
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ControlRecord* rec = RecordOf(hwnd);
  if (!rec) return DefWindowProcW(hwnd, msg, wp, lp);
  Control* c = rec->control;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      // Straight into the paint DC: a control is small, and a back buffer per
      // control would cost more at start-up than the flicker it saves.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      int saved = SaveDC(dc);
      if (c->Kind() == ControlKind::kLabel) PaintLabel(*rec, dc);
      else if (c->Kind() == ControlKind::kPictureBox) PaintPicture(*rec, dc);
      else PaintImage(*rec, dc);
      RestoreDC(dc, saved);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // A press on a control never reaches the form, so it starts no drag.
      if (msg == WM_LBUTTONDOWN) {
        rec->pressed = true;
        SetCapture(hwnd);
      }
      if (c->on_mouse_down) {
        int x = PixelsToTwips(static_cast<short>(LOWORD(lp)));
        int y = PixelsToTwips(static_cast<short>(HIWORD(lp)));
        MouseButton button = ButtonOf(msg);
        int shift = MouseShift();
        Fire([c, button, shift, x, y] { c->on_mouse_down(button, shift, x, y); });
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      bool was_pressed = rec->pressed;
      rec->pressed = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      RECT rc;
      GetClientRect(hwnd, &rc);
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (was_pressed && PtInRect(&rc, pt)) Fire([c] { Click(*c); });
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      // A quick second click is a second click, as it is for a label.
      rec->pressed = true;
      SetCapture(hwnd);
      if (c->on_dbl_click) Fire(c->on_dbl_click);
      return 0;
    case WM_CAPTURECHANGED:
      rec->pressed = false;
      return 0;
    case WM_SETTEXT:
      // The caption is painted by us; keep the text for WM_GETTEXT readers.
      DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    default: {
      LRESULT result = 0;
      if (c->Kind() == ControlKind::kPictureBox && ChildNotification(msg, wp, lp, &result)) return result;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
}

// ---- creating and updating windows

DWORD ChildStyle(Control& c) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (c.tab_index >= 0) style |= WS_TABSTOP;
  return style;
}

// The text a control's window carries, for WM_GETTEXT readers; lists carry
// none of their own (their items are the text).
bool WindowText(Control& c, std::wstring* text) {
  switch (c.Kind()) {
    case ControlKind::kLabel: *text = static_cast<Label&>(c).caption; return true;
    case ControlKind::kTextBox: *text = static_cast<TextBox&>(c).text; return true;
    case ControlKind::kOptionButton: *text = static_cast<OptionButton&>(c).caption; return true;
    default: return false;
  }
}

RECT ChildRect(Control& c) {
  RECT r = PixelRect(c.bounds);
  if (c.Kind() == ControlKind::kDriveList) r.bottom = r.top + TwipsToPixels(3000);  // room for the drop-down
  return r;
}

bool ShownNow(Control& c) { return c.visible && (!c.Container() || c.Container()->visible); }

// Creates the window already in place, with its text and visibility, so that
// start-up costs one call per control rather than four.
HWND CreateChild(Control& c, HWND parent, ControlRecord& rec) {
  const wchar_t* cls = nullptr;
  DWORD style = ChildStyle(c);
  DWORD ex = 0;
  switch (c.Kind()) {
    case ControlKind::kLabel:
      cls = kLabelClass;
      break;
    case ControlKind::kPictureBox:
      cls = kPictureClass;
      style |= WS_CLIPCHILDREN;
      break;
    case ControlKind::kImage:
      cls = kImageClass;
      break;
    case ControlKind::kTextBox: {
      auto& t = static_cast<TextBox&>(c);
      cls = WC_EDITW;
      style |= ES_AUTOHSCROLL;
      if (t.multi_line) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
      if (t.vertical_scroll) style |= WS_VSCROLL;
      if (t.alignment == Align::kRight) style |= ES_RIGHT;
      if (t.alignment == Align::kCenter) style |= ES_CENTER;
      if (t.border) style |= WS_BORDER;
      if (t.read_only) style |= ES_READONLY;
      break;
    }
    case ControlKind::kOptionButton:
      cls = WC_BUTTONW;
      style |= BS_RADIOBUTTON;
      break;
    case ControlKind::kDriveList:
      cls = WC_COMBOBOXW;
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      break;
    case ControlKind::kFolderList:
      cls = WC_LISTBOXW;
      style |= LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
      break;
    default:
      return nullptr;
  }
  RECT r = ChildRect(c);
  std::wstring text;
  bool has_text = WindowText(c, &text);
  if (ShownNow(c)) style |= WS_VISIBLE;
  if (!c.enabled) style |= WS_DISABLED;
  rec.applying = true;
  HWND hwnd = CreateWindowExW(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                              nullptr, g_instance, nullptr);
  rec.applying = false;
  if (!hwnd) return nullptr;
  SetName(hwnd, c.Name());
  rec.applied_rect = r;
  rec.applied_visible = ShownNow(c) ? 1 : 0;
  rec.applied_enabled = c.enabled ? 1 : 0;
  if (has_text) {
    rec.applied_text = text;
    rec.text_applied = true;
  }
  return hwnd;
}

std::size_t LookHash(Control& c) {
  std::size_t h = 0;
  switch (c.Kind()) {
    case ControlKind::kLabel: {
      auto& l = static_cast<Label&>(c);
      h = HashFont(l.font);
      for (auto v : {static_cast<std::size_t>(Resolve(l.fore_color)), static_cast<std::size_t>(Resolve(l.back_color)),
                     static_cast<std::size_t>(l.transparent), static_cast<std::size_t>(l.alignment),
                     static_cast<std::size_t>(l.border), static_cast<std::size_t>(l.word_wrap)})
        h = HashCombine(h, v);
      break;
    }
    case ControlKind::kTextBox: {
      auto& t = static_cast<TextBox&>(c);
      h = HashCombine(HashFont(t.font), Resolve(t.fore_color));
      h = HashCombine(h, Resolve(t.back_color));
      break;
    }
    case ControlKind::kOptionButton: {
      auto& o = static_cast<OptionButton&>(c);
      h = HashCombine(HashFont(o.font), Resolve(o.fore_color));
      h = HashCombine(h, Resolve(o.back_color));
      break;
    }
    case ControlKind::kDriveList: {
      auto& d = static_cast<DriveList&>(c);
      h = HashCombine(HashFont(d.font), Resolve(d.back_color));
      break;
    }
    case ControlKind::kFolderList: {
      auto& f = static_cast<FolderList&>(c);
      h = HashCombine(HashFont(f.font), Resolve(f.back_color));
      break;
    }
    case ControlKind::kImage: {
      auto& i = static_cast<Image&>(c);
      h = HashCombine(std::hash<std::wstring>{}(i.resource), i.stretch);
      break;
    }
    default:
      break;
  }
  return h | 1;  // never 0, which means "not applied yet"
}

void LoadPicture(ControlRecord& rec) {
  auto& img = static_cast<Image&>(*rec.control);
  if (rec.picture) {
    if (rec.picture_is_icon) DestroyIcon(static_cast<HICON>(rec.picture));
    else DeleteObject(rec.picture);
    rec.picture = nullptr;
  }
  if (img.resource.empty()) return;
  rec.picture = LoadImageW(g_instance, img.resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  rec.picture_is_icon = false;
  if (!rec.picture) {
    RECT r = PixelRect(img.bounds);
    rec.picture = LoadImageW(g_instance, img.resource.c_str(), IMAGE_ICON, r.right - r.left, r.bottom - r.top, 0);
    rec.picture_is_icon = rec.picture != nullptr;
  }
}

void SyncControl(ControlRecord& rec) {
  Control& c = *rec.control;
  HWND hwnd = rec.hwnd;
  if (!hwnd) return;
  rec.applying = true;

  RECT r = ChildRect(c);
  if (!EqualRect(&r, &rec.applied_rect)) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    rec.applied_rect = r;
    InvalidateRect(hwnd, nullptr, FALSE);
  }

  std::size_t look = LookHash(c);
  bool look_changed = look != rec.applied_look;
  if (look_changed) {
    rec.applied_look = look;
    const Font* font = nullptr;
    switch (c.Kind()) {
      case ControlKind::kLabel: font = &static_cast<Label&>(c).font; break;
      case ControlKind::kTextBox: font = &static_cast<TextBox&>(c).font; break;
      case ControlKind::kOptionButton: font = &static_cast<OptionButton&>(c).font; break;
      case ControlKind::kDriveList: font = &static_cast<DriveList&>(c).font; break;
      case ControlKind::kFolderList: font = &static_cast<FolderList&>(c).font; break;
      case ControlKind::kImage: LoadPicture(rec); break;
      default: break;
    }
    if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*font)), FALSE);
    if (c.Kind() == ControlKind::kFolderList) {
      SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, TwipsToPixels(240));
    }
    InvalidateRect(hwnd, nullptr, TRUE);
  }

  std::wstring text;
  if (WindowText(c, &text) && (!rec.text_applied || text != rec.applied_text)) {
    SetWindowTextW(hwnd, text.c_str());
    rec.applied_text = text;
    rec.text_applied = true;
    InvalidateRect(hwnd, nullptr, FALSE);
  }

  if (c.Kind() == ControlKind::kTextBox) {
    auto& t = static_cast<TextBox&>(c);
    if (t.selection_request != rec.applied_selection) {
      SendMessageW(hwnd, EM_SETSEL, t.sel_start, t.sel_start + t.sel_length);
      rec.applied_selection = t.selection_request;
    }
  } else if (c.Kind() == ControlKind::kOptionButton) {
    auto& o = static_cast<OptionButton&>(c);
    int checked = o.Value() ? 1 : 0;
    if (checked != rec.applied_index) {
      SendMessageW(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      rec.applied_index = checked;
    }
  } else if (c.Kind() == ControlKind::kDriveList) {
    auto& d = static_cast<DriveList&>(c);
    std::vector<std::wstring> items;
    for (int i = 0; i < static_cast<int>(d.Drives().size()); ++i) items.push_back(d.Item(i));
    if (items != rec.applied_items) {
      SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
      for (auto& item : items) SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      rec.applied_items = items;
      rec.applied_index = -2;
    }
    if (d.ListIndex() != rec.applied_index) {
      SendMessageW(hwnd, CB_SETCURSEL, d.ListIndex(), 0);
      rec.applied_index = d.ListIndex();
    }
  } else if (c.Kind() == ControlKind::kFolderList) {
    auto& f = static_cast<FolderList&>(c);
    std::vector<std::wstring> items = f.Lines();
    if (items != rec.applied_items) {
      SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
      for (auto& item : items) SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      rec.applied_items = items;
      // The current folder is the last of the ancestor lines.
      int current = static_cast<int>(items.size()) - f.ListCount() - 1;
      SendMessageW(hwnd, LB_SETCURSEL, current, 0);
      SetWindowTextW(hwnd, f.Path().c_str());
    }
  }

  int enabled = c.enabled ? 1 : 0;
  if (enabled != rec.applied_enabled) {
    EnableWindow(hwnd, enabled);
    rec.applied_enabled = enabled;
  }
  int visible = ShownNow(c) ? 1 : 0;
  if (visible != rec.applied_visible) {
    ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
    rec.applied_visible = visible;
  }
  rec.applying = false;
}

std::size_t SurfaceHash(Form& form) {
  std::size_t h = Resolve(form.back_color);
  for (Control* c : form.Controls()) {
    if (c->Kind() == ControlKind::kShape) {
      auto& s = static_cast<Shape&>(*c);
      for (auto v : {s.bounds.left, s.bounds.top, s.bounds.width, s.bounds.height, static_cast<int>(s.visible),
                     static_cast<int>(s.shape), static_cast<int>(s.filled), static_cast<int>(Resolve(s.fill_color)),
                     static_cast<int>(s.outlined), static_cast<int>(Resolve(s.border_color)), s.border_width})
        h = HashCombine(h, static_cast<std::size_t>(v));
    } else if (c->Kind() == ControlKind::kLine) {
      auto& l = static_cast<Line&>(*c);
      for (auto v : {l.x1, l.y1, l.x2, l.y2, static_cast<int>(l.visible), static_cast<int>(Resolve(l.color)), l.width})
        h = HashCombine(h, static_cast<std::size_t>(v));
    }
  }
  return h;
}

bool NeedsWindow(Control& c) { return c.Kind() != ControlKind::kShape && c.Kind() != ControlKind::kLine; }

void CreateFormWindow(Form& form) {
  auto* rec = new FormRecord;
  rec->form = &form;
  form.native = rec;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  DWORD ex = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  if (form.topmost) ex |= WS_EX_TOPMOST;
  rec->hwnd = CreateWindowExW(ex, kFormClass, form.caption.c_str(), style, 0, 0, 1, 1, nullptr, nullptr, g_instance, rec);
  if (!rec->hwnd) return;
  SetName(rec->hwnd, form.Name());
  rec->applied_caption = form.caption;
  if (!form.icon.empty()) {
    auto big = static_cast<HICON>(LoadImageW(g_instance, form.icon.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), 0));
    auto small = static_cast<HICON>(LoadImageW(g_instance, form.icon.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    if (big) SendMessageW(rec->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) SendMessageW(rec->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

void SyncForm(Form& form) {
  if (!form.native) {
    if (!form.Loaded() && !form.Visible()) return;
    CreateFormWindow(form);
  }
  FormRecord* rec = FormRec(form);
  if (!rec->hwnd) return;

  // Children: tab stops first in their tab order (the dialog manager tabs in
  // creation order), then the rest in the order of the model.
  std::vector<Control*> order;
  for (Control* c : form.Controls())
    if (NeedsWindow(*c) && c->tab_index >= 0) order.push_back(c);
  std::stable_sort(order.begin(), order.end(), [](Control* a, Control* b) { return a->tab_index < b->tab_index; });
  for (Control* c : form.Controls())
    if (NeedsWindow(*c) && c->tab_index < 0) order.push_back(c);
  // Containers before what they contain.
  std::stable_partition(order.begin(), order.end(), [](Control* c) { return c->Container() == nullptr; });
  for (Control* c : order) {
    auto& slot = rec->controls[c];
    if (!slot) {
      slot = std::make_unique<ControlRecord>();
      slot->control = c;
      c->native = slot.get();
      HWND parent = rec->hwnd;
      if (c->Container()) {
        auto it = rec->controls.find(c->Container());
        if (it != rec->controls.end() && it->second->hwnd) parent = it->second->hwnd;
      }
      slot->hwnd = CreateChild(*c, parent, *slot);
      if (slot->hwnd) {
        g_by_hwnd[slot->hwnd] = slot.get();
        if (c->Kind() == ControlKind::kLabel || c->Kind() == ControlKind::kPictureBox ||
            c->Kind() == ControlKind::kImage)
          SetWindowLongPtrW(slot->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(slot.get()));
      }
    }
    SyncControl(*slot);
  }

  if (form.caption != rec->applied_caption) {
    SetWindowTextW(rec->hwnd, form.caption.c_str());
    rec->applied_caption = form.caption;
  }
  int w = TwipsToPixels(form.Width()), h = TwipsToPixels(form.Height());
  if (w != rec->applied_width || h != rec->applied_height) {
    SetWindowPos(rec->hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    rec->applied_width = w;
    rec->applied_height = h;
  }
  std::size_t surface = SurfaceHash(form);
  if (surface != rec->applied_surface) {
    rec->applied_surface = surface;
    RedrawWindow(rec->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  int visible = form.Visible() ? 1 : 0;
  if (visible != rec->applied_visible) {
    if (visible && !rec->shown_once) {
      rec->shown_once = true;
      int x = TwipsToPixels(form.left), y = TwipsToPixels(form.top);
      if (form.centered) {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + (work.right - work.left - w) / 2;
        y = work.top + (work.bottom - work.top - h) / 2;
      }
      SetWindowPos(rec->hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowWindow(rec->hwnd, SW_SHOW);
      if (form.initial_focus && form.initial_focus->native) {
        auto* fr = static_cast<ControlRecord*>(form.initial_focus->native);
        if (fr->hwnd) SetFocus(fr->hwnd);
      }
    } else {
      ShowWindow(rec->hwnd, visible ? SW_SHOW : SW_HIDE);
      if (visible) SetForegroundWindow(rec->hwnd);
    }
    rec->applied_visible = visible;
  }
}

// ---- the platform

class Win32Platform : public Platform {
 public:
  void Sync() override {
    if (g_sync_depth > 0) return;
    ++g_sync_depth;
    // Copy: syncing never creates forms, but a form list must not move under us.
    std::vector<Form*> forms = LiveForms();
    for (Form* f : forms) SyncForm(*f);
    --g_sync_depth;
  }

  void Refresh(Control& control) override {
    Sync();
    auto* rec = static_cast<ControlRecord*>(control.native);
    if (rec && rec->hwnd) RedrawWindow(rec->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  void DoEvents() override {
    Sync();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      Pump(msg);
    }
    Sync();
  }

  void WaitProcessingMessages(int ms) override {
    DWORD start = GetTickCount();
    for (;;) {
      DoEvents();
      DWORD elapsed = GetTickCount() - start;
      if (elapsed >= static_cast<DWORD>(ms)) break;
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms) - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }

  void MessageBox(const std::wstring& text, const std::wstring& title) override {
    Sync();
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK);
  }

  void BeginSystemDrag(Form& form) override {
    auto* rec = FormRec(form);
    if (!rec || !rec->hwnd) return;
    ReleaseCapture();
    SendMessageW(rec->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }

  void FormDestroyed(Form& form) override {
    auto* rec = FormRec(form);
    if (!rec) return;
    for (auto& [c, cr] : rec->controls) {
      if (cr->hwnd) {
        DropName(cr->hwnd);
        g_by_hwnd.erase(cr->hwnd);
        cr->hwnd = nullptr;  // destroyed with the form's window
      }
      DestroyRecord(*cr);
      c->native = nullptr;
    }
    if (rec->hwnd) {
      DropName(rec->hwnd);
      SetWindowLongPtrW(rec->hwnd, GWLP_USERDATA, 0);
      DestroyWindow(rec->hwnd);
    }
    form.native = nullptr;
    delete rec;
  }

  void ControlDestroyed(Control& control) override {
    auto* cr = static_cast<ControlRecord*>(control.native);
    if (!cr) return;
    DestroyRecord(*cr);
    control.native = nullptr;
    if (auto* fr = FormRec(control.Owner())) fr->controls.erase(&control);
  }

  void End(int exit_code) override { ExitProcess(static_cast<UINT>(exit_code)); }

  static void Pump(MSG& msg) {
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageW(top, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
};

Win32Platform g_platform;

Color LiveSystemColor(int index) { return GetSysColor(index); }

void RegisterClasses() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = kFormClass;
  wc.style = CS_DBLCLKS;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = LabelProc;
  wc.lpszClassName = kLabelClass;
  wc.style = 0;  // a quick second click on a label is a second click
  RegisterClassExW(&wc);
  wc.lpszClassName = kPictureClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kImageClass;
  RegisterClassExW(&wc);
}

void EnableDpiAwareness() {
  // The manifest asks for per-monitor awareness; this covers systems that
  // read only the older manifest element.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using SetContext = BOOL(WINAPI*)(HANDLE);
  auto set_context = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (set_context && set_context(reinterpret_cast<HANDLE>(-4))) return;  // per monitor v2
  using SetAware = BOOL(WINAPI*)();
  auto set_aware = reinterpret_cast<SetAware>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")));
  if (set_aware) set_aware();
}

}  // namespace

HINSTANCE Instance() { return g_instance; }

ControlRecord* RecordOf(HWND hwnd) {
  auto it = g_by_hwnd.find(hwnd);
  return it == g_by_hwnd.end() ? nullptr : it->second;
}

void Fire(const std::function<void()>& handler) {
  Dispatch(handler);
  CurrentPlatform().Sync();
}

}  // namespace kit::win

namespace kit {

void StartWin32(HINSTANCE instance) {
  win::g_instance = instance;
  win::EnableDpiAwareness();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HDC screen = GetDC(nullptr);
  SetDpi(GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  SetSystemColorLookup(win::LiveSystemColor);
  win::RegisterClasses();
  SetPlatform(&win::g_platform);
}

int RunWin32() {
  CurrentPlatform().Sync();
  MSG msg;
  for (;;) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    win::Win32Platform::Pump(msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace kit
