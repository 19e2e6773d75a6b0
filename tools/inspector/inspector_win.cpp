// inspector dump   - every top-level window of our programs and of message
//                    boxes, one JSON object a line: our forms' controls as a
//                    screen reader reads them (AccessibleObjectFromWindow,
//                    AccessibleChildren), with the details of the real child
//                    windows among them (and the name their own accessible
//                    object gives); message boxes' child windows as windows
// inspector focus  - the window that has the keyboard focus, and the
//                    accessible child of our form that has it
// inspector action FORM CONTROL - the default action of a control, as a reader does it
// inspector close HWND - posts WM_CLOSE to a window, as the task bar's Close does
// inspector reg HKCU|HKLM PATH - a registry key's existence, values and subkeys
// inspector lnk FILE - a shortcut as the shell reads it (IShellLinkW)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/win32.h"
#include "tools/inspector/inspector_win.h"

#include <oleacc.h>
#include <shlobj.h>
#include <shobjidl.h>

using inspector::Json;
using inspector::Utf8;

namespace {

std::wstring Text(HWND h) {
  wchar_t buf[8192];
  LRESULT n = SendMessageTimeoutW(h, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr)
                  ? SendMessageW(h, WM_GETTEXTLENGTH, 0, 0)
                  : 0;
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(out.size()), reinterpret_cast<LPARAM>(out.data()));
  out.resize(static_cast<size_t>(n));
  return out;
}

std::wstring ClassOf(HWND h) {
  wchar_t buf[256];
  int n = GetClassNameW(h, buf, 256);
  return std::wstring(buf, static_cast<size_t>(n > 0 ? n : 0));
}

std::wstring NameOf(HWND h) {
  auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(h, L"ElemoraName")));
  if (!atom) return {};
  wchar_t buf[256];
  UINT n = GlobalGetAtomNameW(atom, buf, 256);
  return std::wstring(buf, n);
}

std::vector<std::wstring> Items(HWND h, const std::wstring& cls) {
  std::vector<std::wstring> items;
  bool list = _wcsicmp(cls.c_str(), L"ListBox") == 0;
  bool combo = _wcsicmp(cls.c_str(), L"ComboBox") == 0;
  if (!list && !combo) return items;
  LRESULT count = SendMessageW(h, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count && i < 1000; ++i) {
    LRESULT len = SendMessageW(h, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0) continue;
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    SendMessageW(h, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(len));
    items.push_back(s);
  }
  return items;
}

// What only a real window tells: its class, selection, list items, check.
std::string WindowDetails(HWND h) {
  std::wstring cls = ClassOf(h);
  std::string line;
  if (_wcsicmp(cls.c_str(), L"Button") == 0)
    line += ",\"checked\":" + std::string(SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? "true" : "false");
  if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
    DWORD start = 0, end = 0;
    SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    line += ",\"selection\":[" + std::to_string(start) + "," + std::to_string(end) + "]";
  }
  auto items = Items(h, cls);
  if (!items.empty()) {
    line += ",\"items\":[";
    for (size_t i = 0; i < items.size(); ++i) line += (i ? "," : "") + Json(items[i]);
    line += "]";
    bool list = _wcsicmp(cls.c_str(), L"ListBox") == 0;
    line += ",\"selected\":" + std::to_string(SendMessageW(h, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
  }
  return line;
}

std::string Rect(const RECT& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "]";
}

void Print(HWND h, HWND top, int depth, bool children = true) {
  RECT r{};
  GetWindowRect(h, &r);
  std::wstring cls = ClassOf(h);
  std::string line = "{\"hwnd\":" + std::to_string(reinterpret_cast<ULONG_PTR>(h)) +
                     ",\"top\":" + std::to_string(reinterpret_cast<ULONG_PTR>(top)) +
                     ",\"depth\":" + std::to_string(depth) + ",\"name\":" + Json(NameOf(h)) +
                     ",\"class\":" + Json(cls) + ",\"text\":" + Json(Text(h)) + ",\"rect\":" + Rect(r) +
                     ",\"visible\":" + (IsWindowVisible(h) ? "true" : "false") +
                     ",\"enabled\":" + (IsWindowEnabled(h) ? "true" : "false") + WindowDetails(h);
  if (depth == 0) {
    RECT c{};
    GetClientRect(h, &c);
    line += ",\"client\":[" + std::to_string(c.right) + "," + std::to_string(c.bottom) + "]";
    line += ",\"zoomed\":" + std::string(IsZoomed(h) ? "true" : "false");
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    line += ",\"pid\":" + std::to_string(pid);
    line += ",\"foreground\":" + std::string(GetForegroundWindow() == h ? "true" : "false");
  }
  line += "}\n";
  fputs(line.c_str(), stdout);
  if (!children) return;
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) Print(c, top, depth + 1);
}

// ---- the accessibility tree of our forms

// Defined here: the 64-bit import library's IID_IAccessible is a stub.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct ComString {
  BSTR s = nullptr;
  ~ComString() { SysFreeString(s); }
  std::wstring Get() const { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }
};

