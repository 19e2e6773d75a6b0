// Reading the installer's records back from the registry. Like the rest of
// the uninstaller these reads never fail loudly: a missing key or value
// leaves the holder empty.
#pragma once

#include <cstdint>
#include <string>

#include "kit/control.h"
#include "os/registry.h"

namespace gorvix {

// What a registry read leaves: nothing, a text (REG_SZ) or a number (REG_DWORD).
struct ValueHolder {
  enum class Kind { kEmpty, kText, kNumber };
  Kind kind = Kind::kEmpty;
  std::wstring text;
  std::int32_t number = 0;

  void SetText(std::wstring t) { kind = Kind::kText; text = std::move(t); number = 0; }
  void SetNumber(std::int32_t n) { kind = Kind::kNumber; number = n; text.clear(); }
  void Clear() { *this = ValueHolder{}; }
  // Empty text for nothing, the decimal digits of a number.
  std::wstring AsText() const;
};

// Reads one value of an open key into `holder`: a text without its
// terminating zero, or a 32-bit number. Returns the system's result; on a
// failing size query, or for a value of another type (-1), the holder is
// left as it was.
long ReadRegistryValue(os::Registry& registry, os::KeyHandle key, const std::wstring& name, ValueHolder& holder);

// Opens `key_path` under `root` with `access`, reads `value_name` and closes
// the key again. With `opened`, also the result of opening the key
// (kFileNotFound: no key).
ValueHolder GetValue(os::Registry& registry, os::RootKey root, const std::wstring& key_path,
                     const std::wstring& value_name, std::uint32_t access, long* opened = nullptr);

// Opens `key_path` under HKEY_CURRENT_USER, reads `value_name` and shows it
// as the caption of `reg`, then closes the key. Returns what was read; with
// `opened`, also the result of opening the key (kFileNotFound: no key).
ValueHolder GetUserValue(os::Registry& registry, const std::wstring& key_path, const std::wstring& value_name,
                         kit::Label& reg, long* opened = nullptr);

}  // namespace gorvix
