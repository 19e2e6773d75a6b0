// A system function looked up when first needed, not imported: its library
// is loaded then (and kept), so a start that never needs it pays nothing.
#pragma once

#include "base/win32.h"

namespace base {

// `name` from `library` as the function type `Fn`; null when either is missing.
template <typename Fn>
Fn LateBound(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace base
