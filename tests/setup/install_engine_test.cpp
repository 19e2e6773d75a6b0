// The installation run against the in-memory system: its order, what each
// failing step leaves done, and what the finish page then says.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "deploy/product.h"
#include "kit/platform.h"
#include "look/meter.h"
#include "os/fake/fake_os.h"
#include "setup/install_engine.h"
#include "setup/pages.h"
#include "setup/shell_shortcuts.h"
#include "setup/wizard.h"

using os::RootKey;

namespace {

const std::wstring kDest = L"C:\\Program Files\\Zentrik";
const std::wstring kGroup = L"C:\\windows\\Start Menu\\Programs\\Zentrik\\";
const std::wstring kUninstall = deploy::kUninstallKey;
const std::wstring kProduct = deploy::kProductKey;

struct MeterMark {
  float value;
  size_t registry_calls;
  size_t file_calls;
  size_t recent_docs;
};

class InstallTest : public ::testing::Test {
 protected:
  InstallTest() {
    look::ResetMeter();
    for (const wchar_t* name : {L"Table.exe", L"vrakel.mdb", L"Gorvix.exe"}) {
      fake.files.PutFile(std::wstring(L"C:\\dist\\") + name, "contents of " + os::fake::ToUtf8(name));
    }
    fake.files.MakeFolders(kDest);
    Text1.text = kDest;
  }

  setup::InstallationHooks hooks;
  setup::InstallationResult Install() {
    setup::InstallationPage page{form6, form6.Label12, form6.Label18, Text1};
    hooks.wait = [this](int ms) {
      waited += ms;
      fake.clock.Sleep(ms);
    };
    hooks.set_meter = [this](float value, kit::Form& form) {
      marks.push_back({value, fake.registry.calls().size(), fake.files.calls().size(), fake.shell.recent_docs.size()});
      look::SetMeterValue(value, form);
    };
    return setup::RunInstallation(fake.services, page, hooks);
  }

  std::optional<std::wstring> Text(RootKey root, const std::wstring& key, const std::wstring& name) {
    return fake.registry.Text(root, key, name);
  }
  bool Has(const std::wstring& path) { return fake.files.FileExists(path); }

  // Everything a clean run leaves, except what `skip` names.
  void ExpectInstalledExcept(const std::vector<std::wstring>& skip) {
    auto skipped = [&](const std::wstring& what) { return std::find(skip.begin(), skip.end(), what) != skip.end(); };
    if (!skipped(L"Table.exe")) {
      EXPECT_TRUE(Has(kDest + L"\\Table.exe"));
    }
    if (!skipped(L"vrakel.mdb")) {
      EXPECT_TRUE(Has(kDest + L"\\vrakel.mdb"));
    }
    if (!skipped(L"Gorvix.exe")) {
      EXPECT_TRUE(Has(L"C:\\windows\\Gorvix.exe"));
    }
    if (!skipped(L"shortcut")) {
      EXPECT_TRUE(Has(kGroup + L"Zentrik® Elemora 2002.lnk"));
    }
    if (!skipped(L"recent")) {
      EXPECT_TRUE(Has(kGroup + L"Table.exe.lnk"));
    }
    if (!skipped(L"dir")) {
      EXPECT_EQ(Text(RootKey::kCurrentUser, kProduct, L"dir"), Text1.text);
    }
    if (!skipped(L"Sdir")) {
      EXPECT_EQ(Text(RootKey::kCurrentUser, kProduct, L"Sdir"), kGroup);
    }
    if (!skipped(L"uninstall")) {
      EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"DisplayName"), L"Zentrik© Elemora 2002®");
      EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"UninstallString"), L"C:\\windows\\Gorvix.exe");
    }
    EXPECT_EQ(fake.registry.OpenHandles(), 0);
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks.back().value, 100.0f);
  }

  kit::ScopedHeadless headless;
  os::fake::FakeOs fake;
  kit::Form form4{"Form4"};
  kit::TextBox Text1{form4, "Text1"};
  setup::Form6 form6;
  std::vector<MeterMark> marks;
  int waited = 0;
};

