// Gorvix.exe with switches (the unattended removal, the usage, a bad command
// line), the records of an installation made for every user, and a viewer
// or shortcut that is in use and goes at the next restart.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <tuple>

#include "kit/platform.h"
#include "look/meter.h"
#include "os/fake/fake_os.h"
#include "tests/uninstall/installed_product.h"
#include "uninstall/caption_fit.h"
#include "uninstall/gorvix.h"
#include "uninstall/unattended.h"

namespace {

using os::RootKey;
using namespace gorvix_test;

const std::wstring kLog = L"C:\\logs\\gorvix.log";

std::wstring SuccessWithRestart(const std::wstring& sentence) {
  return L"Премахването на програмите на Zentrik завърши успешно. " + sentence + L" За край натиснете \"Изход\"";
}

// What a normal installation leaves, and a folder for the logs.
void InstallOn(os::fake::FakeOs& m, RootKey root = RootKey::kCurrentUser) {
  PutInstallation(m, root);
  m.files.MakeFolders(L"C:\\logs");
}

class Unattended : public MachineTest {
 protected:

  // Gorvix.exe started with `arguments`: the exit code, or nothing when it
  // shows its window.
  std::optional<int> Start(const std::wstring& arguments) { return gorvix::RunCommandLine(fake.services, arguments, &window_log); }

  // The log's lines, without their line ends.
  std::vector<std::wstring> LogLines() {
    std::vector<std::wstring> lines;
    std::optional<std::string> bytes = fake.files.ReadFile(kLog);
    if (!bytes) return lines;
    std::wstring text = os::fake::FromUtf8(*bytes);
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "a line without its line end";
    return lines;
  }

  // Whether a log line starts with `prefix` and mentions `part`.
  bool Logged(const std::wstring& prefix, const std::wstring& part) {
    for (const auto& line : LogLines())
      if (line.rfind(prefix, 0) == 0 && line.find(part) != std::wstring::npos) return true;
    return false;
  }

  std::vector<std::wstring> Everything() { return fake.files.Tree(L"C:\\"); }

  std::wstring window_log = L"(untouched)";
};

TEST_F(Unattended, SilentRemovalEndsInZeroWithoutAWindowOrAPause) {
  for (const wchar_t* arguments : {L"/S", L"/SILENT", L"/verysilent /SUPPRESSMSGBOXES /NORESTART", L" /s "}) {
    os::fake::FakeOs m;
    InstallOn(m);
    kit::HeadlessPlatform quiet;
    kit::SetPlatform(&quiet);
    EXPECT_EQ(gorvix::RunCommandLine(m.services, arguments, nullptr), std::optional<int>(0)) << arguments;
    EXPECT_FALSE(m.files.FileExists(kViewer)) << arguments;
    EXPECT_FALSE(m.files.FileExists(kNamedShortcut)) << arguments;
    EXPECT_TRUE(m.files.FileExists(kDatabase)) << arguments;
    EXPECT_TRUE(m.files.FileExists(kOtherShortcut)) << arguments;
    EXPECT_FALSE(m.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey)) << arguments;
    EXPECT_FALSE(m.registry.KeyExists(RootKey::kCurrentUser, kProductKey)) << arguments;
    EXPECT_TRUE(m.registry.KeyExists(RootKey::kCurrentUser, L"Software\\Zentrik")) << arguments;
    // No message box, no wait for messages, nothing shown or drawn.
    EXPECT_TRUE(quiet.messages.empty()) << arguments;
    EXPECT_TRUE(quiet.waited_ms.empty()) << arguments;
    EXPECT_EQ(quiet.do_events, 0) << arguments;
    EXPECT_TRUE(quiet.refreshed.empty()) << arguments;
    EXPECT_TRUE(m.clock.sleeps.empty()) << arguments;
    kit::SetPlatform(&platform);
  }
}

