// Internals of the Win32 backend shared by its files:
//   backend_win.cpp     the platform, the form window, its mouse and keys
//   controls_win.cpp    the real child windows (text boxes, option buttons,
//                       lists, picture boxes)
//   paint_win.cpp       the one painting pass of a form's windowless controls
//   accessible_win.cpp  the form's IAccessible
//   trackbar_win.cpp    the trackbar: its keys, its moves, its value for readers
//   named_win.cpp       the real controls' own accessible objects, named
//                       by their labels
//   com_win.cpp         the OLE libraries, loaded when a reader first asks
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/win32.h"

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
  std::size_t applied_look = 0;   // hash of the fields that need a repaint
  HBRUSH brush = nullptr;          // background brush for WM_CTLCOLOR*
  Color brush_color = 0xFFFFFFFFu;
  bool applying = false;           // set while the backend itself changes the window
  HANDLE picture = nullptr;        // image: the loaded bitmap or icon
  bool picture_is_icon = false;
  std::size_t applied_picture = 0;  // image: the look its picture was loaded for
  std::size_t applied_range = 0;    // trackbar: its range and page step, hashed
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
  Control* painted_focus = nullptr;
  bool painted_once = false;
  // While a sync runs: the parts of the form's window to repaint, gathered
  // so the system is told once, not once for each control that changed.
  HRGN dirty = nullptr;
  std::unordered_map<Control*, std::unique_ptr<ControlRecord>> controls;
  std::unordered_map<std::string, ATOM> name_atoms;   // for the inspector's name question
};

HINSTANCE Instance();
HFONT FontFor(const Font& font);
std::size_t HashCombine(std::size_t seed, std::size_t v);
std::size_t HashFont(const Font& f);
std::size_t LookHash(const Control& c);
// Pixel rectangle of a model rectangle. Edges are rounded separately so that
// neighbours that share an edge in twips share it in pixels.
RECT PixelRect(const Rect& r);
bool ShownNow(const Control& c);

// ---- paint_win.cpp
// Paints everything of the form that has no window, in one pass into `dc`
// (a back buffer of the client area): colour, shapes and lines, then labels
// and images in z-order, then the focus rectangle when `show_focus`.
void PaintForm(FormRecord& rec, HDC dc, const RECT& area, bool show_focus);
// A picture box: its drawing, then the labels it contains.
void PaintPicture(ControlRecord& rec, HDC dc);
// Answers WM_PAINT through a back buffer of the client area, so nothing
// flickers: `paint` draws into the buffer, clipped to what needs painting.
// The `first` paint of a window, with nothing yet on the screen, goes
// straight to the window.
void PaintBuffered(HWND hwnd, const std::function<void(HDC buffer, const RECT& client)>& paint, bool first = false);
void DrawFolderItem(ControlRecord& rec, const DRAWITEMSTRUCT& item);
void LoadPicture(ControlRecord& rec);
// The place a windowless control paints, in pixels of the window it lies on.
RECT PaintRect(const Control& c);
// Hash of what a windowless control looks like (place, text, colours).
std::size_t PaintHash(const Control& c);

// ---- controls_win.cpp
constexpr wchar_t kPictureClass[] = L"ElemoraPicture";
// Tests find a real control's name through this window property (a global
// atom holding the name).
constexpr wchar_t kNameProp[] = L"ElemoraName";
void RegisterControlClasses();
HWND CreateChild(Control& c, HWND parent, ControlRecord& rec);
void SyncControl(ControlRecord& rec);
void DestroyRecord(ControlRecord& rec);
void SetName(HWND hwnd, const std::string& name);
void DropName(HWND hwnd);
// Messages that system controls send to their parent, for forms and picture
// boxes alike. Returns true when handled.
bool ChildNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// ---- trackbar_win.cpp
// The system's trackbar class, registered on first use, and its style.
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
void RaiseEvent(FormRecord& rec, const Control& c, DWORD event);
void ReleaseAccessible(FormRecord& rec);

// ---- named_win.cpp
// Lets a real control answer a reader who asks the window itself (as
// readers do when it takes the focus) with the name its label gives it.
void NameByLabel(HWND hwnd);

// ---- com_win.cpp: the OLE functions the backend calls, each failing
// softly (0, E_FAIL, null) where its library cannot be loaded.
void InitComOnce();
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

ControlRecord* RecordOf(HWND hwnd);
void RememberWindow(HWND hwnd, ControlRecord* rec);
void ForgetWindow(HWND hwnd);
FormRecord* FormRecordOf(HWND hwnd);
// Dispatches a model handler from a window procedure, then syncs windows.
void Fire(const std::function<void()>& handler);

}  // namespace kit::win
