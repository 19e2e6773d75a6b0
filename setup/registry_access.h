// The installer's registry writes: create a key, write one value into a key
// of a fixed root. Each call opens and closes its own handle; none outlives
// the call. The results say whether the value is really there, so that the
// installation can name what did not happen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "kit/control.h"
#include "os/registry.h"

namespace setup {

// What a value is taken from: a text, a number, or a control whose text
// (text box) or caption (label) is read at the moment of writing.
class ValueHolder {
 public:
  ValueHolder(std::wstring text) : value_(std::move(text)) {}
  ValueHolder(const wchar_t* text) : value_(std::wstring(text)) {}
  ValueHolder(std::int32_t number) : value_(number) {}
  ValueHolder(const kit::TextBox& box) : value_(&box) {}
  ValueHolder(const kit::Label& label) : value_(&label) {}

  std::wstring Text() const;
  // Nothing when the text is not a whole number in the 32-bit range.
  std::optional<std::int32_t> Number() const;

 private:
  std::variant<std::wstring, std::int32_t, const kit::TextBox*, const kit::Label*> value_;
};

// Writes one value into an open key: REG_SZ as text with its terminating
// zero, REG_DWORD as four bytes least significant first. Any other type
// writes nothing and gives 0. Returns the system's result code.
long WriteRegistryValue(os::Registry& registry, os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                        const ValueHolder& value);

// Creates (or opens) the key and closes it again. True when it exists now.
bool CreateRegistryKey(os::Registry& registry, const std::wstring& path, os::RootKey root);

// Opens the key under HKEY_CURRENT_USER / HKEY_LOCAL_MACHINE, writes the
// value, closes the key. A key that cannot be opened gets no write. True
// when the value was written.
bool SetUserValue(os::Registry& registry, const std::wstring& path, const std::wstring& name,
                  const ValueHolder& value, std::uint32_t type);
bool SetMachineValue(os::Registry& registry, const std::wstring& path, const std::wstring& name,
                     const ValueHolder& value, std::uint32_t type);

}  // namespace setup
