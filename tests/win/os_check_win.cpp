// Exercises every os service against the real system, the way the programs
// use them, and reads the results back through the plain Win32 calls; and
// the C runtime's number conversions that the database reader builds on.
#include "base/win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "jet/value.h"
#include "os/os.h"
#include "base/unique_handle.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what);
  }
}

std::string Utf8(const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

void Show(const char* what, const std::wstring& text) { std::printf("  %s: [%s]\n", what, Utf8(text).c_str()); }

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Wine keeps a shortcut's target and the recent-documents path in the ANSI
// code page only; a path outside it cannot survive there (Windows keeps both).
bool WineLosesPath(const std::wstring& path) {
  if (!UnderWine()) return false;
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
  return lossy != FALSE;
}

int skipped = 0;

std::wstring Temp() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, buffer);
  std::wstring path = buffer;
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

struct Link {
  std::wstring path, description, arguments, working, icon;
  int icon_index = -1;
  WORD hot_key = 0;
  int show = 0;
};

// Reads a shortcut file back through IShellLinkW.
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

void CheckRegistry(os::Registry& reg) {
  const std::wstring path = L"Software\\ElemoraCheck\\Зентрик© Елемора";
  os::KeyHandle key = 0;
  Check(reg.CreateKey(os::RootKey::kCurrentUser, path, 0x3F, &key) == os::kOk && key != 0, "registry: create key");
  const std::wstring text = L"C:\\Програми\\Zentrik® 2002";
  Check(reg.SetValue(key, L"dir", os::kRegSz, os::TextBytes(text)) == os::kOk, "registry: write REG_SZ");
  Check(reg.SetValue(key, L"n", os::kRegDword, {0x78, 0x56, 0x34, 0x12}) == os::kOk, "registry: write REG_DWORD");
  Check(reg.CloseKey(key) == os::kOk, "registry: close");

  os::ScopedKey read(reg);
  Check(reg.OpenKey(os::RootKey::kCurrentUser, L"SOFTWARE\\ELEMORACHECK\\зентрик© елемора", 0x20019, read.Put()) ==
            os::kOk,
        "registry: open in other letter case");
  std::uint32_t type = 0, size = 0;
  Check(reg.QueryValue(read.get(), L"DIR", &type, nullptr, &size) == os::kOk && type == os::kRegSz &&
            size == (text.size() + 1) * 2,
        "registry: size of REG_SZ");
  std::vector<std::uint8_t> data;
  Check(reg.QueryValue(read.get(), L"dir", &type, &data, &size) == os::kOk && os::BytesText(data) == text,
        "registry: REG_SZ reads back");
  Check(reg.QueryValue(read.get(), L"n", &type, &data, &size) == os::kOk && type == os::kRegDword &&
            data == std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12},
        "registry: REG_DWORD reads back");
  Check(reg.QueryValue(read.get(), L"none", &type, &data, &size) == os::kFileNotFound, "registry: missing value");
  Check(reg.SetValue(read.get(), L"x", os::kRegSz, os::TextBytes(L"x")) == os::kAccessDenied,
        "registry: read-only handle refuses writes");
  read.Reset();

  Check(reg.OpenKey(os::RootKey::kCurrentUser, L"Software\\ElemoraCheck\\none", 0x3F, &key) == os::kFileNotFound,
        "registry: open missing key");
  Check(reg.SetValue(0, L"x", os::kRegSz, os::TextBytes(L"x")) != os::kOk, "registry: write on no key fails");
  Check(reg.CloseKey(0) != os::kOk, "registry: close of no key fails");

  os::ScopedKey write(reg);
  reg.OpenKey(os::RootKey::kCurrentUser, path, 0x3F, write.Put());
  Check(reg.DeleteValue(write.get(), L"dir") == os::kOk, "registry: delete value");
  Check(reg.DeleteValue(write.get(), L"dir") == os::kFileNotFound, "registry: delete missing value");
  write.Reset();
  Check(reg.DeleteKey(os::RootKey::kCurrentUser, L"Software\\ElemoraCheck") != os::kOk,
        "registry: key with subkeys is kept");
  Check(reg.DeleteKey(os::RootKey::kCurrentUser, path) == os::kOk, "registry: delete key");
  Check(reg.DeleteKey(os::RootKey::kCurrentUser, L"Software\\ElemoraCheck") == os::kOk, "registry: delete parent");
  Check(reg.OpenKey(os::RootKey::kCurrentUser, path, 0x1, &key) == os::kFileNotFound, "registry: key is gone");
}

int FilesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

// A copy that cannot finish leaves the earlier file as it was and nothing
// beside it; a file held open reads as in use.
void CheckSafeCopies(os::Files& files, const std::wstring& folder, const std::wstring& exe, const std::wstring& copy) {
  const auto size = files.FileSize(copy);
  Check(size && size == files.FileSize(exe) && *size > 0, "files: size");
  const std::wstring locked = folder + L"\\locked.bin";
  Check(files.AppendToFile(locked, "12345") && files.AppendToFile(locked, "678"), "files: append");
  Check(files.FileSize(locked) == 8u, "files: appended bytes add up");
  const int before = FilesIn(folder);
  HANDLE hold = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(hold != INVALID_HANDLE_VALUE, "files: hold a file open");
  Check(files.FileInUse(locked) && !files.FileInUse(copy), "files: in use while held open");
  Check(files.FileInUse(exe), "files: a running program is in use");
  Check(files.CopyFileResult(locked, copy) != 0, "files: copy from a file held open fails");
  Check(files.CopyFileResult(exe, locked) != 0, "files: copy onto a file held open fails");
  CloseHandle(hold);
  Check(files.FileSize(copy) == size && files.FileSize(locked) == 8u, "files: failed copies leave both files as they were");
  Check(FilesIn(folder) == before, "files: failed copies leave no temporary file");
  Check(!files.FileInUse(locked), "files: no longer in use once closed");
  Check(files.DeleteAtRestart(locked), "files: delete at restart");
  Check(files.DeleteFile(locked), "files: delete scheduled file now");
}

void CheckFiles(os::Files& files, const std::wstring& base) {
  const std::wstring exe = files.ProgramFolder() + L"\\os_check.exe";
  Check(files.FileExists(exe), "files: program folder holds the program");
  Check(files.CreateFolder(base), "files: create folder");
  Check(!files.CreateFolder(base), "files: create existing folder fails");
  Check(!files.CreateFolder(base + L"\\a\\b"), "files: create without parent fails");
  Check(files.CreateFolder(base + L"\\Под папка"), "files: create Cyrillic folder");
  Check(files.FolderExists(base + L"\\под папка"), "files: folder exists");
  const std::wstring copy = base + L"\\Под папка\\Таблица.exe";
  Check(files.CopyFile(exe, copy), "files: copy");
  Check(files.CopyFile(exe, copy), "files: copy replaces");
  Check(files.FileExists(copy) && !files.FolderExists(copy), "files: file exists");
  Check(!files.CopyFile(base + L"\\missing", base + L"\\x"), "files: copy of missing source fails");
  Check(!files.CopyFile(exe, base + L"\\missing\\x"), "files: copy into missing folder fails");
  CheckSafeCopies(files, base + L"\\Под папка", exe, copy);
  auto subfolders = files.Subfolders(base);
  Check(subfolders && subfolders->size() == 1 && (*subfolders)[0] == L"Под папка", "files: subfolders");
  Check(!files.Subfolders(base + L"\\missing"), "files: subfolders of missing folder");
  auto names = files.FileNames(base + L"\\Под папка");
  Check(names && names->size() == 1 && (*names)[0] == L"Таблица.exe", "files: file names");
  names = files.FileNames(base);
  Check(names && names->empty(), "files: file names leave out folders");
  Check(!files.FileNames(base + L"\\missing"), "files: file names of missing folder");
  Check(!files.RemoveFolder(base + L"\\Под папка"), "files: non-empty folder is kept");
  Check(files.DeleteFile(copy), "files: delete");
  Check(!files.DeleteFile(copy), "files: delete missing fails");
  Check(files.RemoveFolder(base + L"\\Под папка"), "files: remove empty folder");

  bool has_c = false;
  for (const auto& drive : files.Drives()) has_c = has_c || drive.root == L"C:\\";
  Check(has_c, "files: drive C:\\ listed");
  Check(files.CurrentDrive().size() == 3, "files: current drive");
  auto space = files.FreeSpace(L"C:\\");
  Check(space && space->free_clusters > 0 && space->total_clusters >= space->free_clusters &&
            space->bytes_per_sector > 0,
        "files: free space");
  Check(!files.FreeSpace(L"Q:\\nonexistent\\"), "files: free space of missing root");
  std::wstring windows = files.WindowsDirectory();
  Check(!windows.empty() && windows.back() != L'\\' && files.FolderExists(windows), "files: Windows folder");
}

