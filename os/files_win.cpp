#include "base/handles_win.h"
#include "os/system_win.h"

namespace os::win {

namespace {

// Keeps the system from asking the user to insert a disk while a removable
// drive without a medium is looked at.
class QuietErrors {
 public:
  QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~QuietErrors() { SetErrorMode(old_); }

 private:
  UINT old_;
};

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

class Win32Files : public Files {
 public:
  long CopyFileResult(const std::wstring& from, const std::wstring& to) override {
    // The temporary lies in the destination's folder, so that the final
    // rename stays on one volume and cannot itself copy.
    size_t slash = to.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? L"." : to.substr(0, slash + 1);
    wchar_t temporary[MAX_PATH + 16] = {};
    if (folder.size() > MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"zen", 0, temporary)) {
      DWORD error = GetLastError();
      // A missing folder, as a plain copy reports it (the temporary's call
      // calls it an invalid folder name).
      if (error == ERROR_DIRECTORY) return ERROR_PATH_NOT_FOUND;
      return static_cast<long>(error ? error : ERROR_FILENAME_EXCED_RANGE);
    }
    if (!CopyFileW(from.c_str(), temporary, FALSE)) {
      DWORD error = GetLastError();
      DeleteFileW(temporary);
      return static_cast<long>(error);
    }
    if (!MoveFileExW(temporary, to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      DWORD error = GetLastError();
      DeleteFileW(temporary);
      return static_cast<long>(error);
    }
    return 0;
  }

  bool FileInUse(const std::wstring& path) override {
    // No sharing at all: fails while any other handle, a running program's
    // image included, is open on the file.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    // A running program's image holds no handle once loaded, yet the system
    // refuses to write it, and to delete it: ask for writing, which changes
    // nothing by itself.
    h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return false;
  }

  bool AppendToFile(const std::wstring& path, const std::string& bytes) override {
    HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(h);
    return ok;
  }

  bool DeleteAtRestart(const std::wstring& path) override {
    return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
  }

  std::optional<std::uint64_t> FileSize(const std::wstring& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  long DeleteFileResult(const std::wstring& path) override {
    return DeleteFileW(path.c_str()) ? 0 : static_cast<long>(GetLastError());
  }

  bool CreateFolder(const std::wstring& path) override { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

  bool RemoveFolder(const std::wstring& path) override { return RemoveDirectoryW(path.c_str()) != 0; }

  bool FileExists(const std::wstring& path) override {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::wstring& path) override {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::optional<std::vector<std::wstring>> Subfolders(const std::wstring& folder) override {
    return Entries(folder, true);
  }

  std::optional<std::vector<std::wstring>> FileNames(const std::wstring& folder) override {
    return Entries(folder, false);
  }

  // The names of a folder's subfolders or of its files.
  std::optional<std::vector<std::wstring>> Entries(const std::wstring& folder, bool folders) {
    QuietErrors quiet;
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    base::FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search) {
      // A drive root has no "." and "..": an empty one matches nothing, and
      // is still a readable folder without entries.
      if (GetLastError() == ERROR_FILE_NOT_FOUND && FolderExists(folder)) return std::vector<std::wstring>{};
      return std::nullopt;
    }
    std::vector<std::wstring> names;
    do {
      std::wstring name = found.cFileName;
      bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (is_folder == folders && name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    return names;
  }

  std::vector<Drive> Drives() override {
    QuietErrors quiet;
    std::vector<Drive> drives;
    std::vector<wchar_t> buffer(256);
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length > buffer.size()) {
      buffer.assign(length + 1, 0);
      length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length == 0 || length > buffer.size()) return drives;
    for (const wchar_t* root = buffer.data(); *root; root += wcslen(root) + 1) {
      wchar_t label[MAX_PATH + 1] = {};
      if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) label[0] = 0;
      drives.push_back(Drive{root, label});
    }
    return drives;
  }

  std::wstring CurrentDrive() override {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    if (length >= 2 && length < MAX_PATH && buffer[1] == L':') return std::wstring(buffer, 2) + L"\\";
    return L"C:\\";
  }

  std::optional<DiskSpace> FreeSpace(const std::wstring& root) override {
    QuietErrors quiet;
    DWORD sectors = 0, bytes = 0, free_clusters = 0, total_clusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectors, &bytes, &free_clusters, &total_clusters)) return std::nullopt;
    DiskSpace space{sectors, bytes, free_clusters, total_clusters};
    // The cluster counts of GetDiskFreeSpace stop at 2 GB-worth on large
    // volumes; the 64-bit byte counts give the true figures.
    ULARGE_INTEGER available{}, total{}, total_free{};
    std::uint64_t cluster = static_cast<std::uint64_t>(sectors) * bytes;
    if (cluster != 0 && GetDiskFreeSpaceExW(root.c_str(), &available, &total, &total_free)) {
      space.free_clusters = available.QuadPart / cluster;
      space.total_clusters = total.QuadPart / cluster;
    }
    return space;
  }

  std::wstring ProgramFolder() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length == 0) return L"";
      if (length < path.size()) {
        path.resize(length);
        break;
      }
      path.resize(path.size() * 2);
    }
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return L"";
    path.resize(slash);
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return path;
  }

  std::wstring WindowsDirectory() override {
    std::wstring path(MAX_PATH, L'\0');
    UINT length = GetWindowsDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length >= path.size()) {
      path.assign(length + 1, L'\0');
      length = GetWindowsDirectoryW(path.data(), static_cast<UINT>(path.size()));
      if (length >= path.size()) return L"";
    }
    path.resize(length);
    return path;
  }
};

}  // namespace

Files& SystemFiles() {
  static Win32Files files;
  return files;
}

}  // namespace os::win
