#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>

#include "kit/platform.h"
#include "look/meter.h"
#include "uninstall/caption_fit.h"
#include "os/fake/fake_os.h"
#include "tests/uninstall/installed_product.h"
#include "uninstall/form1.h"
#include "uninstall/gorvix.h"

namespace {

using os::RootKey;
using namespace gorvix_test;

const std::wstring kProgram = L"програмата";
const std::wstring kShortcut = L"препратката";
const std::wstring kEntry = L"записът в списъка с програмите";
const std::wstring kKey = L"ключът в регистратурата";

// The completion text when the items named were not removed.
std::wstring NotRemoved(std::initializer_list<std::wstring> items) {
  std::wstring list;
  for (const auto& item : items) list += (list.empty() ? L"" : L", ") + item;
  return L"Премахването на програмите на Zentrik не завърши успешно. Не са премахнати: " + list +
         L". За край натиснете \"Изход\"";
}

// What the window does with a close request (Alt+F4, the task bar's Close),
// as the backend handles WM_CLOSE: the form's handler, or else the end.
void RequestClose(kit::Form& form) {
  if (form.on_close_request) kit::Dispatch(form.on_close_request);
  else kit::EndProgram(0);
}

constexpr kit::Color kStepDone = kit::Rgb(192, 192, 255);
constexpr kit::Color kStepNow = kit::Rgb(0, 0, 64);

// The records and the entry's values, to see them kept as they were.
std::vector<std::optional<std::wstring>> Records(const os::fake::FakeRegistry& r) {
  return {r.Text(RootKey::kCurrentUser, kProductKey, L"dir"), r.Text(RootKey::kCurrentUser, kProductKey, L"Sdir"),
          r.Text(RootKey::kLocalMachine, kUninstallKey, L"DisplayName"),
          r.Text(RootKey::kLocalMachine, kUninstallKey, L"UninstallString")};
}

class Uninstall : public MachineTest {
 protected:

  void Install() { PutInstallation(fake); }

  // Every file and folder of the machine, to see that nothing else changed.
  std::vector<std::wstring> Everything() { return fake.files.Tree(L"C:\\"); }

  void Start() {
    app.form1.Show();
    fake.files.ClearCalls();
    kit::Click(app.form1.Label6);
  }

  // Paths that the run tried to delete or remove.
  std::vector<std::wstring> Removals() {
    std::vector<std::wstring> out;
    for (const auto& c : fake.files.calls())
      if (c.op == "DeleteFile" || c.op == "RemoveFolder") out.push_back(c.path);
    return out;
  }

  void ExpectDone(const std::wstring& text) {
    gorvix::Form1& f = app.form1;
    EXPECT_EQ(f.Label12.caption, text);
    EXPECT_TRUE(f.Label12.visible);
    EXPECT_EQ(f.Label7.caption, L"Изход");
    EXPECT_TRUE(f.Label7.visible);
    EXPECT_FALSE(f.Label6.visible);
    EXPECT_EQ(f.MeterPos.caption, L"100%");
    EXPECT_EQ(look::Meter().MeterLastValue, 100);
    EXPECT_EQ(f.Label4.fore_color, kStepDone);
    EXPECT_EQ(f.Label5.fore_color, kStepNow);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(fake.registry.OpenHandles(), 0);
    // Wholly visible: the label's own size and place when the text fits it,
    // else a smaller Tahoma bold that starts below the waste bin, whose
    // bottom reaches into the label.
    const kit::Rect& place = f.Label12.bounds;
    const double points = f.Label12.font.points;
    EXPECT_EQ(f.Label12.font.face, L"Tahoma");
    EXPECT_TRUE(f.Label12.font.bold);
    EXPECT_EQ(place.left, 4290);
    EXPECT_EQ(place.width, 4410);
    EXPECT_EQ(place.Bottom(), 3060 + 1320);
    if (points == 12) {
      EXPECT_EQ(place.top, 3060);
    } else {
      EXPECT_EQ(place.top, f.Image2.bounds.Bottom());
    }
    EXPECT_LE(gorvix::EstimatedLines(text, points, place.width) * gorvix::LineHeight(points), place.height) << points;
    if (text == kSuccess) {
      EXPECT_EQ(points, 12);
    }
  }

