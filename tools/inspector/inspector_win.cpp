// inspector dump   - every top-level window of our programs and of message
//                    boxes, with all their child windows, one JSON object a line
// inspector focus  - the window that has the keyboard focus
// inspector reg HKCU|HKLM PATH - a registry key's existence, values and subkeys
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kit/win32.h"

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string Json(const std::wstring& w) {
  std::string s = Utf8(w), out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

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

void Print(HWND h, HWND top, int depth) {
  RECT r{};
  GetWindowRect(h, &r);
  std::wstring cls = ClassOf(h);
  std::string line = "{\"hwnd\":" + std::to_string(reinterpret_cast<ULONG_PTR>(h)) +
                     ",\"top\":" + std::to_string(reinterpret_cast<ULONG_PTR>(top)) +
                     ",\"depth\":" + std::to_string(depth) + ",\"name\":" + Json(NameOf(h)) +
                     ",\"class\":" + Json(cls) + ",\"text\":" + Json(Text(h)) +
                     ",\"rect\":[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                     std::to_string(r.right) + "," + std::to_string(r.bottom) + "]" +
                     ",\"visible\":" + (IsWindowVisible(h) ? "true" : "false") +
                     ",\"enabled\":" + (IsWindowEnabled(h) ? "true" : "false");
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
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) Print(c, top, depth + 1);
}

BOOL CALLBACK EachTop(HWND h, LPARAM) {
  std::wstring cls = ClassOf(h);
  if (cls.rfind(L"Elemora", 0) == 0 || cls == L"#32770") Print(h, h, 0);
  return TRUE;
}

// REG_SZ text, REG_DWORD as decimal digits, anything else as hex bytes.
std::string ValueJson(DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return Json(text);
  }
  if (type == REG_DWORD && data.size() == 4) {
    DWORD v;
    memcpy(&v, data.data(), 4);
    return std::to_string(v);
  }
  std::string hex = "\"";
  char buf[4];
  for (BYTE b : data) {
    snprintf(buf, sizeof buf, "%02X", b);
    hex += buf;
  }
  return hex + "\"";
}

int DumpKey(const std::wstring& root, const std::wstring& path) {
  HKEY base = root == L"HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY key = nullptr;
  if (RegOpenKeyExW(base, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    puts("{\"exists\":false}");
    return 0;
  }
  std::string out = "{\"exists\":true,\"values\":{";
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD name_len = 512, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &name_len, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    name_len = 512;
    RegEnumValueW(key, i, name, &name_len, nullptr, &type, data.data(), &size);
    data.resize(size);
    out += (i ? "," : "") + Json(std::wstring(name, name_len)) + ":[" + std::to_string(type) + "," +
           ValueJson(type, data) + "]";
  }
  out += "},\"subkeys\":[";
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD name_len = 512;
    if (RegEnumKeyExW(key, i, name, &name_len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    out += (i ? "," : "") + Json(std::wstring(name, name_len));
  }
  out += "]}\n";
  RegCloseKey(key);
  fputs(out.c_str(), stdout);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring cmd = argc > 1 ? argv[1] : L"dump";
  if (cmd == L"dump") {
    EnumWindows(EachTop, 0);
  } else if (cmd == L"focus") {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    if (GetGUIThreadInfo(0, &gti) && gti.hwndFocus) {
      // The handle as the dump prints it: unsigned long is 32 bits on 64-bit Windows.
      printf("{\"focus\":%s,\"name\":%s}\n", std::to_string(reinterpret_cast<ULONG_PTR>(gti.hwndFocus)).c_str(),
             Json(NameOf(gti.hwndFocus)).c_str());
    } else {
      printf("{\"focus\":0}\n");
    }
  } else if (cmd == L"reg" && argc > 3) {
    DumpKey(argv[2], argv[3]);
  } else {
    fputs("usage: inspector dump | focus | reg HKCU|HKLM PATH\n", stderr);
    return 2;
  }
  fflush(stdout);
  return 0;
}
