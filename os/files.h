// Files, folders, drives and the program's own places. Every operation
// reports failure by its result; none throws. Paths are Windows paths in
// UTF-16 and are used exactly as given (no separator is added or removed).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace os {

// DeleteFileResult's answer when the folder the file would lie in is missing.
// Its other answers are the system's error numbers too: kOk, kFileNotFound,
// kAccessDenied (os/registry.h).
constexpr long kPathNotFound = 3;
constexpr long kSharingViolation = 32;
constexpr long kDiskFull = 112;

struct Drive {
  std::wstring root;    // "C:\"
  std::wstring label;   // volume label; empty when none or unreadable
};

// Free space of a drive in the terms of GetDiskFreeSpace, but with counts
// that do not overflow: free_clusters and total_clusters are 64-bit.
struct DiskSpace {
  std::uint32_t sectors_per_cluster = 0;
  std::uint32_t bytes_per_sector = 0;
  std::uint64_t free_clusters = 0;
  std::uint64_t total_clusters = 0;
};

class Files {
 public:
  virtual ~Files() = default;
  // Whole-file copy that replaces an existing destination file, never
  // leaving it half-written: the data goes to a temporary file beside the
  // destination, which takes the destination's name only when complete. A
  // failed copy leaves the earlier file untouched and no temporary behind.
  // Returns the system's error code (0: copied).
  virtual long CopyFileResult(const std::wstring& from, const std::wstring& to) = 0;
  bool CopyFile(const std::wstring& from, const std::wstring& to) { return CopyFileResult(from, to) == 0; }
  // True when another program holds the file open so that it can be neither
  // replaced nor deleted (a running program, for one).
  virtual bool FileInUse(const std::wstring& path) = 0;
  // Appends bytes to a file, creating it when missing.
  virtual bool AppendToFile(const std::wstring& path, const std::string& bytes) = 0;
  // Has the system delete a file, or an empty folder, at the next restart.
  virtual bool DeleteAtRestart(const std::wstring& path) = 0;
  // Size in bytes; nothing when the file is missing or unreadable.
  virtual std::optional<std::uint64_t> FileSize(const std::wstring& path) = 0;
  // Deletes exactly the named file, with the system's reason: kOk;
  // kFileNotFound or kPathNotFound when nothing of that name is there;
  // another code (kAccessDenied for a folder of that name or a file in use)
  // when something stays.
  virtual long DeleteFileResult(const std::wstring& path) = 0;
  // The same as a yes or no; a missing file is a failure.
  bool DeleteFile(const std::wstring& path) { return DeleteFileResult(path) == 0; }
  // One folder level; fails when it exists or its parent does not.
  virtual bool CreateFolder(const std::wstring& path) = 0;
  // Only an empty folder.
  virtual bool RemoveFolder(const std::wstring& path) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual bool FolderExists(const std::wstring& path) = 0;
  // Names of the subfolders, or nothing when the folder cannot be read.
  virtual std::optional<std::vector<std::wstring>> Subfolders(const std::wstring& folder) = 0;
  // Names of the files (not folders) in it, or nothing when it cannot be read.
  virtual std::optional<std::vector<std::wstring>> FileNames(const std::wstring& folder) = 0;
  // Drives in letter order, and the current drive of the process ("C:\").
  virtual std::vector<Drive> Drives() = 0;
  virtual std::wstring CurrentDrive() = 0;
  // Nothing when the root cannot be queried.
  virtual std::optional<DiskSpace> FreeSpace(const std::wstring& root) = 0;
  // The folder of the running program as the system reports it, without a
  // closing separator (except at a drive root, where the system keeps one).
  virtual std::wstring ProgramFolder() = 0;
  // GetWindowsDirectory as reported: "C:\windows", empty on failure.
  virtual std::wstring WindowsDirectory() = 0;
};

}  // namespace os