TEST_F(InstallTest, CleanRunInstallsEverythingInOrder) {
  auto result = Install();
  EXPECT_TRUE(result.ok());
  ExpectInstalledExcept({});
  EXPECT_EQ(fake.files.ReadFile(kDest + L"\\vrakel.mdb"), "contents of vrakel.mdb");

  // The product key comes first; every open and create asks for 0x3F.
  const auto& calls = fake.registry.calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].op, "CreateKey");
  EXPECT_EQ(calls[0].root, RootKey::kCurrentUser);
  EXPECT_EQ(calls[0].path, kProduct);
  std::vector<std::wstring> writes;
  for (const auto& call : calls) {
    if (call.op == "CreateKey" || call.op == "OpenKey") {
      EXPECT_EQ(call.access, 0x3Fu);
    }
    if (call.op == "SetValue") writes.push_back(call.name);
    if (call.op == "CreateKey" && call.root == RootKey::kLocalMachine) writes.push_back(L"<uninstall key>");
  }
  EXPECT_EQ(writes, (std::vector<std::wstring>{L"dir", L"Sdir", L"<uninstall key>", L"DisplayName",
                                               L"UninstallString", L"DisplayIcon", L"DisplayVersion", L"Publisher",
                                               L"InstallLocation", L"QuietUninstallString", L"EstimatedSize",
                                               L"InstallDate", L"NoModify", L"NoRepair"}));
  EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"DisplayIcon"), kDest + L"\\Table.exe");
  EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"InstallLocation"), kDest);
  EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"Publisher"), L"Zentrik");

  // The meter's fixed points, between the right copies.
  std::vector<float> values;
  for (const auto& m : marks) values.push_back(m.value);
  EXPECT_EQ(values, (std::vector<float>{10, 33, 90, 96, 97, 100}));
  auto copies_before = [&](size_t file_calls) {
    std::vector<std::wstring> names;
    for (size_t i = 0; i < file_calls; ++i) {
      const auto& call = fake.files.calls()[i];
      if (call.op == "CopyFile") names.push_back(call.path2.substr(call.path2.rfind(L'\\') + 1));
    }
    return names;
  };
  EXPECT_TRUE(copies_before(marks[1].file_calls).empty());
  EXPECT_EQ(copies_before(marks[2].file_calls), std::vector<std::wstring>{L"Table.exe"});
  EXPECT_EQ(copies_before(marks[3].file_calls), (std::vector<std::wstring>{L"Table.exe", L"vrakel.mdb"}));
  EXPECT_EQ(copies_before(marks[4].file_calls),
            (std::vector<std::wstring>{L"Table.exe", L"vrakel.mdb", L"Gorvix.exe"}));
  EXPECT_EQ(marks[4].registry_calls, 1u + 1u);  // only the product key (create and close)
  EXPECT_EQ(marks[5].registry_calls, calls.size());
  EXPECT_EQ(marks[5].recent_docs, 0u);

  // Both shortcuts point at the installed viewer; the scratch labels hold the paths.
  auto named = fake.shell.ReadShortcut(kGroup + L"Zentrik® Elemora 2002.lnk");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->target_path, kDest + L"\\Table.exe");
  EXPECT_EQ(named->icon_location, kDest + L"\\Table.exe");
  EXPECT_EQ(named->description, L"Zentrik® Периодична Система на елементите");
  EXPECT_EQ(named->window_style, 0);
  EXPECT_EQ(fake.shell.ReadShortcut(kGroup + L"Table.exe.lnk")->target_path, kDest + L"\\Table.exe");
  EXPECT_EQ(fake.shell.recent_docs, std::vector<std::wstring>{kDest + L"\\Table.exe"});
  EXPECT_EQ(form6.Label12.caption, kDest + L"\\Table.exe");
  EXPECT_EQ(form6.Label18.caption, kGroup);
}

