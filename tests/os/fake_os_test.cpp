// The fakes on the os contract, and what only the fakes do: record the
// calls, fail when told, stand up drives and delays.
#include <gtest/gtest.h>

#include "os/fake/fake_os.h"
#include "tests/os/os_contract.h"

using os::RootKey;
using os::fake::FakeOs;
using os_contract::OsContract;

namespace {

class FakeMachine : public os_contract::Machine {
 public:
  FakeMachine() { machine_.files.MakeFolders(kScratch); }
  os::Services& services() override { return machine_.services; }
  std::wstring Scratch() override { return kScratch; }
  std::wstring RegistryBase() override { return L"Software\\ElemoraContract"; }
  void HoldOpen(const std::wstring& path) override { machine_.files.SetInUse(path, true); }
  void Release(const std::wstring& path) override { machine_.files.SetInUse(path, false); }

 private:
  static constexpr const wchar_t* kScratch = L"C:\\Temp\\Contract";
  FakeOs machine_;
};

INSTANTIATE_TEST_SUITE_P(Fake, OsContract,
                         testing::Values(os_contract::MachineFactory{"the fakes", [] {
                           return std::unique_ptr<os_contract::Machine>(new FakeMachine);
                         }}));

TEST(FakeRegistry, RecordsCallsAndOpenHandles) {
  FakeOs machine;
  auto& reg = machine.registry;
  reg.PutText(RootKey::kCurrentUser, L"Software\\A", L"v", L"Програми");
  EXPECT_EQ(reg.Text(RootKey::kCurrentUser, L"SOFTWARE\\a", L"V"), L"Програми");
  EXPECT_FALSE(reg.KeyExists(RootKey::kLocalMachine, L"Software\\A"));
  os::KeyHandle key = 0;
  ASSERT_EQ(reg.OpenKey(RootKey::kCurrentUser, L"Software\\A", 0x20019, &key), os::kOk);
  EXPECT_EQ(reg.OpenHandles(), 1);
  reg.SetValue(key, L"v", os::kRegSz, {1, 0});
  reg.CloseKey(key);
  reg.SetValue(0, L"v", os::kRegSz, {});
  reg.OpenKey(RootKey::kCurrentUser, L"Software\\B", 0x3F, &key);
  EXPECT_EQ(reg.OpenHandles(), 0);
  auto opens = reg.CallsOf("OpenKey");
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].access, 0x20019u);
  EXPECT_EQ(opens[1].result, os::kFileNotFound);
  auto sets = reg.CallsOf("SetValue");
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].path, L"Software\\A");
  EXPECT_EQ(sets[0].data, (std::vector<std::uint8_t>{1, 0}));
  EXPECT_EQ(sets[1].key, 0u);
}

TEST(FakeRegistry, RefusedRootAndInjectedFailures) {
  FakeOs machine;
  auto& reg = machine.registry;
  reg.PutText(RootKey::kLocalMachine, L"Software\\X", L"v", L"x");
  reg.RefuseRoot(RootKey::kLocalMachine, /*writes_only=*/true);
  os::KeyHandle key = 0;
  EXPECT_EQ(reg.CreateKey(RootKey::kLocalMachine, L"Software\\Y", 0x3F, &key), os::kAccessDenied);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(reg.OpenKey(RootKey::kLocalMachine, L"Software\\X", 0x1, &key), os::kOk);
  reg.CloseKey(key);
  EXPECT_EQ(reg.DeleteKey(RootKey::kLocalMachine, L"Software\\X"), os::kAccessDenied);
  reg.Fail("SetValue", L"Sdir");
  ASSERT_EQ(reg.CreateKey(RootKey::kCurrentUser, L"K", 0x3F, &key), os::kOk);
  EXPECT_EQ(reg.SetValue(key, L"sdir", os::kRegSz, os::TextBytes(L"a")), os::kAccessDenied);
  EXPECT_EQ(reg.SetValue(key, L"dir", os::kRegSz, os::TextBytes(L"a")), os::kOk);
  reg.CloseKey(key);
  EXPECT_FALSE(reg.Value(RootKey::kCurrentUser, L"K", L"Sdir"));
}

