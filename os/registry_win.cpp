#include "base/win32.h"
#include "os/system_win.h"

namespace os::win {

namespace {

HKEY Root(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(root))));
}

HKEY Key(KeyHandle key) { return reinterpret_cast<HKEY>(key); }

class Win32Registry : public Registry {
 public:
  long CreateKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) override {
    HKEY opened = nullptr;
    LSTATUS rc = RegCreateKeyExW(Root(root), path.c_str(), 0, nullptr, 0, access, nullptr, &opened, nullptr);
    if (rc == ERROR_SUCCESS && key) *key = reinterpret_cast<KeyHandle>(opened);
    return rc;
  }

  long OpenKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) override {
    HKEY opened = nullptr;
    LSTATUS rc = RegOpenKeyExW(Root(root), path.c_str(), 0, access, &opened);
    if (rc == ERROR_SUCCESS && key) *key = reinterpret_cast<KeyHandle>(opened);
    return rc;
  }

  long SetValue(KeyHandle key, const std::wstring& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data) override {
    if (key == 0) return ERROR_INVALID_HANDLE;
    return RegSetValueExW(Key(key), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                          static_cast<DWORD>(data.size()));
  }

  long QueryValue(KeyHandle key, const std::wstring& name, std::uint32_t* type, std::vector<std::uint8_t>* data,
                  std::uint32_t* size) override {
    if (key == 0) return ERROR_INVALID_HANDLE;
    DWORD value_type = 0;
    DWORD bytes = 0;
    LSTATUS rc = RegQueryValueExW(Key(key), name.c_str(), nullptr, &value_type, nullptr, &bytes);
    // The value may grow between asking its size and reading it.
    while (rc == ERROR_SUCCESS && data) {
      data->assign(bytes, 0);
      DWORD got = bytes;
      rc = RegQueryValueExW(Key(key), name.c_str(), nullptr, &value_type, data->empty() ? nullptr : data->data(),
                            &got);
      if (rc == ERROR_MORE_DATA) {
        bytes = got;
        rc = ERROR_SUCCESS;
        continue;
      }
      if (rc == ERROR_SUCCESS) {
        data->resize(got);
        bytes = got;
      }
      break;
    }
    if (rc == ERROR_SUCCESS) {
      if (type) *type = value_type;
      if (size) *size = bytes;
    }
    return rc;
  }

  long DeleteValue(KeyHandle key, const std::wstring& name) override {
    if (key == 0) return ERROR_INVALID_HANDLE;
    return RegDeleteValueW(Key(key), name.c_str());
  }

  long DeleteKey(RootKey root, const std::wstring& path) override {
    return RegDeleteKeyW(Root(root), path.c_str());
  }

  long CloseKey(KeyHandle key) override {
    if (key == 0) return ERROR_INVALID_HANDLE;
    return RegCloseKey(Key(key));
  }
};

}  // namespace

Registry& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace os::win
