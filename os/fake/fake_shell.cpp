#include "os/fake/fake_os.h"

namespace os::fake {

namespace {

// Line-based, one property per line; newlines inside values are not expected.
const char* const kHeader = "[fake shortcut]";

}  // namespace

SpecialFolder FakeShell::SpecialFolderPath(int csidl) {
  folder_queries.push_back(csidl);
  auto it = folders_.find(csidl);
  if (it == folders_.end()) return SpecialFolder{};
  return it->second;
}

void FakeShell::SetSpecialFolder(int csidl, const std::wstring& path) {
  folders_[csidl] = SpecialFolder{SpecialFolder::Status::kOk, path};
}

void FakeShell::SetSpecialFolderStatus(int csidl, SpecialFolder::Status status) {
  folders_[csidl].status = status;
  if (status != SpecialFolder::Status::kOk) folders_[csidl].path.clear();
}

std::string FakeShell::Encode(const ShortcutProperties& p) {
  std::string out = std::string(kHeader) + "\n";
  out += "Arguments=" + ToUtf8(p.arguments) + "\n";
  out += "Description=" + ToUtf8(p.description) + "\n";
  out += "HotKey=" + ToUtf8(p.hot_key) + "\n";
  out += "IconLocation=" + ToUtf8(p.icon_location) + "\n";
  out += "TargetPath=" + ToUtf8(p.target_path) + "\n";
  out += "WindowStyle=" + std::to_string(p.window_style) + "\n";
  out += "WorkingDirectory=" + ToUtf8(p.working_directory) + "\n";
  return out;
}

std::optional<ShortcutProperties> FakeShell::ReadShortcut(const std::wstring& path) const {
  auto contents = files_.ReadFile(path);
  if (!contents || contents->rfind(kHeader, 0) != 0) return std::nullopt;
  ShortcutProperties p;
  size_t pos = 0;
  while (pos < contents->size()) {
    size_t end = contents->find('\n', pos);
    if (end == std::string::npos) end = contents->size();
    std::string line = contents->substr(pos, end - pos);
    pos = end + 1;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    std::wstring value = FromUtf8(line.substr(eq + 1));
    if (key == "Arguments") p.arguments = value;
    else if (key == "Description") p.description = value;
    else if (key == "HotKey") p.hot_key = value;
    else if (key == "IconLocation") p.icon_location = value;
    else if (key == "TargetPath") p.target_path = value;
    else if (key == "WindowStyle") p.window_style = std::stoi(line.substr(eq + 1));
    else if (key == "WorkingDirectory") p.working_directory = value;
  }
  return p;
}

bool FakeShell::SaveShortcut(const std::wstring& path, const ShortcutProperties& properties) {
  if (fail_shortcuts || !files_.WriteFile(path, Encode(properties))) return false;
  saved.emplace_back(path, properties);
  return true;
}

std::optional<std::wstring> FakeShell::ShortcutTarget(const std::wstring& path) {
  auto properties = ReadShortcut(path);
  if (!properties || properties->target_path.empty()) return std::nullopt;
  return properties->target_path;
}

void FakeShell::AddToRecentDocs(const std::wstring& path) {
  recent_docs.push_back(path);
  if (recent_delay_ms_ < 0) return;
  auto folder = folders_.find(kCsidlRecent);
  if (folder == folders_.end() || folder->second.status != SpecialFolder::Status::kOk) return;
  std::wstring name = path.substr(path.rfind(L'\\') == std::wstring::npos ? 0 : path.rfind(L'\\') + 1);
  std::wstring link = folder->second.path + L"\\" + name + L".lnk";
  ShortcutProperties properties;
  properties.target_path = path;
  FakeFiles& files = files_;
  // The shell writes it silently or not at all.
  clock_.At(recent_delay_ms_, [&files, link, properties] { files.WriteFile(link, Encode(properties)); });
}

}  // namespace os::fake
