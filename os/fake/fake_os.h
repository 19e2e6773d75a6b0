// In-memory stand-ins for the os services, for host tests. Each behaves the
// way the Win32 call it replaces behaves (case-insensitive names, the same
// failure rules), records what it was asked, and can be told to fail.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "os/os.h"

namespace os::fake {

// Case folding as the file system and the registry see it: ASCII and
// Cyrillic letters; separators '/' become '\'.
std::wstring Fold(const std::wstring& text);
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// ---------------------------------------------------------------- clock

class FakeClock : public Clock {
 public:
  std::int64_t NowSeconds() override { return now_ms_ / 1000; }
  std::int64_t NowMilliseconds() override { return now_ms_; }
  int LocalDate() override { return local_date; }
  int local_date = 20021014;
  // Advances the time at once; the sleep is recorded.
  void Sleep(int ms) override;

  // Moves the time on, running what was scheduled up to the new time.
  void Advance(std::int64_t ms);
  // Runs `task` once the time has moved `ms` milliseconds on from now.
  void At(std::int64_t ms, std::function<void()> task);
  void SetNowMilliseconds(std::int64_t ms) { now_ms_ = ms; }

  std::vector<int> sleeps;

 private:
  std::int64_t now_ms_ = 1'700'000'000'000;
  std::multimap<std::int64_t, std::function<void()>> scheduled_;
};

// ---------------------------------------------------------------- power

class FakePower : public Power {
 public:
  void EnableShutdownPrivilege() override { calls.push_back("EnableShutdownPrivilege"); }
  bool RequestRestart() override {
    calls.push_back("RequestRestart");
    return restart_result;
  }
  std::vector<std::string> calls;
  bool restart_result = true;
};

// ---------------------------------------------------------------- registry

struct RegistryCall {
  std::string op;           // "CreateKey", "OpenKey", "SetValue", "QueryValue", "DeleteValue", "DeleteKey", "CloseKey"
  RootKey root = RootKey::kCurrentUser;  // of the key the call named or the handle it used
  std::wstring path;        // key path, as given or as the handle was opened
  std::uint32_t access = 0; // CreateKey/OpenKey
  KeyHandle key = 0;        // handle used, or the one handed out
  std::wstring name;        // value name
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  long result = 0;
};

struct RegistryValue {
  std::wstring name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

class FakeRegistry : public Registry {
 public:
  long CreateKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) override;
  long OpenKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) override;
  long SetValue(KeyHandle key, const std::wstring& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data) override;
  long QueryValue(KeyHandle key, const std::wstring& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data, std::uint32_t* size) override;
  long DeleteValue(KeyHandle key, const std::wstring& name) override;
  long DeleteKey(RootKey root, const std::wstring& path) override;
  long CloseKey(KeyHandle key) override;

  // Every open or create under `root` fails with `code`; with writes_only,
  // only those asking for more than reading (and every key deletion).
  void RefuseRoot(RootKey root, bool writes_only = false, long code = kAccessDenied);
  // Calls of `op` whose key path (key calls) or value name (value calls)
  // equals `what` fail with `code`; an empty `what` fails every such call.
  void Fail(const std::string& op, const std::wstring& what = L"", long code = kAccessDenied);
  void ClearFailures();

  // Direct access for arranging and checking, not recorded.
  bool KeyExists(RootKey root, const std::wstring& path) const;
  std::optional<RegistryValue> Value(RootKey root, const std::wstring& path, const std::wstring& name) const;
  std::optional<std::wstring> Text(RootKey root, const std::wstring& path, const std::wstring& name) const;
  std::vector<RegistryValue> Values(RootKey root, const std::wstring& path) const;
  void PutKey(RootKey root, const std::wstring& path);
  void PutText(RootKey root, const std::wstring& path, const std::wstring& name, const std::wstring& text);
  void PutDword(RootKey root, const std::wstring& path, const std::wstring& name, std::uint32_t value);

  const std::vector<RegistryCall>& calls() const { return calls_; }
  // Calls of one kind, in order.
  std::vector<RegistryCall> CallsOf(const std::string& op) const;
  void ClearCalls() { calls_.clear(); }
  // Handles handed out and not yet closed.
  int OpenHandles() const;