TEST_F(Unattended, TheLogHasALineForEveryStep) {
  InstallOn(fake);
  EXPECT_EQ(Start(L"/S /LOG=\"" + kLog + L"\""), std::optional<int>(0));
  std::vector<std::wstring> lines = LogLines();
  std::wostringstream all;
  for (const auto& line : lines) all << line << L"\n";
  SCOPED_TRACE(os::fake::ToUtf8(all.str()));
  EXPECT_TRUE(Logged(L"        ", L"HKEY_CURRENT_USER\\Software\\Zentrik\\Elemora\\dir = " + kDir));
  EXPECT_TRUE(Logged(L"OK      ", kViewer));
  EXPECT_TRUE(Logged(L"        ", kDir));   // the folder stays: the database is in it
  EXPECT_TRUE(Logged(L"        ", L"HKEY_CURRENT_USER\\Software\\Zentrik\\Elemora\\Sdir = " + kGroup + L"\\"));
  EXPECT_TRUE(Logged(L"OK      ", kNamedShortcut));
  EXPECT_TRUE(Logged(L"OK      ", L"HKEY_LOCAL_MACHINE\\" + kUninstallKey));
  EXPECT_TRUE(Logged(L"OK      ", L"HKEY_CURRENT_USER\\" + kProductKey));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), L"OK      " + kSuccess);
  for (const auto& line : lines) EXPECT_NE(line.rfind(L"FAILED", 0), 0u);
}

// Each thing that cannot go, in turn: the run still does the rest, ends in
// 1 and its log names what stayed with the system's reason.
TEST_F(Unattended, EachStepFailingInTurnEndsInOneAndIsLogged) {
  struct Case {
    const char* what;
    std::function<void(os::fake::FakeOs&)> arrange;
    std::wstring logged;   // in the FAILED line
    std::wstring gone;     // still removed
  };
  const Case cases[] = {
      {"viewer", [](os::fake::FakeOs& m) { m.files.FailPath(kViewer); }, kViewer, kNamedShortcut},
      {"shortcut", [](os::fake::FakeOs& m) { m.files.FailPath(kNamedShortcut); }, kNamedShortcut, kViewer},
      {"dir record", [](os::fake::FakeOs& m) { m.registry.PutText(RootKey::kCurrentUser, kProductKey, L"dir", L"C:\\"); },
       L"Software\\Zentrik\\Elemora\\dir", kNamedShortcut},
      {"entry", [](os::fake::FakeOs& m) { m.registry.RefuseRoot(RootKey::kLocalMachine, true); },
       L"HKEY_LOCAL_MACHINE\\" + kUninstallKey, kViewer},
      {"product key", [](os::fake::FakeOs& m) { m.registry.PutKey(RootKey::kCurrentUser, kProductKey + L"\\Sub"); },
       L"HKEY_CURRENT_USER\\" + kProductKey, kViewer},
  };
  for (const Case& c : cases) {
    os::fake::FakeOs m;
    InstallOn(m);
    c.arrange(m);
    EXPECT_EQ(gorvix::RunCommandLine(m.services, L"/S /LOG=" + kLog, nullptr), std::optional<int>(1)) << c.what;
    EXPECT_FALSE(m.files.FileExists(c.gone)) << c.what;
    std::string log = m.files.ReadFile(kLog).value_or("");
    std::wstring text = os::fake::FromUtf8(log);
    size_t failed = text.find(L"FAILED  ");
    ASSERT_NE(failed, std::wstring::npos) << c.what << "\n" << log;
    bool named = false;
    for (size_t at = failed; at != std::wstring::npos; at = text.find(L"FAILED  ", at + 1))
      named = named || text.substr(at, text.find(L"\r\n", at) - at).find(c.logged) != std::wstring::npos;
    EXPECT_TRUE(named) << c.what << "\n" << log;
    // The last line says it did not end well.
    EXPECT_NE(text.find(L"FAILED  Премахването на програмите на Zentrik не завърши успешно"), std::wstring::npos)
        << c.what << "\n" << log;
    EXPECT_TRUE(platform.messages.empty()) << c.what;
  }
}

TEST_F(Unattended, TheSystemsReasonFollowsAFailure) {
  InstallOn(fake);
  fake.registry.PutKey(RootKey::kCurrentUser, kProductKey + L"\\Sub");
  EXPECT_EQ(Start(L"/S /LOG=" + kLog), std::optional<int>(1));
  // Away from Windows the reason is the error number alone.
  EXPECT_TRUE(Logged(L"FAILED  ", L"HKEY_CURRENT_USER\\" + kProductKey + L" (5)"));
}

