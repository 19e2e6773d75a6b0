// The platform services of the Win32 backend (sync, message pumping,
// message boxes, menus, the end of the program) and its start-up.
#include "kit/backend_win.h"

#include <commctrl.h>

#include <utility>

#include "kit/platform.h"
#include "kit/win32_app.h"

namespace kit::win {
namespace {

HINSTANCE g_instance = nullptr;
// The tasks of the thread timers set and not yet run, by timer id.
std::unordered_map<UINT_PTR, std::function<void()>> g_timers;
std::unordered_map<HWND, ControlRecord*> g_by_hwnd;
int g_sync_depth = 0;

// Input that comes before the painted text boxes have their windows: they
// are made first, and a key or a press goes where it would have gone had
// they been windows all along, into the focused box or the box under it.
void InputIntoBoxes(MSG& msg) {
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_CHAR || msg.message == WM_SYSKEYDOWN;
  const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN;
  if (!key && !press) return;
  MakeBoxWindowsNow();
  if (!msg.hwnd || !FormRecordOf(msg.hwnd)) return;
  if (key) {
    HWND focus = GetFocus();
    if (focus && IsChild(msg.hwnd, focus)) msg.hwnd = focus;
    return;
  }
  POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
  HWND child = ChildWindowFromPointEx(msg.hwnd, pt, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
  if (!child || child == msg.hwnd || !RecordOf(child)) return;
  MapWindowPoints(msg.hwnd, child, &pt, 1);
  msg.hwnd = child;
  msg.lParam = MAKELPARAM(pt.x, pt.y);
}

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
        if (auto* fr = FormRecordOf(control.Owner())) surface = fr->hwnd;
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
    auto* rec = FormRecordOf(form);
    if (!rec || !rec->hwnd) return;
    ReleaseCapture();
    SendMessageW(rec->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }

  void FormDestroyed(Form& form) override { DropForm(form); }
  void ControlDestroyed(Control& control) override { DropControl(control); }

  int PopupMenu(Form& form, const std::vector<MenuItem>& items, int x, int y) override {
    auto* rec = FormRecordOf(form);
    if (!rec || !rec->hwnd || items.empty()) return -1;
    Sync();
    base::Menu owned(CreatePopupMenu());
    HMENU menu = owned.get();
    if (!menu) return -1;
    UINT chosen_line = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      const auto id = static_cast<UINT>(i + 1);
      const MenuItem& item = items[i];
      // A separator keeps its id too, so a line's id is still its index + 1.
      UINT flags = item.separator ? MF_SEPARATOR : MF_STRING;
      if (item.check_box && item.checked) flags |= MF_CHECKED;
      AppendMenuW(menu, flags, id, item.text.c_str());
      if (item.checked && !item.check_box) chosen_line = id;
    }
    // One of several: the radio mark, as readers and users know it; set on
    // that line alone, which leaves the settings' ticks as they are.
    if (chosen_line) CheckMenuRadioItem(menu, chosen_line, chosen_line, chosen_line, MF_BYCOMMAND);
    POINT pt{TwipsToPixels(x), TwipsToPixels(y)};
    ClientToScreen(rec->hwnd, &pt);
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN;
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, flags, pt.x, pt.y, rec->hwnd, nullptr));
    return chosen > 0 ? chosen - 1 : -1;
  }

  void Alert(Control& control) override {
    Sync();   // the reader asks for the name at once: it must be the new one
    if (auto* rec = FormRecordOf(control.Owner())) RaiseEvent(*rec, control, AccessEvent::kAlert);
  }
  void Beep() override { MessageBeep(MB_OK); }

  std::uint64_t TickMs() override { return GetTickCount64(); }

  unsigned StartTimer(int ms, std::function<void()> task) override {
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), TimerRan);
    if (id) g_timers[id] = std::move(task);
    return static_cast<unsigned>(id);
  }
  void CancelTimer(unsigned id) override {
    if (g_timers.erase(id)) KillTimer(nullptr, id);
  }
  static void CALLBACK TimerRan(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);   // once only
    auto it = g_timers.find(id);
    if (it == g_timers.end()) return;
    std::function<void()> task = std::move(it->second);
    g_timers.erase(it);
    Fire(task);
  }

  void End(int exit_code) override { ExitProcess(static_cast<UINT>(exit_code)); }

  static void Pump(MSG& msg) {
    if (BoxWindowsPending()) InputIntoBoxes(msg);
    if (OfferKey(msg)) return;
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageW(top, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
};

Win32Platform g_platform;

Color LiveSystemColor(int index) { return GetSysColor(index); }
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
void RememberWindow(HWND hwnd, ControlRecord* rec) { g_by_hwnd[hwnd] = rec; }
void ForgetWindow(HWND hwnd) { g_by_hwnd.erase(hwnd); }

void Fire(const std::function<void()>& handler) {
  Dispatch(handler);
  CurrentPlatform().Sync();
}

}  // namespace kit::win

namespace kit {

void StartWin32(HINSTANCE instance) {
  win::g_instance = instance;
  win::EnableDpiAwareness();
  SetDpi(GetDeviceCaps(base::WindowDc().get(), LOGPIXELSX));
  SetSystemColorLookup(win::LiveSystemColor);
  // No CS_DBLCLKS: a quick second press is a press (it drags, or clicks a label again).
  const std::pair<const wchar_t*, WNDPROC> classes[] = {{win::kFormClass, win::FormProc},
                                                        {win::kPictureClass, win::PictureProc}};
  for (auto [name, proc] : classes) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
  }
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
