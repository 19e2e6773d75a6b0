// Where the installer put the product, as the uninstaller's tests arrange it
// in the in-memory system, and the headless machine those tests run on.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "deploy/product.h"
#include "kit/platform.h"
#include "look/meter.h"
#include "os/fake/fake_os.h"

namespace gorvix_test {

inline const std::wstring kProductKey = deploy::kProductKey;
inline const std::wstring kUninstallKey = deploy::kUninstallKey;
inline const std::wstring kDir = L"C:\\Program Files\\Zentrik";
inline const std::wstring kGroup = L"C:\\windows\\Start Menu\\Programs\\Zentrik";
inline const std::wstring kViewer = kDir + L"\\Table.exe";
inline const std::wstring kDatabase = kDir + L"\\vrakel.mdb";
inline const std::wstring kNamedShortcut = kGroup + L"\\" + deploy::kShortcutName;
inline const std::wstring kOtherShortcut = kGroup + L"\\" + deploy::kViewerShortcutName;
inline const std::wstring kSuccess =
    L"Премахването на програмите на Zentrik завърши успешно. За край натиснете \"Изход\"";

// What a normal installation leaves, its records under `root`.
inline void PutInstallation(os::fake::FakeOs& m, os::RootKey root = os::RootKey::kCurrentUser) {
  m.files.PutFile(kViewer, "MZ viewer");
  m.files.PutFile(kDatabase, "Standard Jet DB");
  m.files.PutFile(kNamedShortcut, "lnk");
  m.files.PutFile(kOtherShortcut, "lnk");
  m.files.PutFile(L"C:\\windows\\Gorvix.exe", "MZ uninstaller");
  m.registry.PutText(root, kProductKey, deploy::kFolderRecord, kDir);
  m.registry.PutText(root, kProductKey, deploy::kGroupRecord, kGroup + L"\\");
  m.registry.PutText(os::RootKey::kLocalMachine, kUninstallKey, deploy::entry::kDisplayName, deploy::kEntryName);
  m.registry.PutText(os::RootKey::kLocalMachine, kUninstallKey, deploy::entry::kUninstallString,
                     L"C:\\windows\\Gorvix.exe");
}

// The headless platform, with the fake clock moving on while the program
// waits for messages, and a look at the window at every wait.
struct ClockPlatform : kit::HeadlessPlatform {
  explicit ClockPlatform(os::fake::FakeClock& c) : clock(c) {}
  void WaitProcessingMessages(int ms) override {
    HeadlessPlatform::WaitProcessingMessages(ms);
    if (on_wait) on_wait();
    clock.Advance(ms);
  }
  os::fake::FakeClock& clock;
  std::function<void()> on_wait;
};

// The in-memory system with that platform in place for one test.
class MachineTest : public ::testing::Test {
 protected:
  MachineTest() : platform(fake.clock) { kit::SetPlatform(&platform); }
  ~MachineTest() override {
    kit::SetPlatform(nullptr);
    look::ResetMeter();
  }

  os::fake::FakeOs fake;
  ClockPlatform platform;
};

}  // namespace gorvix_test
