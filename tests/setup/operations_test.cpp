// The registry and shell operations the installation is built from.
#include <gtest/gtest.h>

#include "deploy/product.h"
#include "kit/form.h"
#include "kit/platform.h"
#include "os/fake/fake_os.h"
#include "os/shortcut_text.h"
#include "setup/install_engine.h"
#include "setup/registry_access.h"
#include "setup/shell_shortcuts.h"

using os::RootKey;

namespace {

class Operations : public ::testing::Test {
 protected:
  kit::ScopedHeadless headless;
  os::fake::FakeOs fake;
  kit::Form form{"Form6"};
  kit::Label label{form, "Label18"};
  kit::TextBox box{form, "Text1"};
};

TEST_F(Operations, RegistryWritesTextNumbersAndControls) {
  auto& reg = fake.registry;
  ASSERT_TRUE(setup::CreateRegistryKey(reg, L"SOFTWARE\\Zentrik\\Elemora", RootKey::kCurrentUser));
  EXPECT_TRUE(setup::SetUserValue(reg, L"Software\\Zentrik\\Elemora", L"empty", L"", os::kRegSz));
  EXPECT_EQ(reg.Value(RootKey::kCurrentUser, L"Software\\Zentrik\\Elemora", L"empty")->data,
            (std::vector<std::uint8_t>{0, 0}));
  EXPECT_TRUE(setup::SetUserValue(reg, L"Software\\Zentrik\\Elemora", L"n", -2, os::kRegDword));
  EXPECT_EQ(reg.Value(RootKey::kCurrentUser, L"Software\\Zentrik\\Elemora", L"n")->data,
            (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  box.text = L"305419896";
  EXPECT_TRUE(setup::SetUserValue(reg, L"Software\\Zentrik\\Elemora", L"m", box, os::kRegDword));
  EXPECT_EQ(reg.Value(RootKey::kCurrentUser, L"Software\\Zentrik\\Elemora", L"m")->data,
            (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
  box.text = L"12 ябълки";
  EXPECT_FALSE(setup::SetUserValue(reg, L"Software\\Zentrik\\Elemora", L"bad", box, os::kRegDword));
  label.caption = L"C:\\Меню\\";
  label.caption += L"Zentrik";
  EXPECT_TRUE(setup::SetUserValue(reg, L"Software\\Zentrik\\Elemora", L"Sdir", label, os::kRegSz));
  EXPECT_EQ(reg.Text(RootKey::kCurrentUser, L"Software\\Zentrik\\Elemora", L"sdir"), L"C:\\Меню\\Zentrik");
  // Writing twice keeps the second text.
  EXPECT_TRUE(setup::SetUserValue(reg, L"Software\\Zentrik\\Elemora", L"Sdir", L"second", os::kRegSz));
  EXPECT_EQ(reg.Text(RootKey::kCurrentUser, L"Software\\Zentrik\\Elemora", L"Sdir"), L"second");
  EXPECT_EQ(reg.OpenHandles(), 0);
  EXPECT_EQ(reg.CallsOf("OpenKey").size(), reg.CallsOf("CloseKey").size() - 1);  // plus the create's close
}

TEST_F(Operations, OtherTypesAndMissingKeysWriteNothing) {
  auto& reg = fake.registry;
  setup::CreateRegistryKey(reg, L"K", RootKey::kCurrentUser);
  os::ScopedKey key(reg);
  reg.OpenKey(RootKey::kCurrentUser, L"K", deploy::kKeyAccess, key.Put());
  EXPECT_EQ(setup::WriteRegistryValue(reg, key.get(), L"x", 3, L"data"), 0);
  key.Reset();
  EXPECT_FALSE(setup::SetUserValue(reg, L"K", L"y", L"data", 7));
  EXPECT_FALSE(setup::SetMachineValue(reg, L"K", L"z", L"data", os::kRegSz));  // no such key there
  EXPECT_TRUE(reg.CallsOf("SetValue").empty());
  EXPECT_FALSE(reg.KeyExists(RootKey::kLocalMachine, L"K"));
  EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST_F(Operations, FolderNamesAndGroupCreation) {
  EXPECT_EQ(setup::FileNamePart(L"C:\\a\\Table.exe"), L"Table.exe");
  EXPECT_EQ(setup::FileNamePart(L"Table.exe"), L"Table.exe");
  EXPECT_EQ(setup::FileNamePart(L"C:\\a\\"), L"");
  EXPECT_EQ(setup::GetWindowsDir(fake.files), L"C:\\windows\\");
  fake.files.SetWindowsDirectory(L"C:\\");
  EXPECT_EQ(setup::GetWindowsDir(fake.files), L"C:\\");
  fake.files.SetWindowsDirectory(L"");
  EXPECT_EQ(setup::GetWindowsDir(fake.files), L"");

  std::wstring dir = L"C:\\Нова папка\\Втора";
  setup::CreateNewDirectory(fake.files, dir);
  EXPECT_EQ(dir, L"C:\\Нова папка\\Втора\\");
  EXPECT_TRUE(fake.files.FolderExists(L"C:\\Нова папка\\Втора"));

  fake.shell.SetSpecialFolder(os::kCsidlStartMenu, L"C:\\Users\\u\\Start Menu");
  EXPECT_TRUE(setup::PrepareProgramGroup(fake.shell, fake.files, label));
  EXPECT_EQ(label.caption, L"C:\\Users\\u\\Start Menu");
  EXPECT_TRUE(fake.files.FolderExists(L"C:\\Users\\u\\Start Menu\\Programs\\Zentrik"));
  EXPECT_TRUE(setup::SetGroupPathLabel(fake.shell, label));
  EXPECT_EQ(label.caption, L"C:\\Users\\u\\Start Menu\\Programs\\Zentrik\\");
}

TEST_F(Operations, UnknownStartMenuMakesNoFoldersAtTheDriveRoot) {
  fake.shell.SetSpecialFolderStatus(os::kCsidlStartMenu, os::SpecialFolder::Status::kUnknown);
  EXPECT_EQ(setup::SpecialFolderPath(fake.shell, os::kCsidlStartMenu), L"");
  label.caption = L"Label13";
  EXPECT_FALSE(setup::PrepareProgramGroup(fake.shell, fake.files, label));
  EXPECT_EQ(label.caption, L"");
  EXPECT_TRUE(fake.files.CallsOf("CreateFolder").empty());
  EXPECT_FALSE(setup::SetGroupPathLabel(fake.shell, label));
  fake.shell.SetSpecialFolderStatus(os::kCsidlStartMenu, os::SpecialFolder::Status::kNoPath);
  EXPECT_FALSE(setup::SpecialFolderPath(fake.shell, os::kCsidlStartMenu));
}

TEST_F(Operations, ShortcutExtensionRuleAndProperties) {
  auto save = [&](const std::wstring& path) {
    return setup::CreateShortcut(fake.shell, path, L"Описание", L"C:\\T.exe", L"/x", L"C:\\", L"Ctrl+Alt+E",
                                 L"C:\\T.exe,2", 3);
  };
  EXPECT_TRUE(save(L"C:\\windows\\one"));
  EXPECT_TRUE(save(L"C:\\windows\\two.txt"));
  EXPECT_TRUE(save(L"C:\\windows\\three.LNK"));
  EXPECT_TRUE(save(L"C:\\windows\\four.Url"));
  ASSERT_EQ(fake.shell.saved.size(), 4u);
  EXPECT_EQ(fake.shell.saved[0].first, L"C:\\windows\\one.lnk");
  EXPECT_EQ(fake.shell.saved[1].first, L"C:\\windows\\two.txt.lnk");
  EXPECT_EQ(fake.shell.saved[2].first, L"C:\\windows\\three.LNK");
  EXPECT_EQ(fake.shell.saved[3].first, L"C:\\windows\\four.Url");
  const auto& p = fake.shell.saved[0].second;
  EXPECT_EQ(p.description, L"Описание");
  EXPECT_EQ(p.target_path, L"C:\\T.exe");
  EXPECT_EQ(p.arguments, L"/x");
  EXPECT_EQ(p.working_directory, L"C:\\");
  EXPECT_EQ(p.hot_key, L"Ctrl+Alt+E");
  EXPECT_EQ(p.icon_location, L"C:\\T.exe,2");
  EXPECT_EQ(p.window_style, 3);
  EXPECT_FALSE(save(L"C:\\missing\\one"));
}

// The hot key and icon location texts reach the shell link as numbers; bad
// or oversized text is refused (hot key) or taken as a plain path (icon),
// and never throws.
TEST(ShortcutText, HotKeysParseOrAreRefused) {
  EXPECT_EQ(os::ParseHotKey(L"Ctrl+Alt+E"), std::optional<std::uint16_t>(((0x02 | 0x04) << 8) | 'E'));
  EXPECT_EQ(os::ParseHotKey(L"shift+f10"), std::optional<std::uint16_t>((0x01 << 8) | 0x79));
  EXPECT_EQ(os::ParseHotKey(L"F24"), std::optional<std::uint16_t>(0x87));
  EXPECT_EQ(os::ParseHotKey(L"Alt+7"), std::optional<std::uint16_t>((0x04 << 8) | '7'));
  for (const wchar_t* bad : {L"", L"Ctrl", L"Ctrl+", L"+E", L"F0", L"F25", L"F-1", L"F+1", L"FX", L"Fx", L"F 1",
                             L"F1x", L"F\u0661", L"Ctrl+Alt+Del", L"E+", L"Ctrl+EE"}) {
    EXPECT_EQ(os::ParseHotKey(bad), std::nullopt) << os::fake::ToUtf8(bad);
  }
}

TEST(ShortcutText, IconLocationsSplitOnlyAtAWholeIndex) {
  using Split = std::pair<std::wstring, int>;
  EXPECT_EQ(os::SplitIconLocation(L"C:\\T.exe,2"), (Split{L"C:\\T.exe", 2}));
  EXPECT_EQ(os::SplitIconLocation(L"C:\\T.exe,-101"), (Split{L"C:\\T.exe", -101}));
  EXPECT_EQ(os::SplitIconLocation(L"C:\\T.exe"), (Split{L"C:\\T.exe", 0}));
  EXPECT_EQ(os::SplitIconLocation(L"C:\\a,b\\T.exe"), (Split{L"C:\\a,b\\T.exe", 0}));
  EXPECT_EQ(os::SplitIconLocation(L"C:\\T.exe,2147483647"), (Split{L"C:\\T.exe", 2147483647}));
  EXPECT_EQ(os::SplitIconLocation(L"C:\\T.exe,-2147483648"), (Split{L"C:\\T.exe", -2147483647 - 1}));
  // Beyond int, or not a number at all: the whole text is the path.
  for (const wchar_t* odd : {L"C:\\T.exe,2147483648", L"C:\\T.exe,-2147483649", L"C:\\T.exe,99999999999999999999",
                             L"C:\\T.exe,", L"C:\\T.exe,-", L"C:\\T.exe, 2", L"C:\\T.exe,2 ", L"C:\\T.exe,+2"}) {
    EXPECT_EQ(os::SplitIconLocation(odd), (Split{odd, 0})) << os::fake::ToUtf8(odd);
  }
}

}  // namespace