std::uint32_t Dword(const os::fake::FakeRegistry& reg, const std::wstring& key, const std::wstring& name) {
  auto v = reg.Value(RootKey::kLocalMachine, key, name);
  if (!v || v->type != os::kRegDword || v->data.size() != 4) return 0xFFFFFFFFu;
  return v->data[0] | (v->data[1] << 8) | (v->data[2] << 16) | (static_cast<std::uint32_t>(v->data[3]) << 24);
}

TEST_F(InstallTest, EntryTellsTheListOfProgramsSizeDateAndTheQuietRemoval) {
  // 1500 + 22 + 1 bytes: the product's own three files, rounded up to 2 KB.
  fake.files.PutFile(L"C:\\dist\\Table.exe", std::string(1500, 'x'));
  fake.files.PutFile(L"C:\\dist\\Scrrun.dll", std::string(9000, 'x'));   // shared: not counted
  fake.clock.local_date = 20261208;
  ASSERT_TRUE(Install().ok());
  EXPECT_EQ(Dword(fake.registry, kUninstall, L"EstimatedSize"), 2u);
  EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"InstallDate"), L"20261208");
  EXPECT_EQ(Text(RootKey::kLocalMachine, kUninstall, L"QuietUninstallString"), L"\"C:\\windows\\Gorvix.exe\" /S");
  EXPECT_EQ(Dword(fake.registry, kUninstall, L"NoModify"), 1u);
  EXPECT_EQ(Dword(fake.registry, kUninstall, L"NoRepair"), 1u);
}

TEST_F(InstallTest, ForEveryUserTheGroupAndRecordsBelongToTheMachine) {
  fake.shell.SetSpecialFolder(os::kCsidlCommonPrograms, L"C:\\ProgramData\\Start Menu\\Programs");
  fake.files.MakeFolders(L"C:\\ProgramData\\Start Menu\\Programs");
  deploy::Log log(fake.files, L"C:\\setup.log");
  hooks.per_machine = true;
  hooks.log = &log;
  ASSERT_TRUE(Install().ok());
  const std::wstring group = L"C:\\ProgramData\\Start Menu\\Programs\\Zentrik\\";
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kProduct, L"dir"), kDest);
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kProduct, L"Sdir"), group);
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProduct));
  // Both shortcuts made directly, no detour through the recent documents.
  EXPECT_TRUE(fake.shell.recent_docs.empty());
  for (const wchar_t* name : {L"Table.exe.lnk", L"Zentrik® Elemora 2002.lnk"}) {
    auto link = fake.shell.ReadShortcut(group + name);
    ASSERT_TRUE(link) << os::fake::ToUtf8(name);
    EXPECT_EQ(link->target_path, kDest + L"\\Table.exe");
  }
  EXPECT_FALSE(fake.files.FolderExists(kGroup));
  // One line a step, none of them a failure.
  auto text = fake.files.ReadFile(L"C:\\setup.log");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->find("FAILED"), std::string::npos);
  EXPECT_NE(text->find("Table.exe.lnk"), std::string::npos);
  EXPECT_GE(std::count(text->begin(), text->end(), '\n'), 20);
}

