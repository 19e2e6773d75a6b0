#include "tests/os/os_contract.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace os_contract {

namespace {

using os::RootKey;
constexpr RootKey kUser = RootKey::kCurrentUser;
constexpr std::uint32_t kAllAccess = 0x3F;
constexpr std::uint32_t kRead = 0x20019;

std::wstring AsciiLower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 0x20);
  }
  return text;
}

// Listings come in the system's order, which no caller relies on.
std::vector<std::wstring> Sorted(std::optional<std::vector<std::wstring>> names) {
  std::vector<std::wstring> out = names.value_or(std::vector<std::wstring>{L"(nothing)"});
  std::sort(out.begin(), out.end());
  return out;
}

// ---------------------------------------------------------------- registry

TEST_P(OsContract, RegistryValuesReadBackInAnyLetterCase) {
  os::Registry& reg = services().registry;
  const std::wstring path = machine().RegistryBase() + L"\\Зентрик© Елемора";
  const std::wstring text = L"C:\\Програми\\Zentrik® 2002";
  os::KeyHandle key = 0;
  ASSERT_EQ(reg.CreateKey(kUser, path, kAllAccess, &key), os::kOk);
  EXPECT_NE(key, 0u);
  EXPECT_EQ(reg.SetValue(key, L"dir", os::kRegSz, os::TextBytes(text)), os::kOk);
  EXPECT_EQ(reg.SetValue(key, L"n", os::kRegDword, {0x78, 0x56, 0x34, 0x12}), os::kOk);
  EXPECT_EQ(reg.CloseKey(key), os::kOk);

  os::ScopedKey read(reg);
  const std::wstring other_case = machine().RegistryBase() + L"\\ЗЕНТРИК© елемора";
  ASSERT_EQ(reg.OpenKey(kUser, other_case, kRead, read.Put()), os::kOk);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.QueryValue(read.get(), L"DIR", &type, nullptr, &size), os::kOk);
  EXPECT_EQ(type, os::kRegSz);
  EXPECT_EQ(size, (text.size() + 1) * 2);
  std::vector<std::uint8_t> data;
  EXPECT_EQ(reg.QueryValue(read.get(), L"Dir", &type, &data, &size), os::kOk);
  EXPECT_EQ(os::BytesText(data), text);
  EXPECT_EQ(reg.QueryValue(read.get(), L"N", &type, &data, &size), os::kOk);
  EXPECT_EQ(type, os::kRegDword);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(reg.QueryValue(read.get(), L"none", &type, &data, &size), os::kFileNotFound);
}

TEST_P(OsContract, RegistryHandlesKeepTheirAccessAndDieWhenClosed) {
  os::Registry& reg = services().registry;
  const std::wstring path = machine().RegistryBase() + L"\\A";
  os::KeyHandle key = 0;
  ASSERT_EQ(reg.CreateKey(kUser, path, kAllAccess, &key), os::kOk);
  ASSERT_EQ(reg.SetValue(key, L"v", os::kRegSz, os::TextBytes(L"x")), os::kOk);
  ASSERT_EQ(reg.CloseKey(key), os::kOk);

  ASSERT_EQ(reg.OpenKey(kUser, path, kRead, &key), os::kOk);
  EXPECT_EQ(reg.SetValue(key, L"v", os::kRegSz, os::TextBytes(L"y")), os::kAccessDenied);
  EXPECT_EQ(reg.DeleteValue(key, L"v"), os::kAccessDenied);
  EXPECT_EQ(reg.CloseKey(key), os::kOk);
  EXPECT_EQ(reg.CloseKey(key), os::kInvalidHandle);
  EXPECT_EQ(reg.SetValue(0, L"v", os::kRegSz, os::TextBytes(L"y")), os::kInvalidHandle);
  EXPECT_EQ(reg.CloseKey(0), os::kInvalidHandle);
  EXPECT_EQ(reg.OpenKey(kUser, machine().RegistryBase() + L"\\B", kAllAccess, &key), os::kFileNotFound);

  os::ScopedKey write(reg);
  ASSERT_EQ(reg.OpenKey(kUser, path, kAllAccess, write.Put()), os::kOk);
  EXPECT_EQ(reg.DeleteValue(write.get(), L"V"), os::kOk);
  EXPECT_EQ(reg.DeleteValue(write.get(), L"v"), os::kFileNotFound);
}