 private:
  struct Key {
    std::wstring path;  // spelling of its first creation
    std::map<std::wstring, RegistryValue> values;  // by folded name
  };
  struct Handle {
    RootKey root;
    std::wstring folded;
    std::wstring path;
    std::uint32_t access;
  };
  using KeyId = std::pair<std::uint32_t, std::wstring>;
  static KeyId Id(RootKey root, const std::wstring& path);
  long Refusal(const std::string& op, RootKey root, std::uint32_t access, const std::wstring& what) const;
  long Failure(const std::string& op, const std::wstring& what) const;
  long Open(const std::string& op, RootKey root, const std::wstring& path, std::uint32_t access,
            KeyHandle* key, bool create);
  RegistryCall& Record(const std::string& op, KeyHandle key);
  // The key behind an open handle, for a value operation that needs the
  // given access; on any refusal *key is null and the result says why.
  long ValueKey(const std::string& op, KeyHandle handle, std::uint32_t access, const std::wstring& name, Key** key);

  std::map<KeyId, Key> keys_;
  std::map<KeyHandle, Handle> handles_;
  KeyHandle next_handle_ = 0x1000;
  std::map<std::uint32_t, std::pair<bool, long>> refused_;
  std::vector<std::pair<std::pair<std::string, std::wstring>, long>> failures_;
  std::vector<RegistryCall> calls_;
};

// ---------------------------------------------------------------- files

struct FileCall {
  std::string op;       // the Files method's name
  std::wstring path;
  std::wstring path2;   // CopyFile's destination
  bool ok = false;
};

class FakeFiles : public Files {
 public:
  long CopyFileResult(const std::wstring& from, const std::wstring& to) override;
  bool FileInUse(const std::wstring& path) override;
  bool AppendToFile(const std::wstring& path, const std::string& bytes) override;
  bool DeleteAtRestart(const std::wstring& path) override;
  std::optional<std::uint64_t> FileSize(const std::wstring& path) override;
  long DeleteFileResult(const std::wstring& path) override;
  bool CreateFolder(const std::wstring& path) override;
  bool RemoveFolder(const std::wstring& path) override;
  bool FileExists(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  std::optional<std::vector<std::wstring>> Subfolders(const std::wstring& folder) override;
  std::optional<std::vector<std::wstring>> FileNames(const std::wstring& folder) override;
  std::vector<Drive> Drives() override;
  std::wstring CurrentDrive() override { return current_drive_; }
  std::optional<DiskSpace> FreeSpace(const std::wstring& root) override;
  std::wstring ProgramFolder() override { return program_folder_; }
  std::wstring WindowsDirectory() override { return windows_directory_; }

  // A drive "X:\" with its label and free space (none: cannot be queried).
  void AddDrive(const std::wstring& root, const std::wstring& label, std::optional<DiskSpace> space);
  void SetFreeSpace(const std::wstring& root, std::optional<DiskSpace> space);
  void SetCurrentDrive(const std::wstring& root) { current_drive_ = root; }
  void SetProgramFolder(const std::wstring& folder) { program_folder_ = folder; }
  void SetWindowsDirectory(const std::wstring& folder) { windows_directory_ = folder; }

  // Every operation naming this path (either side of a copy; Subfolders of
  // it) fails, as for a locked file or a folder without rights.
  void FailPath(const std::wstring& path);
  void ClearFailures() { failing_.clear(); }
  // A file held open by a running program: copying onto it fails with a
  // sharing violation, deleting it is refused; it can still be scheduled.
  void SetInUse(const std::wstring& path, bool in_use = true);
  // A copy onto this path fails halfway (the disk fills up); the earlier
  // file stays as it was, as the system's copy guarantees.
  void FailCopyMidway(const std::wstring& path) { midway_.push_back(path); }
  // What DeleteAtRestart scheduled, in order.
  const std::vector<std::wstring>& scheduled_deletes() const { return scheduled_; }

  // Arranging and checking, not recorded. MakeFolders and PutFile create
  // missing levels (the drive must exist); WriteFile does not.
  bool MakeFolders(const std::wstring& path);
  bool PutFile(const std::wstring& path, const std::string& contents);
  bool WriteFile(const std::wstring& path, const std::string& contents);
  std::optional<std::string> ReadFile(const std::wstring& path) const;
  // Every folder and file below `folder` (its own entries and deeper), in
  // folded-name order, with their spelling; folders end in '\'.
  std::vector<std::wstring> Tree(const std::wstring& folder) const;

  const std::vector<FileCall>& calls() const { return calls_; }
  std::vector<FileCall> CallsOf(const std::string& op) const;
  void ClearCalls() { calls_.clear(); }

  // The system's spelling of a path: '/' to '\', doubled separators
  // collapsed, no closing separator except at a drive root.
  static std::wstring Clean(const std::wstring& path);
  // The folder that holds `path`; empty for a drive root.
  static std::wstring Parent(const std::wstring& path);

 private:
  struct Node {
    std::wstring path;  // cleaned spelling
    bool folder = false;
    std::string contents;
  };
  bool Failing(const std::wstring& path) const;
  const Node* Find(const std::wstring& path) const;
  bool Record(const std::string& op, const std::wstring& path, const std::wstring& path2, bool ok);
  std::optional<std::vector<std::wstring>> Entries(const std::string& op, const std::wstring& folder, bool folders);

  std::map<std::wstring, Node> nodes_;  // by folded clean path
  std::map<std::wstring, std::pair<std::wstring, std::optional<DiskSpace>>> drives_;  // folded root -> label, space
  std::vector<std::wstring> failing_;
  std::vector<std::wstring> in_use_;
  std::vector<std::wstring> midway_;
  std::vector<std::wstring> scheduled_;
  bool Listed(const std::vector<std::wstring>& list, const std::wstring& path) const;
  std::wstring current_drive_ = L"C:\\";
  std::wstring program_folder_;
  std::wstring windows_directory_;
  std::vector<FileCall> calls_;
};

// ---------------------------------------------------------------- shell

class FakeShell : public Shell {
 public:
  FakeShell(FakeFiles& files, FakeClock& clock) : files_(files), clock_(clock) {}

