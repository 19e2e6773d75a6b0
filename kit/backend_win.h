// Internals of the Win32 backend shared by its files: the records it keeps
// for every form and control, and the painting helpers.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/win32.h"

namespace kit::win {

// What the backend last gave a control's window, so that Sync only touches
// what changed.
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
  bool pressed = false;            // label: the left button went down on it
  HANDLE picture = nullptr;        // image: the loaded bitmap or icon
  bool picture_is_icon = false;
};

struct FormRecord {
  Form* form = nullptr;
  HWND hwnd = nullptr;
  bool shown_once = false;
  int applied_visible = -1;
  int applied_width = -1, applied_height = -1;
  std::wstring applied_caption;
  std::size_t applied_surface = 0;
  std::unordered_map<Control*, std::unique_ptr<ControlRecord>> controls;
};

HINSTANCE Instance();
HFONT FontFor(const Font& font);
// Paints the form's surface (colour, shapes, lines) into `dc`, whose origin
// stands at `origin` (pixels, in the form's client area).
void PaintSurface(Form& form, HDC dc, POINT origin, SIZE size);
void PaintLabel(ControlRecord& rec, HDC dc);
void PaintPicture(ControlRecord& rec, HDC dc);
void PaintImage(ControlRecord& rec, HDC dc);
void DrawFolderItem(ControlRecord& rec, const DRAWITEMSTRUCT& item);

ControlRecord* RecordOf(HWND hwnd);
// Dispatches a model handler from a window procedure, then syncs windows.
void Fire(const std::function<void()>& handler);

}  // namespace kit::win