  gorvix::Gorvix app{fake.services};
};

TEST_F(Uninstall, WindowAsDesigned) {
  gorvix::Form1& f = app.form1;
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Width(), 8775);
  EXPECT_EQ(f.Height(), 5235);
  EXPECT_EQ(f.back_color, kit::Rgb(0, 167, 255));
  EXPECT_TRUE(f.centered);
  EXPECT_EQ(f.Shape3.bounds, (kit::Rect{0, 585, 2835, 4650}));
  EXPECT_EQ(f.Shape2.bounds, (kit::Rect{0, 0, 8775, 600}));
  EXPECT_EQ(f.Label12.caption,
            L"Вие ще премахнете Zentrik© Vrakel 2002® и всички негови компоненти. Натиснете \"Старт\" за потвърждение");
  EXPECT_EQ(f.Label12.alignment, kit::Align::kRight);
  EXPECT_EQ(f.Label12.font, kit::MakeFont(L"Tahoma", 12, true, kit::kCyrillicCharset));
  EXPECT_EQ(f.Label111.caption, L"Zentrik© Morvane® 2002");
  EXPECT_EQ(f.Label6.caption, L"Старт");
  EXPECT_EQ(f.Label6.bounds, (kit::Rect{4215, 4665, 990, 450}));
  EXPECT_EQ(f.Label7.caption, L"Отказ");
  EXPECT_EQ(f.Label7.font.face, L"Arial Black");
  EXPECT_EQ(f.Label7.font.points, 15.75);
  EXPECT_EQ(f.Label4.caption, L"Премахване на ключове в регистратурата");
  EXPECT_EQ(f.Label1.fore_color, kStepNow);
  for (kit::Label* l : {&f.Label2, &f.Label3, &f.Label4, &f.Label5}) EXPECT_EQ(l->fore_color, kStepDone);
  EXPECT_EQ(f.Image2.bounds, (kit::Rect{2970, 705, 2595, 2400}));
  EXPECT_EQ(f.MeterBox.bounds, (kit::Rect{5910, 840, 1935, 1695}));
  EXPECT_FALSE(f.reg.visible);
  EXPECT_FALSE(f.Dir1.visible);
  EXPECT_FALSE(f.MeterPos.visible);
  // Shapes lie behind every other control.
  EXPECT_EQ(f.Controls()[0], &f.Shape1);
}

TEST_F(Uninstall, NormalInstallationLosesViewerNamedShortcutAndKeys) {
  Install();
  std::vector<std::string> seen;
  platform.on_wait = [&] {
    gorvix::Form1& f = app.form1;
    EXPECT_FALSE(f.Label6.visible || f.Label7.visible || f.Label12.visible);
    std::string step = f.Label2.fore_color == kStepNow ? "2" : f.Label3.fore_color == kStepNow ? "3"
                       : f.Label4.fore_color == kStepNow ? "4" : "?";
    std::string entry(f.MeterPos.caption.begin(), f.MeterPos.caption.end());
    entry += " " + step;
    if (seen.empty() || seen.back() != entry) seen.push_back(entry);
  };
  std::int64_t start = fake.clock.NowMilliseconds();
  Start();

  EXPECT_EQ(seen, (std::vector<std::string>{"10% 2", "50% 3", "90% 4"}));
  // Three pauses of one to two seconds each, waiting (not spinning) in slices.
  std::int64_t took = fake.clock.NowMilliseconds() - start;
  EXPECT_GE(took, 3000);
  EXPECT_LE(took, 6000);
  EXPECT_LE(platform.waited_ms.size(), 9u);

  EXPECT_FALSE(fake.files.FileExists(kViewer));
  EXPECT_FALSE(fake.files.FileExists(kNamedShortcut));
  EXPECT_TRUE(fake.files.FileExists(kDatabase));
  EXPECT_TRUE(fake.files.FileExists(kOtherShortcut));
  EXPECT_TRUE(fake.files.FileExists(L"C:\\windows\\Gorvix.exe"));
  EXPECT_TRUE(fake.files.FolderExists(kDir));
  EXPECT_TRUE(fake.files.FolderExists(kGroup));
  EXPECT_EQ(Removals(), (std::vector<std::wstring>{kViewer, kDir, kNamedShortcut, kGroup}));

  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kCurrentUser, L"Software\\Zentrik"));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kLocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  EXPECT_EQ(app.form1.reg.caption, kGroup + L"\\");
  ExpectDone(kSuccess);

  // "Изход" ends the program; "Старт" is gone for good.
  kit::Click(app.form1.Label6);
  EXPECT_THROW(kit::Click(app.form1.Label7), kit::ProgramEnded);
}

