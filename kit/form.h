// A top-level window as a model: a surface of one colour on which the form
// itself draws its shapes and lines, with its controls above them. Without
// a frame (the default) the window's outer size is its client size; a
// `framed` form is a normal window with a title bar around that size.
//
// Life cycle, as the programs use it: a form object is created on first use;
// Load() runs its load step once; Show() and Hide() only change its
// visibility. Destroying the object destroys its window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kit/control.h"

namespace kit {

enum class Key;
enum class WindowState { kNormal, kMinimized, kMaximized };

class Form {
 public:
  explicit Form(std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  std::wstring caption;          // title text, shown by the system (task bar)
  std::wstring description;      // what a screen reader reads of the window besides its caption
  Color back_color = kButtonFace;
  Font font;                     // default font of the form
  std::wstring icon;             // icon resource name, empty for the default
  bool centered = true;          // centred on the screen when first shown
  int left = 0, top = 0;         // twips on the screen, when not centred
  // Set: first shown beside this form's window instead (see WindowOrigin).
  const Form* beside = nullptr;
  WindowState window_state = WindowState::kNormal;   // kept current by the backend
  bool topmost = false;
  // A normal window with a title bar and a sizing frame; Width and Height
  // are then its client area, and follow the user's resizing.
  bool framed = false;
  // Labels and shapes that have a monochrome look show it instead of their
  // colours.
  bool monochrome = false;
  // Tab groups whose members stand in one line whatever their heights (a
  // chart's points): Left, Right, Home and End go by their left edges, Up
  // and Down nowhere.
  std::vector<int> line_groups;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size raises on_resize when the form has been shown, also
  // from inside its own resize handler.
  void SetWidth(int twips);
  void SetHeight(int twips);
  void SetSize(int width, int height);

  bool Visible() const { return visible_; }
  bool Loaded() const { return loaded_; }
  // Runs on_load once; later calls do nothing.
  void Load();
  // Loads if needed, shows; the first showing raises on_resize.
  void Show();
  void Hide();
  // Shows it and makes it the active window, in front of the others.
  void Activate() {
    Show();
    ++activate_request;
  }
  unsigned activate_request = 0;   // the backend applies each request once

  Handler on_load;
  Handler on_resize;
  MouseHandler on_mouse_down;   // a press on the surface (shapes and lines included)
  // The system asks to close the window (Alt+F4). Unset: the program ends.
  Handler on_close_request;
  // A context menu is asked for: by a right click, with the label under it
  // (null on the bare surface) and the click's point; or by Shift+F10 or the
  // context-menu key (`keyboard`), with the focused control and its centre.
  // Twips in the client area.
  std::function<void(Control* target, int x, int y, bool keyboard)> on_context_menu;
  // A character typed while no real control has the focus (the keyboard
  // layout already applied); returns whether the form used it.
  std::function<bool(wchar_t ch)> on_char;
  // Ctrl and a capital letter, wherever the focus is in the window (see
  // RouteShortcut); returns whether it was the form's.
  std::function<bool(wchar_t letter)> on_shortcut;
  // A key the form gets (kit/input), offered before its own handling;
  // returns whether the form used it.
  std::function<bool(Key key, int shift)> on_key;
  // The mouse wheel turned over the window by whole notches (away from the
  // user positive); returns whether the form used them.
  std::function<bool(int notches)> on_wheel;
  // Page Up and Page Down come to on_key wherever the focus is in the
  // window, not only from the form's own (a window that pages through
  // elements).
  bool pages_anywhere = false;

  const std::vector<Control*>& Controls() const { return controls_; }
  Control* Find(const std::string& name) const;
  // The control that has the keyboard focus whenever the form appears; none:
  // the form itself has it, so no label-button is pressed by accident.
  Control* initial_focus = nullptr;
  // The labels whose click Enter and Esc stand for, when the focus is not on
  // a label-button (Enter there is that label's click). Null: the key does
  // nothing.
  Control* default_action = nullptr;
  Control* cancel_action = nullptr;

  // The control with the keyboard focus, null for the form itself. The
  // backend shows a change and tells the form when the user moves the focus
  // into a real control with the mouse.
  Control* Focused() const { return focused_; }
  void SetFocus(Control* control);
  // The focus moved from one control to another (null: the form itself).
  std::function<void(Control* from, Control* to)> on_focus_change;
  unsigned FocusSerial() const { return focus_serial_; }
  // The member of a tab group that the focus enters it on: the last one
  // focused, else the group's first control.
  Control* GroupEntry(int group) const;
  // Makes `member` the one its group is entered on next, as if it had had
  // the focus last (for a group rebuilt while the focus was elsewhere).
  void SetGroupEntry(Control* member);

  // The label the left button went down on; its click comes when the button
  // is released over it. Kept by kit/input.
  Control* pressed = nullptr;

  void* native = nullptr;   // the backend's record

 private:
  friend class Control;
  std::string name_;
  int width_ = 0, height_ = 0;
  bool visible_ = false;
  bool loaded_ = false;
  bool shown_once_ = false;
  std::vector<Control*> controls_;
  Control* focused_ = nullptr;
  unsigned focus_serial_ = 0;
  std::vector<std::pair<int, Control*>> group_focus_;
};

// Where a form's window first stands, in pixels on the screen: centred in
// the work area (the screen less the task bar) or at its own place; or,
// given the window it stands `beside`, right of it where the work area has
// room, else at the work area's right edge (covering as little of it as
// it must), level with its top.
Point WindowOrigin(const Form& form, int width, int height, Rect work_area,
                   std::optional<Rect> beside = std::nullopt);

// Every form object alive, in creation order.
const std::vector<Form*>& LiveForms();

}  // namespace kit