TEST_F(Unattended, ABadCommandLineRemovesNothingAndEndsInTwo) {
  InstallOn(fake);
  const auto before = Everything();
  // Asked by a person: the reason and the usage in a message box.
  EXPECT_EQ(Start(L"/X"), std::optional<int>(2));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find(L"/X"), std::wstring::npos);
  EXPECT_NE(platform.messages[0].find(L"Gorvix.exe [/S] [/LOG=файл]"), std::wstring::npos);
  // Asked by a deployment tool (a silent switch among them): nothing shown.
  for (const wchar_t* arguments : {L"/S /X", L"/LOG= /S", L"\"/SILENT\" /D=C:\\x", L"/verysilent /LOG=\"open"}) {
    platform.messages.clear();
    EXPECT_EQ(Start(arguments), std::optional<int>(2)) << arguments;
    EXPECT_TRUE(platform.messages.empty()) << arguments;
  }
  EXPECT_EQ(Everything(), before);
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  EXPECT_TRUE(fake.registry.CallsOf("DeleteKey").empty());
}

TEST_F(Unattended, UsageIsShownAndNothingRemoved) {
  InstallOn(fake);
  const auto before = Everything();
  EXPECT_EQ(Start(L"/?"), std::optional<int>(0));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].rfind(L"Gorvix.exe [/S] [/LOG=файл]", 0), 0u);
  EXPECT_EQ(Everything(), before);
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
}

TEST_F(Unattended, WithoutSwitchesTheWindowIsShown) {
  InstallOn(fake);
  const auto before = Everything();
  EXPECT_EQ(Start(L""), std::nullopt);
  EXPECT_EQ(window_log, L"");
  EXPECT_EQ(Start(L"  "), std::nullopt);
  EXPECT_EQ(Everything(), before);
  EXPECT_TRUE(fake.registry.CallsOf("DeleteKey").empty());
  EXPECT_TRUE(platform.messages.empty());

  // /LOG= alone: the window, which logs its steps too.
  EXPECT_EQ(Start(L"/LOG=" + kLog), std::nullopt);
  EXPECT_EQ(window_log, kLog);
  {
    gorvix::Gorvix app(fake.services, window_log);
    kit::Click(app.form1.Label6);
    EXPECT_EQ(app.form1.Label12.caption, kSuccess);
  }
  EXPECT_TRUE(Logged(L"OK      ", kViewer));
  EXPECT_EQ(LogLines().back(), L"OK      " + kSuccess);
}

// An installation made for every user keeps its records in the machine's
// key; without a key of the user's, the uninstaller uses that one.
TEST_F(Unattended, RecordsOnlyInTheMachinesKeyAreUsedAndRemoved) {
  for (bool window : {false, true}) {
    os::fake::FakeOs m;
    ClockPlatform p(m.clock);
    kit::SetPlatform(&p);
    InstallOn(m, RootKey::kLocalMachine);
    m.files.DeleteFile(kDatabase);
    m.files.DeleteFile(kOtherShortcut);
    ASSERT_FALSE(m.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
    if (window) {
      gorvix::Gorvix app(m.services);
      kit::Click(app.form1.Label6);
      EXPECT_EQ(app.form1.Label12.caption, kSuccess);
      EXPECT_EQ(app.form1.reg.caption, kGroup + L"\\");
    } else {
      EXPECT_EQ(gorvix::RunCommandLine(m.services, L"/S", nullptr), std::optional<int>(0));
    }
    EXPECT_FALSE(m.files.FileExists(kViewer)) << window;
    EXPECT_FALSE(m.files.FileExists(kNamedShortcut)) << window;
    EXPECT_FALSE(m.files.FolderExists(kDir)) << window;
    EXPECT_FALSE(m.files.FolderExists(kGroup)) << window;
    EXPECT_FALSE(m.registry.KeyExists(RootKey::kLocalMachine, kProductKey)) << window;
    EXPECT_TRUE(m.registry.KeyExists(RootKey::kLocalMachine, L"SOFTWARE\\Zentrik")) << window;
    EXPECT_FALSE(m.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey)) << window;
    // The machine's key is only read, never opened for writing.
    for (const auto& call : m.registry.CallsOf("OpenKey")) {
      if (call.root == RootKey::kLocalMachine && call.path == kProductKey) {
        EXPECT_EQ(call.access, 0x1u);
      }
    }
    // Nothing was made under the user's key.
    EXPECT_FALSE(m.registry.KeyExists(RootKey::kCurrentUser, kProductKey)) << window;
    EXPECT_TRUE(m.registry.CallsOf("CreateKey").empty()) << window;
    look::ResetMeter();
    kit::SetPlatform(&platform);
  }
}

