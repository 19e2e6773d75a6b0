// Setup.exe and the Windows Installer package (msi/) install the same
// product, each in its own way; two installations of it would fight over the
// Start-menu group and be removed by neither cleanly. So each refuses where
// the other's is present: the package by its launch condition, Setup here.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "deploy/command_line.h"
#include "os/files.h"
#include "os/packages.h"

namespace setup {

// The package's UpgradeCode (msi/build-msi holds the same).
inline constexpr wchar_t kPackageUpgradeCode[] = L"{B96AD1FC-0817-4C44-9010-2209E503BFCD}";
// The exit code of an unattended run refused for that reason.
inline constexpr int kExitPackageInstalled = 3;

std::wstring PackageInstalledText();

// Where the package's product is installed: says so (in the log of a silent
// run, else through `show` as an error) and returns kExitPackageInstalled.
// Nothing where Setup may go on.
std::optional<int> RefuseOverPackage(os::Packages& packages, os::Files& files, const deploy::Options& options,
                                     const std::function<void(const std::wstring& text, bool error)>& show);

}  // namespace setup
