#include "setup/package_guard.h"

#include "deploy/log.h"

namespace setup {

std::wstring PackageInstalledText() {
  return L"Zentrik© Elemora вече е инсталирана с пакета на Windows Installer (Elemora.msi). "
         L"Премахнете я от списъка на инсталираните програми или с msiexec /x, преди да стартирате Setup.exe.";
}

std::optional<int> RefuseOverPackage(os::Packages& packages, os::Files& files, const deploy::Options& options,
                                     const std::function<void(const std::wstring& text, bool error)>& show) {
  if (!packages.RelatedProductInstalled(kPackageUpgradeCode)) return std::nullopt;
  if (options.silent) {
    deploy::Log(files, options.log).Failed(PackageInstalledText() + L" Нищо не е инсталирано.");
  } else {
    show(PackageInstalledText(), true);
  }
  return kExitPackageInstalled;
}

}  // namespace setup
