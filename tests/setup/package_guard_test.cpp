#include "setup/package_guard.h"

#include <gtest/gtest.h>

#include "os/fake/fake_os.h"
#include "os/fake/fake_packages.h"

namespace setup {
namespace {

TEST(PackageGuard, RefusesOnlyOverThePackagesProductInTheLogWhenSilentElseInAMessage) {
  os::fake::FakePackages packages;
  os::fake::FakeFiles files;
  files.AddDrive(L"C:\\", L"", std::nullopt);
  std::vector<std::pair<std::wstring, bool>> shown;
  auto show = [&shown](const std::wstring& text, bool error) { shown.emplace_back(text, error); };
  deploy::Options silent;
  silent.silent = true;
  silent.log = L"C:\\setup.log";

  EXPECT_EQ(RefuseOverPackage(packages, files, silent, show), std::nullopt);
  EXPECT_EQ(packages.asked, std::vector<std::wstring>{kPackageUpgradeCode});
  packages.installed.insert(kPackageUpgradeCode);
  EXPECT_EQ(RefuseOverPackage(packages, files, silent, show), 3);
  EXPECT_TRUE(shown.empty());
  std::string log = files.ReadFile(silent.log).value_or("");
  EXPECT_EQ(log.rfind("FAILED  " + os::fake::ToUtf8(PackageInstalledText()), 0), 0u) << log;

  EXPECT_EQ(RefuseOverPackage(packages, files, deploy::Options{}, show), 3);
  EXPECT_EQ(shown, (std::vector<std::pair<std::wstring, bool>>{{PackageInstalledText(), true}}));
}

}  // namespace
}  // namespace setup
