#include "uninstall/recorded_folder.h"

#include <cwchar>
#include <cwctype>
#include <vector>

namespace gorvix {
namespace {

std::vector<std::wstring> Components(const std::wstring& path, size_t from) {
  std::vector<std::wstring> parts;
  size_t start = from;
  for (;;) {
    size_t end = path.find(L'\\', start);
    parts.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return parts;
}

bool PlainName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  // Windows drops closing dots and blanks, so "Windows." would name Windows.
  if (name.back() == L'.' || name.back() == L' ') return false;
  for (wchar_t c : name) {
    if (c < 0x20 || c == 0x7F) return false;
    if (std::wcschr(L"<>:\"/|?*", c)) return false;
  }
  return true;
}

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

bool SameOrInside(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty()) return false;
  std::wstring p = Lower(path), f = Lower(folder);
  return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == L'\\');
}

// "X:\name...": a drive letter, a colon, a separator and at least one plain
// name; one closing separator is dropped.
std::optional<std::wstring> AbsoluteBelowRoot(const std::wstring& value) {
  std::wstring path = value;
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  if (path.size() < 4 || !std::iswalpha(path[0]) || path[0] > 0x7F || path[1] != L':' || path[2] != L'\\')
    return std::nullopt;
  for (const std::wstring& name : Components(path, 3))
    if (!PlainName(name)) return std::nullopt;
  return path;
}

}  // namespace

std::optional<std::wstring> RecordedFolder(const std::wstring& value, const std::wstring& windows_folder) {
  // Earlier installers recorded "D:\\Zentrik" for a folder picked on a drive
  // other than C:; the one extra separator right after the drive names the
  // same folder. Anything more doubled stays refused below.
  std::wstring repaired = value;
  if (repaired.size() > 4 && repaired[1] == L':' && repaired[2] == L'\\' && repaired[3] == L'\\' &&
      repaired[4] != L'\\')
    repaired.erase(3, 1);
  std::optional<std::wstring> path = AbsoluteBelowRoot(repaired);
  if (!path) return std::nullopt;
  // Without a Windows folder from the system, the usual one stands in.
  std::wstring windows = AbsoluteBelowRoot(windows_folder).value_or(L"C:\\Windows");
  // The Windows folder and everything above it, and the system folders.
  if (SameOrInside(windows, *path)) return std::nullopt;
  for (const wchar_t* system : {L"\\System", L"\\System32", L"\\SysWOW64", L"\\WinSxS"})
    if (SameOrInside(*path, windows + system)) return std::nullopt;
  return path;
}

}  // namespace gorvix