TEST_P(OsContract, RegistryDeletesOnlyKeysWithoutSubkeys) {
  os::Registry& reg = services().registry;
  const std::wstring base = machine().RegistryBase();
  for (const wchar_t* leaf : {L"\\Zentrik\\Elemora", L"\\Zentrik 2"}) {
    os::ScopedKey key(reg);
    ASSERT_EQ(reg.CreateKey(kUser, base + leaf, kAllAccess, key.Put()), os::kOk);
  }
  EXPECT_EQ(reg.DeleteKey(kUser, base + L"\\Zentrik"), os::kAccessDenied);
  EXPECT_EQ(reg.DeleteKey(kUser, base + L"\\zentrik\\ELEMORA"), os::kOk);
  EXPECT_EQ(reg.DeleteKey(kUser, base + L"\\Zentrik"), os::kOk);
  EXPECT_EQ(reg.DeleteKey(kUser, base + L"\\Zentrik"), os::kFileNotFound);
  os::ScopedKey key(reg);
  EXPECT_EQ(reg.OpenKey(kUser, base + L"\\Zentrik", kRead, key.Put()), os::kFileNotFound);
  EXPECT_EQ(reg.OpenKey(kUser, base + L"\\Zentrik 2", kRead, key.Put()), os::kOk);
}

// ---------------------------------------------------------------- files

TEST_P(OsContract, FoldersFollowWin32Rules) {
  os::Files& files = services().files;
  const std::wstring base = machine().Scratch();
  const std::wstring sub = base + L"\\Под папка";
  EXPECT_FALSE(files.CreateFolder(base + L"\\a\\b"));  // parent missing
  EXPECT_TRUE(files.CreateFolder(sub));
  EXPECT_FALSE(files.CreateFolder(base + L"\\под ПАПКА\\"));  // exists
  EXPECT_TRUE(files.FolderExists(base + L"\\ПОД папка"));
  EXPECT_FALSE(files.FileExists(sub));
  EXPECT_TRUE(files.CreateFolder(base + L"\\Под"));  // a prefix of another name
  EXPECT_TRUE(files.AppendToFile(sub + L"\\Таблица.exe", "x"));
  EXPECT_EQ(Sorted(files.Subfolders(base)), (std::vector<std::wstring>{L"Под", L"Под папка"}));
  EXPECT_EQ(files.FileNames(sub), std::vector<std::wstring>{L"Таблица.exe"});
  EXPECT_EQ(files.FileNames(base), std::vector<std::wstring>{});  // folders left out
  EXPECT_FALSE(files.Subfolders(base + L"\\missing"));
  EXPECT_FALSE(files.FileNames(base + L"\\missing"));
  EXPECT_FALSE(files.RemoveFolder(sub));  // not empty
  EXPECT_TRUE(files.DeleteFile(sub + L"\\таблица.EXE"));
  EXPECT_TRUE(files.RemoveFolder(sub));
  EXPECT_FALSE(files.RemoveFolder(sub));
  EXPECT_TRUE(files.RemoveFolder(base + L"\\Под"));
  EXPECT_FALSE(files.RemoveFolder(L"C:\\"));
}