TEST_F(InstallTest, RunningViewerIsAskedAboutThenRetriedOrSkipped) {
  kit::ScopedHeadless ui;
  hooks.retry_viewer_in_use = [&](const std::wstring& viewer) {
    return kit::CurrentPlatform().AskRetry(setup::ViewerInUseQuestion(viewer), L"Zentrik Elemora");
  };
  // The running viewer holds its database open too.
  fake.files.PutFile(kDest + L"\\Table.exe", "old viewer");
  fake.files.PutFile(kDest + L"\\vrakel.mdb", "old data");
  fake.files.SetInUse(kDest + L"\\Table.exe");
  fake.files.SetInUse(kDest + L"\\vrakel.mdb");
  // Retry while it still runs asks again; Cancel skips the copy, and the
  // database is then not asked about again.
  ui.platform.retry_answers = {true};
  auto result = Install();
  ASSERT_EQ(ui.platform.questions.size(), 2u);
  EXPECT_EQ(ui.platform.questions[0],
            L"Периодичната система е отворена и не може да бъде заменена: " + kDest +
                L"\\Table.exe. Затворете я и опитайте отново.");
  EXPECT_EQ(fake.files.ReadFile(kDest + L"\\Table.exe"), "old viewer");
  EXPECT_EQ(fake.files.ReadFile(kDest + L"\\vrakel.mdb"), "old data");
  EXPECT_EQ(result.failed, (std::vector<std::wstring>{L"копирането на Table.exe", L"копирането на vrakel.mdb"}));
  EXPECT_TRUE(fake.files.FileExists(L"C:\\windows\\Gorvix.exe"));

  // Closed in the meantime: Retry copies it.
  ui.platform.questions.clear();
  ui.platform.retry_answers = {true};
  hooks.retry_viewer_in_use = [&](const std::wstring& viewer) {
    fake.files.SetInUse(viewer, false);
    fake.files.SetInUse(kDest + L"\\vrakel.mdb", false);
    return kit::CurrentPlatform().AskRetry(setup::ViewerInUseQuestion(viewer), L"Zentrik Elemora");
  };
  EXPECT_TRUE(Install().ok());
  EXPECT_EQ(ui.platform.questions.size(), 1u);
  EXPECT_EQ(fake.files.ReadFile(kDest + L"\\Table.exe"), "contents of Table.exe");
}

TEST_F(InstallTest, UnattendedRunNeverAsksAndLogsTheReason) {
  deploy::Log log(fake.files, L"C:\\setup.log");
  hooks.log = &log;
  fake.files.PutFile(kDest + L"\\Table.exe", "old viewer");
  fake.files.SetInUse(kDest + L"\\Table.exe");
  fake.files.FailCopyMidway(kDest + L"\\vrakel.mdb");
  auto result = Install();
  EXPECT_EQ(result.failed, (std::vector<std::wstring>{L"копирането на Table.exe", L"копирането на vrakel.mdb"}));
  EXPECT_EQ(fake.files.ReadFile(kDest + L"\\Table.exe"), "old viewer");
  EXPECT_FALSE(fake.files.FileExists(kDest + L"\\vrakel.mdb"));
  auto text = fake.files.ReadFile(L"C:\\setup.log");
  ASSERT_TRUE(text);
  // The system's reason goes with the file it stopped.
  EXPECT_NE(text->find("FAILED  " + os::fake::ToUtf8(L"копирането на Table.exe: " + kDest + L"\\Table.exe (32")),
            std::string::npos)
      << *text;
  EXPECT_NE(text->find("vrakel.mdb (112"), std::string::npos) << *text;
}

TEST_F(InstallTest, SharedComponentsAreCopiedOnlyWhenTheyShip) {
  fake.files.PutFile(L"C:\\dist\\Msvcrt.dll", "runtime");
  fake.files.PutFile(L"C:\\dist\\dao360.dll", "dao");
  EXPECT_TRUE(Install().ok());
  EXPECT_EQ(fake.files.ReadFile(L"C:\\windows\\System\\Msvcrt.dll"), "runtime");
  EXPECT_TRUE(Has(L"C:\\windows\\System\\dao360.dll"));
  EXPECT_FALSE(Has(L"C:\\windows\\System\\Scrrun.dll"));
}

TEST_F(InstallTest, TrailingSeparatorDoublesItInTargetsAndIsRecordedAsTyped) {
  Text1.text = kDest + L"\\";
  EXPECT_TRUE(Install().ok());
  auto copies = fake.files.CallsOf("CopyFile");
  ASSERT_GE(copies.size(), 2u);
  EXPECT_EQ(copies[0].path2, kDest + L"\\\\Table.exe");
  EXPECT_EQ(copies[1].path2, kDest + L"\\\\vrakel.mdb");
  ExpectInstalledExcept({});
  EXPECT_EQ(Text(RootKey::kCurrentUser, kProduct, L"dir"), kDest + L"\\");
}

