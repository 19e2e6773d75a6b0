#include "setup/package_guard.h"

#include <gtest/gtest.h>

#include "os/fake/fake_os.h"
#include "os/fake/fake_packages.h"

namespace setup {
namespace {

struct Shown {
  std::vector<std::pair<std::wstring, bool>> messages;
  std::function<void(const std::wstring&, bool)> fn() {
    return [this](const std::wstring& text, bool error) { messages.emplace_back(text, error); };
  }
};

TEST(PackageGuard, RefusesOnlyWhereThePackagesProductIsInstalledSilentlyThroughTheLog) {
  os::fake::FakePackages packages;
  os::fake::FakeFiles files;
  files.AddDrive(L"C:\\", L"", std::nullopt);
  files.MakeFolders(L"C:\\Logs");
  Shown shown;
  deploy::Options silent;
  silent.silent = true;
  silent.log = L"C:\\Logs\\setup.log";

  EXPECT_EQ(RefuseOverPackage(packages, files, silent, shown.fn()), std::nullopt);
  EXPECT_FALSE(files.FileExists(silent.log));
  ASSERT_EQ(packages.asked, std::vector<std::wstring>{kPackageUpgradeCode});

  packages.installed.insert(kPackageUpgradeCode);
  EXPECT_EQ(RefuseOverPackage(packages, files, silent, shown.fn()), 3);
  EXPECT_TRUE(shown.messages.empty());
  std::string log = files.ReadFile(silent.log).value_or("");
  EXPECT_EQ(log.rfind("FAILED  ", 0), 0u) << log;
  EXPECT_NE(log.find(os::fake::ToUtf8(PackageInstalledText())), std::string::npos) << log;

  EXPECT_EQ(RefuseOverPackage(packages, files, deploy::Options{}, shown.fn()), 3);
  ASSERT_EQ(shown.messages.size(), 1u);
  EXPECT_EQ(shown.messages[0], std::make_pair(PackageInstalledText(), true));
}

}  // namespace
}  // namespace setup
