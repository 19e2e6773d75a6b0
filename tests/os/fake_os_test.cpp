// The fakes stand in for Win32 in every other area's tests, so they must
// fail where Windows fails.
#include <gtest/gtest.h>

#include "os/fake/fake_os.h"

using os::RootKey;
using os::fake::FakeOs;

namespace {

TEST(FakeRegistry, KeysAndValuesIgnoreLetterCase) {
  FakeOs machine;
  auto& reg = machine.registry;
  os::KeyHandle key = 0;
  ASSERT_EQ(reg.CreateKey(RootKey::kCurrentUser, L"SOFTWARE\\Zentrik\\Elemora", 0x3F, &key), os::kOk);
  EXPECT_EQ(reg.SetValue(key, L"dir", os::kRegSz, os::TextBytes(L"C:\\Програми")), os::kOk);
  EXPECT_EQ(reg.CloseKey(key), os::kOk);
  EXPECT_TRUE(reg.KeyExists(RootKey::kCurrentUser, L"Software\\zentrik"));
  EXPECT_EQ(reg.Text(RootKey::kCurrentUser, L"software\\ZENTRIK\\elemora", L"DIR"), L"C:\\Програми");
  EXPECT_FALSE(reg.KeyExists(RootKey::kLocalMachine, L"Software\\Zentrik\\Elemora"));
  EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST(FakeRegistry, AccessMaskAndHandlesAreChecked) {
  FakeOs machine;
  auto& reg = machine.registry;
  reg.PutText(RootKey::kCurrentUser, L"Software\\A", L"v", L"x");
  os::KeyHandle key = 0;
  ASSERT_EQ(reg.OpenKey(RootKey::kCurrentUser, L"Software\\A", 0x20019, &key), os::kOk);
  EXPECT_EQ(reg.SetValue(key, L"v", os::kRegSz, os::TextBytes(L"y")), os::kAccessDenied);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.QueryValue(key, L"V", &type, nullptr, &size), os::kOk);
  EXPECT_EQ(type, os::kRegSz);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(reg.QueryValue(key, L"missing", &type, nullptr, &size), os::kFileNotFound);
  EXPECT_EQ(reg.OpenHandles(), 1);
  EXPECT_EQ(reg.CloseKey(key), os::kOk);
  EXPECT_EQ(reg.CloseKey(key), os::kInvalidHandle);
  EXPECT_EQ(reg.SetValue(0, L"v", os::kRegSz, {}), os::kInvalidHandle);
  EXPECT_EQ(reg.OpenKey(RootKey::kCurrentUser, L"Software\\B", 0x3F, &key), os::kFileNotFound);
  ASSERT_EQ(reg.CallsOf("OpenKey").size(), 2u);
  EXPECT_EQ(reg.CallsOf("OpenKey")[0].access, 0x20019u);
  EXPECT_EQ(reg.CallsOf("SetValue")[1].key, 0u);
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

TEST(FakeRegistry, DeleteKeyOnlyWithoutSubkeys) {
  FakeOs machine;
  auto& reg = machine.registry;
  reg.PutKey(RootKey::kCurrentUser, L"Software\\Zentrik\\Elemora");
  reg.PutKey(RootKey::kCurrentUser, L"Software\\Zentrik 2");
  EXPECT_EQ(reg.DeleteKey(RootKey::kCurrentUser, L"Software\\Zentrik"), os::kAccessDenied);
  EXPECT_EQ(reg.DeleteKey(RootKey::kCurrentUser, L"software\\zentrik\\elemora"), os::kOk);
  EXPECT_EQ(reg.DeleteKey(RootKey::kCurrentUser, L"Software\\Zentrik"), os::kOk);
  EXPECT_EQ(reg.DeleteKey(RootKey::kCurrentUser, L"Software\\Zentrik"), os::kFileNotFound);
  EXPECT_TRUE(reg.KeyExists(RootKey::kCurrentUser, L"Software\\Zentrik 2"));
}

TEST(FakeFiles, FoldersFollowWin32Rules) {
  FakeOs machine;
  auto& files = machine.files;
  EXPECT_FALSE(files.CreateFolder(L"C:\\a\\b"));  // parent missing
  EXPECT_TRUE(files.CreateFolder(L"C:\\a"));
  EXPECT_FALSE(files.CreateFolder(L"c:\\A\\"));   // exists
  EXPECT_TRUE(files.CreateFolder(L"C:\\a\\b"));
  EXPECT_TRUE(files.CreateFolder(L"C:\\a b"));
  EXPECT_FALSE(files.RemoveFolder(L"C:\\a"));     // not empty
  EXPECT_EQ(files.Subfolders(L"C:\\"), (std::vector<std::wstring>{L"a", L"a b", L"dist", L"windows"}));
  EXPECT_TRUE(files.RemoveFolder(L"C:\\a\\b"));
  EXPECT_TRUE(files.RemoveFolder(L"C:\\a"));
  EXPECT_FALSE(files.RemoveFolder(L"C:\\"));
  EXPECT_FALSE(files.CreateFolder(L"D:\\x"));     // no such drive
  EXPECT_FALSE(files.Subfolders(L"C:\\missing"));
}

TEST(FakeFiles, CopyAndDeleteFollowWin32Rules) {
  FakeOs machine;
  auto& files = machine.files;
  files.PutFile(L"C:\\dist\\Table.exe", "viewer");
  EXPECT_TRUE(files.CopyFile(L"C:\\dist\\Table.exe", L"C:\\windows\\\\table.EXE"));
  EXPECT_EQ(files.ReadFile(L"C:\\windows\\Table.exe"), "viewer");
  files.PutFile(L"C:\\dist\\Table.exe", "newer");
  EXPECT_TRUE(files.CopyFile(L"C:\\dist\\Table.exe", L"C:\\windows\\Table.exe"));  // replaces
  EXPECT_EQ(files.ReadFile(L"C:\\windows\\Table.exe"), "newer");
  EXPECT_FALSE(files.CopyFile(L"C:\\dist\\missing", L"C:\\windows\\m"));
  EXPECT_FALSE(files.CopyFile(L"C:\\dist\\Table.exe", L"C:\\nowhere\\Table.exe"));
  EXPECT_FALSE(files.CopyFile(L"C:\\dist\\Table.exe", L"C:\\windows\\System"));
  files.FailPath(L"C:\\windows\\table.exe");
  EXPECT_FALSE(files.CopyFile(L"C:\\dist\\Table.exe", L"C:\\windows\\Table.exe"));
  EXPECT_FALSE(files.DeleteFile(L"C:\\windows\\Table.exe"));
  files.ClearFailures();
  EXPECT_TRUE(files.DeleteFile(L"C:\\windows\\Table.exe"));
  EXPECT_FALSE(files.DeleteFile(L"C:\\windows\\Table.exe"));
  EXPECT_FALSE(files.DeleteFile(L"C:\\windows"));
  EXPECT_EQ(files.CallsOf("CopyFile").size(), 6u);
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
  EXPECT_FALSE(files.FreeSpace(L"Q:\\"));
}

TEST(FakeShell, ShortcutsNeedTheirFolderAndReadBack) {
  FakeOs machine;
  os::ShortcutProperties p;
  p.target_path = L"C:\\Програми\\Table.exe";
  p.description = L"Zentrik® Периодична";
  p.window_style = 3;
  EXPECT_FALSE(machine.shell.SaveShortcut(L"C:\\missing\\a.lnk", p));
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
  machine.shell.AddToRecentDocs(L"D:\\x\\Table.exe");
  EXPECT_EQ(machine.shell.ReadShortcut(link)->target_path, L"D:\\x\\Table.exe");
  machine.files.DeleteFile(link);

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

TEST(FakeClock, SleepAdvancesTime) {
  os::fake::FakeClock clock;
  auto start = clock.NowMilliseconds();
  clock.Sleep(1500);
  EXPECT_EQ(clock.NowMilliseconds() - start, 1500);
  EXPECT_EQ(clock.NowSeconds(), clock.NowMilliseconds() / 1000);
  EXPECT_EQ(clock.sleeps, std::vector<int>{1500});
}

}  // namespace
