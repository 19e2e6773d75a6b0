// The removal itself: the viewer, the named shortcut, their folders when
// empty, the uninstall entry and the product key. The window runs its steps
// with the dial, the step list and a pause between them; an unattended run
// (Gorvix.exe /S) runs the same steps straight through. Every step carries on
// after a failure and remembers what stays, for the completion text, the log
// and the exit code.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "deploy/log.h"
#include "os/os.h"

namespace gorvix {

class Removal {
 public:
  // What the window shows of the removal's work. Both may stay empty.
  struct Hooks {
    // Each registry value read, as text (the window's hidden `reg`).
    std::function<void(const std::wstring&)> value_read;
    // How many subfolders a folder has, nothing when it cannot be listed;
    // the window asks its folder list. Empty: the file system is asked.
    std::function<std::optional<size_t>(const std::wstring&)> subfolders;
  };

  static constexpr int kSteps = 3;

  // A log with no file keeps none.
  Removal(os::Services& os, deploy::Log& log, Hooks hooks = {});

  // Runs the steps in order; `before_step(i)`, when given, runs before step
  // i (0, 1, 2), for the window to pause and show where it is.
  void Run(const std::function<void(int)>& before_step = {});

  void RemovePrograms();
  void RemoveShortcut();
  void RemoveRegistryKeys();

  // Nothing stays that should have gone (what is only scheduled for the
  // next restart counts as gone).
  bool Succeeded() const { return not_removed_.empty(); }
  const std::vector<std::wstring>& not_removed() const { return not_removed_; }
  // The file names that go at the next restart, in the order scheduled.
  const std::vector<std::wstring>& at_restart() const { return at_restart_; }
  // The text shown at the end, and written last into the log.
  std::wstring CompletionText() const;

 private:
  // Reads a record from the user's key or, when there is none, from the
  // machine's; `found` tells whether either key exists.
  std::optional<std::wstring> ReadRecordedFolder(const wchar_t* name, bool* found);
  void RemoveRecordedFile(const wchar_t* name, const std::wstring& file, const std::wstring& item);
  // The file is held open: it and, when nothing else would be left in it,
  // its folder are handed to the system to delete at the next restart.
  bool ScheduleAtRestart(const std::wstring& folder, const std::wstring& file);
  void RemoveFolderWithoutSubfolders(const std::wstring& folder);
  std::optional<size_t> SubfolderCount(const std::wstring& folder);
  void DeleteKey(os::RootKey root, const std::wstring& path, const std::wstring& item);
  void NotRemoved(const std::wstring& what);
  bool WasNotRemoved(const std::wstring& what) const;

  os::Services& os_;
  deploy::Log& log_;
  Hooks hooks_;
  // The key the records were read from; the user's until the machine's is used.
  os::RootKey records_root_ = os::RootKey::kCurrentUser;
  std::vector<std::wstring> not_removed_;
  std::vector<std::wstring> at_restart_;
};

// Names of a key as the log shows them.
std::wstring KeyName(os::RootKey root, const std::wstring& path);

}  // namespace gorvix
