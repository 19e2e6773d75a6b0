// Brings a form's windows up to date with its model: the form's own window,
// a real child window for each control that has one, and a repaint where a
// windowless control's appearance changed. Each record keeps what was last
// applied, so a sync touches only what changed. The empty text boxes of the
// first window start painted by the form and get their windows a moment
// after the first paint, which keeps the edit control's library out of the
// start-up.
#include "kit/backend_win.h"

#include <algorithm>
#include <utility>

#include "kit/input.h"
#include "kit/platform.h"

namespace kit::win {
namespace {

std::unordered_map<Form*, std::unique_ptr<FormRecord>> g_form_records;

// What the form's own surface shows: its colour, shapes and lines.
std::size_t SurfaceHash(Form& form) {
  std::size_t h = Resolve(form.back_color);
  for (Control* c : form.Controls()) {
    if (c->Kind() == ControlKind::kShape || c->Kind() == ControlKind::kLine) h = h * 31 + LookHash(AppearanceOf(*c));
  }
  return h;
}

void CreateFormWindow(Form& form) {
  auto& owned = g_form_records[&form];
  owned = std::make_unique<FormRecord>();
  FormRecord* rec = owned.get();
  rec->form = &form;
  rec->applied_focus = form.FocusSerial() - 1;
  form.native = rec;
  DWORD style = form.framed ? WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN : WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  DWORD ex = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  if (form.topmost) ex |= WS_EX_TOPMOST;
  // The window procedure sets rec->hwnd on its first message.
  if (!CreateWindowExW(ex, kFormClass, form.caption.c_str(), style, 0, 0, 1, 1, nullptr, nullptr, Instance(), rec))
    rec->hwnd = nullptr;
  if (!rec->hwnd) return;
  SetName(rec->hwnd, form.Name());
  rec->applied_caption = form.caption;
  if (!form.icon.empty()) {
    auto load = [&](int cx, int cy) {
      return static_cast<HICON>(LoadImageW(Instance(), form.icon.c_str(), IMAGE_ICON, cx, cy, 0));
    };
    rec->big_icon.Reset(load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    rec->small_icon.Reset(load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    if (rec->big_icon) SendMessageW(rec->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(rec->big_icon.get()));
    if (rec->small_icon)
      SendMessageW(rec->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(rec->small_icon.get()));
  }
}

}  // namespace

FormRecord* FormRecordOf(const Form& form) { return static_cast<FormRecord*>(form.native); }

FormRecord* FormRecordOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (auto& [form, rec] : g_form_records)
    if (rec->hwnd == hwnd) return rec.get();
  return nullptr;
}

namespace {

// Labels and images: repaint where one changed, and tell readers about a
// new caption or text.
void SyncWindowless(FormRecord& rec, Control& c, ControlRecord& cr) {
  Appearance a = AppearanceOf(c);
  if (cr.applied == a) return;
  if (c.Kind() == ControlKind::kImage &&
      (!cr.applied || cr.applied->picture != a.picture || cr.applied->stretch != a.stretch))
    LoadPicture(cr);
  bool first = !cr.applied;
  std::wstring old_text = first ? std::wstring() : cr.applied->text;
  cr.applied = a;
  HWND surface = rec.hwnd;
  if (c.Container()) {
    auto it = rec.controls.find(c.Container());
    if (it == rec.controls.end() || !it->second->hwnd) return;
    surface = it->second->hwnd;
  }
  RECT now = ToRect(a.place);
  auto invalidate = [&](const RECT& r) {
    if (surface == rec.hwnd && rec.dirty) {
      base::Gdi<HRGN> part(CreateRectRgnIndirect(&r));
      CombineRgn(rec.dirty.get(), rec.dirty.get(), part.get(), RGN_OR);
    } else {
      InvalidateRect(surface, &r, FALSE);
    }
  };
  if (!first) {
    invalidate(cr.applied_rect);
    if (c.Kind() == ControlKind::kLabel && a.text != old_text) RaiseEvent(rec, c, AccessEvent::kNameChange);
  }
  invalidate(now);
  cr.applied_rect = now;
}

// Moves the system's focus where the form keeps it, when the window is the
// active one (else it follows on activation, in WM_SETFOCUS).
void SyncFocus(FormRecord& rec, bool just_shown) {
  Form& form = *rec.form;
  if (form.FocusSerial() == rec.applied_focus || !form.Visible()) return;
  if (GetActiveWindow() != rec.hwnd && !just_shown) return;
  rec.applied_focus = form.FocusSerial();
  Control* focus = form.Focused();
  auto* cr = focus ? static_cast<ControlRecord*>(focus->native) : nullptr;
  InvalidateControl(rec, rec.painted_focus);
  if (cr && cr->hwnd) {
    SetFocus(cr->hwnd);
    return;
  }
  if (GetFocus() != rec.hwnd) SetFocus(rec.hwnd);   // WM_SETFOCUS paints and tells readers
  else if (!cr || !cr->painted_box) {   // a painted box: readers hear of it with its window
    InvalidateControl(rec, focus);
    if (focus) RaiseEvent(rec, *focus, AccessEvent::kFocus);
  }
}

// The window a control's own window goes into: its picture box's, or the form's.
HWND ParentWindow(FormRecord& rec, const Control& c) {
  if (c.Container()) {
    auto it = rec.controls.find(c.Container());
    if (it != rec.controls.end() && it->second->hwnd) return it->second->hwnd;
  }
  return rec.hwnd;
}

bool g_boxes_may_wait = true;   // until the first paint
bool g_painted_boxes = false;
UINT_PTR g_box_timer = 0;

void CALLBACK BoxTimer(HWND, UINT, UINT_PTR, DWORD) { MakeBoxWindowsNow(); }

}  // namespace

std::vector<Control*> ChildOrder(Form& form) {
  // Tab order is the order the system's own focus moves in.
  std::vector<Control*> order;
  for (Control* c : FocusOrder(form)) order.push_back(c);
  for (Control* c : form.Controls())
    if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  std::stable_partition(order.begin(), order.end(), [](Control* c) { return c->Container() == nullptr; });
  return order;
}

bool BoxWindowsPending() { return g_painted_boxes; }

void MakeBoxWindows() {
  g_boxes_may_wait = false;
  if (g_box_timer) KillTimer(nullptr, std::exchange(g_box_timer, 0));
  if (!std::exchange(g_painted_boxes, false)) return;
  for (auto& [form, rec] : g_form_records) {
    bool made = false;
    HWND after = HWND_TOP;   // stacked in tab order among the form's own children
    for (Control* c : ChildOrder(*form)) {
      auto it = rec->controls.find(c);
      if (c->Container() || it == rec->controls.end()) continue;
      ControlRecord& cr = *it->second;
      if (cr.painted_box && rec->hwnd) {
        cr.painted_box = false;
        cr.applied.reset();   // its window is told everything on the next sync
        cr.hwnd = CreateChild(*c, rec->hwnd, cr);
        if (!cr.hwnd) continue;
        RememberWindow(cr.hwnd, &cr);
        SetWindowPos(cr.hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        made = true;
      }
      if (cr.hwnd) after = cr.hwnd;
    }
    if (made) rec->applied_focus = form->FocusSerial() - 1;   // into the box's window now
  }
}

void MakeBoxWindowsNow() {
  if (!BoxWindowsPending()) return;
  MakeBoxWindows();
  CurrentPlatform().Sync();
}

void MakeBoxWindowsSoon() {
  g_boxes_may_wait = false;   // only the first window's boxes: the start-up is over
  if (!g_painted_boxes || g_box_timer) return;
  // A timer's message comes only when nothing else waits: the program has
  // been idle, its first paint on the screen, for a moment.
  g_box_timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, BoxTimer);
}

void SyncForm(Form& form) {
  if (!form.native) {
    if (!form.Loaded() && !form.Visible()) return;
    CreateFormWindow(form);
  }
  FormRecord* rec = FormRecordOf(form);
  if (!rec->hwnd) return;
  for (auto& [c, cr] : rec->controls) {
    if (cr->painted_box && !PaintableUntilUsed(*c)) {
      MakeBoxWindows();
      break;
    }
  }

  // Real children first in tab order; windowless ones get a record only.
  rec->dirty.Reset(CreateRectRgn(0, 0, 0, 0));
  for (Control* c : ChildOrder(form)) {
    if (c->Kind() == ControlKind::kShape || c->Kind() == ControlKind::kLine) continue;
    auto& slot = rec->controls[c];
    if (!slot) {
      slot = std::make_unique<ControlRecord>();
      slot->control = c;
      c->native = slot.get();
      if (g_boxes_may_wait && !c->Container() && PaintableUntilUsed(*c)) {
        slot->painted_box = true;
        g_painted_boxes = true;
      } else if (!Windowless(*c)) {
        slot->hwnd = CreateChild(*c, ParentWindow(*rec, *c), *slot);
        if (slot->hwnd) RememberWindow(slot->hwnd, slot.get());
      }
    }
    if (slot->hwnd) {
      std::wstring before = slot->applied_text;
      SyncControl(*slot);
      if (c->Kind() == ControlKind::kTextBox && slot->applied_text != before)
        RaiseEvent(*rec, *c, AccessEvent::kValueChange);
    } else {
      SyncWindowless(*rec, *c, *slot);
    }
  }
  if (rec->dirty) {
    InvalidateRgn(rec->hwnd, rec->dirty.get(), FALSE);
    rec->dirty.Reset();
  }

  if (form.caption != rec->applied_caption) {
    SetWindowTextW(rec->hwnd, form.caption.c_str());
    rec->applied_caption = form.caption;
  }
  int w = TwipsToPixels(form.Width()), h = TwipsToPixels(form.Height());
  if (w != rec->applied_width || h != rec->applied_height) {
    rec->applied_width = w;
    rec->applied_height = h;
    RECT outer{0, 0, w, h};
    // A framed form's size is its client area; the frame comes around it.
    if (form.framed)
      AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(rec->hwnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(rec->hwnd, GWL_EXSTYLE)));
    SetWindowPos(rec->hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::size_t surface = SurfaceHash(form);
  if (surface != rec->applied_surface) {
    rec->applied_surface = surface;
    RedrawWindow(rec->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  int visible = form.Visible() ? 1 : 0;
  bool just_shown = visible && visible != rec->applied_visible;
  if (visible != rec->applied_visible) {
    if (visible && !rec->shown_once) {
      rec->shown_once = true;
      RECT work;
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      RECT outer;
      GetWindowRect(rec->hwnd, &outer);
      std::optional<Rect> beside;
      if (auto* other = form.beside ? FormRecordOf(*form.beside) : nullptr; other && other->hwnd) {
        RECT r;
        GetWindowRect(other->hwnd, &r);
        beside = Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
      }
      Point at = WindowOrigin(form, outer.right - outer.left, outer.bottom - outer.top, {work.left, work.top, work.right - work.left, work.bottom - work.top}, beside);
      SetWindowPos(rec->hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowWindow(rec->hwnd, SW_SHOW);
    } else {
      ShowWindow(rec->hwnd, visible ? SW_SHOW : SW_HIDE);
      if (visible) SetForegroundWindow(rec->hwnd);
    }
    rec->applied_visible = visible;
  }
  if (form.activate_request != rec->applied_activate) {
    rec->applied_activate = form.activate_request;
    if (form.Visible()) SetForegroundWindow(rec->hwnd);
  }
  SyncFocus(*rec, just_shown);
  if (rec->painted_focus != form.Focused() && GetFocus() == rec->hwnd) {
    InvalidateControl(*rec, rec->painted_focus);
    InvalidateControl(*rec, form.Focused());
  }
}

void ForgetApplied() {
  for (auto& [form, rec] : g_form_records) {
    rec->applied_width = rec->applied_height = -1;
    for (auto& [c, cr] : rec->controls) {
      cr->applied_rect = RECT{-1, -1, -1, -1};
      cr->applied.reset();
    }
  }
}

void DropForm(Form& form) {
  FormRecord* rec = FormRecordOf(form);
  if (!rec) return;
  for (auto& [c, cr] : rec->controls) {
    if (cr->hwnd) {
      DropName(cr->hwnd);
      ForgetWindow(cr->hwnd);
      cr->hwnd = nullptr;  // destroyed with the form's window
    }
    DestroyRecord(*cr);
    c->native = nullptr;
  }
  ReleaseAccessible(*rec);
  // Forgotten first, so that the messages of its destruction find no form.
  if (HWND hwnd = std::exchange(rec->hwnd, nullptr)) {
    DropName(hwnd);
    DestroyWindow(hwnd);
  }
  form.native = nullptr;
  g_form_records.erase(&form);
}

void DropControl(Control& control) {
  auto* cr = static_cast<ControlRecord*>(control.native);
  if (!cr) return;
  FormRecord* fr = FormRecordOf(control.Owner());
  if (fr && !cr->hwnd && fr->hwnd && !control.Container()) InvalidateRect(fr->hwnd, &cr->applied_rect, FALSE);
  if (fr && fr->painted_focus == &control) fr->painted_focus = nullptr;
  DestroyRecord(*cr);
  control.native = nullptr;
  if (fr) fr->controls.erase(&control);
}

}  // namespace kit::win
