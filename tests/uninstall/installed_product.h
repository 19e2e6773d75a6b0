// Where the installer put the product, as the uninstaller's tests arrange it
// in the in-memory system.
#pragma once

#include <string>

#include "deploy/product.h"
#include "os/fake/fake_os.h"

namespace gorvix_test {

inline const std::wstring kProductKey = deploy::kProductKey;
inline const std::wstring kUninstallKey = deploy::kUninstallKey;
inline const std::wstring kDir = L"C:\\Program Files\\Zentrik";
inline const std::wstring kGroup = L"C:\\windows\\Start Menu\\Programs\\Zentrik";
inline const std::wstring kViewer = kDir + L"\\Table.exe";
inline const std::wstring kDatabase = kDir + L"\\vrakel.mdb";
inline const std::wstring kNamedShortcut = kGroup + L"\\" + deploy::kShortcutName;
inline const std::wstring kOtherShortcut = kGroup + L"\\" + deploy::kViewerShortcutName;
inline const std::wstring kSuccess =
    L"Премахването на програмите на Zentrik завърши успешно. За край натиснете \"Изход\"";

// What a normal installation leaves, its records under `root`.
inline void PutInstallation(os::fake::FakeOs& m, os::RootKey root = os::RootKey::kCurrentUser) {
  m.files.PutFile(kViewer, "MZ viewer");
  m.files.PutFile(kDatabase, "Standard Jet DB");
  m.files.PutFile(kNamedShortcut, "lnk");
  m.files.PutFile(kOtherShortcut, "lnk");
  m.files.PutFile(L"C:\\windows\\Gorvix.exe", "MZ uninstaller");
  m.registry.PutText(root, kProductKey, deploy::kFolderRecord, kDir);
  m.registry.PutText(root, kProductKey, deploy::kGroupRecord, kGroup + L"\\");
  m.registry.PutText(os::RootKey::kLocalMachine, kUninstallKey, deploy::entry::kDisplayName, deploy::kEntryName);
  m.registry.PutText(os::RootKey::kLocalMachine, kUninstallKey, deploy::entry::kUninstallString,
                     L"C:\\windows\\Gorvix.exe");
}

}  // namespace gorvix_test