TEST_F(InstallTest, RecentEntryIsAwaitedUpToAboutTwoSeconds) {
  fake.shell.SetRecentDelay(1500);
  EXPECT_TRUE(Install().ok());
  EXPECT_TRUE(Has(kGroup + L"Table.exe.lnk"));
  EXPECT_GE(waited, 1500);
  EXPECT_LT(waited, 1600);

  fake.files.DeleteFile(kGroup + L"Table.exe.lnk");
  fake.files.DeleteFile(L"C:\\windows\\Recent\\Table.exe.lnk");
  waited = 0;
  fake.shell.SetRecentDelay(2500);
  auto late = Install();
  EXPECT_EQ(late.failed, std::vector<std::wstring>{L"прекия път „Table.exe“ в програмната група"});
  EXPECT_EQ(waited, setup::kRecentWaitMs);
}

// The shell may take its time replacing a recent-documents entry that an
// earlier installation into another folder left behind; only an entry for
// the viewer just installed goes into the group.
TEST_F(InstallTest, StaleRecentEntryIsNotCopiedIntoTheGroup) {
  const std::wstring recent = L"C:\\windows\\Recent\\Table.exe.lnk";
  auto leave_stale_entry = [&] {
    os::ShortcutProperties old;
    old.target_path = L"D:\\Стара папка\\Table.exe";
    fake.files.PutFile(recent, os::fake::FakeShell::Encode(old));
  };
  leave_stale_entry();
  fake.shell.SetRecentDelay(400);
  EXPECT_TRUE(Install().ok());
  ASSERT_TRUE(Has(kGroup + L"Table.exe.lnk"));
  EXPECT_EQ(fake.shell.ReadShortcut(kGroup + L"Table.exe.lnk")->target_path, kDest + L"\\Table.exe");
  EXPECT_GE(waited, 400);

  // The shell never replaces it: the step fails and the group gets no
  // shortcut into the old folder.
  fake.files.DeleteFile(kGroup + L"Table.exe.lnk");
  leave_stale_entry();
  fake.shell.SetRecentDelay(-1);
  waited = 0;
  auto result = Install();
  EXPECT_EQ(result.failed, std::vector<std::wstring>{L"прекия път „Table.exe“ в програмната група"});
  EXPECT_FALSE(Has(kGroup + L"Table.exe.lnk"));
  EXPECT_EQ(waited, setup::kRecentWaitMs);
}

TEST_F(InstallTest, RecentEntryForTheSameViewerIsTakenAsTheSystemSpellsIt) {
  // Installed again into the same folder: the entry names the viewer in the
  // file system's own spelling, which is the same file.
  os::ShortcutProperties same;
  same.target_path = L"c:\\PROGRAM FILES\\zentrik\\TABLE.EXE";
  fake.files.PutFile(L"C:\\windows\\Recent\\Table.exe.lnk", os::fake::FakeShell::Encode(same));
  fake.shell.SetRecentDelay(-1);
  Text1.text = kDest + L"\\";   // typed with a closing separator: "...\\Table.exe"
  EXPECT_TRUE(Install().ok());
  EXPECT_EQ(fake.shell.ReadShortcut(kGroup + L"Table.exe.lnk")->target_path, same.target_path);
  EXPECT_EQ(waited, 0);
}

struct FailureCase {
  const char* label;
  std::function<void(os::fake::FakeOs&, kit::TextBox&)> arrange;
  std::vector<std::wstring> failed;
  std::vector<std::wstring> missing;  // what ExpectInstalledExcept must not look for
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.label; }

class StepFailure : public InstallTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StepFailure, IsReportedAndTheOtherStepsStillHappen) {
  GetParam().arrange(fake, Text1);
  auto result = Install();
  EXPECT_EQ(result.failed, GetParam().failed);
  ExpectInstalledExcept(GetParam().missing);
  EXPECT_NE(setup::FailureText(result).find(GetParam().failed.front()), std::wstring::npos);
}