TEST(FakeFiles, FailsWhereToldAndRecordsCopies) {
  FakeOs machine;
  auto& files = machine.files;
  files.PutFile(L"C:\\dist\\Table.exe", "viewer");
  files.FailPath(L"C:\\windows\\table.exe");
  EXPECT_EQ(files.CopyFileResult(L"C:\\dist\\Table.exe", L"C:\\windows\\Table.exe"), os::kAccessDenied);
  files.ClearFailures();
  files.FailCopyMidway(L"C:\\windows\\Table.exe");
  EXPECT_EQ(files.CopyFileResult(L"C:\\dist\\Table.exe", L"C:\\windows\\Table.exe"), os::kDiskFull);
  EXPECT_FALSE(files.FileExists(L"C:\\windows\\Table.exe"));
  EXPECT_FALSE(files.CreateFolder(L"D:\\x"));  // no such drive
  ASSERT_EQ(files.CallsOf("CopyFile").size(), 2u);
  EXPECT_FALSE(files.CallsOf("CopyFile")[1].ok);
}

TEST(FakeFiles, DrivesAndFreeSpace) {
  FakeOs machine;
  auto& files = machine.files;
  files.AddDrive(L"A:\\", L"", std::nullopt);
  files.AddDrive(L"D:\\", L"ДАННИ", os::DiskSpace{1, 512, 10, 20});
  auto drives = files.Drives();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].root, L"A:\\");
  EXPECT_EQ(drives[2].label, L"ДАННИ");
  EXPECT_FALSE(files.FreeSpace(L"A:\\"));
  EXPECT_EQ(files.FreeSpace(L"d:\\")->free_clusters, 10u);
}

TEST(FakeShell, ShortcutKeepsEveryPropertyAndFailsWhenTold) {
  FakeOs machine;
  os::ShortcutProperties p;
  p.target_path = L"C:\\Програми\\Table.exe";
  p.description = L"Zentrik® Периодична";
  p.window_style = 3;
  EXPECT_TRUE(machine.shell.SaveShortcut(L"C:\\windows\\a.lnk", p));
  auto back = machine.shell.ReadShortcut(L"C:\\windows\\a.lnk");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->target_path, p.target_path);
  EXPECT_EQ(back->description, p.description);
  EXPECT_EQ(back->window_style, 3);
  machine.shell.fail_shortcuts = true;
  EXPECT_FALSE(machine.shell.SaveShortcut(L"C:\\windows\\a.lnk", os::ShortcutProperties{}));
  EXPECT_EQ(machine.shell.ReadShortcut(L"C:\\windows\\a.lnk")->target_path, p.target_path);
}

TEST(FakeShell, RecentDocumentEntryAppearsWhenTold) {
  FakeOs machine;
  const std::wstring link = L"C:\\windows\\Recent\\Table.exe.lnk";
  machine.shell.SetRecentDelay(500);
  machine.shell.AddToRecentDocs(L"D:\\x\\Table.exe");
  machine.clock.Sleep(499);
  EXPECT_FALSE(machine.files.FileExists(link));
  machine.clock.Sleep(1);
  EXPECT_TRUE(machine.files.FileExists(link));
  machine.files.DeleteFile(link);

  machine.shell.SetRecentDelay(-1);
  machine.shell.AddToRecentDocs(L"D:\\x\\Table.exe");
  machine.clock.Advance(100000);
  EXPECT_FALSE(machine.files.FileExists(link));
}

TEST(FakeClock, SleepsAreRecordedAndExact) {
  os::fake::FakeClock clock;
  auto start = clock.NowMilliseconds();
  clock.Sleep(1500);
  EXPECT_EQ(clock.NowMilliseconds() - start, 1500);
  EXPECT_EQ(clock.sleeps, std::vector<int>{1500});
}

}  // namespace