void CheckShell(os::Shell& shell, os::Files& files, const std::wstring& cyrillic_base, const std::wstring& plain_base) {
  const std::wstring& base = cyrillic_base;
  auto start = shell.SpecialFolderPath(os::kCsidlStartMenu);
  Check(start.status == os::SpecialFolder::Status::kOk && files.FolderExists(start.path) &&
            start.path.back() != L'\\',
        "shell: Start menu folder");
  auto recent = shell.SpecialFolderPath(os::kCsidlRecent);
  Check(recent.status == os::SpecialFolder::Status::kOk, "shell: recent folder");
  Check(shell.SpecialFolderPath(0x7F).status == os::SpecialFolder::Status::kUnknown, "shell: unknown folder");

  os::ShortcutProperties p;
  p.arguments = L"/a б";
  p.description = L"Zentrik® Периодична Система на елементите";
  p.hot_key = L"Ctrl+Alt+E";
  p.icon_location = L"C:\\Programs\\Table.exe,1";
  p.target_path = L"C:\\Programs\\Table.exe";
  p.window_style = 0;
  p.working_directory = L"C:\\Programs";
  const std::wstring link = base + L"\\Zentrik® Elemora 2002.lnk";
  Check(shell.SaveShortcut(link, p), "shell: save shortcut");
  Link back;
  Check(LoadLink(link, &back), "shell: shortcut loads");
  Check(back.path == p.target_path, "shell: shortcut target");
  if (back.path != p.target_path) Show("target read back", back.path);
  Check(back.description == p.description, "shell: shortcut description");
  Check(back.arguments == p.arguments, "shell: shortcut arguments");
  Check(back.working == p.working_directory, "shell: shortcut working folder");
  Check(back.icon == L"C:\\Programs\\Table.exe" && back.icon_index == 1, "shell: shortcut icon");
  Check(back.hot_key == ((HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'E'), "shell: shortcut hot key");
  Check(back.show == SW_SHOWNORMAL, "shell: shortcut window style 0 leaves a normal window");
  p.target_path = L"C:\\Програми\\Table.exe";
  p.hot_key.clear();
  if (WineLosesPath(p.target_path)) {
    p.target_path = L"C:\\Other\\Table.exe";
    ++skipped;
  }
  Check(shell.SaveShortcut(link, p) && LoadLink(link, &back) && back.path == p.target_path && back.hot_key == 0,
        "shell: shortcut rewritten");
  Check(!shell.SaveShortcut(base + L"\\missing\\x.lnk", p), "shell: shortcut into missing folder fails");
  files.DeleteFile(link);

  // The recent-documents entry, for a plain path and for one with Cyrillic.
  files.CreateFolder(plain_base);
  for (const std::wstring& program : {plain_base + L"\\ElemoraCheck.exe", base + L"\\Проверка Елемора.exe"}) {
    if (WineLosesPath(program)) {
      ++skipped;
      continue;
    }
    const std::wstring name = program.substr(program.rfind(L'\\') + 1);
    files.CopyFile(files.ProgramFolder() + L"\\os_check.exe", program);
    shell.AddToRecentDocs(program);
    const std::wstring entry = recent.path + L"\\" + name + L".lnk";
    bool found = false;
    for (int i = 0; i < 40 && !found; ++i) {
      found = files.FileExists(entry);
      if (!found) Sleep(50);
    }
    Check(found, "shell: recent-documents entry written");
    Link target;
    bool loaded = found && LoadLink(entry, &target);
    Check(loaded && lstrcmpiW(target.path.c_str(), program.c_str()) == 0,
          "shell: recent-documents entry points at the file");
    if (loaded && lstrcmpiW(target.path.c_str(), program.c_str()) != 0) Show("recent entry target", target.path);
    if (!found) Show("recent entry missing", entry);
    files.DeleteFile(entry);
    files.DeleteFile(program);
  }
  files.RemoveFolder(plain_base);
}

void CheckPower(os::Power& power) {
  power.EnableShutdownPrivilege();
  HANDLE token = nullptr;
  bool enabled = false;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    LUID luid{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid);
    std::vector<BYTE> buffer(4096);
    DWORD size = 0;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
      auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
      for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const auto& p = privileges->Privileges[i];
        if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart) {
          enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
      }
    }
    CloseHandle(token);
  }
  Check(enabled, "power: shutdown privilege enabled");
}

