// The os contract on the Win32 services (run under Wine on the build
// machine), and what only the real system can show: the shortcut's every
// property, the token's privilege and the wall clock, read back through
// plain Win32 calls.
#include "base/win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "tests/os/os_contract.h"

using os_contract::OsContract;

namespace {

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, buffer);
  std::wstring path = buffer;
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

// Each machine its own names, so that a test never sees another's leftovers.
std::wstring UniqueName(const wchar_t* stem) {
  static int serial = 0;
  return std::wstring(stem) + L" " + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++serial);
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

class SystemMachine : public os_contract::Machine {
 public:
  SystemMachine()
      : scratch_(TempFolder() + L"\\" + UniqueName(L"ElemoraContract")),
        registry_(L"Software\\" + UniqueName(L"ElemoraContract")) {
    CreateDirectoryW(scratch_.c_str(), nullptr);
  }
  ~SystemMachine() override {
    for (auto& [path, handle] : held_) CloseHandle(handle);
    RemoveTree(scratch_);
    RegDeleteTreeW(HKEY_CURRENT_USER, registry_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, registry_.c_str());
  }
  os::Services& services() override { return os::System(); }
  std::wstring Scratch() override { return scratch_; }
  std::wstring RegistryBase() override { return registry_; }
  void HoldOpen(const std::wstring& path) override {
    held_[path] = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  void Release(const std::wstring& path) override {
    CloseHandle(held_[path]);
    held_.erase(path);
  }

 private:
  std::wstring scratch_;
  std::wstring registry_;
  std::map<std::wstring, HANDLE> held_;
};

INSTANTIATE_TEST_SUITE_P(System, OsContract,
                         testing::Values(os_contract::MachineFactory{"the Win32 services", [] {
                           return std::unique_ptr<os_contract::Machine>(new SystemMachine);
                         }}));

struct Link {
  std::wstring path, description, arguments, working, icon;
  int icon_index = -1;
  WORD hot_key = 0;
  int show = 0;
};

// A shortcut file as the shell reads it, through IShellLinkW.
bool LoadLink(const std::wstring& file, Link* out) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* persist = nullptr;
  bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
            SUCCEEDED(persist->Load(file.c_str(), STGM_READ));
  if (ok) {
    wchar_t text[1024] = {};
    link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
    out->path = text;
    text[0] = 0;
    link->GetDescription(text, 1024);
    out->description = text;
    text[0] = 0;
    link->GetArguments(text, 1024);
    out->arguments = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, 1024);
    out->working = text;
    text[0] = 0;
    link->GetIconLocation(text, 1024, &out->icon_index);
    out->icon = text;
    link->GetHotkey(&out->hot_key);
    link->GetShowCmd(&out->show);
  }
  if (persist) persist->Release();
  link->Release();
  return ok;
}

TEST(SystemShell, ShortcutKeepsEveryProperty) {
  SystemMachine machine;
  os::Shell& shell = machine.services().shell;
  os::ShortcutProperties p;
  p.arguments = L"/a \u0431";
  p.description = L"Zentrik\u00ae \u041f\u0435\u0440\u0438\u043e\u0434\u0438\u0447\u043d\u0430 \u0441\u0438\u0441\u0442\u0435\u043c\u0430";
  p.hot_key = L"Ctrl+Alt+E";
  p.icon_location = L"C:\\Programs\\Table.exe,1";
  p.target_path = L"C:\\Programs\\Table.exe";
  p.working_directory = L"C:\\Programs";
  const std::wstring file = machine.Scratch() + L"\\Elemora.lnk";
  ASSERT_TRUE(shell.SaveShortcut(file, p));
  Link back;
  ASSERT_TRUE(LoadLink(file, &back));
  EXPECT_EQ(back.path, p.target_path);
  EXPECT_EQ(back.description, p.description);
  EXPECT_EQ(back.arguments, p.arguments);
  EXPECT_EQ(back.working, p.working_directory);
  EXPECT_EQ(back.icon, L"C:\\Programs\\Table.exe");
  EXPECT_EQ(back.icon_index, 1);
  EXPECT_EQ(back.hot_key, (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'E');
  EXPECT_EQ(back.show, SW_SHOWNORMAL);  // window style 0: the system's default
  p.hot_key.clear();
  ASSERT_TRUE(shell.SaveShortcut(file, p));
  ASSERT_TRUE(LoadLink(file, &back));
  EXPECT_EQ(back.hot_key, 0);
}

// A running program's image: in use, yet it can be read and copied; a file
// held open without sharing cannot even be read.
TEST(SystemFiles, RunningProgramIsInUseButCopies) {
  SystemMachine machine;
  os::Files& files = machine.services().files;
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::wstring exe = module;
  EXPECT_EQ(files.ProgramFolder(), exe.substr(0, exe.rfind(L'\\')));
  EXPECT_TRUE(files.FileInUse(exe));
  const std::wstring copy = machine.Scratch() + L"\\copy.exe";
  EXPECT_EQ(files.CopyFileResult(exe, copy), os::kOk);
  EXPECT_EQ(files.FileSize(copy), files.FileSize(exe));
  machine.HoldOpen(copy);
  EXPECT_NE(files.CopyFileResult(copy, machine.Scratch() + L"\\again.exe"), os::kOk);
  EXPECT_FALSE(files.FileExists(machine.Scratch() + L"\\again.exe"));
}

TEST(SystemPower, ShutdownPrivilegeIsEnabled) {
  os::System().power.EnableShutdownPrivilege();
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  LUID luid{};
  ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid));
  std::vector<BYTE> buffer(4096);
  DWORD size = 0;
  bool enabled = false;
  if (GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
      const auto& p = privileges->Privileges[i];
      if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart) {
        enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
      }
    }
  }
  CloseHandle(token);
  EXPECT_TRUE(enabled);
}

TEST(SystemClock, SecondsAreWallTime) {
  const auto seconds = os::System().clock.NowSeconds();
  const auto now = static_cast<std::int64_t>(std::time(nullptr));
  EXPECT_LE(seconds, now + 2);
  EXPECT_GE(seconds, now - 2);
}

}  // namespace

int main(int argc, char** argv) {
  // The shell's link object lives in a single-threaded apartment, as in the programs.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