TEST_F(Uninstall, EmptyFoldersGoWithTheirLastFile) {
  Install();
  fake.files.DeleteFile(kDatabase);
  fake.files.DeleteFile(kOtherShortcut);
  Start();
  EXPECT_FALSE(fake.files.FolderExists(kDir));
  EXPECT_FALSE(fake.files.FolderExists(kGroup));
  EXPECT_TRUE(fake.files.FolderExists(L"C:\\Program Files"));
  ExpectDone(kSuccess);
}

TEST_F(Uninstall, AFolderWithASubfolderStays) {
  Install();
  fake.files.DeleteFile(kDatabase);
  fake.files.MakeFolders(kDir + L"\\Extra");
  Start();
  EXPECT_FALSE(fake.files.FileExists(kViewer));
  EXPECT_TRUE(fake.files.FolderExists(kDir + L"\\Extra"));
  for (const auto& c : fake.files.CallsOf("RemoveFolder")) EXPECT_NE(c.path, kDir);
  ExpectDone(kSuccess);
}

TEST_F(Uninstall, ASecondRunFindsNothingAndStillFinishes) {
  Install();
  Start();
  auto after_first = Everything();
  look::ResetMeter();
  gorvix::Form1 again(fake.services);
  again.Show();
  fake.files.ClearCalls();
  fake.registry.ClearCalls();
  kit::Click(again.Label6);
  EXPECT_TRUE(Removals().empty());
  EXPECT_EQ(Everything(), after_first);
  for (const auto& c : fake.registry.CallsOf("DeleteKey")) EXPECT_EQ(c.result, os::kFileNotFound);
  EXPECT_EQ(again.Label12.caption, kSuccess);
  EXPECT_EQ(again.MeterPos.caption, L"100%");
  EXPECT_EQ(again.Label7.caption, L"Изход");
}

TEST_F(Uninstall, WithoutRightsToTheMachineKeyTheUserKeyStillGoes) {
  Install();
  fake.registry.RefuseRoot(RootKey::kLocalMachine);
  Start();
  EXPECT_TRUE(fake.registry.Text(RootKey::kLocalMachine, kUninstallKey, L"UninstallString").has_value());
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  EXPECT_FALSE(fake.files.FileExists(kViewer));
  // No message box, but no claim of success either.
  ExpectDone(NotRemoved({kEntry}));
}

TEST_F(Uninstall, FailuresAreNamedInTheCompletionText) {
  Install();
  fake.files.FailPath(kNamedShortcut);
  fake.registry.PutKey(RootKey::kCurrentUser, kProductKey + L"\\Sub");   // a subkey keeps the key
  Start();
  EXPECT_FALSE(fake.files.FileExists(kViewer));
  EXPECT_TRUE(fake.files.FileExists(kNamedShortcut));
  ExpectDone(NotRemoved({kShortcut, kEntry, kKey}));

  // Programs gone, but the user's key cannot go: the entry does, the key is named.
  look::ResetMeter();
  fake.files.ClearFailures();
  gorvix::Form1 again(fake.services);
  again.Show();
  kit::Click(again.Label6);
  EXPECT_FALSE(fake.files.FileExists(kNamedShortcut));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_EQ(again.Label12.caption, NotRemoved({kKey}));
}

TEST_F(Uninstall, TheFailureTextNamingAllFourIsWhollyVisible) {
  Install();
  fake.files.FailPath(kViewer);
  fake.files.FailPath(kNamedShortcut);
  Start();
  ExpectDone(NotRemoved({kProgram, kShortcut, kEntry, kKey}));
  // It could not have been shown at the label's own size.
  const std::wstring& text = app.form1.Label12.caption;
  EXPECT_GT(gorvix::EstimatedLines(text, 12, 4410) * gorvix::LineHeight(12), 1320);
  EXPECT_LT(app.form1.Label12.font.points, 12);
  EXPECT_GE(app.form1.Label12.font.points, 8.25);
}