void CheckClock(os::Clock& clock) {
  auto before = clock.NowMilliseconds();
  clock.Sleep(120);
  auto elapsed = clock.NowMilliseconds() - before;
  Check(elapsed >= 100 && elapsed < 2000, "clock: sleep");
  auto seconds = clock.NowSeconds();
  auto now = static_cast<std::int64_t>(std::time(nullptr));
  Check(seconds >= now - 2 && seconds <= now + 2, "clock: seconds are wall time");
}

}  // namespace

// The reader writes Singles and Doubles with the runtime's printf and reads
// them back with its strtod; the host tests hold it to std::to_chars, this
// holds the Windows runtime to the same texts.
void CheckNumberText() {
  struct Case {
    double value;
    const char* text;
  };
  const Case doubles[] = {{0.1, "0.1"},
                          {1.0 / 3, "0.3333333333333333"},
                          {6.941, "6.941"},
                          {1e21, "1e+21"},
                          // a whole number written out shows all its exact digits
                          {123456789012345680000.0, "123456789012345683968"},
                          {9007199254740993.0, "9007199254740992"},
                          {4.9406564584124654e-324, "5e-324"},
                          {2.2250738585072014e-308, "2.2250738585072014e-308"},
                          {1.7976931348623157e308, "1.7976931348623157e+308"},
                          {-0.000123, "-0.000123"}};
  for (const Case& c : doubles) Check(jet::ShortestText(c.value) == c.text, c.text);
  Check(jet::ShortestText(0.1f) == "0.1", "Single 0.1");
  Check(jet::ShortestText(1.4e-45f) == "1e-45", "Single 1e-45");
  Check(jet::ShortestText(16777217.0f) == "16777216", "Single 16777216");
  Check(jet::ShortestText(3.4028235e38f) == "3.4028235e+38", "Single 3.4028235e+38");
}

int wmain() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  os::Services& system = os::System();
  const std::wstring base = Temp() + L"\\Елемора проверка " + std::to_wstring(GetCurrentProcessId());
  CheckRegistry(system.registry);
  CheckFiles(system.files, base);
  CheckShell(system.shell, system.files, base, Temp() + L"\\ElemoraCheck " + std::to_wstring(GetCurrentProcessId()));
  CheckPower(system.power);
  CheckClock(system.clock);
  CheckNumberText();
  system.files.RemoveFolder(base);
  if (skipped) std::printf("%d skipped: Cyrillic paths outside this system's ANSI code page under Wine\n", skipped);
  std::printf("%d passed, %d failed\n", passed, failed);
  CoUninitialize();
  return failed == 0 ? 0 : 1;
}