const char* RoleName(long role) {
  switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON: return "push button";
    case ROLE_SYSTEM_STATICTEXT: return "static text";
    case ROLE_SYSTEM_TEXT: return "editable text";
    case ROLE_SYSTEM_RADIOBUTTON: return "radio button";
    case ROLE_SYSTEM_COMBOBOX: return "combo box";
    case ROLE_SYSTEM_LIST: return "list";
    case ROLE_SYSTEM_GRAPHIC: return "graphic";
    case ROLE_SYSTEM_SLIDER: return "slider";
    case ROLE_SYSTEM_CLIENT: return "client";
    case ROLE_SYSTEM_ALERT: return "alert";
    case ROLE_SYSTEM_TABLE: return "table";
    case ROLE_SYSTEM_CELL: return "cell";
    case ROLE_SYSTEM_COLUMNHEADER: return "column header";
    case ROLE_SYSTEM_ROWHEADER: return "row header";
    case ROLE_SYSTEM_LISTITEM: return "list item";
    default: return "other";
  }
}

IAccessible* ClientOf(HWND top) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(top, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                        reinterpret_cast<void**>(&acc))))
    return nullptr;
  return acc;
}

// A control's programmatic name, which the form gives out for tests only.
std::wstring ChildName(HWND top, long id) {
  static UINT ask = RegisterWindowMessageW(L"ElemoraAccessibleChildName");
  DWORD_PTR atom = 0;
  if (!SendMessageTimeoutW(top, ask, static_cast<WPARAM>(id), 0, SMTO_ABORTIFHUNG, 2000, &atom) || !atom) return {};
  wchar_t buf[256];
  UINT n = GlobalGetAtomNameW(static_cast<ATOM>(atom), buf, 256);
  return std::wstring(buf, n);
}

struct ChildSearch {
  const std::wstring* name;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<ChildSearch*>(p);
  if (NameOf(h) != *s->name) return TRUE;
  s->found = h;
  return FALSE;
}

