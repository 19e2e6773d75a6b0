// The real child windows of a form: text boxes, option buttons, the drive
// and folder lists and picture boxes. They are created in place on first
// sync and afterwards only told what changed in their models.
#include "kit/backend_win.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "kit/input.h"
#include "kit/platform.h"

namespace kit::win {

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

void DestroyRecord(ControlRecord& rec) {
  if (rec.hwnd) {
    DropName(rec.hwnd);
    ForgetWindow(rec.hwnd);
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

namespace {

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
    case ControlKind::kTrackBar: back = static_cast<TrackBar&>(*c).back_color; break;
    default: return 0;
  }
  SetTextColor(dc, Resolve(fore));
  SetBkColor(dc, Resolve(back));
  return reinterpret_cast<LRESULT>(BrushFor(*rec, back));
}

bool IsFocusNotice(const Control& c, int code) {
  switch (c.Kind()) {
    case ControlKind::kTextBox: return code == EN_SETFOCUS;
    case ControlKind::kOptionButton: return code == BN_SETFOCUS;
    case ControlKind::kDriveList: return code == CBN_SETFOCUS;
    case ControlKind::kFolderList: return code == LBN_SETFOCUS;
    default: return false;
  }
}

}  // namespace

bool ChildNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_HSCROLL:
      return TrackBarScroll(lp, result);
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
      if (!rec) return false;
      int code = HIWORD(wp);
      Control* c = rec->control;
      if (IsFocusNotice(*c, code)) {
        // The user (or we) put the focus into a real control: the model follows.
        Form& form = c->Owner();
        if (form.Focused() != c) form.SetFocus(c);
        if (auto* fr = static_cast<FormRecord*>(form.native)) fr->applied_focus = form.FocusSerial();
        CurrentPlatform().Sync();   // what leaving the last control changed
        *result = 0;
        return true;
      }
      if (rec->applying) return false;
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

namespace {

DWORD ChildStyle(Control& c) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Focusable(c)) style |= WS_TABSTOP;
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

}  // namespace

// Creates the window already in place, with its text and visibility, so that
// start-up costs one call per control rather than four.
HWND CreateChild(Control& c, HWND parent, ControlRecord& rec) {
  const wchar_t* cls = nullptr;
  DWORD style = ChildStyle(c);
  DWORD ex = 0;
  switch (c.Kind()) {
    case ControlKind::kPictureBox:
      cls = kPictureClass;
      style |= WS_CLIPCHILDREN;
      break;
    case ControlKind::kTextBox: {
      auto& t = static_cast<const TextBox&>(c);
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
      style |= BS_RADIOBUTTON | BS_NOTIFY;   // BS_NOTIFY: tell us when it takes the focus
      break;
    case ControlKind::kDriveList:
      cls = WC_COMBOBOXW;
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      break;
    case ControlKind::kFolderList:
      cls = WC_LISTBOXW;
      style |= LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
      break;
    case ControlKind::kTrackBar:
      cls = TrackBarClass(&style);
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
                              nullptr, Instance(), nullptr);
  rec.applying = false;
  if (!hwnd) return nullptr;
  SetName(hwnd, c.Name());
  if (c.Kind() != ControlKind::kPictureBox) NameByLabel(hwnd);
  rec.applied_rect = r;
  rec.applied_visible = ShownNow(c) ? 1 : 0;
  rec.applied_enabled = c.enabled ? 1 : 0;
  if (has_text) {
    rec.applied_text = text;
    rec.text_applied = true;
  }
  return hwnd;
}

std::size_t LookHash(const Control& c) {
  std::size_t h = 0;
  switch (c.Kind()) {
    case ControlKind::kLabel: {
      auto& l = static_cast<const Label&>(c);
      h = HashFont(l.font);
      for (auto v : {static_cast<std::size_t>(Resolve(l.fore_color)), static_cast<std::size_t>(Resolve(l.back_color)),
                     static_cast<std::size_t>(l.transparent), static_cast<std::size_t>(l.alignment),
                     static_cast<std::size_t>(l.border), static_cast<std::size_t>(l.word_wrap)})
        h = HashCombine(h, v);
      break;
    }
    case ControlKind::kTextBox: {
      auto& t = static_cast<const TextBox&>(c);
      h = HashCombine(HashFont(t.font), Resolve(t.fore_color));
      h = HashCombine(h, Resolve(t.back_color));
      break;
    }
    case ControlKind::kOptionButton: {
      auto& o = static_cast<const OptionButton&>(c);
      h = HashCombine(HashFont(o.font), Resolve(o.fore_color));
      h = HashCombine(h, Resolve(o.back_color));
      break;
    }
    case ControlKind::kDriveList: {
      auto& d = static_cast<const DriveList&>(c);
      h = HashCombine(HashFont(d.font), Resolve(d.back_color));
      break;
    }
    case ControlKind::kFolderList: {
      auto& f = static_cast<const FolderList&>(c);
      h = HashCombine(HashFont(f.font), Resolve(f.back_color));
      break;
    }
    case ControlKind::kImage: {
      auto& i = static_cast<const Image&>(c);
      h = HashCombine(std::hash<std::wstring>{}(i.resource), i.stretch);
      break;
    }
    default:
      break;
  }
  return h | 1;  // never 0, which means "not applied yet"
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
    auto& t = static_cast<const TextBox&>(c);
    if (t.selection_request != rec.applied_selection) {
      SendMessageW(hwnd, EM_SETSEL, t.sel_start, t.sel_start + t.sel_length);
      rec.applied_selection = t.selection_request;
    }
  } else if (c.Kind() == ControlKind::kOptionButton) {
    auto& o = static_cast<const OptionButton&>(c);
    int checked = o.Value() ? 1 : 0;
    if (checked != rec.applied_index) {
      SendMessageW(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      rec.applied_index = checked;
    }
  } else if (c.Kind() == ControlKind::kDriveList) {
    auto& d = static_cast<const DriveList&>(c);
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
    auto& f = static_cast<const FolderList&>(c);
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
  } else if (c.Kind() == ControlKind::kTrackBar) {
    SyncTrackBar(rec);
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


namespace {

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ControlRecord* rec = RecordOf(hwnd);
  if (!rec) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      // Buffered, so the caption over the dial does not flicker.
      PaintBuffered(hwnd, [rec](HDC buffer, const RECT&) { PaintPicture(*rec, buffer); });
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // A press on a picture box is its own and never drags the window.
      Control* c = rec->control;
      if (c->on_mouse_down) {
        int x = PixelsToTwips(static_cast<short>(LOWORD(lp)));
        int y = PixelsToTwips(static_cast<short>(HIWORD(lp)));
        MouseButton button = msg == WM_RBUTTONDOWN ? MouseButton::kRight
                             : msg == WM_MBUTTONDOWN ? MouseButton::kMiddle
                                                     : MouseButton::kLeft;
        int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                    (GetKeyState(VK_MENU) < 0 ? 4 : 0);
        Fire([c, button, shift, x, y] { c->on_mouse_down(button, shift, x, y); });
      }
      return 0;
    }
    default: {
      LRESULT result = 0;
      if (ChildNotification(msg, wp, lp, &result)) return result;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
}

}  // namespace

void RegisterControlClasses() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = PictureProc;
  wc.lpszClassName = kPictureClass;
  RegisterClassExW(&wc);
}

}  // namespace kit::win
