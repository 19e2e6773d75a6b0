// Internals of the Win32 backend shared by its files. The backend decides
// nothing: kit/input, kit/appearance and kit/accessibility do; these files
// crack messages, bring windows up to date with the appearances and paint.
//   platform_win.cpp    the platform services and start-up; the control
//                       windows' records by handle
//   window_win.cpp      the form's window procedure: mouse, keys, focus
//   sync_win.cpp        the form's records; syncing the form's window and its
//                       windowless controls to the models
//   controls_win.cpp    the real child windows (text boxes, option buttons,
//                       lists, picture boxes): creating and syncing them
//   form_paint_win.cpp  the painting passes: a form's windowless controls
//                       in one pass, picture boxes, scenes, the back buffer
//   paint_win.cpp       the painter: one shape, line, label, image or
//                       folder row, as kit/drawing lays it out
//   fonts_win.cpp       the fonts (FontFor), made once and freed at the end
//   accessible_win.cpp  the form's IAccessible
//   trackbar_win.cpp    the trackbar: its keys, its moves, its value for readers
//   named_win.cpp       the real controls' own accessible objects, named
//                       by their labels
//   com_win.cpp         the OLE libraries, loaded when a reader first asks
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/handles_win.h"
#include "kit/accessibility.h"
#include "kit/com_win.h"
#include "kit/appearance.h"
#include "kit/control.h"
#include "kit/form.h"
#include "kit/input.h"

#include <oleacc.h>

