// The real child windows of a form: text boxes, option buttons, the drive
// and folder lists and picture boxes. They are created in place on first
// sync (the first window's empty text boxes a moment later, see
// sync_win.cpp) and afterwards only told what changed in their models.
#include "kit/backend_win.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "base/late_bound_win.h"
#include "kit/drawing.h"
#include "kit/input.h"
#include "kit/platform.h"

namespace kit::win {

void SetName(HWND hwnd, const std::string& name) {
  std::wstring wide(name.begin(), name.end());
  ATOM atom = GlobalAddAtomW(wide.c_str());
  if (atom) SetPropW(hwnd, kNameProp, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void DropName(HWND hwnd) {
  auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(hwnd, kNameProp)));
  if (atom) GlobalDeleteAtom(atom);
}

void DestroyRecord(ControlRecord& rec) {
  if (rec.hwnd) {
    DropName(rec.hwnd);
    ForgetWindow(rec.hwnd);
    DestroyWindow(rec.hwnd);
    rec.hwnd = nullptr;
  }
  rec.brush.Reset();
  rec.bitmap.Reset();
  rec.icon.Reset();
}

HBRUSH BrushFor(ControlRecord& rec, Color color) {
  Color rgb = Resolve(color);
  if (!rec.brush || rec.brush_color != rgb) {
    rec.brush.Reset(CreateSolidBrush(rgb));
    rec.brush_color = rgb;
  }
  return rec.brush.get();
}

namespace {

// Colours of the system controls come from the parent (form or picture box).
LRESULT ControlColor(HWND child, HDC dc) {
  ControlRecord* rec = RecordOf(child);
  if (!rec) {
    // A combo box's own list or edit part: colour it as the combo box.
    rec = RecordOf(GetParent(child));
  }
  if (!rec || rec->control->Kind() == ControlKind::kPictureBox) return 0;
  Appearance a = AppearanceOf(*rec->control);
  SetTextColor(dc, a.fore);
  SetBkColor(dc, a.back);
  return reinterpret_cast<LRESULT>(BrushFor(*rec, a.back));
}

bool IsFocusNotice(const Control& c, int code) {
  switch (c.Kind()) {
    case ControlKind::kTextBox: return code == EN_SETFOCUS;
    case ControlKind::kOptionButton: return code == BN_SETFOCUS;
    case ControlKind::kDriveList:
    case ControlKind::kComboBox: return code == CBN_SETFOCUS;
    case ControlKind::kFolderList: return code == LBN_SETFOCUS;
    default: return false;
  }
}

}  // namespace

void FollowSystemFocus(Control& c) {
  FocusFollowsSystem(c);
  Form& form = c.Owner();
  if (auto* fr = static_cast<FormRecord*>(form.native)) fr->applied_focus = form.FocusSerial();
  CurrentPlatform().Sync();   // what leaving the last control changed
}

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
      m->itemHeight = static_cast<UINT>(TwipsToPixels(kFolderRowTwips));
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
        FollowSystemFocus(*c);
        *result = 0;
        return true;
      }
      if (rec->applying) return false;
      switch (c->Kind()) {
        case ControlKind::kTextBox:
          if (code == EN_KILLFOCUS) {
            // Where the user left the caret, for the program to type at.
            DWORD start = 0, end = 0;
            SendMessageW(child, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            auto* t = static_cast<TextBox*>(c);
            t->sel_start = static_cast<int>(start);
            t->sel_length = static_cast<int>(end - start);
          }
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
        case ControlKind::kComboBox:
          if (code == CBN_SELCHANGE) {
            auto* b = static_cast<ComboBox*>(c);
            int index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
            Fire([b, index] { b->Select(index); });
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

RECT ChildRect(const Appearance& a) {
  RECT r = ToRect(a.place);
  if (a.kind == ControlKind::kDriveList || a.kind == ControlKind::kComboBox) r.bottom = r.top + TwipsToPixels(3000);  // room for the drop-down
  return r;
}

}  // namespace

// Creates the window already in place, with its text and visibility, so that
// start-up costs one call per control rather than four.
HWND CreateChild(Control& c, HWND parent, ControlRecord& rec) {
  // The controls' library, version 6 by the manifest, comes with the first
  // real control; a window of labels alone never loads it.
  static const bool loaded = [] {
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = base::LateBound<Init>(L"comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    return init && init(&icc);
  }();
  (void)loaded;
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
    case ControlKind::kComboBox:
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
  Appearance a = AppearanceOf(c);
  RECT r = ChildRect(a);
  // The text a window carries, for WM_GETTEXT readers; lists carry none of
  // their own (their items are the text).
  const std::wstring& text = a.text;
  if (a.shown) style |= WS_VISIBLE;
  if (!c.enabled) style |= WS_DISABLED;
  rec.applying = true;
  HWND hwnd = CreateWindowExW(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                              nullptr, Instance(), nullptr);
  rec.applying = false;
  if (!hwnd) return nullptr;
  SetName(hwnd, c.Name());
  if (c.Kind() != ControlKind::kPictureBox) NameByLabel(hwnd);
  rec.applied_rect = r;
  rec.applied_visible = a.shown ? 1 : 0;
  rec.applied_enabled = c.enabled ? 1 : 0;
  if (a.has_text) {
    rec.applied_text = text;
    rec.text_applied = true;
  }
  return hwnd;
}

void SyncControl(ControlRecord& rec) {
  Control& c = *rec.control;
  HWND hwnd = rec.hwnd;
  if (!hwnd) return;
  rec.applying = true;

  Appearance a = AppearanceOf(c);
  RECT r = ChildRect(a);
  if (!EqualRect(&r, &rec.applied_rect)) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    rec.applied_rect = r;
    InvalidateRect(hwnd, nullptr, FALSE);
  }

  if (!rec.applied || !SameStyle(a, *rec.applied)) {
    if (c.Kind() != ControlKind::kPictureBox)
      SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(a.font)), FALSE);
    if (c.Kind() == ControlKind::kFolderList) {
      SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, TwipsToPixels(kFolderRowTwips));
    }
    InvalidateRect(hwnd, nullptr, TRUE);
  }

  if (a.has_text && (!rec.text_applied || a.text != rec.applied_text)) {
    SetWindowTextW(hwnd, a.text.c_str());
    rec.applied_text = a.text;
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
  } else if (c.Kind() == ControlKind::kDriveList || c.Kind() == ControlKind::kComboBox) {
    std::vector<std::wstring> items;
    int index = -1;
    if (c.Kind() == ControlKind::kComboBox) {
      auto& b = static_cast<const ComboBox&>(c);
      items = b.items;
      index = b.ListIndex();
    } else {
      auto& d = static_cast<const DriveList&>(c);
      for (int i = 0; i < static_cast<int>(d.Drives().size()); ++i) items.push_back(d.Item(i));
      index = d.ListIndex();
    }
    if (items != rec.applied_items) {
      SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
      for (auto& item : items) SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      rec.applied_items = items;
      rec.applied_index = -2;
    }
    if (index != rec.applied_index) {
      SendMessageW(hwnd, CB_SETCURSEL, index, 0);
      rec.applied_index = index;
    }
  } else if (c.Kind() == ControlKind::kFolderList) {
    auto& f = static_cast<const FolderList&>(c);
    std::vector<std::wstring> items = f.Lines();
    if (items != rec.applied_items) {
      SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
      for (auto& item : items) SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      rec.applied_items = items;
      SendMessageW(hwnd, LB_SETCURSEL, f.CurrentLine(), 0);
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
  int visible = a.shown ? 1 : 0;
  if (visible != rec.applied_visible) {
    ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
    rec.applied_visible = visible;
  }
  rec.applied = std::move(a);
  rec.applying = false;
}

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
    case WM_MBUTTONDOWN:
      PictureMouseDown(*rec->control, ButtonOf(msg), HeldKeys(), PixelsToTwips(static_cast<short>(LOWORD(lp))),
                       PixelsToTwips(static_cast<short>(HIWORD(lp))));
      CurrentPlatform().Sync();
      return 0;
    default: {
      LRESULT result = 0;
      if (ChildNotification(msg, wp, lp, &result)) return result;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
}

}  // namespace kit::win