TEST_F(Unattended, TheUsersRecordsComeFirstAndOnlyTheirKeyGoes) {
  InstallOn(fake);
  fake.registry.PutText(RootKey::kLocalMachine, kProductKey, L"dir", L"C:\\Other");
  fake.registry.PutText(RootKey::kLocalMachine, kProductKey, L"Sdir", L"C:\\Other Group\\");
  fake.files.PutFile(L"C:\\Other\\Table.exe", "MZ");
  EXPECT_EQ(Start(L"/S"), std::optional<int>(0));
  EXPECT_FALSE(fake.files.FileExists(kViewer));
  EXPECT_TRUE(fake.files.FileExists(L"C:\\Other\\Table.exe"));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  EXPECT_EQ(fake.registry.Text(RootKey::kLocalMachine, kProductKey, L"dir"), std::optional<std::wstring>(L"C:\\Other"));
}

TEST_F(Unattended, NoRecordsAnywhereIsSuccessAndTouchesNoFile) {
  InstallOn(fake);
  fake.registry.DeleteKey(RootKey::kCurrentUser, kProductKey);
  const auto before = Everything();
  EXPECT_EQ(Start(L"/S /LOG=" + kLog), std::optional<int>(0));
  for (const auto& c : fake.files.calls()) EXPECT_TRUE(c.op != "DeleteFile" && c.op != "RemoveFolder") << c.op;
  auto after = Everything();
  std::erase(after, kLog);
  EXPECT_EQ(after, before);
  // The entry that started this program has nothing left to find: it goes.
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_EQ(LogLines().back(), L"OK      " + kSuccess);
}

// The installer adds values of its own to the entry; the key goes whole.
TEST_F(Unattended, TheEntryGoesWithEveryValueInIt) {
  InstallOn(fake);
  fake.registry.PutText(RootKey::kLocalMachine, kUninstallKey, L"QuietUninstallString", L"C:\\windows\\Gorvix.exe /S");
  fake.registry.PutDword(RootKey::kLocalMachine, kUninstallKey, L"EstimatedSize", 2345);
  fake.registry.PutText(RootKey::kLocalMachine, kUninstallKey, L"InstallDate", L"20240901");
  fake.registry.PutDword(RootKey::kLocalMachine, kUninstallKey, L"NoModify", 1);
  fake.registry.PutDword(RootKey::kLocalMachine, kUninstallKey, L"NoRepair", 1);
  EXPECT_EQ(Start(L"/S"), std::optional<int>(0));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_TRUE(fake.registry.Values(RootKey::kLocalMachine, kUninstallKey).empty());
}

// ---------------------------------------------------------------- in use

struct InUseCase {
  const char* what;
  std::vector<std::wstring> in_use;
  std::vector<std::wstring> scheduled;
  std::wstring sentence;
};

class InUse : public Unattended {
 protected:
  // The window's run; checks that the completion text is wholly visible.
  void RunWindow(const std::wstring& expected) {
    gorvix::Gorvix app(fake.services);
    kit::Click(app.form1.Label6);
    const kit::Label& l = app.form1.Label12;
    EXPECT_EQ(l.caption, expected);
    EXPECT_TRUE(l.visible);
    EXPECT_EQ(app.form1.Label7.caption, L"Изход");
    EXPECT_LE(gorvix::EstimatedLines(l.caption, l.font.points, l.bounds.width) * gorvix::LineHeight(l.font.points),
              l.bounds.height);
    EXPECT_EQ(l.bounds.Bottom(), 3060 + 1320);
    EXPECT_GE(l.bounds.top, 3060);
    if (l.font.points < 12) {
      EXPECT_EQ(l.bounds.top, app.form1.Image2.bounds.Bottom());
    }
    EXPECT_TRUE(platform.messages.empty());
  }
};

const InUseCase kInUseCases[] = {
    {"viewer", {kViewer}, {kViewer}, L"Table.exe ще бъде изтрита при следващото рестартиране."},
    {"shortcut", {kNamedShortcut}, {kNamedShortcut},
     L"Zentrik® Elemora 2002.lnk ще бъде изтрита при следващото рестартиране."},
    {"both", {kViewer, kNamedShortcut}, {kViewer, kNamedShortcut},
     L"Table.exe и Zentrik® Elemora 2002.lnk ще бъдат изтрити при следващото рестартиране."},
};

