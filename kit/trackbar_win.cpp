// The trackbar: the system's own control, told its range, step and value by
// the model, and telling the model where the user moved it. The keys are
// ours: a standard horizontal trackbar takes Up and Page Up towards the
// left, where a user who presses "up" means more.
#include "kit/backend_win.h"

#include <commctrl.h>

#include "base/late_bound_win.h"

#include "kit/input.h"
#include "kit/platform.h"

namespace kit::win {
namespace {

constexpr UINT_PTR kKeysSubclassId = 0x5472;   // unique among this window's subclasses

// Without its visual style the trackbar fills its background with the
// brush its parent answers WM_CTLCOLORSTATIC with (the form's colour); with
// it, it would ask the parent to paint itself into the trackbar's buffer,
// which our forms do not. uxtheme is loaded only here, and kept: the
// setting lives as long as the window.
void DropVisualStyle(HWND hwnd) {
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto set = base::LateBound<SetTheme>(L"uxtheme.dll", "SetWindowTheme");
  if (set) set(hwnd, L"", L"");
}

// The subclass functions, from the controls' library that CreateChild loaded.
template <typename Fn>
Fn Comctl(const char* name) {
  return base::LateBound<Fn>(L"comctl32.dll", name);
}
using SubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using RemoveFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
using DefFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

LRESULT CALLBACK KeysProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  static const auto remove = Comctl<RemoveFn>("RemoveWindowSubclass");
  static const auto def = Comctl<DefFn>("DefSubclassProc");
  ControlRecord* rec = RecordOf(hwnd);
  if (msg == WM_NCDESTROY) {
    remove(hwnd, KeysProc, kKeysSubclassId);
  } else if (rec && msg == WM_KEYDOWN) {
    auto* t = static_cast<TrackBar*>(rec->control);
    Key key;
    if (KeyOf(wp, &key)) {
      if (const std::optional<int> to = TrackBarTarget(*t, key)) {
        Fire([t, to] { t->MoveTo(*to); });
        return 0;
      }
    }
  } else if (rec && msg == WM_SETFOCUS) {
    // Clicked into: as for the other real controls.
    FollowSystemFocus(*rec->control);
  }
  return def(hwnd, msg, wp, lp);
}

}  // namespace

const wchar_t* TrackBarClass(DWORD* style) {
  *style |= TBS_HORZ | TBS_BOTTOM;
  return TRACKBAR_CLASSW;
}

void SyncTrackBar(ControlRecord& rec) {
  auto& t = static_cast<TrackBar&>(*rec.control);
  const bool first = rec.applied_range[1] < rec.applied_range[0];
  const std::array<int, 3> range{t.min, t.max, t.page_step};
  if (first) {
    static const auto subclass = Comctl<SubclassFn>("SetWindowSubclass");
    if (subclass) subclass(rec.hwnd, KeysProc, kKeysSubclassId, 0);
    DropVisualStyle(rec.hwnd);
  }
  if (range != rec.applied_range) {
    SendMessageW(rec.hwnd, TBM_SETRANGEMIN, FALSE, t.min);
    SendMessageW(rec.hwnd, TBM_SETRANGEMAX, TRUE, t.max);
    SendMessageW(rec.hwnd, TBM_SETPAGESIZE, 0, t.page_step);
    SendMessageW(rec.hwnd, TBM_SETLINESIZE, 0, 1);
    rec.applied_range = range;
  }
  if (!first && t.value == rec.applied_index) return;
  // During a drag the thumb is already there; setting it again would only
  // repaint it.
  if (SendMessageW(rec.hwnd, TBM_GETPOS, 0, 0) != t.value) SendMessageW(rec.hwnd, TBM_SETPOS, TRUE, t.value);
  rec.applied_index = t.value;
  auto* form = static_cast<FormRecord*>(t.Owner().native);
  // Readers say the new value; the first one is no change.
  if (!first && form) RaiseEvent(*form, t, AccessEvent::kValueChange);
}

bool TrackBarScroll(LPARAM lp, LRESULT* result) {
  ControlRecord* rec = RecordOf(reinterpret_cast<HWND>(lp));
  if (!rec || rec->control->Kind() != ControlKind::kTrackBar) return false;
  *result = 0;
  if (rec->applying) return true;
  auto* t = static_cast<TrackBar*>(rec->control);
  const int pos = static_cast<int>(SendMessageW(rec->hwnd, TBM_GETPOS, 0, 0));
  if (pos == t->value) return true;
  Fire([t, pos] { t->MoveTo(pos); });
  // While the thumb is dragged the form follows each move at once, not when
  // the mouse rests.
  if (auto* form = static_cast<FormRecord*>(t->Owner().native); form && form->hwnd) UpdateWindow(form->hwnd);
  return true;
}

}  // namespace kit::win