TEST_P(OsContract, CopyReplacesAndDeleteSaysWhyNot) {
  os::Files& files = services().files;
  const std::wstring base = machine().Scratch();
  const std::wstring source = base + L"\\Table.exe";
  ASSERT_TRUE(files.AppendToFile(source, "12345"));
  ASSERT_TRUE(files.AppendToFile(source, "678"));
  EXPECT_EQ(files.FileSize(source), 8u);
  ASSERT_TRUE(files.CreateFolder(base + L"\\to"));
  const std::wstring copy = base + L"\\to\\table.EXE";
  EXPECT_EQ(files.CopyFileResult(source, base + L"\\TO\\\\Table.exe"), os::kOk);
  EXPECT_EQ(files.FileSize(copy), 8u);
  ASSERT_TRUE(files.AppendToFile(source, "9"));
  EXPECT_EQ(files.CopyFileResult(source, copy), os::kOk);  // replaces
  EXPECT_EQ(files.FileSize(copy), 9u);

  EXPECT_EQ(files.CopyFileResult(base + L"\\missing", base + L"\\x"), os::kFileNotFound);
  EXPECT_EQ(files.CopyFileResult(source, base + L"\\missing\\x"), os::kPathNotFound);
  EXPECT_EQ(files.CopyFileResult(source, base + L"\\to"), os::kAccessDenied);
  EXPECT_FALSE(files.FileSize(base + L"\\to"));
  EXPECT_FALSE(files.FileSize(base + L"\\missing"));

  EXPECT_EQ(files.DeleteFileResult(copy), os::kOk);
  EXPECT_EQ(files.DeleteFileResult(copy), os::kFileNotFound);
  EXPECT_EQ(files.DeleteFileResult(base + L"\\missing\\x"), os::kPathNotFound);
  EXPECT_EQ(files.DeleteFileResult(base + L"\\to"), os::kAccessDenied);
  EXPECT_TRUE(files.FolderExists(base + L"\\to"));
  EXPECT_TRUE(files.RemoveFolder(base + L"\\to"));
  EXPECT_TRUE(files.DeleteFile(source));
}

TEST_P(OsContract, AFileHeldOpenIsNeitherReplacedNorDeleted) {
  os::Files& files = services().files;
  const std::wstring base = machine().Scratch();
  const std::wstring held = base + L"\\held.bin", other = base + L"\\other.bin";
  ASSERT_TRUE(files.AppendToFile(held, "12345"));
  ASSERT_TRUE(files.AppendToFile(other, "123"));
  machine().HoldOpen(held);
  EXPECT_TRUE(files.FileInUse(held));
  EXPECT_FALSE(files.FileInUse(other));
  EXPECT_FALSE(files.FileInUse(base + L"\\missing"));
  EXPECT_NE(files.CopyFileResult(other, held), os::kOk);
  const long deleted = files.DeleteFileResult(held);
  EXPECT_TRUE(deleted != os::kOk && deleted != os::kFileNotFound && deleted != os::kPathNotFound) << deleted;
  // The failed copy left the earlier file as it was and no temporary file beside it.
  EXPECT_EQ(files.FileSize(held), 5u);
  EXPECT_EQ(Sorted(files.FileNames(base)), (std::vector<std::wstring>{L"held.bin", L"other.bin"}));
  machine().Release(held);
  EXPECT_FALSE(files.FileInUse(held));
  EXPECT_TRUE(files.DeleteAtRestart(held));
  EXPECT_EQ(files.CopyFileResult(other, held), os::kOk);
  EXPECT_EQ(files.FileSize(held), 3u);
  EXPECT_TRUE(files.DeleteFile(held));
  EXPECT_TRUE(files.DeleteFile(other));
}

TEST_P(OsContract, DrivesAndPlacesAsTheSystemReportsThem) {
  os::Files& files = services().files;
  auto drives = files.Drives();
  EXPECT_TRUE(std::any_of(drives.begin(), drives.end(), [](const os::Drive& d) { return d.root == L"C:\\"; }));
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end(),
                             [](const os::Drive& a, const os::Drive& b) { return a.root < b.root; }));
  const std::wstring current = files.CurrentDrive();
  ASSERT_EQ(current.size(), 3u);
  EXPECT_EQ(current.substr(1), L":\\");
  auto space = files.FreeSpace(L"C:\\");
  ASSERT_TRUE(space);
  EXPECT_GT(space->free_clusters, 0u);
  EXPECT_GE(space->total_clusters, space->free_clusters);
  EXPECT_GT(space->bytes_per_sector, 0u);
  EXPECT_FALSE(files.FreeSpace(L"Q:\\nonexistent\\"));
  for (const std::wstring& folder : {files.WindowsDirectory(), files.ProgramFolder()}) {
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    EXPECT_TRUE(files.FolderExists(folder)) << std::string(folder.begin(), folder.end());
  }
}