TEST_F(Uninstall, ViewerAlreadyGoneIsNoFailure) {
  Install();
  fake.files.DeleteFile(kViewer);
  fake.files.DeleteFile(kNamedShortcut);
  fake.registry.Fail("DeleteValue", L"DisplayName", os::kFileNotFound);
  Start();
  ExpectDone(kSuccess);
}

TEST_F(Uninstall, MissingRecordsTouchNoFile) {
  Install();
  fake.registry.DeleteKey(RootKey::kCurrentUser, kProductKey);
  fake.registry.PutKey(RootKey::kCurrentUser, kProductKey);
  auto before = Everything();
  Start();
  EXPECT_TRUE(Removals().empty());
  EXPECT_EQ(Everything(), before);
  // The viewer and the shortcut are still there: no success, and the entry
  // stays to run the uninstaller again.
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  ExpectDone(NotRemoved({kProgram, kShortcut, kEntry, kKey}));
}

// A record that is missing, empty or refused while the user's key exists
// leaves what it should have found: that is reported, and the entry and
// both records stay as they were. The other record's removal still happens.
TEST_F(Uninstall, AnUnusableRecordIsReportedAndKeepsTheEntryAndTheRecords) {
  struct Case {
    const wchar_t* name;
    std::optional<std::wstring> value;   // nothing: the value is deleted
    std::wstring item;
    std::wstring kept, removed;
  };
  const Case cases[] = {
      {L"dir", std::nullopt, kProgram, kViewer, kNamedShortcut},
      {L"dir", L"", kProgram, kViewer, kNamedShortcut},
      {L"dir", L"C:\\", kProgram, kViewer, kNamedShortcut},
      {L"Sdir", std::nullopt, kShortcut, kNamedShortcut, kViewer},
      {L"Sdir", L"", kShortcut, kNamedShortcut, kViewer},
      {L"Sdir", L"\\\\server\\share\\", kShortcut, kNamedShortcut, kViewer},
  };
  for (const Case& c : cases) {
    const std::wstring label = std::wstring(c.name) + L"=" + c.value.value_or(L"(none)");
    os::fake::FakeOs machine;
    ClockPlatform p(machine.clock);
    kit::SetPlatform(&p);
    PutInstallation(machine);
    if (c.value) {
      machine.registry.PutText(RootKey::kCurrentUser, kProductKey, c.name, *c.value);
    } else {
      os::KeyHandle key = 0;
      machine.registry.OpenKey(RootKey::kCurrentUser, kProductKey, 0x3F, &key);
      machine.registry.DeleteValue(key, c.name);
      machine.registry.CloseKey(key);
    }
    auto records = Records(machine.registry);
    {
      gorvix::Form1 form(machine.services);
      form.Show();
      kit::Click(form.Label6);
      EXPECT_EQ(form.Label12.caption, NotRemoved({c.item, kEntry, kKey})) << label;
      EXPECT_EQ(form.Label7.caption, L"Изход") << label;
    }
    EXPECT_TRUE(machine.files.FileExists(c.kept)) << label;
    EXPECT_FALSE(machine.files.FileExists(c.removed)) << label;
    EXPECT_EQ(Records(machine.registry), records) << label;
    EXPECT_TRUE(machine.registry.CallsOf("DeleteKey").empty()) << label;
    look::ResetMeter();
    kit::SetPlatform(&platform);
  }
}

