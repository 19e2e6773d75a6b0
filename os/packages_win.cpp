#include <windows.h>

#include "os/packages.h"

namespace os {
namespace {

using EnumRelatedProducts = UINT(WINAPI*)(LPCWSTR upgrade_code, DWORD reserved, DWORD index, LPWSTR product);

class SystemInstaller : public Packages {
 public:
  bool RelatedProductInstalled(const std::wstring& upgrade_code) override {
    // By full path: msi.dll is a system DLL, never one beside the program.
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 9 > MAX_PATH) return false;
    lstrcatW(path, L"\\msi.dll");
    HMODULE msi = LoadLibraryW(path);
    if (!msi) return false;
    auto enumerate = reinterpret_cast<EnumRelatedProducts>(
        reinterpret_cast<void*>(GetProcAddress(msi, "MsiEnumRelatedProductsW")));
    wchar_t product[39] = {};
    bool found = enumerate && enumerate(upgrade_code.c_str(), 0, 0, product) == ERROR_SUCCESS;
    FreeLibrary(msi);
    return found;
  }
};

}  // namespace

Packages& SystemPackages() {
  static SystemInstaller packages;
  return packages;
}

}  // namespace os