// ---------------------------------------------------------------- shell

TEST_P(OsContract, SpecialFoldersAreKnownOrSaySo) {
  os::Shell& shell = services().shell;
  for (int csidl : {os::kCsidlStartMenu, os::kCsidlRecent}) {
    auto folder = shell.SpecialFolderPath(csidl);
    EXPECT_EQ(folder.status, os::SpecialFolder::Status::kOk);
    ASSERT_FALSE(folder.path.empty());
    EXPECT_NE(folder.path.back(), L'\\');
    EXPECT_TRUE(services().files.FolderExists(folder.path));
  }
  EXPECT_EQ(shell.SpecialFolderPath(0x7F).status, os::SpecialFolder::Status::kUnknown);
}

TEST_P(OsContract, ShortcutsNeedTheirFolderAndLeadToTheirTarget) {
  os::Shell& shell = services().shell;
  const std::wstring base = machine().Scratch();
  const std::wstring link = base + L"\\Zentrik® Elemora 2002.lnk";
  os::ShortcutProperties p;
  p.target_path = L"C:\\Programs\\Table.exe";
  p.description = L"Zentrik® Периодична система";
  EXPECT_FALSE(shell.SaveShortcut(base + L"\\missing\\x.lnk", p));
  EXPECT_FALSE(shell.ShortcutTarget(link));
  ASSERT_TRUE(shell.SaveShortcut(link, p));
  EXPECT_EQ(shell.ShortcutTarget(link), p.target_path);
  p.target_path = L"C:\\Other\\Table.exe";
  ASSERT_TRUE(shell.SaveShortcut(link, p));  // rewrites
  EXPECT_EQ(shell.ShortcutTarget(link), p.target_path);
  ASSERT_TRUE(services().files.AppendToFile(base + L"\\plain.lnk", "not a shortcut"));
  EXPECT_FALSE(shell.ShortcutTarget(base + L"\\plain.lnk"));
  EXPECT_TRUE(services().files.DeleteFile(link));
  EXPECT_TRUE(services().files.DeleteFile(base + L"\\plain.lnk"));
}

TEST_P(OsContract, RecentDocumentEntryLeadsToTheFile) {
  os::Files& files = services().files;
  const std::wstring program = machine().Scratch() + L"\\ElemoraCheck.exe";
  ASSERT_TRUE(files.AppendToFile(program, "MZ"));
  auto recent = services().shell.SpecialFolderPath(os::kCsidlRecent);
  ASSERT_EQ(recent.status, os::SpecialFolder::Status::kOk);
  const std::wstring entry = recent.path + L"\\ElemoraCheck.exe.lnk";
  files.DeleteFile(entry);
  services().shell.AddToRecentDocs(program);
  for (int i = 0; i < 40 && !files.FileExists(entry); ++i) services().clock.Sleep(50);
  ASSERT_TRUE(files.FileExists(entry));
  auto target = services().shell.ShortcutTarget(entry);
  ASSERT_TRUE(target);
  EXPECT_EQ(AsciiLower(*target), AsciiLower(program));
  EXPECT_TRUE(files.DeleteFile(entry));
  EXPECT_TRUE(files.DeleteFile(program));
}

// ---------------------------------------------------------------- clock

TEST_P(OsContract, SleepLetsTheClockRun) {
  os::Clock& clock = services().clock;
  const auto before = clock.NowMilliseconds();
  clock.Sleep(120);
  const auto elapsed = clock.NowMilliseconds() - before;
  EXPECT_GE(elapsed, 100);
  EXPECT_LT(elapsed, 2000);
  const auto seconds = clock.NowSeconds();
  EXPECT_LE(seconds - clock.NowMilliseconds() / 1000, 0);
  EXPECT_GE(seconds - clock.NowMilliseconds() / 1000, -1);
  const int date = clock.LocalDate();
  EXPECT_GE(date, 20000101);
  EXPECT_GE(date % 100, 1);
  EXPECT_LE(date % 100, 31);
  EXPECT_GE(date / 100 % 100, 1);
  EXPECT_LE(date / 100 % 100, 12);
}

}  // namespace

}  // namespace os_contract
