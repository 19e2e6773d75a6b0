// Setup.exe /S against the in-memory system: exit codes, what is installed
// for every user, and the log.
#include <gtest/gtest.h>

#include "deploy/product.h"
#include "os/fake/fake_os.h"
#include "setup/unattended.h"

using os::RootKey;

namespace {

const std::wstring kProduct = deploy::kProductKey;
const std::wstring kUninstall = deploy::kUninstallKey;
const std::wstring kCommon = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";

class UnattendedTest : public ::testing::Test {
 protected:
  UnattendedTest() {
    for (const wchar_t* name : {L"Table.exe", L"vrakel.mdb", L"Gorvix.exe"})
      fake.files.PutFile(std::wstring(L"C:\\dist\\") + name, "contents");
    fake.files.MakeFolders(kCommon);
    fake.shell.SetSpecialFolder(os::kCsidlCommonPrograms, kCommon);
    options.silent = true;
    options.log = L"C:\\setup.log";
  }
  int Run() { return setup::InstallUnattended(fake.services, options, setup::NumberLocale{}); }
  std::string Log() { return fake.files.ReadFile(L"C:\\setup.log").value_or(""); }

  os::fake::FakeOs fake;
  deploy::Options options;
};

TEST_F(UnattendedTest, DefaultFolderForEveryUserEndsInZero) {
  EXPECT_EQ(Run(), deploy::kExitSuccess);
  EXPECT_TRUE(fake.files.FileExists(L"C:\\Program Files\\Zentrik\\Table.exe"));
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kProduct, L"dir"), L"C:\\Program Files\\Zentrik");
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kProduct, L"Sdir"), kCommon + L"\\Zentrik\\");
  EXPECT_TRUE(fake.files.FileExists(kCommon + L"\\Zentrik\\Table.exe.lnk"));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstall));
  EXPECT_EQ(Log().find("FAILED"), std::string::npos) << Log();
}

TEST_F(UnattendedTest, ChosenFolderIsMadeLevelByLevelAndRecordedWithoutItsClosingSeparator) {
  fake.files.AddDrive(L"D:\\", L"DATA", os::DiskSpace{8, 512, 524288, 2097152});
  options.folder = L"D:\\Училище\\Моите програми\\";
  EXPECT_EQ(Run(), deploy::kExitSuccess);
  EXPECT_TRUE(fake.files.FileExists(L"D:\\Училище\\Моите програми\\vrakel.mdb"));
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kProduct, L"dir"), L"D:\\Училище\\Моите програми");
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kUninstall, L"InstallLocation"), L"D:\\Училище\\Моите програми");
}

TEST_F(UnattendedTest, AFailingStepGivesOneAndTheLogNamesIt) {
  fake.files.FailPath(L"C:\\windows\\Gorvix.exe");
  EXPECT_EQ(Run(), deploy::kExitFailed);
  EXPECT_NE(Log().find("FAILED  " + os::fake::ToUtf8(L"копирането на Gorvix.exe")), std::string::npos) << Log();
  // Everything else is still in place.
  EXPECT_TRUE(fake.files.FileExists(L"C:\\Program Files\\Zentrik\\Table.exe"));
}

TEST_F(UnattendedTest, TooLittleSpaceInstallsNothing) {
  fake.files.SetFreeSpace(L"C:\\", os::DiskSpace{8, 512, 2000, 2097152});   // 8 MB
  EXPECT_EQ(Run(), deploy::kExitFailed);
  EXPECT_FALSE(fake.files.FolderExists(L"C:\\Program Files\\Zentrik"));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstall));
  EXPECT_NE(Log().find("10 MB"), std::string::npos) << Log();
}

TEST_F(UnattendedTest, AFolderThatIsNoFolderPathIsABadCommandLine) {
  for (const wchar_t* folder : {L"D:\\", L"Zentrik", L"\\\\server\\share\\Zentrik", L"C:\\a|b", L"C:relative"}) {
    options.folder = folder;
    EXPECT_EQ(Run(), deploy::kExitBadCommandLine) << os::fake::ToUtf8(folder);
  }
  EXPECT_TRUE(fake.files.CallsOf("CopyFile").empty());
  EXPECT_TRUE(fake.registry.calls().empty());
}

}  // namespace