namespace kit::win {

// What the backend last gave a control, so that Sync only touches what
// changed. Windowless controls have a record too (no window), for their
// loaded picture and the place they were last painted.
struct ControlRecord {
  Control* control = nullptr;
  HWND hwnd = nullptr;
  RECT applied_rect{-1, -1, -1, -1};
  int applied_visible = -1;
  int applied_enabled = -1;
  std::wstring applied_text;
  bool text_applied = false;
  std::vector<std::wstring> applied_items;
  int applied_index = -2;
  unsigned applied_selection = 0;
  std::optional<Appearance> applied;   // what the window, or the painting, shows now
  base::Gdi<HBRUSH> brush;         // background brush for WM_CTLCOLOR*
  Color brush_color = 0xFFFFFFFFu;
  bool applying = false;           // set while the backend itself changes the window
  base::Gdi<HBITMAP> bitmap;       // image: the loaded bitmap, or else
  base::Icon icon;                 // the loaded icon
  std::array<int, 3> applied_range{0, -1, 0};   // trackbar: min, max, page step as set
  // A text box the form paints until its window is made (MakeBoxWindows).
  bool painted_box = false;
};

struct FormRecord {
  Form* form = nullptr;
  HWND hwnd = nullptr;
  bool shown_once = false;
  int applied_visible = -1;
  int applied_width = -1, applied_height = -1;
  std::wstring applied_caption;
  std::size_t applied_surface = 0;
  unsigned applied_focus = 0;      // the form's focus serial last shown
  unsigned applied_activate = 0;
  Control* painted_focus = nullptr;
  bool painted_once = false;
  // While a sync runs: the parts of the form's window to repaint, gathered
  // so the system is told once, not once for each control that changed.
  base::Gdi<HRGN> dirty;
  base::Icon big_icon, small_icon;
  std::unordered_map<Control*, std::unique_ptr<ControlRecord>> controls;
  std::unordered_map<std::string, ATOM> name_atoms;   // for the inspector's name question
};

inline RECT ToRect(const PixelBox& b) { return RECT{b.left, b.top, b.right, b.bottom}; }
inline RECT PixelRect(const Rect& twips) { return ToRect(ToPixels(twips)); }

// ---- platform_win.cpp
HINSTANCE Instance();
ControlRecord* RecordOf(HWND hwnd);
void RememberWindow(HWND hwnd, ControlRecord* rec);
void ForgetWindow(HWND hwnd);
// Dispatches a model handler from a window procedure, then syncs windows.
void Fire(const std::function<void()>& handler);

// ---- window_win.cpp
constexpr wchar_t kFormClass[] = L"ElemoraForm";
LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Offers a key press to the form it was typed into; true when the form used it.
bool OfferKey(const MSG& msg);
// The key a virtual-key code stands for, if the kit knows it.
bool KeyOf(WPARAM vk, Key* key);
// The button of a mouse message, and the Shift (1), Ctrl (2) and Alt (4)
// keys held now.
MouseButton ButtonOf(UINT msg);
int HeldKeys();
void InvalidateControl(FormRecord& rec, const Control* c);

// ---- sync_win.cpp
FormRecord* FormRecordOf(const Form& form);
// The form whose window this is; null for any other window, and for a form
// whose window is being destroyed.
FormRecord* FormRecordOf(HWND hwnd);
void SyncForm(Form& form);
// The controls of a form with their own windows, in the order their windows
// are made and stacked: tab order, containers before what they contain.
std::vector<Control*> ChildOrder(Form& form);
// The text boxes that start painted by their forms (PaintableUntilUsed) get
// their windows at the first idle moment after the first paint, or at once
// when something needs them: input, a reader, a change the paint cannot
// show. MakeBoxWindows makes them without syncing; MakeBoxWindowsNow syncs
// after, for callers outside a sync. Only boxes made before the first paint
// start painted; later ones get their windows at once.
bool BoxWindowsPending();
void MakeBoxWindows();
void MakeBoxWindowsNow();
// Called after each paint: arms the idle moment's making of the boxes.
void MakeBoxWindowsSoon();
// Everything is applied again on the next sync (the DPI changed).
void ForgetApplied();
void DropForm(Form& form);
void DropControl(Control& control);

// ---- paint_win.cpp
void PaintShape(const Appearance& shape, HDC dc);
void PaintLine(const Appearance& line, HDC dc);
// A label at its place in `dc`, fonts made for `dpi`; `in_picture` for a
// picture or a page, where captions shrink to fit as at any DPI but 96.
void PaintLabelAt(const Appearance& label, HDC dc, int dpi, bool in_picture);
void PaintImage(ControlRecord& rec, const Appearance& image, HDC dc);
// An empty one-line text box as its window would paint it: the thin frame
// of the system's window-frame colour, the box's colour within.
void PaintEmptyBox(const Appearance& box, HDC dc);
void DrawFolderItem(ControlRecord& rec, const DRAWITEMSTRUCT& item);
void LoadPicture(ControlRecord& rec);

// ---- fonts_win.cpp
HFONT FontFor(const Font& font);
HFONT FontFor(const Font& font, int dpi);
// `font`, or where `text` would not fit `width` pixels in it at `dpi`, the
// largest size that does.
Font FittingFont(HDC dc, const std::wstring& text, Font font, int dpi, int width);

// ---- form_paint_win.cpp
// Paints everything of the form that has no window, in one pass into `dc`
// (a back buffer of the client area): colour, shapes and lines, then labels
// and images in z-order, then the focus ring when `show_focus`.
void PaintForm(FormRecord& rec, HDC dc, const RECT& area, bool show_focus);
// A picture box: its drawing, then the labels it contains.
void PaintPicture(ControlRecord& rec, HDC dc);
// Answers WM_PAINT through a back buffer of the client area, so nothing
// flickers: `paint` draws into the buffer, clipped to what needs painting.
// The `first` paint of a window, with nothing yet on the screen, goes
// straight to the window.
void PaintBuffered(HWND hwnd, const std::function<void(HDC buffer, const RECT& client)>& paint, bool first = false);

// ---- controls_win.cpp
constexpr wchar_t kPictureClass[] = L"ElemoraPicture";
// Tests find a real control's name through this window property (a global
// atom holding the name).
constexpr wchar_t kNameProp[] = L"ElemoraName";
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// The system's focus went into a real control's window: the model follows,
// and what leaving the last control changed is shown.
void FollowSystemFocus(Control& c);
// Loads the common controls library the first time a child window is made.
HWND CreateChild(Control& c, HWND parent, ControlRecord& rec);
void SyncControl(ControlRecord& rec);
void DestroyRecord(ControlRecord& rec);
void SetName(HWND hwnd, const std::string& name);
void DropName(HWND hwnd);
// Messages that system controls send to their parent, for forms and picture
// boxes alike. Returns true when handled.
bool ChildNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// ---- trackbar_win.cpp
// The system's trackbar class (CreateChild registers it with the first
// real control) and its style.
const wchar_t* TrackBarClass(DWORD* style);
void SyncTrackBar(ControlRecord& rec);
// WM_HSCROLL from a trackbar to its parent: the user moved it.
bool TrackBarScroll(LPARAM lp, LRESULT* result);

// ---- accessible_win.cpp
// The answer to WM_GETOBJECT; 0 for objects other than the client.
LRESULT AnswerGetObject(FormRecord& rec, WPARAM wp, LPARAM lp);
// The private question "name of child N" (a global atom) and the posted
// default action of child N.
UINT ChildNameMessage();
UINT DefaultActionMessage();
LRESULT AnswerChildName(FormRecord& rec, WPARAM child);
void RunDefaultAction(FormRecord& rec, WPARAM child);
// Tells readers that the focus moved to a windowless control, or that a
// control's name or value changed.
void RaiseEvent(FormRecord& rec, const Control& c, AccessEvent event);
void ReleaseAccessible(FormRecord& rec);

// ---- named_win.cpp
// Lets a real control answer a reader who asks the window itself (as
// readers do when it takes the focus) with the name its label gives it.
void NameByLabel(HWND hwnd);

// ---- com_win.cpp: the OLE functions the backend calls, each failing
// softly (0, E_FAIL, null) where its library cannot be loaded; and
// InitComOnce (kit/com_win.h).
LRESULT ResultFromObject(REFIID iid, WPARAM wp, IUnknown* object);
HRESULT ObjectFromWindow(HWND hwnd, DWORD id, REFIID iid, void** out);
HRESULT StdAccessibleObject(HWND hwnd, LONG id, REFIID iid, void** out);
BSTR AllocString(const wchar_t* text, UINT length);
// Interface ids defined here: the 64-bit import library's IID_IAccessible
// is a stub, not the interface id.
inline constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
inline constexpr GUID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIidOleWindow = {0x00000114, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// VariantInit's whole work, without loading oleaut32 for it.
inline void ClearVariant(VARIANT* v) { v->vt = VT_EMPTY; }

}  // namespace kit::win
