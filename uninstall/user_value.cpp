#include "uninstall/user_value.h"

#include <algorithm>
#include <vector>

#include "deploy/product.h"

namespace gorvix {

std::wstring ValueHolder::AsText() const {
  switch (kind) {
    case Kind::kText: return text;
    case Kind::kNumber: return std::to_wstring(number);
    case Kind::kEmpty: break;
  }
  return L"";
}

long ReadRegistryValue(os::Registry& registry, os::KeyHandle key, const std::wstring& name, ValueHolder& holder) {
  std::uint32_t type = 0, size = 0;
  long result = registry.QueryValue(key, name, &type, nullptr, &size);
  if (result != os::kOk) return result;

  if (type == os::kRegSz) {
    std::vector<std::uint8_t> buffer(size, 0);
    result = registry.QueryValue(key, name, &type, &buffer, &size);
    if (result != os::kOk) {
      holder.SetText(L"");
      return result;
    }
    // The text is everything but the last character, the terminating zero.
    std::wstring text;
    size_t chars = std::min<size_t>(size, buffer.size()) / 2;
    for (size_t i = 0; i + 1 < chars; ++i)
      text.push_back(static_cast<wchar_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8)));
    holder.SetText(std::move(text));
    return result;
  }
  if (type == os::kRegDword) {
    std::vector<std::uint8_t> buffer(4, 0);
    std::uint32_t four = 4;
    result = registry.QueryValue(key, name, &type, &buffer, &four);
    if (result == os::kOk) {
      buffer.resize(4, 0);
      std::uint32_t n = buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) | (static_cast<std::uint32_t>(buffer[3]) << 24);
      holder.SetNumber(static_cast<std::int32_t>(n));
    }
    return result;
  }
  return -1;
}

ValueHolder GetValue(os::Registry& registry, os::RootKey root, const std::wstring& key_path,
                     const std::wstring& value_name, std::uint32_t access, long* opened) {
  os::KeyHandle key = 0;
  ValueHolder holder;
  long result = registry.OpenKey(root, key_path, access, &key);
  if (opened) *opened = result;
  ReadRegistryValue(registry, key, value_name, holder);
  registry.CloseKey(key);
  return holder;
}

ValueHolder GetUserValue(os::Registry& registry, const std::wstring& key_path, const std::wstring& value_name,
                         kit::Label& reg, long* opened) {
  ValueHolder holder = GetValue(registry, os::RootKey::kCurrentUser, key_path, value_name, deploy::kKeyAccess, opened);
  reg.caption = holder.AsText();
  return holder;
}

}  // namespace gorvix
