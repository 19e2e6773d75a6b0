// The form's window procedure: it cracks the window's messages into the
// models' events (kit/input decides what a press or a key means) and answers
// the system's questions (paint, focus, accessibility, DPI) from the models.
#include "kit/backend_win.h"

#include <commctrl.h>

#include "kit/input.h"
#include "kit/platform.h"

namespace kit::win {

int HeldKeys() {
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

void InvalidateControl(FormRecord& rec, const Control* c) {
  if (!c || !rec.hwnd) return;
  RECT r = PixelRect(c->bounds);
  InvalidateRect(rec.hwnd, &r, FALSE);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    // The record learns its window before CreateWindowExW returns, so the
    // messages of the creation find it too.
    static_cast<FormRecord*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams)->hwnd = hwnd;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  FormRecord* rec = FormRecordOf(hwnd);
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
      MakeBoxWindowsSoon();
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
      int shift = HeldKeys();
      Fire([form, button, shift, x, y] { MouseDown(*form, button, shift, x, y); });
      // A press on a label: keep the mouse until the release decides the click.
      if (FormRecord* live = FormRecordOf(hwnd); live && live->form->pressed) SetCapture(hwnd);
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
    case WM_MOUSEWHEEL: {
      // Whole notches, away from the user positive; a child window's wheel
      // comes here through its default handling.
      Form* form = rec->form;
      const int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
      bool used = false;
      if (form->on_wheel && notches) Fire([form, notches, &used] { used = form->on_wheel(notches); });
      return used ? 0 : DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_SETFOCUS: {
      // Back into the window: the focus goes where the form keeps it.
      FocusFallback to = FallbackFocus(*rec->form);
      auto* cr = to.into_window ? static_cast<ControlRecord*>(to.into_window->native) : nullptr;
      if (cr && cr->hwnd) {
        SetFocus(cr->hwnd);
      } else {
        InvalidateControl(*rec, rec->form->Focused());
        if (to.on_form) RaiseEvent(*rec, *to.on_form, AccessEvent::kFocus);
      }
      return 0;
    }
    case WM_KILLFOCUS:
      InvalidateControl(*rec, rec->painted_focus);
      return 0;
    case WM_GETOBJECT:
      MakeBoxWindowsNow();   // a reader sees the boxes as the windows they become
      if (LRESULT answer = AnswerGetObject(*rec, wp, lp)) return answer;
      return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_SIZE:
      rec->form->window_state = wp == SIZE_MAXIMIZED   ? WindowState::kMaximized
                                : wp == SIZE_MINIMIZED ? WindowState::kMinimized
                                                       : WindowState::kNormal;
      if (rec->form->framed && wp != SIZE_MINIMIZED && rec->applied_width >= 0) {
        // The user resized it: the model takes the new client size, which
        // is then already applied.
        rec->applied_width = LOWORD(lp);
        rec->applied_height = HIWORD(lp);
        Form* form = rec->form;
        int w = PixelsToTwips(LOWORD(lp)), h = PixelsToTwips(HIWORD(lp));
        if (w != form->Width() || h != form->Height()) Fire([form, w, h] { form->SetSize(w, h); });
      }
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
      ForgetApplied();   // every place and font again, at the new scale
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
      CurrentPlatform().Sync();
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// The keys the form may use, by their virtual-key codes.
bool KeyOf(WPARAM vk, Key* key) {
  switch (vk) {
    case VK_TAB: *key = Key::kTab; return true;
    case VK_RETURN: *key = Key::kEnter; return true;
    case VK_ESCAPE: *key = Key::kEscape; return true;
    case VK_SPACE: *key = Key::kSpace; return true;
    case VK_LEFT: *key = Key::kLeft; return true;
    case VK_RIGHT: *key = Key::kRight; return true;
    case VK_UP: *key = Key::kUp; return true;
    case VK_DOWN: *key = Key::kDown; return true;
    case VK_HOME: *key = Key::kHome; return true;
    case VK_END: *key = Key::kEnd; return true;
    case VK_PRIOR: *key = Key::kPageUp; return true;
    case VK_NEXT: *key = Key::kPageDown; return true;
    default: return false;
  }
}

namespace {

// Where the focus is, for routing a key typed into `hwnd` of the form's
// window `top`. A combo box's own edit or list part counts as the combo box.
KeyFocus FocusOf(HWND hwnd, HWND top) {
  if (hwnd == top) return KeyFocus::kForm;
  ControlRecord* cr = RecordOf(hwnd);
  if (!cr) cr = RecordOf(GetParent(hwnd));
  if (cr && (cr->control->Kind() == ControlKind::kDriveList || cr->control->Kind() == ControlKind::kComboBox) &&
      SendMessageW(cr->hwnd, CB_GETDROPPEDSTATE, 0, 0))
    return KeyFocus::kOpenList;
  return KeyFocus::kControl;
}

// Whether `hwnd` is a text box with characters selected.
bool TextSelected(HWND hwnd) {
  ControlRecord* cr = RecordOf(hwnd);
  if (!cr || cr->control->Kind() != ControlKind::kTextBox) return false;
  DWORD start = 0, end = 0;
  SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start != end;
}

}  // namespace

bool OfferKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  FormRecord* rec = top ? FormRecordOf(top) : nullptr;
  if (!rec) return false;
  int modifiers = HeldKeys();
  if (modifiers == kControlKey && msg.wParam >= 'A' && msg.wParam <= 'Z') {
    const auto letter = static_cast<wchar_t>(msg.wParam);
    if (!RouteShortcut(FocusOf(msg.hwnd, top), letter, TextSelected(msg.hwnd))) return false;
    Form* form = rec->form;
    bool used = false;
    Fire([form, letter, &used] { used = Shortcut(*form, letter); });
    return used;
  }
  Key key;
  if (!KeyOf(msg.wParam, &key)) return false;
  Form* form = rec->form;
  if (!RouteKey(FocusOf(msg.hwnd, top), key, modifiers, form->pages_anywhere)) return false;
  int shift = modifiers & (kShiftKey | kControlKey);
  bool used = false;
  Fire([form, key, shift, &used] { used = KeyDown(*form, key, shift); });
  return used;
}

}  // namespace kit::win
