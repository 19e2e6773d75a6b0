// The registry, as thin as the Win32 calls it stands for, so that callers
// keep the exact sequence of calls (create, open with an access mask, write,
// close) and tests can check it. Every call returns the system's result code
// (0 = success) and never throws. Text is UTF-16; REG_SZ data is the text's
// UTF-16 bytes with the terminating zero, as the system stores it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace os {

enum class RootKey : std::uint32_t {
  kCurrentUser = 0x80000001u,
  kLocalMachine = 0x80000002u,
};

// An open key; 0 is no key (calls on it fail as they do on Windows).
using KeyHandle = std::uintptr_t;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;
constexpr long kOk = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;

class Registry {
 public:
  virtual ~Registry() = default;
  // Creates the key (and missing parents) or opens it; *key is set on success.
  virtual long CreateKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) = 0;
  virtual long OpenKey(RootKey root, const std::wstring& path, std::uint32_t access, KeyHandle* key) = 0;
  virtual long SetValue(KeyHandle key, const std::wstring& name, std::uint32_t type,
                        const std::vector<std::uint8_t>& data) = 0;
  // With `data` null only the type and size are asked for (*size in bytes).
  virtual long QueryValue(KeyHandle key, const std::wstring& name, std::uint32_t* type,
                          std::vector<std::uint8_t>* data, std::uint32_t* size) = 0;
  virtual long DeleteValue(KeyHandle key, const std::wstring& name) = 0;
  // Deletes a key that has no subkeys, with its values.
  virtual long DeleteKey(RootKey root, const std::wstring& path) = 0;
  virtual long CloseKey(KeyHandle key) = 0;
};

// Closes the key it holds when it goes out of scope, so that no handle
// outlives the call that opened it.
class ScopedKey {
 public:
  explicit ScopedKey(Registry& registry) : registry_(registry) {}
  ~ScopedKey() { Reset(); }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  KeyHandle get() const { return key_; }
  explicit operator bool() const { return key_ != 0; }
  KeyHandle* Put() {
    Reset();
    return &key_;
  }
  void Reset() {
    if (key_ != 0) registry_.CloseKey(key_);
    key_ = 0;
  }

 private:
  Registry& registry_;
  KeyHandle key_ = 0;
};

// REG_SZ bytes of a text (UTF-16 little-endian, terminating zero included) and back.
std::vector<std::uint8_t> TextBytes(const std::wstring& text);
std::wstring BytesText(const std::vector<std::uint8_t>& bytes);

}  // namespace os
