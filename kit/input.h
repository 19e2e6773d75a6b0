// Mouse and keyboard input of a form, decided on the models so that every
// rule runs in host tests; the backend only turns window messages into
// these calls and shows the result.
//
// Mouse: labels and images are hit-tested in reverse z-order (the topmost
// visible, enabled one under the point takes the press); shapes, lines and
// the bare surface give the press to the form. Real controls (text boxes,
// option buttons, lists, picture boxes) get their presses from the system
// and never come here.
//
// Keyboard: Tab and Shift+Tab go through the focusable controls (clickable
// labels and real controls): first those with a tab index, in its order,
// then the rest by rows from top to bottom (tops within 8 pixels make a row)
// and left to right. A tab group is one stop; the arrows, Home and End move
// within it by the members' places (a line group's all in one row). Enter
// and Space on a focused label are its click; elsewhere Enter is the form's
// default action and Esc its cancel action.
#pragma once

#include <optional>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"

namespace kit {

// The label or image that takes a press at (x, y), twips in the form's
// client area; null when the press belongs to the form.
Control* HitTest(const Form& form, int x, int y);

// A button went down at (x, y): the control hit gets its mouse-down (at a
// point in its own coordinates), else the form. A left press on a control
// starts its click, which MouseUp finishes.
void MouseDown(Form& form, MouseButton button, int shift, int x, int y);
void MouseUp(Form& form, MouseButton button, int x, int y);
// The press was taken away (the capture was lost): no click follows.
void CancelPress(Form& form);
// A press on a picture box, at (x, y) twips in it, is the box's own: its
// mouse-down, never the form's (which may drag the window).
void PictureMouseDown(Control& box, MouseButton button, int shift, int x, int y);

enum class Key { kTab, kEnter, kEscape, kSpace, kLeft, kRight, kUp, kDown, kHome, kEnd, kPageUp, kPageDown };
constexpr int kShiftKey = 1;

// Whether a control can take the keyboard focus now.
bool Focusable(const Control& control);
// Whether a control draws no window of its own.
bool Windowless(const Control& control);
// A label that reacts to a click: a button for the keyboard and screen readers.
bool Clickable(const Control& control);
// A text box whose whole look is its frame and colour (one line, empty,
// enabled), which the form can paint itself until the box is first used:
// at start-up, its window and the edit control's library can wait.
bool PaintableUntilUsed(const Control& control);

// The tab stops in order; a group stands as the member the focus would
// enter it on.
std::vector<Control*> TabOrder(const Form& form);
// Every focusable control in tab order, groups expanded in their members' order.
std::vector<Control*> FocusOrder(const Form& form);

// The member of `from`'s group that an arrow, Home or End moves to; `from`
// itself where the move leads nowhere.
Control* GroupNeighbour(const Form& form, const Control& from, Key key);

// A context menu asked for by a right click at (x, y), or from the keyboard.
void ContextMenu(Form& form, int x, int y);
void ContextMenuKey(Form& form);
// A character typed while the form itself has the focus; whether it was used.
bool Char(Form& form, wchar_t ch);

// Where the keyboard focus is when a key goes down: on the form's own
// window (none or a windowless control has it), in a real control's
// window, or in a drop-down list that is open.
enum class KeyFocus { kForm, kControl, kOpenList };
constexpr int kControlKey = 2;
constexpr int kAltKey = 4;

// Whether the form gets a key (the rest is the system's and the controls'):
// Tab, Enter and Esc wherever the focus is in the window, Space, the arrows,
// Home, End, Page Up and Page Down only on the form's own window (the page
// keys anywhere in it for a form that asks, `pages_anywhere`); with Ctrl,
// only Enter, Home and End on the form's own window; nothing with Alt, and
// nothing while an open list keeps its keys. The form then gets the key
// with the Shift and Ctrl states.
bool RouteKey(KeyFocus focus, Key key, int modifiers, bool pages_anywhere = false);

// Ctrl and a letter ('A' to 'Z'): the form's command wherever the focus is
// in its window, except a real control's own editing keys (Ctrl+A, X, V, Z,
// and Ctrl+C while it has a selection to copy) and while an open list keeps
// its keys.
bool RouteShortcut(KeyFocus focus, wchar_t letter, bool text_selected);
// The form's command for Ctrl and `letter`; whether it had one.
bool Shortcut(Form& form, wchar_t letter);

// Where a key moves a trackbar's thumb: the arrows by one,
// up and right to higher values, Page Up and Page Down by the page step, Home
// and End to the ends. Nothing for other keys.
std::optional<int> TrackBarTarget(const TrackBar& bar, Key key);

// Where the system's focus goes when the form's window gets it back: into
// the focused control's own window when it is a real control that can take
// the focus; else it stays on the form's window, which shows the focus on
// the windowless control that has it (if any).
struct FocusFallback {
  Control* into_window = nullptr;
  Control* on_form = nullptr;
};
FocusFallback FallbackFocus(const Form& form);
// The system put its focus into a real control's window (a click, or its
// own move): the model's focus follows, without a second change when it is
// there already.
void FocusFollowsSystem(Control& control);

// A key pressed while the form (or one of its real controls) has the focus,
// with kShiftKey and kControlKey in `shift`. Returns whether the form used
// it; an unused key goes on to the control.
bool KeyDown(Form& form, Key key, int shift = 0);

}  // namespace kit
