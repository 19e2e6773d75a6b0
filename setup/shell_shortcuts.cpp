#include "setup/shell_shortcuts.h"

namespace setup {

namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& lower_suffix) {
  if (text.size() < lower_suffix.size()) return false;
  for (size_t i = 0; i < lower_suffix.size(); ++i) {
    wchar_t c = text[text.size() - lower_suffix.size() + i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 0x20);
    if (c != lower_suffix[i]) return false;
  }
  return true;
}

// "X:" names a drive, never a folder to create.
bool IsBareDrive(const std::wstring& path) { return path.size() == 2 && path[1] == L':'; }

// A path as the file system compares it: letters (Latin and Cyrillic) in
// one case, '/' as '\', and a run of separators as one (a network path keeps
// its two leading ones).
std::wstring ComparablePath(const std::wstring& path) {
  std::wstring out;
  for (size_t i = 0; i < path.size(); ++i) {
    wchar_t c = path[i] == L'/' ? L'\\' : path[i];
    if (c == L'\\' && i > 1 && !out.empty() && out.back() == L'\\') continue;
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 0x20);
    else if (c >= 0x0410 && c <= 0x042F) c = static_cast<wchar_t>(c + 0x20);
    else if (c >= 0x0400 && c <= 0x040F) c = static_cast<wchar_t>(c + 0x50);
    out += c;
  }
  return out;
}

}  // namespace

std::optional<std::wstring> StartMenu(os::Shell& shell) {
  auto start = SpecialFolderPath(shell, os::kCsidlStartMenu);
  if (!start || start->empty()) return std::nullopt;
  return start;
}

std::optional<std::wstring> SpecialFolderPath(os::Shell& shell, int csidl) {
  os::SpecialFolder folder = shell.SpecialFolderPath(csidl);
  switch (folder.status) {
    case os::SpecialFolder::Status::kOk: return folder.path;
    case os::SpecialFolder::Status::kUnknown: return std::wstring();
    case os::SpecialFolder::Status::kNoPath: break;
  }
  return std::nullopt;
}

std::wstring FileNamePart(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void CreateNewDirectory(os::Files& files, std::wstring& DirName) {
  if (DirName.empty() || DirName.back() != L'\\') DirName += L'\\';
  const size_t n = DirName.size();
  // Positions count from 1; the search starts after a drive prefix such as
  // "C:\". A search that finds nothing starts over from the beginning, so a
  // path of only a drive still meets its one separator.
  size_t start = 4;
  for (;;) {
    size_t p = 0;
    if (start <= n) {
      size_t found = DirName.find(L'\\', start - 1);
      p = found == std::wstring::npos ? 0 : found + 1;
    }
    if (p > 0) {
      std::wstring level = DirName.substr(0, p - 1);
      if (!level.empty() && !IsBareDrive(level)) files.CreateFolder(level);   // failures ignored
    }
    start = p + 1;
    if (start >= n) break;
  }
}

bool PrepareProgramGroup(os::Shell& shell, os::Files& files, kit::Label& Label18) {
  auto start = SpecialFolderPath(shell, os::kCsidlStartMenu);
  if (!start) return false;
  Label18.caption = *start;
  if (start->empty()) return false;
  std::wstring group = Label18.caption + kGroupSuffix;
  CreateNewDirectory(files, group);
  return files.FolderExists(group);
}

bool SetGroupPathLabel(os::Shell& shell, kit::Label& Label18) {
  auto start = StartMenu(shell);
  if (!start) return false;
  Label18.caption = *start + kGroupSuffix;
  return true;
}

bool CreateShortcut(os::Shell& shell, std::wstring path, const std::wstring& description,
                    const std::wstring& target, const std::wstring& arguments, const std::wstring& working_folder,
                    const std::wstring& hot_key, const std::wstring& icon_location, std::int16_t window_style) {
  if (!EndsWithNoCase(path, L".lnk") && !EndsWithNoCase(path, L".url")) path += L".lnk";
  os::ShortcutProperties properties;
  properties.arguments = arguments;
  properties.description = description;
  properties.hot_key = hot_key;
  properties.icon_location = icon_location;
  properties.target_path = target;
  properties.window_style = window_style;
  properties.working_directory = working_folder;
  return shell.SaveShortcut(path, properties);
}

bool CopyRecentShortcutToGroup(os::Services& os, const std::wstring& program,
                               const std::function<void(int ms)>& wait) {
  os.shell.AddToRecentDocs(program);
  const std::wstring name = FileNamePart(program) + L".lnk";
  auto recent = SpecialFolderPath(os.shell, os::kCsidlRecent);
  auto start = StartMenu(os.shell);
  if (!recent || recent->empty() || !start) return false;
  const std::wstring source = *recent + L"\\" + name;
  // The shell writes the file when it gets round to it, and an entry left by
  // an earlier installation into another folder may stand there until then.
  auto names_program = [&] {
    if (!os.files.FileExists(source)) return false;
    auto target = os.shell.ShortcutTarget(source);
    return target && ComparablePath(*target) == ComparablePath(program);
  };
  for (int waited = 0; !names_program(); waited += kRecentPollMs) {
    if (waited >= kRecentWaitMs) return false;
    wait(kRecentPollMs);
  }
  return os.files.CopyFile(source, *start + kGroupSuffix + name);
}

}  // namespace setup
