// The program group in the Start menu and its two shortcuts to the viewer.
// Each operation says whether it did its work, so that the installation can
// carry on past a failure and still name it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "deploy/product.h"
#include "kit/control.h"
#include "os/os.h"

namespace setup {

// The group under the Start-menu folder, with its closing separator.
inline const std::wstring kGroupSuffix = std::wstring(L"\\Programs\\") + deploy::kProgramGroup + L"\\";

// The folder's path without a closing separator; empty text when the shell
// does not know the folder; nothing when it knows it but gives no path.
std::optional<std::wstring> SpecialFolderPath(os::Shell& shell, int csidl);

// The Start-menu folder, or nothing when it has no usable path.
std::optional<std::wstring> StartMenu(os::Shell& shell);

// The characters after the last "\"; the whole path when it has none.
std::wstring FileNamePart(const std::wstring& path);

// Appends "\" when missing, then tries to make every level that ends at a
// "\" from the fourth character on, ignoring levels that exist or cannot be
// made; a drive alone is never made.
void CreateNewDirectory(os::Files& files, std::wstring& DirName);

// Label18 <- the Start-menu folder; then the group's folders are made.
// A Start menu without a path makes nothing (the group would otherwise land
// at the root of the current drive). True when the group folder exists.
bool PrepareProgramGroup(os::Shell& shell, os::Files& files, kit::Label& Label18);

// Label18 <- the group path. Left as it was when the Start menu has no path.
bool SetGroupPathLabel(os::Shell& shell, kit::Label& Label18);

// Saves a shortcut with every property; ".lnk" is appended unless the path
// ends in ".lnk" or ".url" (any letter case). True once the file is saved.
bool CreateShortcut(os::Shell& shell, std::wstring path, const std::wstring& description,
                    const std::wstring& target, const std::wstring& arguments, const std::wstring& working_folder,
                    const std::wstring& hot_key, const std::wstring& icon_location, std::int16_t window_style);

// How long the shell gets to write the recent-documents shortcut, and how
// often we look for it.
constexpr int kRecentWaitMs = 2000;
constexpr int kRecentPollMs = 50;

// Adds the program to the recent documents, waits for the shell's shortcut
// "<name>.lnk" there to lead to the program (looking every kRecentPollMs, at
// most kRecentWaitMs; `wait` passes the time, handling window messages) and
// copies it into the group. An entry that still leads elsewhere, as one left
// by an installation into another folder does, is never copied. True when
// the copy is in the group.
bool CopyRecentShortcutToGroup(os::Services& os, const std::wstring& program,
                               const std::function<void(int ms)>& wait);

}  // namespace setup
