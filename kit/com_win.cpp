// The OLE and accessibility libraries are loaded the first time a screen
// reader asks a window for its object, not at start: under Wine loading them
// costs about a tenth of the viewer's start-up, and most starts have no
// reader at all.
#include "kit/backend_win.h"

#include "base/late_bound_win.h"

namespace kit::win {

using base::LateBound;

void InitComOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  using Fn = HRESULT(WINAPI*)(void*, DWORD);
  if (auto init = LateBound<Fn>(L"ole32.dll", "CoInitializeEx")) init(nullptr, COINIT_APARTMENTTHREADED);
}

LRESULT ResultFromObject(REFIID iid, WPARAM wp, IUnknown* object) {
  using Fn = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
  static Fn fn = LateBound<Fn>(L"oleacc.dll", "LresultFromObject");
  return fn ? fn(iid, wp, object) : 0;
}

HRESULT ObjectFromWindow(HWND hwnd, DWORD id, REFIID iid, void** out) {
  using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static Fn fn = LateBound<Fn>(L"oleacc.dll", "AccessibleObjectFromWindow");
  if (out) *out = nullptr;
  return fn ? fn(hwnd, id, iid, out) : E_FAIL;
}

HRESULT StdAccessibleObject(HWND hwnd, LONG id, REFIID iid, void** out) {
  using Fn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  static Fn fn = LateBound<Fn>(L"oleacc.dll", "CreateStdAccessibleObject");
  if (out) *out = nullptr;
  return fn ? fn(hwnd, id, iid, out) : E_FAIL;
}

BSTR AllocString(const wchar_t* text, UINT length) {
  using Fn = BSTR(WINAPI*)(const OLECHAR*, UINT);
  static Fn fn = LateBound<Fn>(L"oleaut32.dll", "SysAllocStringLen");
  return fn ? fn(text, length) : nullptr;
}

}  // namespace kit::win