  SpecialFolder SpecialFolderPath(int csidl) override;
  bool SaveShortcut(const std::wstring& path, const ShortcutProperties& properties) override;
  std::optional<std::wstring> ShortcutTarget(const std::wstring& path) override;
  void AddToRecentDocs(const std::wstring& path) override;

  void SetSpecialFolder(int csidl, const std::wstring& path);
  void SetSpecialFolderStatus(int csidl, SpecialFolder::Status status);
  // When the recent-documents shortcut appears: at once (0), `ms` later on
  // the clock, or never (negative).
  void SetRecentDelay(int ms) { recent_delay_ms_ = ms; }
  // SaveShortcut fails (as when the shell link object cannot be made).
  bool fail_shortcuts = false;

  // The shortcut file's contents as this fake writes them, and back; reads
  // the properties of a shortcut file in `files` (also of a copy of one).
  static std::string Encode(const ShortcutProperties& properties);
  std::optional<ShortcutProperties> ReadShortcut(const std::wstring& path) const;

  std::vector<std::pair<std::wstring, ShortcutProperties>> saved;  // every successful save, in order
  std::vector<std::wstring> recent_docs;                           // AddToRecentDocs arguments
  std::vector<int> folder_queries;                                  // SpecialFolderPath arguments

 private:
  FakeFiles& files_;
  FakeClock& clock_;
  std::map<int, SpecialFolder> folders_;
  int recent_delay_ms_ = 0;
};

// ---------------------------------------------------------------- bundle

// A small machine: drive C:\ (label "SYSTEM", 2 GB free in 4 KB clusters),
// the Windows folder C:\windows with its "System" folder, the installer's
// folder C:\dist, the Start menu C:\windows\Start Menu and the recent
// documents C:\windows\Recent.
struct FakeOs {
  FakeOs();
  FakeOs(const FakeOs&) = delete;
  FakeOs& operator=(const FakeOs&) = delete;

  FakeClock clock;
  FakePower power;
  FakeRegistry registry;
  FakeFiles files;
  FakeShell shell{files, clock};
  Services services{registry, files, shell, power, clock};
};

}  // namespace os::fake
