// The Win32 backend: one window per form, one child window per text box,
// option button, list and picture box. Labels, shapes, lines and images
// have no window: the form paints them (paint_win.cpp) and kit/input decides
// which of them a press or a key belongs to. The backend never decides
// anything: it shows the models' fields and turns window messages into the
// models' events.
#include "kit/backend_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <functional>

#include "kit/input.h"
#include "kit/platform.h"
#include "kit/win32_app.h"

namespace kit::win {
namespace {

constexpr wchar_t kFormClass[] = L"ElemoraForm";

HINSTANCE g_instance = nullptr;
std::unordered_map<HWND, ControlRecord*> g_by_hwnd;
int g_sync_depth = 0;

FormRecord* FormRec(Form& form) { return static_cast<FormRecord*>(form.native); }

int MouseShift() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return MouseButton::kRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return MouseButton::kMiddle;
    default:
      return MouseButton::kLeft;
  }
}

// The form whose window this is, if it still has one (a handler may have
// destroyed it).
FormRecord* LiveRecord(HWND hwnd) {
  return IsWindow(hwnd) ? reinterpret_cast<FormRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

void InvalidateControl(FormRecord& rec, const Control* c) {
  if (!c || !rec.hwnd) return;
  RECT r = PaintRect(*c);
  InvalidateRect(rec.hwnd, &r, FALSE);
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
  if (msg == ChildNameMessage()) return AnswerChildName(*rec, wp);
  if (msg == DefaultActionMessage()) {
    RunDefaultAction(*rec, wp);
    return 0;
  }
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      // One pass into a back buffer: nothing flickers while the window moves.
      PaintBuffered(
          hwnd, [rec, hwnd](HDC buffer, const RECT& client) { PaintForm(*rec, buffer, client, GetFocus() == hwnd); },
          !rec->painted_once);
      rec->painted_once = true;
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    // The second press of a quick double press is a press like any other
    // (the class asks for no double clicks; these are for safety).
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      Form* form = rec->form;
      int x = PixelsToTwips(static_cast<short>(LOWORD(lp)));
      int y = PixelsToTwips(static_cast<short>(HIWORD(lp)));
      MouseButton button = ButtonOf(msg);
      int shift = MouseShift();
      Fire([form, button, shift, x, y] { MouseDown(*form, button, shift, x, y); });
      // A press on a label: keep the mouse until the release decides the click.
      if (FormRecord* live = LiveRecord(hwnd); live && live->form->pressed) SetCapture(hwnd);
      return 0;
    }
    case WM_LBUTTONUP: {
      Form* form = rec->form;
      Control* pressed = form->pressed;
      form->pressed = nullptr;   // releasing the capture must not cancel this press
      if (GetCapture() == hwnd) ReleaseCapture();
      form->pressed = pressed;
      int x = PixelsToTwips(static_cast<short>(LOWORD(lp)));
      int y = PixelsToTwips(static_cast<short>(HIWORD(lp)));
      Fire([form, x, y] { MouseUp(*form, MouseButton::kLeft, x, y); });
      return 0;
    }
    case WM_CAPTURECHANGED:
      CancelPress(*rec->form);
      return 0;
    case WM_CONTEXTMENU: {
      // The system's own request, from a right click (its button-up) or from
      // Shift+F10 and the context-menu key (no point); a text box's comes
      // here only when the box has none of its own.
      if (reinterpret_cast<HWND>(wp) != hwnd) return 0;
      Form* form = rec->form;
      if (lp == -1) {
        Fire([form] { ContextMenuKey(*form); });
        return 0;
      }
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd, &pt);
      int x = PixelsToTwips(pt.x), y = PixelsToTwips(pt.y);
      Fire([form, x, y] { ContextMenu(*form, x, y); });
      return 0;
    }
    case WM_GETDLGCODE:
      // Typed characters are the form's, not mnemonics for the dialog manager.
      return DLGC_WANTCHARS;
    case WM_CHAR: {
      Form* form = rec->form;
      auto ch = static_cast<wchar_t>(wp);
      bool used = false;
      Fire([form, ch, &used] { used = Char(*form, ch); });
      return used ? 0 : DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_SETFOCUS: {
      // Back into the window: the focus goes where the form keeps it.
      Control* focus = rec->form->Focused();
      auto* cr = focus ? static_cast<ControlRecord*>(focus->native) : nullptr;
      if (cr && cr->hwnd && IsWindowVisible(cr->hwnd) && IsWindowEnabled(cr->hwnd)) {
        SetFocus(cr->hwnd);
      } else {
        InvalidateControl(*rec, focus);
        if (focus && !Windowless(*focus)) focus = nullptr;
        if (focus) RaiseEvent(*rec, *focus, EVENT_OBJECT_FOCUS);
      }
      return 0;
    }
    case WM_KILLFOCUS:
      InvalidateControl(*rec, rec->painted_focus);
      return 0;
    case WM_GETOBJECT:
      if (LRESULT answer = AnswerGetObject(*rec, wp, lp)) return answer;
      return DefWindowProcW(hwnd, msg, wp, lp);
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


void CreateFormWindow(Form& form) {
  auto* rec = new FormRecord;
  rec->form = &form;
  rec->applied_focus = form.FocusSerial() - 1;
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

// Labels and images: repaint where one changed, and tell readers about a
// new caption or text.
void SyncWindowless(FormRecord& rec, Control& c, ControlRecord& cr) {
  std::size_t look = PaintHash(c);
  if (look == cr.applied_look) return;
  if (c.Kind() == ControlKind::kImage && LookHash(c) != cr.applied_picture) {
    LoadPicture(cr);
    cr.applied_picture = LookHash(c);
  }
  bool first = cr.applied_look == 0;
  cr.applied_look = look;
  HWND surface = rec.hwnd;
  int inset = 0;
  if (c.Container()) {
    auto it = rec.controls.find(c.Container());
    if (it == rec.controls.end() || !it->second->hwnd) return;
    surface = it->second->hwnd;
    inset = static_cast<PictureBox*>(c.Container())->border ? 1 : 0;
  }
  RECT now = PaintRect(c);
  OffsetRect(&now, inset, inset);
  auto invalidate = [&](const RECT& r) {
    if (surface == rec.hwnd && rec.dirty) {
      HRGN part = CreateRectRgnIndirect(&r);
      CombineRgn(rec.dirty, rec.dirty, part, RGN_OR);
      DeleteObject(part);
    } else {
      InvalidateRect(surface, &r, FALSE);
    }
  };
  if (!first) {
    invalidate(cr.applied_rect);
    if (c.Kind() == ControlKind::kLabel) {
      auto& label = static_cast<Label&>(c);
      if (label.caption != cr.applied_text) RaiseEvent(rec, c, EVENT_OBJECT_NAMECHANGE);
    }
  }
  if (c.Kind() == ControlKind::kLabel) cr.applied_text = static_cast<Label&>(c).caption;
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
  else {
    InvalidateControl(rec, focus);
    if (focus) RaiseEvent(rec, *focus, EVENT_OBJECT_FOCUS);
  }
}

void SyncForm(Form& form) {
  if (!form.native) {
    if (!form.Loaded() && !form.Visible()) return;
    CreateFormWindow(form);
  }
  FormRecord* rec = FormRec(form);
  if (!rec->hwnd) return;

  // Real children in tab order (the order the system's own focus moves in),
  // containers before what they contain; windowless ones get a record only.
  std::vector<Control*> order;
  for (Control* c : FocusOrder(form)) order.push_back(c);
  for (Control* c : form.Controls())
    if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  std::stable_partition(order.begin(), order.end(), [](Control* c) { return c->Container() == nullptr; });
  rec->dirty = CreateRectRgn(0, 0, 0, 0);
  for (Control* c : order) {
    if (c->Kind() == ControlKind::kShape || c->Kind() == ControlKind::kLine) continue;
    auto& slot = rec->controls[c];
    if (!slot) {
      slot = std::make_unique<ControlRecord>();
      slot->control = c;
      c->native = slot.get();
      if (!Windowless(*c)) {
        HWND parent = rec->hwnd;
        if (c->Container()) {
          auto it = rec->controls.find(c->Container());
          if (it != rec->controls.end() && it->second->hwnd) parent = it->second->hwnd;
        }
        slot->hwnd = CreateChild(*c, parent, *slot);
        if (slot->hwnd) RememberWindow(slot->hwnd, slot.get());
      }
    }
    if (slot->hwnd) {
      std::wstring before = slot->applied_text;
      SyncControl(*slot);
      if (c->Kind() == ControlKind::kTextBox && slot->applied_text != before)
        RaiseEvent(*rec, *c, EVENT_OBJECT_VALUECHANGE);
    } else {
      SyncWindowless(*rec, *c, *slot);
    }
  }
  if (rec->dirty) {
    InvalidateRgn(rec->hwnd, rec->dirty, FALSE);
    DeleteObject(rec->dirty);
    rec->dirty = nullptr;
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
  bool just_shown = visible && visible != rec->applied_visible;
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
    } else {
      ShowWindow(rec->hwnd, visible ? SW_SHOW : SW_HIDE);
      if (visible) SetForegroundWindow(rec->hwnd);
    }
    rec->applied_visible = visible;
  }
  SyncFocus(*rec, just_shown);
  if (rec->painted_focus != form.Focused() && GetFocus() == rec->hwnd) {
    InvalidateControl(*rec, rec->painted_focus);
    InvalidateControl(*rec, form.Focused());
  }
}

// A key the form may use: Tab, Enter and Esc wherever the focus is in the
// window; Space, the arrows, Home and End only when no real control has it
// (they are the text box's and the list's own there).
bool KeyOf(WPARAM vk, bool on_form, Key* key) {
  switch (vk) {
    case VK_TAB: *key = Key::kTab; return true;
    case VK_RETURN: *key = Key::kEnter; return true;
    case VK_ESCAPE: *key = Key::kEscape; return true;
    default: break;
  }
  if (!on_form) return false;
  switch (vk) {
    case VK_SPACE: *key = Key::kSpace; return true;
    case VK_LEFT: *key = Key::kLeft; return true;
    case VK_RIGHT: *key = Key::kRight; return true;
    case VK_UP: *key = Key::kUp; return true;
    case VK_DOWN: *key = Key::kDown; return true;
    case VK_HOME: *key = Key::kHome; return true;
    case VK_END: *key = Key::kEnd; return true;
    default: return false;
  }
}

// Offers a key press to the form it was typed into; true when the form used it.
bool FormKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  FormRecord* rec = top ? FormRecordOf(top) : nullptr;
  if (!rec) return false;
  // Ctrl and Alt combinations are the system's (Alt+F4) and the controls'.
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  Key key;
  if (!KeyOf(msg.wParam, msg.hwnd == top, &key)) return false;
  // A drop-down list that is open keeps Enter and Esc for itself.
  if (ControlRecord* cr = RecordOf(msg.hwnd); !cr) {
    ControlRecord* parent = RecordOf(GetParent(msg.hwnd));
    if (parent && parent->control->Kind() == ControlKind::kDriveList &&
        SendMessageW(parent->hwnd, CB_GETDROPPEDSTATE, 0, 0))
      return false;
  } else if (cr->control->Kind() == ControlKind::kDriveList && SendMessageW(cr->hwnd, CB_GETDROPPEDSTATE, 0, 0)) {
    return false;
  }
  Form* form = rec->form;
  int shift = GetKeyState(VK_SHIFT) < 0 ? kShiftKey : 0;
  bool used = false;
  Fire([form, key, shift, &used] { used = KeyDown(*form, key, shift); });
  return used;
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
    if (rec && rec->hwnd) {
      RedrawWindow(rec->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    } else if (rec) {
      // A windowless control: the part of its form (or picture box) it covers.
      Control* host = control.Container();
      auto* hr = host ? static_cast<ControlRecord*>(host->native) : nullptr;
      HWND surface = hr ? hr->hwnd : nullptr;
      if (!host) {
        if (auto* fr = FormRec(control.Owner())) surface = fr->hwnd;
      }
      if (surface) RedrawWindow(surface, &rec->applied_rect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
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

  bool AskRetry(const std::wstring& text, const std::wstring& title) override {
    Sync();
    HWND owner = GetActiveWindow();
    return MessageBoxW(owner, text.c_str(), title.c_str(), MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
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
    ReleaseAccessible(*rec);
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
    auto* fr = FormRec(control.Owner());
    if (fr && !cr->hwnd && fr->hwnd && !control.Container()) InvalidateRect(fr->hwnd, &cr->applied_rect, FALSE);
    if (fr && fr->painted_focus == &control) fr->painted_focus = nullptr;
    DestroyRecord(*cr);
    control.native = nullptr;
    if (fr) fr->controls.erase(&control);
  }

  int PopupMenu(Form& form, const std::vector<MenuItem>& items, int x, int y) override {
    auto* rec = FormRec(form);
    if (!rec || !rec->hwnd || items.empty()) return -1;
    Sync();
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    UINT checked = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      const auto id = static_cast<UINT>(i + 1);
      // A separator keeps its id too, so a line's id is still its index + 1.
      AppendMenuW(menu, items[i].separator ? MF_SEPARATOR : MF_STRING, id, items[i].text.c_str());
      if (items[i].checked) checked = id;
    }
    // One of several: the radio mark, as readers and users know it.
    if (checked) CheckMenuRadioItem(menu, 1, static_cast<UINT>(items.size()), checked, MF_BYCOMMAND);
    POINT pt{TwipsToPixels(x), TwipsToPixels(y)};
    ClientToScreen(rec->hwnd, &pt);
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN;
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, flags, pt.x, pt.y, rec->hwnd, nullptr));
    DestroyMenu(menu);
    return chosen > 0 ? chosen - 1 : -1;
  }

  void Beep() override { MessageBeep(MB_OK); }

  std::uint64_t TickMs() override { return GetTickCount64(); }

  void End(int exit_code) override { ExitProcess(static_cast<UINT>(exit_code)); }

  static void Pump(MSG& msg) {
    if (FormKey(msg)) return;
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
  // No CS_DBLCLKS: a quick second press is a press (it drags, or clicks a label again).
  wc.style = 0;
  RegisterClassExW(&wc);
  RegisterControlClasses();
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

bool ShownNow(const Control& c) { return c.visible && (!c.Container() || c.Container()->visible); }

ControlRecord* RecordOf(HWND hwnd) {
  auto it = g_by_hwnd.find(hwnd);
  return it == g_by_hwnd.end() ? nullptr : it->second;
}
void RememberWindow(HWND hwnd, ControlRecord* rec) { g_by_hwnd[hwnd] = rec; }
void ForgetWindow(HWND hwnd) { g_by_hwnd.erase(hwnd); }

FormRecord* FormRecordOf(HWND hwnd) {
  wchar_t cls[32];
  if (!GetClassNameW(hwnd, cls, 32) || wcscmp(cls, kFormClass) != 0) return nullptr;
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return nullptr;
  return reinterpret_cast<FormRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
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