// When the viewer or the shortcut cannot be deleted, the records and the
// entry stay; the entry's second run finds the rest already gone and ends
// in success, taking the entry and the key with it.
TEST_F(Uninstall, WhatStaysKeepsTheEntryForASecondRunThatFinishes) {
  for (const std::wstring& stuck : {kViewer, kNamedShortcut}) {
    os::fake::FakeOs machine;
    ClockPlatform p(machine.clock);
    kit::SetPlatform(&p);
    PutInstallation(machine);
    machine.files.FailPath(stuck);
    auto records = Records(machine.registry);
    {
      gorvix::Form1 form(machine.services);
      form.Show();
      kit::Click(form.Label6);
      EXPECT_EQ(form.Label12.caption, NotRemoved({stuck == kViewer ? kProgram : kShortcut, kEntry, kKey}));
    }
    EXPECT_TRUE(machine.files.FileExists(stuck));
    EXPECT_FALSE(machine.files.FileExists(stuck == kViewer ? kNamedShortcut : kViewer));
    EXPECT_EQ(Records(machine.registry), records);

    look::ResetMeter();
    machine.files.ClearFailures();
    {
      gorvix::Form1 again(machine.services);
      again.Show();
      kit::Click(again.Label6);
      EXPECT_EQ(again.Label12.caption, kSuccess);
    }
    EXPECT_FALSE(machine.files.FileExists(kViewer));
    EXPECT_FALSE(machine.files.FileExists(kNamedShortcut));
    EXPECT_TRUE(machine.files.FileExists(kDatabase));
    EXPECT_FALSE(machine.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
    EXPECT_FALSE(machine.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
    look::ResetMeter();
    kit::SetPlatform(&platform);
  }
}

// Only "file not found" and "path not found" mean already gone: a folder
// that bears the viewer's or the shortcut's name is something that stays.
TEST_F(Uninstall, AFolderNamedLikeTheViewerOrTheShortcutIsNotRemoved) {
  for (const std::wstring& path : {kViewer, kNamedShortcut}) {
    os::fake::FakeOs machine;
    ClockPlatform p(machine.clock);
    kit::SetPlatform(&p);
    PutInstallation(machine);
    machine.files.DeleteFile(path);
    machine.files.MakeFolders(path);
    auto records = Records(machine.registry);
    {
      gorvix::Form1 form(machine.services);
      form.Show();
      kit::Click(form.Label6);
      EXPECT_EQ(form.Label12.caption, NotRemoved({path == kViewer ? kProgram : kShortcut, kEntry, kKey}));
    }
    EXPECT_TRUE(machine.files.FolderExists(path));
    EXPECT_EQ(Records(machine.registry), records);
    look::ResetMeter();
    kit::SetPlatform(&platform);
  }
}

TEST_F(Uninstall, FoldersAlreadyGoneAreNoFailure) {
  Install();
  for (const std::wstring& file : {kViewer, kDatabase, kNamedShortcut, kOtherShortcut}) fake.files.DeleteFile(file);
  fake.files.RemoveFolder(kDir);
  fake.files.RemoveFolder(kGroup);
  Start();
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  ExpectDone(kSuccess);
}

TEST_F(Uninstall, HostileRecordsTouchNoFile) {
  const std::wstring hostile[] = {
      L"C:\\", L"C:", L"\\", L"Zentrik", L"\\Program Files\\Zentrik", L"C:\\windows", L"c:\\WINDOWS\\",
      L"C:\\windows\\System", L"C:\\Program Files\\Zentrik\\..\\..\\windows", L"C:\\Program Files\\Zentrik\\..",
      L"C:\\windows.", L"\\\\server\\share", L"C:/Program Files/Zentrik", L"C:\\Program Files\\Zentrik\\.",
  };
  for (const std::wstring& value : hostile) {
    os::fake::FakeOs machine;
    ClockPlatform p(machine.clock);
    kit::SetPlatform(&p);
    machine.files.PutFile(L"C:\\Table.exe", "x");
    machine.files.PutFile(L"C:\\windows\\Table.exe", "x");
    machine.files.PutFile(L"C:\\windows\\System\\Table.exe", "x");
    machine.files.PutFile(L"C:\\Zentrik® Elemora 2002.lnk", "x");
    machine.files.PutFile(L"C:\\windows\\Zentrik® Elemora 2002.lnk", "x");
    machine.files.MakeFolders(L"C:\\Program Files\\Zentrik");
    machine.registry.PutText(RootKey::kCurrentUser, kProductKey, L"dir", value);
    machine.registry.PutText(RootKey::kCurrentUser, kProductKey, L"Sdir", value);
    auto before = machine.files.Tree(L"C:\\");
    {
      gorvix::Form1 form(machine.services);
      form.Show();
      kit::Click(form.Label6);
      EXPECT_EQ(form.Label12.caption, NotRemoved({kProgram, kShortcut, kKey})) << value;
    }
    for (const auto& c : machine.files.calls())
      EXPECT_TRUE(c.op != "DeleteFile" && c.op != "RemoveFolder") << c.op << " " << value;
    EXPECT_EQ(machine.files.Tree(L"C:\\"), before) << value;
    kit::SetPlatform(&platform);
  }
}

TEST_F(Uninstall, ANumberForAFolderTouchesNoFile) {
  Install();
  fake.registry.PutDword(RootKey::kCurrentUser, kProductKey, L"dir", 0);
  fake.registry.PutText(RootKey::kCurrentUser, kProductKey, L"Sdir", L"");
  Start();
  EXPECT_TRUE(Removals().empty());
  EXPECT_EQ(app.form1.Label12.caption, NotRemoved({kProgram, kShortcut, kEntry, kKey}));
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kLocalMachine, kUninstallKey));
}

