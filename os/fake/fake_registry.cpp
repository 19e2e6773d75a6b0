#include "os/fake/fake_os.h"

namespace os::fake {

namespace {

constexpr std::uint32_t kQueryValue = 0x1;
constexpr std::uint32_t kSetValue = 0x2;
// Rights beyond reading: set value, create subkey, create link, and the
// standard delete / write-DAC / write-owner rights.
constexpr std::uint32_t kWriteRights = 0x2 | 0x4 | 0x20 | 0x10000 | 0x40000 | 0x80000;
constexpr long kKeyDeleted = 1018;

std::wstring Trim(const std::wstring& path) {
  std::wstring out = path;
  for (auto& c : out) {
    if (c == L'/') c = L'\\';
  }
  while (!out.empty() && out.front() == L'\\') out.erase(out.begin());
  while (!out.empty() && out.back() == L'\\') out.pop_back();
  return out;
}

}  // namespace

FakeRegistry::KeyId FakeRegistry::Id(RootKey root, const std::wstring& path) {
  return {static_cast<std::uint32_t>(root), Fold(Trim(path))};
}

long FakeRegistry::Refusal(const std::string& op, RootKey root, std::uint32_t access,
                           const std::wstring& what) const {
  auto it = refused_.find(static_cast<std::uint32_t>(root));
  if (it != refused_.end()) {
    bool writes_only = it->second.first;
    if (!writes_only || op == "DeleteKey" || (access & kWriteRights) != 0) return it->second.second;
  }
  return Failure(op, what);
}

long FakeRegistry::Failure(const std::string& op, const std::wstring& what) const {
  for (const auto& [key, code] : failures_) {
    if (key.first == op && (key.second.empty() || Fold(Trim(key.second)) == Fold(Trim(what)))) return code;
  }
  return kOk;
}

RegistryCall& FakeRegistry::Record(const std::string& op, KeyHandle key) {
  RegistryCall call;
  call.op = op;
  call.key = key;
  auto it = handles_.find(key);
  if (it != handles_.end()) {
    call.root = it->second.root;
    call.path = it->second.path;
  }
  calls_.push_back(std::move(call));
  return calls_.back();
}

long FakeRegistry::Open(const std::string& op, RootKey root, const std::wstring& path,
                        std::uint32_t access, KeyHandle* key, bool create) {
  RegistryCall call;
  call.op = op;
  call.root = root;
  call.path = path;
  call.access = access;
  long result = Refusal(op, root, access, path);
  if (result == kOk) {
    KeyId id = Id(root, path);
    if (create) {
      PutKey(root, path);
    } else if (!keys_.count(id)) {
      result = kFileNotFound;
    }
    if (result == kOk) {
      KeyHandle handle = next_handle_;
      next_handle_ += 4;
      handles_[handle] = Handle{root, id.second, path, access};
      if (key) *key = handle;
      call.key = handle;
    }
  }
  call.result = result;
  calls_.push_back(std::move(call));
  return result;
}

long FakeRegistry::CreateKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) {
  return Open("CreateKey", root, path, access, key, true);
}

long FakeRegistry::OpenKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) {
  return Open("OpenKey", root, path, access, key, false);
}

long FakeRegistry::ValueKey(const std::string& op, KeyHandle handle, std::uint32_t access,
                            const std::wstring& name, Key** key) {
  *key = nullptr;
  auto it = handles_.find(handle);
  if (it == handles_.end()) return kInvalidHandle;
  if ((it->second.access & access) == 0) return kAccessDenied;
  if (long failure = Failure(op, name); failure != kOk) return failure;
  auto k = keys_.find({static_cast<std::uint32_t>(it->second.root), it->second.folded});
  if (k == keys_.end()) return kKeyDeleted;
  *key = &k->second;
  return kOk;
}

long FakeRegistry::SetValue(KeyHandle key, const std::wstring& name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
  RegistryCall& call = Record("SetValue", key);
  call.name = name;
  call.type = type;
  call.data = data;
  Key* k = nullptr;
  long result = ValueKey("SetValue", key, kSetValue, name, &k);
  if (k) k->values[Fold(name)] = RegistryValue{name, type, data};
  call.result = result;
  return result;
}

long FakeRegistry::QueryValue(KeyHandle key, const std::wstring& name, std::uint32_t* type,
                              std::vector<std::uint8_t>* data, std::uint32_t* size) {
  RegistryCall& call = Record("QueryValue", key);
  call.name = name;
  Key* k = nullptr;
  long result = ValueKey("QueryValue", key, kQueryValue, name, &k);
  if (k) {
    auto v = k->values.find(Fold(name));
    if (v == k->values.end()) {
      result = kFileNotFound;
    } else {
      if (type) *type = v->second.type;
      if (size) *size = static_cast<std::uint32_t>(v->second.data.size());
      if (data) *data = v->second.data;
      call.type = v->second.type;
      call.data = v->second.data;
    }
  }
  call.result = result;
  return result;
}

