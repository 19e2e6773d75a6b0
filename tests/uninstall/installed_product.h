// Where the installer put the product, as the uninstaller's tests arrange it
// in the in-memory system.
#pragma once

#include <string>

namespace gorvix_test {

inline const std::wstring kUserKey = L"Software\\Zentrik\\Elemora";
inline const std::wstring kUninstallKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zentrik© Elemora";
inline const std::wstring kDir = L"C:\\Program Files\\Zentrik";
inline const std::wstring kGroup = L"C:\\windows\\Start Menu\\Programs\\Zentrik";
inline const std::wstring kViewer = kDir + L"\\Table.exe";
inline const std::wstring kDatabase = kDir + L"\\vrakel.mdb";
inline const std::wstring kNamedShortcut = kGroup + L"\\Zentrik® Elemora 2002.lnk";
inline const std::wstring kOtherShortcut = kGroup + L"\\Table.exe.lnk";
inline const std::wstring kSuccess =
    L"Премахването на програмите на Zentrik завърши успешно. За край натиснете \"Изход\"";

}  // namespace gorvix_test