const std::wstring kEntry = L"записа в списъка на инсталираните програми";

INSTANTIATE_TEST_SUITE_P(
    EachStep, StepFailure,
    ::testing::Values(
        FailureCase{"ProductKey",
                    [](auto& f, auto&) { f.registry.Fail("CreateKey", L"SOFTWARE\\Zentrik\\Elemora"); },
                    // Without the key the values have nowhere to go.
                    {L"ключа на програмата в регистъра", L"стойността dir в регистъра",
                     L"стойността Sdir в регистъра"},
                    {L"dir", L"Sdir"}},
        FailureCase{"StartMenuWithoutPath",
                    [](auto& f, auto&) {
                      f.shell.SetSpecialFolderStatus(os::kCsidlStartMenu, os::SpecialFolder::Status::kNoPath);
                    },
                    {L"програмната група в менюто Старт", L"прекия път „Zentrik® Elemora 2002“",
                     L"пътя на програмната група", L"прекия път „Table.exe“ в програмната група"},
                    {L"shortcut", L"recent", L"Sdir"}},
        FailureCase{"ComponentInUse",
                    [](auto& f, auto&) {
                      f.files.PutFile(L"C:\\dist\\Msvcrt.dll", "x");
                      f.files.PutFile(L"C:\\dist\\dao360.dll", "x");
                      f.files.FailPath(L"C:\\windows\\System\\Msvcrt.dll");
                    },
                    {L"копирането на Msvcrt.dll"},
                    {}},
        FailureCase{"ViewerMissing", [](auto& f, auto&) { f.files.DeleteFile(L"C:\\dist\\Table.exe"); },
                    {L"копирането на Table.exe"}, {L"Table.exe"}},
        FailureCase{"DatabaseMissing", [](auto& f, auto&) { f.files.DeleteFile(L"C:\\dist\\vrakel.mdb"); },
                    {L"копирането на vrakel.mdb"}, {L"vrakel.mdb"}},
        FailureCase{"UninstallerInUse", [](auto& f, auto&) { f.files.FailPath(L"C:\\windows\\Gorvix.exe"); },
                    {L"копирането на Gorvix.exe"}, {L"Gorvix.exe"}},
        FailureCase{"DestinationNeverMade",
                    [](auto&, auto& text1) { text1.text = L"C:\\Program Files\\Друга папка"; },
                    {L"копирането на Table.exe", L"копирането на vrakel.mdb"},
                    {L"Table.exe", L"vrakel.mdb"}},
        FailureCase{"ShortcutCannotBeSaved", [](auto& f, auto&) { f.shell.fail_shortcuts = true; },
                    {L"прекия път „Zentrik® Elemora 2002“"}, {L"shortcut"}},
        FailureCase{"DirRefused", [](auto& f, auto&) { f.registry.Fail("SetValue", L"dir"); },
                    {L"стойността dir в регистъра"}, {L"dir"}},
        FailureCase{"SdirRefused", [](auto& f, auto&) { f.registry.Fail("SetValue", L"Sdir"); },
                    {L"стойността Sdir в регистъра"}, {L"Sdir"}},
        FailureCase{"LocalMachineRefused", [](auto& f, auto&) { f.registry.RefuseRoot(RootKey::kLocalMachine); },
                    {kEntry}, {L"uninstall"}},
        FailureCase{"UninstallStringRefused",
                    [](auto& f, auto&) { f.registry.Fail("SetValue", L"UninstallString"); }, {kEntry},
                    {L"uninstall"}},
        FailureCase{"RecentEntryNeverWritten", [](auto& f, auto&) { f.shell.SetRecentDelay(-1); },
                    {L"прекия път „Table.exe“ в програмната група"}, {L"recent"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(InstallTest, LocalMachineRefusedLeavesNoEntryButEverythingElse) {
  fake.registry.RefuseRoot(RootKey::kLocalMachine);
  Install();
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstall));
  EXPECT_EQ(fake.registry.CallsOf("SetValue").size(), 2u);  // nothing attempted on keys that never opened
}

class AttachedTest : public ::testing::Test {
 protected:
  AttachedTest() {
    look::ResetMeter();
    for (const wchar_t* name : {L"Table.exe", L"vrakel.mdb", L"Gorvix.exe"})
      fake.files.PutFile(std::wstring(L"C:\\dist\\") + name, "x");
    fake.files.MakeFolders(kDest);
    setup::AttachInstallation(app);
  }
  kit::ScopedHeadless headless;
  os::fake::FakeOs fake;
  setup::Installer app{fake.services, setup::NumberLocale{}};
};

TEST_F(AttachedTest, StartRunsTheInstallationAndShowsTheFinishPage) {
  const std::wstring success = app.form7().Label14.caption;
  app.form7().Hide();
  app.form6().Show();
  kit::Click(app.form6().Label10);
  EXPECT_TRUE(app.form7().Visible());
  EXPECT_FALSE(app.form6().Visible());
  EXPECT_EQ(app.form7().Label14.caption, success);
  EXPECT_EQ(fake.registry.Text(RootKey::kCurrentUser, kProduct, L"dir"), app.form4().Text1.text);
}

// A user who keeps clicking while the installation waits for the shell: the
// clicks arrive inside that wait, as window messages do.
class ImpatientUser : public kit::HeadlessPlatform {
 public:
  explicit ImpatientUser(os::fake::FakeClock& clock) : clock_(clock) {}
  void WaitProcessingMessages(int ms) override {
    HeadlessPlatform::WaitProcessingMessages(ms);
    clock_.Advance(ms);
    if (waits++ == 0 && clicks) clicks();
  }
  std::function<void()> clicks;
  int waits = 0;

 private:
  os::fake::FakeClock& clock_;
};

TEST_F(AttachedTest, ClicksDuringTheWaitForTheShellChangeNothing) {
  ImpatientUser user(fake.clock);
  kit::SetPlatform(&user);
  fake.shell.SetRecentDelay(500);
  for (setup::WizardPage* page : std::initializer_list<setup::WizardPage*>{&app.form1(), &app.form2(), &app.form4(),
                                                                           &app.form5(), &app.form6()})
    page->Tag = L"1";
  app.form1().Hide();
  setup::Form6& copying = app.form6();
  copying.Show();
  kit::Click(copying.Label11);   // "Отказ" before "Старт": the question stays open
  user.clicks = [&] {
    kit::Click(copying.Label10);
    kit::Click(copying.Label4);
    kit::Dispatch(copying.on_close_request);
    kit::Click(app.exit_dialog().Label12);
  };
  EXPECT_NO_THROW(kit::Click(copying.Label10));
  kit::SetPlatform(&headless.platform);
  EXPECT_GE(user.waits, 1);
  EXPECT_EQ(fake.shell.recent_docs.size(), 1u);   // one installation, not two
  EXPECT_FALSE(user.ended);
  EXPECT_FALSE(app.form4().Visible());
  EXPECT_TRUE(app.form7().Visible());
  EXPECT_FALSE(app.ExitDialogExists());
  EXPECT_EQ(fake.shell.ReadShortcut(kGroup + L"Table.exe.lnk")->target_path, kDest + L"\\Table.exe");
}

TEST_F(AttachedTest, FinishPageNamesWhatFailed) {
  fake.registry.RefuseRoot(RootKey::kLocalMachine);
  app.form6().Show();
  kit::Click(app.form6().Label10);
  EXPECT_TRUE(app.form7().Visible());
  EXPECT_EQ(app.form7().Label14.caption,
            L"Инсталацията завърши с грешки. Не бяха създадени: записа в списъка на инсталираните програми.");
}

}  // namespace