class InUseEachWay : public InUse, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(InUseEachWay, GoesAtTheRestartAndTheTextSaysSo) {
  const InUseCase& c = kInUseCases[std::get<0>(GetParam())];
  const bool window = std::get<1>(GetParam());
  InstallOn(fake);
  for (const auto& path : c.in_use) fake.files.SetInUse(path);
  const std::wstring text = SuccessWithRestart(c.sentence);
  if (window) {
    RunWindow(text);
  } else {
    EXPECT_EQ(Start(L"/S /LOG=" + kLog), std::optional<int>(0));
    EXPECT_EQ(LogLines().back(), L"OK      " + text);
    for (const auto& path : c.scheduled) EXPECT_TRUE(Logged(L"OK      ", path));
  }
  EXPECT_EQ(fake.files.scheduled_deletes(), c.scheduled);
  // Counted as removed: the entry and the records go.
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  // The folders hold the database and the other shortcut: they stay, and
  // are not scheduled either.
  EXPECT_TRUE(fake.files.FolderExists(kDir));
  EXPECT_TRUE(fake.files.FolderExists(kGroup));
}

INSTANTIATE_TEST_SUITE_P(ViewerShortcutBoth, InUseEachWay,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(kInUseCases[std::get<0>(info.param)].what) +
                                  (std::get<1>(info.param) ? "_window" : "_silent");
                         });

TEST_F(InUse, AFolderLeftEmptyByTheRestartGoesAfterItsFile) {
  InstallOn(fake);
  fake.files.DeleteFile(kDatabase);
  fake.files.DeleteFile(kOtherShortcut);
  fake.files.SetInUse(kViewer);
  fake.files.SetInUse(kNamedShortcut);
  EXPECT_EQ(Start(L"/S"), std::optional<int>(0));
  EXPECT_EQ(fake.files.scheduled_deletes(), (std::vector<std::wstring>{kViewer, kDir, kNamedShortcut, kGroup}));
}

TEST_F(InUse, AFolderWithASubfolderIsNotScheduled) {
  InstallOn(fake);
  fake.files.DeleteFile(kDatabase);
  fake.files.MakeFolders(kDir + L"\\Extra");
  fake.files.SetInUse(kViewer);
  EXPECT_EQ(Start(L"/S"), std::optional<int>(0));
  EXPECT_EQ(fake.files.scheduled_deletes(), (std::vector<std::wstring>{kViewer}));
}

// Refused for another reason than use (a folder of the viewer's name, no
// rights), or in use and not even schedulable: that is "not removed", and
// nothing is scheduled for it.
TEST_F(InUse, WhatCannotEvenBeScheduledStaysAndKeepsTheRecords) {
  InstallOn(fake);
  fake.files.SetInUse(kViewer);
  fake.files.FailPath(kViewer);   // the restart list cannot take it either
  EXPECT_EQ(Start(L"/S /LOG=" + kLog), std::optional<int>(1));
  EXPECT_TRUE(fake.files.scheduled_deletes().empty());
  EXPECT_TRUE(fake.files.FileExists(kViewer));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_TRUE(fake.registry.Text(RootKey::kCurrentUser, kProductKey, L"dir").has_value());
  EXPECT_TRUE(Logged(L"FAILED  ", kViewer));

  os::fake::FakeOs m;
  InstallOn(m);
  m.files.DeleteFile(kViewer);
  m.files.MakeFolders(kViewer);
  EXPECT_EQ(gorvix::RunCommandLine(m.services, L"/S", nullptr), std::optional<int>(1));
  EXPECT_TRUE(m.files.scheduled_deletes().empty());
  EXPECT_TRUE(m.files.FolderExists(kViewer));
}

TEST_F(InUse, SomethingScheduledBesideAFailureIsNamedInTheFailureText) {
  InstallOn(fake);
  fake.files.SetInUse(kViewer);
  fake.registry.RefuseRoot(RootKey::kLocalMachine, true);
  RunWindow(L"Премахването на програмите на Zentrik не завърши успешно. Не са премахнати: записът в списъка с "
            L"програмите. Table.exe ще бъде изтрита при следващото рестартиране. За край натиснете \"Изход\"");
}

}  // namespace