HWND FindChildWindow(HWND top, const std::wstring& name) {
  ChildSearch search{&name, nullptr};
  EnumChildWindows(top, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The name a reader hears when a real control takes the focus: the one
// its own accessible object gives, asked of the control's window.
std::wstring OwnName(HWND real) {
  IAccessible* acc = ClientOf(real);
  if (!acc) return {};
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  ComString name;
  acc->get_accName(self, &name.s);
  acc->Release();
  return name.Get();
}

// One row per accessible child, carrying the real window's details where
// the child is a real window.
void PrintAccessible(HWND top) {
  IAccessible* acc = ClientOf(top);
  if (!acc) return;
  long count = 0;
  acc->get_accChildCount(&count);
  std::vector<VARIANT> kids(static_cast<size_t>(count > 0 ? count : 0));
  long got = 0;
  if (count > 0) AccessibleChildren(acc, 0, count, kids.data(), &got);
  for (long i = 0; i < got; ++i) {
    VARIANT& v = kids[static_cast<size_t>(i)];
    if (v.vt != VT_I4) {
      VariantClear(&v);
      continue;
    }
    ComString name, value, description, action;
    acc->get_accName(v, &name.s);
    acc->get_accValue(v, &value.s);
    acc->get_accDescription(v, &description.s);
    acc->get_accDefaultAction(v, &action.s);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    acc->get_accRole(v, &role);
    acc->get_accState(v, &state);
    long bits = state.vt == VT_I4 ? state.lVal : 0;
    long role_id = role.vt == VT_I4 ? role.lVal : 0;
    long l = 0, t = 0, w = 0, h = 0;
    acc->accLocation(&l, &t, &w, &h, v);
    std::wstring control = ChildName(top, v.lVal);
    HWND real = FindChildWindow(top, control);
    bool has_value = role_id == ROLE_SYSTEM_TEXT || role_id == ROLE_SYSTEM_COMBOBOX || role_id == ROLE_SYSTEM_LIST;
    std::wstring text = real && role_id == ROLE_SYSTEM_TEXT ? Text(real) : has_value ? value.Get() : name.Get();
    std::string states;
    auto add = [&](long flag, const char* word) {
      if (bits & flag) states += std::string(states.empty() ? "" : ",") + "\"" + word + "\"";
    };
    add(STATE_SYSTEM_FOCUSED, "focused");
    add(STATE_SYSTEM_FOCUSABLE, "focusable");
    add(STATE_SYSTEM_UNAVAILABLE, "unavailable");
    add(STATE_SYSTEM_INVISIBLE, "invisible");
    add(STATE_SYSTEM_CHECKED, "checked");
    add(STATE_SYSTEM_READONLY, "read-only");
    std::string line = "{\"hwnd\":" + std::to_string(reinterpret_cast<ULONG_PTR>(real)) +
                       ",\"top\":" + std::to_string(reinterpret_cast<ULONG_PTR>(top)) + ",\"depth\":1" +
                       ",\"child\":" + std::to_string(v.lVal) + ",\"name\":" + Json(control) +
                       ",\"accname\":" + Json(name.Get()) + ",\"role\":\"" + RoleName(role_id) + "\"" +
                       ",\"states\":[" + states + "]" + ",\"text\":" + Json(text) +
                       ",\"value\":" + Json(value.Get()) + ",\"description\":" + Json(description.Get()) +
                       ",\"action\":" + Json(action.Get()) + ",\"rect\":" + Rect(RECT{l, t, l + w, t + h}) +
                       ",\"visible\":" + ((bits & STATE_SYSTEM_INVISIBLE) ? "false" : "true") +
                       ",\"enabled\":" + ((bits & STATE_SYSTEM_UNAVAILABLE) ? "false" : "true") +
                       ",\"focused\":" + ((bits & STATE_SYSTEM_FOCUSED) ? "true" : "false");
    if (real) line += ",\"class\":" + Json(ClassOf(real)) + ",\"ownname\":" + Json(OwnName(real)) + WindowDetails(real);
    else line += ",\"class\":\"\"";
    if (role_id == ROLE_SYSTEM_RADIOBUTTON && !real)
      line += ",\"checked\":" + std::string((bits & STATE_SYSTEM_CHECKED) ? "true" : "false");
    line += "}\n";
    fputs(line.c_str(), stdout);
  }
  acc->Release();
}

BOOL CALLBACK EachTop(HWND h, LPARAM) {
  std::wstring cls = ClassOf(h);
  if (cls == L"#32770") {
    Print(h, h, 0);
  } else if (cls.rfind(L"Elemora", 0) == 0) {
    Print(h, h, 0, false);
    PrintAccessible(h);
  }
  return TRUE;
}

struct FormSearch {
  std::wstring name;
  HWND found = nullptr;
};

BOOL CALLBACK FindForm(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<FormSearch*>(p);
  if (ClassOf(h).rfind(L"Elemora", 0) == 0 && NameOf(h) == s->name && IsWindowVisible(h)) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// The default action of a control of a visible form, as a reader does it.
int DoAction(const std::wstring& form, const std::wstring& control) {
  FormSearch search{form};
  EnumWindows(FindForm, reinterpret_cast<LPARAM>(&search));
  IAccessible* acc = search.found ? ClientOf(search.found) : nullptr;
  if (!acc) {
    puts("{\"done\":false}");
    return 1;
  }
  long count = 0;
  acc->get_accChildCount(&count);
  HRESULT hr = E_INVALIDARG;
  for (long id = 1; id <= count; ++id) {
    if (ChildName(search.found, id) != control) continue;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    hr = acc->accDoDefaultAction(v);
    break;
  }
  acc->Release();
  printf("{\"done\":%s}\n", SUCCEEDED(hr) ? "true" : "false");
  return SUCCEEDED(hr) ? 0 : 1;
}

// The accessible child of our form that has the focus, by its control name.
std::wstring FocusedChild(HWND focus) {
  HWND top = GetAncestor(focus, GA_ROOT);
  IAccessible* acc = top ? ClientOf(top) : nullptr;
  if (!acc) return {};
  VARIANT v;
  VariantInit(&v);
  std::wstring name;
  if (acc->get_accFocus(&v) == S_OK && v.vt == VT_I4 && v.lVal > 0) name = ChildName(top, v.lVal);
  acc->Release();
  return name;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring cmd = argc > 1 ? argv[1] : L"dump";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (cmd == L"dump") {
    EnumWindows(EachTop, 0);
  } else if (cmd == L"focus") {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    if (GetGUIThreadInfo(0, &gti) && gti.hwndFocus) {
      // The handle as the dump prints it: unsigned long is 32 bits on 64-bit Windows.
      printf("{\"focus\":%s,\"name\":%s,\"child\":%s}\n",
             std::to_string(reinterpret_cast<ULONG_PTR>(gti.hwndFocus)).c_str(), Json(NameOf(gti.hwndFocus)).c_str(),
             Json(FocusedChild(gti.hwndFocus)).c_str());
    } else {
      printf("{\"focus\":0}\n");
    }
  } else if (cmd == L"action" && argc > 3) {
    int rc = DoAction(argv[2], argv[3]);
    fflush(stdout);
    return rc;
  } else if (cmd == L"close" && argc > 2) {
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoull(argv[2], nullptr, 10)));
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  } else if (cmd == L"clip") {
    inspector::DumpClipboard();
  } else if (cmd == L"clipdib" && argc > 2) {
    int rc = inspector::SaveClipboardDib(argv[2]);
    fflush(stdout);
    return rc;
  } else if (cmd == L"reg" && argc > 3) {
    inspector::DumpKey(argv[2], argv[3]);
  } else if (cmd == L"lnk" && argc > 2) {
    int rc = inspector::DumpLink(argv[2]);
    fflush(stdout);
    return rc;
  } else {
    fputs("usage: inspector dump | focus | action FORM CONTROL | close HWND | clip | clipdib FILE | reg HKCU|HKLM PATH | lnk FILE\n", stderr);
    return 2;
  }
  fflush(stdout);
  return 0;
}
