#include <algorithm>

#include "os/fake/fake_os.h"

namespace os::fake {

namespace {

bool IsDriveRoot(const std::wstring& clean) {
  return clean.size() == 3 && clean[1] == L':' && clean[2] == L'\\';
}

}  // namespace

std::wstring FakeFiles::Clean(const std::wstring& path) {
  std::wstring out;
  for (wchar_t c : path) {
    if (c == L'/') c = L'\\';
    if (c == L'\\' && !out.empty() && out.back() == L'\\') continue;
    out.push_back(c);
  }
  if (out.size() == 2 && out[1] == L':') out.push_back(L'\\');
  while (out.size() > 1 && out.back() == L'\\' && !IsDriveRoot(out)) out.pop_back();
  return out;
}

std::wstring FakeFiles::Parent(const std::wstring& path) {
  std::wstring clean = Clean(path);
  if (IsDriveRoot(clean)) return L"";
  size_t slash = clean.rfind(L'\\');
  if (slash == std::wstring::npos) return L"";
  std::wstring parent = clean.substr(0, slash);
  if (parent.size() == 2 && parent[1] == L':') parent.push_back(L'\\');
  return parent;
}

bool FakeFiles::Failing(const std::wstring& path) const {
  std::wstring folded = Fold(Clean(path));
  return std::find(failing_.begin(), failing_.end(), folded) != failing_.end();
}

const FakeFiles::Node* FakeFiles::Find(const std::wstring& path) const {
  auto it = nodes_.find(Fold(Clean(path)));
  return it == nodes_.end() ? nullptr : &it->second;
}

bool FakeFiles::Record(const std::string& op, const std::wstring& path, const std::wstring& path2, bool ok) {
  calls_.push_back(FileCall{op, path, path2, ok});
  return ok;
}

bool FakeFiles::Listed(const std::vector<std::wstring>& list, const std::wstring& path) const {
  for (const std::wstring& p : list)
    if (Fold(Clean(p)) == Fold(Clean(path))) return true;
  return false;
}

void FakeFiles::SetInUse(const std::wstring& path, bool in_use) {
  std::erase_if(in_use_, [&](const std::wstring& p) { return Fold(Clean(p)) == Fold(Clean(path)); });
  if (in_use) in_use_.push_back(path);
}

long FakeFiles::CopyFileResult(const std::wstring& from, const std::wstring& to) {
  const Node* source = Find(from);
  const Node* target = Find(to);
  const Node* parent = Find(Parent(to));
  long result = kOk;
  if (Failing(from) || Failing(to) || (target && target->folder)) result = kAccessDenied;
  else if (!source || source->folder) result = kFileNotFound;
  else if (!parent || !parent->folder) result = kPathNotFound;
  else if (Listed(in_use_, to)) result = kSharingViolation;
  else if (Listed(midway_, to)) result = kDiskFull;
  if (result == kOk) {
    std::string contents = source->contents;
    nodes_[Fold(Clean(to))] = Node{target ? target->path : Clean(to), false, contents};
  }
  Record("CopyFile", from, to, result == kOk);
  return result;
}

bool FakeFiles::FileInUse(const std::wstring& path) { return Find(path) && Listed(in_use_, path); }

bool FakeFiles::AppendToFile(const std::wstring& path, const std::string& bytes) {
  const Node* node = Find(path);
  const Node* parent = Find(Parent(path));
  bool ok = !Failing(path) && !(node && node->folder) && parent && parent->folder;
  if (ok) {
    std::string contents = node ? node->contents + bytes : bytes;
    nodes_[Fold(Clean(path))] = Node{node ? node->path : Clean(path), false, contents};
  }
  return Record("AppendToFile", path, L"", ok);
}

bool FakeFiles::DeleteAtRestart(const std::wstring& path) {
  // The system only records the request; nothing is checked until the restart.
  bool ok = !Failing(path);
  if (ok) scheduled_.push_back(path);
  return Record("DeleteAtRestart", path, L"", ok);
}

std::optional<std::uint64_t> FakeFiles::FileSize(const std::wstring& path) {
  const Node* node = Find(path);
  if (!node || node->folder) return std::nullopt;
  return node->contents.size();
}

long FakeFiles::DeleteFileResult(const std::wstring& path) {
  const Node* node = Find(path);
  const Node* parent = Find(Parent(path));
  long result = kOk;
  if (Failing(path) || (node && node->folder) || Listed(in_use_, path)) result = kAccessDenied;
  else if (!node) result = parent && parent->folder ? kFileNotFound : kPathNotFound;
  else nodes_.erase(Fold(Clean(path)));
  Record("DeleteFile", path, L"", result == kOk);
  return result;
}

bool FakeFiles::CreateFolder(const std::wstring& path) {
  std::wstring parent = Parent(path);
  const Node* up = parent.empty() ? nullptr : Find(parent);
  bool ok = !Failing(path) && !Find(path) && up && up->folder;
  if (ok) nodes_[Fold(Clean(path))] = Node{Clean(path), true, {}};
  return Record("CreateFolder", path, L"", ok);
}

bool FakeFiles::RemoveFolder(const std::wstring& path) {
  const Node* node = Find(path);
  bool ok = !Failing(path) && node && node->folder && !IsDriveRoot(node->path);
  if (ok) {
    std::wstring prefix = Fold(Clean(path)) + L"\\";
    auto next = nodes_.lower_bound(prefix);
    if (next != nodes_.end() && next->first.compare(0, prefix.size(), prefix) == 0) ok = false;  // not empty
  }
  if (ok) nodes_.erase(Fold(Clean(path)));
  return Record("RemoveFolder", path, L"", ok);
}

bool FakeFiles::FileExists(const std::wstring& path) {
  const Node* node = Find(path);
  return node && !node->folder;
}

bool FakeFiles::FolderExists(const std::wstring& path) {
  const Node* node = Find(path);
  return node && node->folder;
}

std::optional<std::vector<std::wstring>> FakeFiles::Entries(const std::string& op, const std::wstring& folder,
                                                            bool folders) {
  const Node* node = Find(folder);
  if (Failing(folder) || !node || !node->folder) {
    Record(op, folder, L"", false);
    return std::nullopt;
  }
  std::wstring prefix = Fold(node->path);
  if (prefix.back() != L'\\') prefix.push_back(L'\\');
  std::vector<std::wstring> names;
  for (auto it = nodes_.upper_bound(prefix); it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
       ++it) {
    if (it->second.folder == folders && it->first.find(L'\\', prefix.size()) == std::wstring::npos) {
      names.push_back(it->second.path.substr(it->second.path.rfind(L'\\') + 1));
    }
  }
  Record(op, folder, L"", true);
  return names;
}

std::optional<std::vector<std::wstring>> FakeFiles::Subfolders(const std::wstring& folder) {
  return Entries("Subfolders", folder, true);
}

std::optional<std::vector<std::wstring>> FakeFiles::FileNames(const std::wstring& folder) {
  return Entries("FileNames", folder, false);
}

std::vector<Drive> FakeFiles::Drives() {
  std::vector<Drive> out;
  for (const auto& [folded, info] : drives_) out.push_back(Drive{Find(folded)->path, info.first});
  return out;
}

std::optional<DiskSpace> FakeFiles::FreeSpace(const std::wstring& root) {
  auto it = drives_.find(Fold(Clean(root)));
  std::optional<DiskSpace> space;
  if (it != drives_.end() && !Failing(root)) space = it->second.second;
  Record("FreeSpace", root, L"", space.has_value());
  return space;
}

void FakeFiles::AddDrive(const std::wstring& root, const std::wstring& label, std::optional<DiskSpace> space) {
  std::wstring clean = Clean(root);
  nodes_[Fold(clean)] = Node{clean, true, {}};
  drives_[Fold(clean)] = {label, space};
}

void FakeFiles::SetFreeSpace(const std::wstring& root, std::optional<DiskSpace> space) {
  auto it = drives_.find(Fold(Clean(root)));
  if (it != drives_.end()) it->second.second = space;
}

void FakeFiles::FailPath(const std::wstring& path) { failing_.push_back(Fold(Clean(path))); }

bool FakeFiles::MakeFolders(const std::wstring& path) {
  std::wstring clean = Clean(path);
  if (Find(clean)) return Find(clean)->folder;
  std::wstring parent = Parent(clean);
  if (parent.empty() || !MakeFolders(parent)) return false;
  nodes_[Fold(clean)] = Node{clean, true, {}};
  return true;
}

bool FakeFiles::PutFile(const std::wstring& path, const std::string& contents) {
  if (!MakeFolders(Parent(path))) return false;
  return WriteFile(path, contents);
}

bool FakeFiles::WriteFile(const std::wstring& path, const std::string& contents) {
  const Node* parent = Find(Parent(path));
  const Node* node = Find(path);
  if (Failing(path) || !parent || !parent->folder || (node && node->folder)) return false;
  nodes_[Fold(Clean(path))] = Node{node ? node->path : Clean(path), false, contents};
  return true;
}

std::optional<std::string> FakeFiles::ReadFile(const std::wstring& path) const {
  const Node* node = Find(path);
  if (!node || node->folder) return std::nullopt;
  return node->contents;
}

std::vector<std::wstring> FakeFiles::Tree(const std::wstring& folder) const {
  std::wstring prefix = Fold(Clean(folder));
  if (prefix.back() != L'\\') prefix.push_back(L'\\');
  std::vector<std::wstring> out;
  for (auto it = nodes_.upper_bound(prefix); it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
       ++it) {
    out.push_back(it->second.folder ? it->second.path + L"\\" : it->second.path);
  }
  return out;
}

std::vector<FileCall> FakeFiles::CallsOf(const std::string& op) const {
  std::vector<FileCall> out;
  for (const auto& call : calls_) {
    if (call.op == op) out.push_back(call);
  }
  return out;
}

}  // namespace os::fake
