// What an installation leaves for the uninstaller to find and for the list of
// installed programs to show: the product's key with its two records, the
// uninstall entry with its values, and the files and shortcuts by name.
// Setup writes it (the wizard and /S alike), Gorvix reads and removes it;
// both spell it from here and nowhere else.
#pragma once

#include <cstdint>

namespace deploy {

// The product's key. The wizard keeps it under HKEY_CURRENT_USER, an
// unattended installation under HKEY_LOCAL_MACHINE: the same path in both.
inline constexpr wchar_t kProductKey[] = L"Software\\Zentrik\\Elemora";
// The destination folder, without a closing separator.
inline constexpr wchar_t kFolderRecord[] = L"dir";
// The program group's folder, with its closing separator.
inline constexpr wchar_t kGroupRecord[] = L"Sdir";

// The six specific key rights, without the standard ones that KEY_ALL_ACCESS
// adds: what the installer opens and creates its keys with, and the
// uninstaller reads the user's records with.
inline constexpr std::uint32_t kKeyAccess = 0x3F;

// The product's entry in the list of installed programs, under
// HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zentrik© Elemora";
// The name the list shows.
inline constexpr wchar_t kEntryName[] = L"Zentrik© Elemora 2002®";
inline constexpr wchar_t kEntryVersion[] = L"2002";
inline constexpr wchar_t kEntryPublisher[] = L"Zentrik";

// The entry's values. The first two are the ones the list needs; the
// uninstaller deletes them by name before the key.
namespace entry {
inline constexpr wchar_t kDisplayName[] = L"DisplayName";
inline constexpr wchar_t kUninstallString[] = L"UninstallString";
inline constexpr wchar_t kDisplayIcon[] = L"DisplayIcon";
inline constexpr wchar_t kDisplayVersion[] = L"DisplayVersion";
inline constexpr wchar_t kPublisher[] = L"Publisher";
inline constexpr wchar_t kInstallLocation[] = L"InstallLocation";
inline constexpr wchar_t kQuietUninstallString[] = L"QuietUninstallString";
inline constexpr wchar_t kEstimatedSize[] = L"EstimatedSize";
inline constexpr wchar_t kInstallDate[] = L"InstallDate";
inline constexpr wchar_t kNoModify[] = L"NoModify";
inline constexpr wchar_t kNoRepair[] = L"NoRepair";
}  // namespace entry

// The files as they are named where they were installed: the viewer and its
// database in the destination folder, the uninstaller in the Windows folder.
inline constexpr wchar_t kViewerFile[] = L"Table.exe";
inline constexpr wchar_t kDatabaseFile[] = L"vrakel.mdb";
inline constexpr wchar_t kUninstallerFile[] = L"Gorvix.exe";

// The program group's folder under the Start menu's "Programs", and its two
// shortcuts: the named one, which the uninstaller removes, and the viewer's.
inline constexpr wchar_t kProgramGroup[] = L"Zentrik";
inline constexpr wchar_t kShortcutName[] = L"Zentrik® Elemora 2002.lnk";
inline constexpr wchar_t kViewerShortcutName[] = L"Table.exe.lnk";

}  // namespace deploy