long FakeRegistry::DeleteValue(KeyHandle key, const std::wstring& name) {
  RegistryCall& call = Record("DeleteValue", key);
  call.name = name;
  Key* k = nullptr;
  long result = ValueKey("DeleteValue", key, kSetValue, name, &k);
  if (k && k->values.erase(Fold(name)) == 0) result = kFileNotFound;
  call.result = result;
  return result;
}

long FakeRegistry::DeleteKey(RootKey root, const std::wstring& path) {
  RegistryCall call;
  call.op = "DeleteKey";
  call.root = root;
  call.path = path;
  long result = Refusal("DeleteKey", root, 0, path);
  if (result == kOk) {
    KeyId id = Id(root, path);
    if (id.second.empty() || !keys_.count(id)) {
      result = kFileNotFound;
    } else {
      // A key with subkeys is refused, as RegDeleteKey does.
      auto next = keys_.lower_bound({id.first, id.second + L"\\"});
      if (next != keys_.end() && next->first.first == id.first &&
          next->first.second.compare(0, id.second.size() + 1, id.second + L"\\") == 0) {
        result = kAccessDenied;
      } else {
        keys_.erase(id);
      }
    }
  }
  call.result = result;
  calls_.push_back(std::move(call));
  return result;
}

long FakeRegistry::CloseKey(KeyHandle key) {
  RegistryCall& call = Record("CloseKey", key);
  call.result = handles_.erase(key) ? kOk : kInvalidHandle;
  return call.result;
}

void FakeRegistry::RefuseRoot(RootKey root, bool writes_only, long code) {
  refused_[static_cast<std::uint32_t>(root)] = {writes_only, code};
}

void FakeRegistry::Fail(const std::string& op, const std::wstring& what, long code) {
  failures_.push_back({{op, what}, code});
}

void FakeRegistry::ClearFailures() {
  refused_.clear();
  failures_.clear();
}

bool FakeRegistry::KeyExists(RootKey root, const std::wstring& path) const {
  return keys_.count(Id(root, path)) != 0;
}

std::optional<RegistryValue> FakeRegistry::Value(RootKey root, const std::wstring& path,
                                                 const std::wstring& name) const {
  auto k = keys_.find(Id(root, path));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.values.find(Fold(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second;
}

std::optional<std::wstring> FakeRegistry::Text(RootKey root, const std::wstring& path,
                                               const std::wstring& name) const {
  auto v = Value(root, path, name);
  if (!v || v->type != kRegSz) return std::nullopt;
  return BytesText(v->data);
}

std::vector<RegistryValue> FakeRegistry::Values(RootKey root, const std::wstring& path) const {
  std::vector<RegistryValue> out;
  auto k = keys_.find(Id(root, path));
  if (k != keys_.end()) {
    for (const auto& [folded, value] : k->second.values) out.push_back(value);
  }
  return out;
}

void FakeRegistry::PutKey(RootKey root, const std::wstring& path) {
  // Every level exists, as RegCreateKeyEx makes them.
  std::wstring trimmed = Trim(path);
  for (size_t pos = 0; pos != std::wstring::npos;) {
    pos = trimmed.find(L'\\', pos + 1);
    std::wstring level = trimmed.substr(0, pos);
    if (level.empty()) continue;
    KeyId id = Id(root, level);
    if (!keys_.count(id)) keys_[id] = Key{level, {}};
  }
}

void FakeRegistry::PutText(RootKey root, const std::wstring& path, const std::wstring& name,
                           const std::wstring& text) {
  PutKey(root, path);
  keys_[Id(root, path)].values[Fold(name)] = RegistryValue{name, kRegSz, TextBytes(text)};
}

void FakeRegistry::PutDword(RootKey root, const std::wstring& path, const std::wstring& name,
                            std::uint32_t value) {
  PutKey(root, path);
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                     static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  keys_[Id(root, path)].values[Fold(name)] = RegistryValue{name, kRegDword, bytes};
}

std::vector<RegistryCall> FakeRegistry::CallsOf(const std::string& op) const {
  std::vector<RegistryCall> out;
  for (const auto& call : calls_) {
    if (call.op == op) out.push_back(call);
  }
  return out;
}

int FakeRegistry::OpenHandles() const { return static_cast<int>(handles_.size()); }

}  // namespace os::fake