TEST_F(Uninstall, AGroupRecordedWithoutItsClosingSeparatorStaysInside) {
  Install();
  const std::wstring beside = L"C:\\windows\\Start Menu\\Programs\\ZentrikZentrik® Elemora 2002.lnk";
  fake.files.PutFile(beside, "someone else's");
  fake.registry.PutText(RootKey::kCurrentUser, kProductKey, L"Sdir", kGroup);
  Start();
  EXPECT_TRUE(fake.files.FileExists(beside));
  EXPECT_FALSE(fake.files.FileExists(kNamedShortcut));
  ExpectDone(kSuccess);
}

TEST_F(Uninstall, CancelInTheWaitingStateRemovesNothing) {
  Install();
  auto before = Everything();
  fake.registry.ClearCalls();
  EXPECT_THROW(kit::Click(app.form1.Label7), kit::ProgramEnded);
  // A close request (Alt+F4) there is "Отказ" too.
  EXPECT_THROW(RequestClose(app.form1), kit::ProgramEnded);
  EXPECT_EQ(Everything(), before);
  EXPECT_TRUE(fake.registry.CallsOf("DeleteKey").empty());
  EXPECT_TRUE(fake.registry.CallsOf("DeleteValue").empty());
  EXPECT_TRUE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
}

// Alt+F4 or the task bar's Close during a pause would end the program with
// the product half removed; they wait for the completion text, where a close
// request is "Изход".
TEST_F(Uninstall, ACloseRequestDoesNotStopTheRemoval) {
  Install();
  int requests = 0;
  platform.on_wait = [&] {
    ++requests;
    RequestClose(app.form1);
  };
  Start();
  EXPECT_GE(requests, 3);
  EXPECT_FALSE(fake.files.FileExists(kViewer));
  EXPECT_FALSE(fake.files.FileExists(kNamedShortcut));
  EXPECT_FALSE(fake.registry.KeyExists(RootKey::kCurrentUser, kProductKey));
  ExpectDone(kSuccess);
  platform.on_wait = nullptr;
  EXPECT_THROW(RequestClose(app.form1), kit::ProgramEnded);
}

TEST_F(Uninstall, PausesLastOneToTwoSecondsAndSurviveAClockPutBack) {
  Install();
  fake.clock.SetNowMilliseconds(1'700'000'000'300);
  Start();
  // 700 ms to the next second, then a whole one: each pause ends as the
  // second after next begins.
  ASSERT_GE(platform.waited_ms.size(), 2u);
  EXPECT_EQ(platform.waited_ms[0], 700);
  EXPECT_EQ(platform.waited_ms[1], 1000);
  for (int ms : platform.waited_ms) EXPECT_GT(ms, 0);

  // The clock put back by an hour mid-pause ends the pause instead of
  // holding the window for the hour.
  look::ResetMeter();
  Install();
  gorvix::Form1 again(fake.services);
  again.Show();
  platform.waited_ms.clear();
  bool moved = false;
  platform.on_wait = [&] {
    if (!moved) fake.clock.SetNowMilliseconds(fake.clock.NowMilliseconds() - 3'600'000);
    moved = true;
  };
  kit::Click(again.Label6);
  EXPECT_LE(platform.waited_ms.size(), 8u);
  EXPECT_EQ(again.Label7.caption, L"Изход");
}

}  // namespace
