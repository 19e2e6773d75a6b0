#include "setup/registry_access.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "deploy/product.h"

namespace setup {

namespace {

constexpr long kInvalidParameter = 87;

bool SetValue(os::Registry& registry, os::RootKey root, const std::wstring& path, const std::wstring& name,
              const ValueHolder& value, std::uint32_t type) {
  os::ScopedKey key(registry);
  if (registry.OpenKey(root, path, deploy::kKeyAccess, key.Put()) != os::kOk) return false;
  if (type != os::kRegSz && type != os::kRegDword) return false;
  return WriteRegistryValue(registry, key.get(), name, type, value) == os::kOk;
}

}  // namespace

std::wstring ValueHolder::Text() const {
  if (auto text = std::get_if<std::wstring>(&value_)) return *text;
  if (auto number = std::get_if<std::int32_t>(&value_)) return std::to_wstring(*number);
  if (auto box = std::get_if<const kit::TextBox*>(&value_)) return (*box)->text;
  return std::get<const kit::Label*>(value_)->caption;
}

std::optional<std::int32_t> ValueHolder::Number() const {
  if (auto number = std::get_if<std::int32_t>(&value_)) return *number;
  std::wstring text = Text();
  size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::nullopt;
  const wchar_t* start = text.c_str() + first;
  wchar_t* end = nullptr;
  errno = 0;
  long long parsed = std::wcstoll(start, &end, 10);
  if (end == start || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return std::nullopt;
  while (*end == L' ') ++end;
  if (*end != 0) return std::nullopt;
  return static_cast<std::int32_t>(parsed);
}

long WriteRegistryValue(os::Registry& registry, os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                        const ValueHolder& value) {
  if (type == os::kRegSz) return registry.SetValue(key, name, type, os::TextBytes(value.Text()));
  if (type == os::kRegDword) {
    auto number = value.Number();
    if (!number) return kInvalidParameter;
    auto bits = static_cast<std::uint32_t>(*number);
    return registry.SetValue(key, name, type,
                             {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                              static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)});
  }
  return os::kOk;
}

bool CreateRegistryKey(os::Registry& registry, const std::wstring& path, os::RootKey root) {
  os::ScopedKey key(registry);
  return registry.CreateKey(root, path, deploy::kKeyAccess, key.Put()) == os::kOk;
}

bool SetUserValue(os::Registry& registry, const std::wstring& path, const std::wstring& name,
                  const ValueHolder& value, std::uint32_t type) {
  return SetValue(registry, os::RootKey::kCurrentUser, path, name, value, type);
}

bool SetMachineValue(os::Registry& registry, const std::wstring& path, const std::wstring& name,
                     const ValueHolder& value, std::uint32_t type) {
  return SetValue(registry, os::RootKey::kLocalMachine, path, name, value, type);
}

}  // namespace setup
