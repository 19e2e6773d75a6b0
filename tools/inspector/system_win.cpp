#include "tools/inspector/inspector_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace inspector {

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

// REG_SZ text, REG_DWORD as decimal digits, anything else as hex bytes.
static std::string ValueJson(DWORD type, const std::vector<BYTE>& data) {
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

int DumpLink(const std::wstring& file) {
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
            SUCCEEDED(persist->Load(file.c_str(), STGM_READ));
  std::string out = "{\"ok\":false}\n";
  if (ok) {
    wchar_t path[1024] = {}, working[1024] = {}, icon[1024] = {}, description[1024] = {};
    int index = 0;
    link->GetPath(path, 1024, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(working, 1024);
    link->GetIconLocation(icon, 1024, &index);
    link->GetDescription(description, 1024);
    out = "{\"ok\":true,\"path\":" + Json(path) + ",\"working\":" + Json(working) + ",\"icon\":" + Json(icon) +
          ",\"index\":" + std::to_string(index) + ",\"description\":" + Json(description) + "}\n";
  }
  if (persist) persist->Release();
  if (link) link->Release();
  fputs(out.c_str(), stdout);
  return ok ? 0 : 1;
}

}  // namespace inspector
