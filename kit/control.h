// The controls of a form as plain models. A control is an object with the
// properties the windows of the programs use; handlers change those fields
// directly and the backend shows the change when control returns to it (after
// every event, and inside Refresh and DoEvents). Controls never draw
// themselves: the backend does, from the fields.
//
// A control registers itself with its form (or picture box) on construction;
// the order of construction is the z-order, the first one lowest. Labels,
// shapes, lines and images have no window of their own: the form paints them
// (shapes and lines beneath the rest) and hit-tests the mouse against them;
// shapes and lines take no mouse input, so a press on them is the form's.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kit/bitmap.h"
#include "kit/color.h"
#include "kit/font.h"
#include "kit/geometry.h"
#include "kit/scripted.h"

namespace kit {

class Form;
class PictureBox;

enum class ControlKind {
  kLabel, kTextBox, kOptionButton, kShape, kLine, kImage, kPictureBox, kDriveList, kFolderList, kTrackBar,
  kComboBox
};

enum class Align { kLeft, kRight, kCenter };

// What a screen reader is told a control is (kit/accessibility.h). Each kind
// has its own; a control may stand for another: a cell of a table drawn as
// labels, an item of a list, an alert whose text a reader speaks when it
// appears or changes.
enum class Role {
  kPushButton, kStaticText, kEditableText, kRadioButton, kComboBox, kList, kGraphic, kSlider,
  kAlert, kTable, kCell, kColumnHeader, kRowHeader, kListItem
};

enum class MouseButton { kLeft = 1, kRight = 2, kMiddle = 4 };

// Handlers of the programs take no arguments (a click) or the mouse-down
// details; they return nothing.
using Handler = std::function<void()>;
using MouseHandler = std::function<void(MouseButton button, int shift, int x, int y)>;

class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind);
  // A control that stands inside a picture box (the meter's shape and caption).
  Control(PictureBox& container, std::string name, ControlKind kind);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Form& Owner() const { return *form_; }
  PictureBox* Container() const { return container_; }

  Rect bounds;          // twips, in the parent's client area
  bool visible = true;
  bool enabled = true;
  int tab_index = -1;   // >= 0: its place in the tab order, before the controls without one
  // Non-zero: the controls of a group are one tab stop and the arrow keys
  // move between them by their places (the viewer's tiles).
  int tab_group = 0;

  // What a screen reader reads besides the caption: a name for a control
  // that has no caption of its own, the label that names a box, and a
  // longer description.
  std::wstring accessible_name;
  const Control* labelled_by = nullptr;
  std::wstring description;
  std::optional<Role> role;   // set: what readers are told this control is
  // Off: drawn for the eye only, left out of what readers get (the cells of
  // a list's row, which the row's own name reads out).
  bool accessible = true;

  Handler on_click;
  Handler on_dbl_click;
  MouseHandler on_mouse_down;

  // The backend's own record for this control (its window, last shown state).
  void* native = nullptr;

 private:
  Form* form_;
  PictureBox* container_ = nullptr;
  std::string name_;
  ControlKind kind_;
};

// Whether a control shows now: its own visibility and its container's.
bool Shown(const Control& c);

// The font and colours of every control that shows text or a surface
// (labels, text boxes, option buttons, picture boxes and the lists); each
// kind starts from its own system colours.
class StyledControl : public Control {
 public:
  Font font;
  Color fore_color;
  Color back_color;

 protected:
  StyledControl(Form& form, std::string name, ControlKind kind, Color fore, Color back)
      : Control(form, std::move(name), kind), fore_color(fore), back_color(back) {}
  StyledControl(PictureBox& box, std::string name, ControlKind kind, Color fore, Color back)
      : Control(box, std::move(name), kind), fore_color(fore), back_color(back) {}
};
// The style record of a control that has one, else null.
const StyledControl* StyleOf(const Control& c);

// Black lines over a fill, so that fills stay apart on a black-and-white
// printer.
enum class Hatch { kNone, kHorizontal, kVertical, kForwardDiagonal, kBackwardDiagonal, kCross, kDiagonalCross };

// What a label or shape shows instead of its colours while its form is set
// for black and white: white or a grey, black lines over it, black text.
struct Monochrome {
  Color back = Rgb(0xFF, 0xFF, 0xFF);
  Hatch hatch = Hatch::kNone;
  friend bool operator==(const Monochrome&, const Monochrome&) = default;
};

// A label: static text that may react to a click. Labels are the buttons of
// the programs. A transparent label shows the form's surface behind it.
class Label : public StyledControl {
 public:
  Label(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kLabel, kButtonText, kButtonFace) {}
  Label(PictureBox& box, std::string name)
      : StyledControl(box, std::move(name), ControlKind::kLabel, kButtonText, kButtonFace) {}

  std::wstring caption;
  bool transparent = false;
  Align alignment = Align::kLeft;
  bool border = false;      // a single-line frame around the label
  bool word_wrap = false;   // wrap within the width; else one line, clipped
  // Off: the caption is not drawn, but still names the label for readers.
  bool caption_shown = true;
  std::optional<Monochrome> monochrome;
  // One mark a caption character: those marked are drawn smaller, raised or
  // lowered, on one line. Empty: plain text. SetScripted fills both.
  std::vector<Script> caption_scripts;
};
// The caption from scripted markup ("SO_4^{2-}", see kit/scripted.h).
void SetScripted(Label& label, std::wstring_view markup);

class TextBox : public StyledControl {
 public:
  TextBox(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kTextBox, kWindowText, kWindowBack) {}

  std::wstring text;   // kept current with what the user types
  Align alignment = Align::kLeft;
  bool multi_line = false;
  bool vertical_scroll = false;
  bool border = true;   // a thin flat frame; false: no frame at all
  bool read_only = false;
  Handler on_change;
  // Enter pressed in the box; unset, Enter is the form's as anywhere else.
  Handler on_enter;

  // Selects characters as the program asks. What the user selects is the
  // window's own; the backend writes it back here when the box loses the
  // focus, so the program can type where the caret was left.
  void Select(int start, int length) {
    sel_start = start;
    sel_length = length;
    ++selection_request;
  }
  int sel_start = 0;
  int sel_length = 0;
  unsigned selection_request = 0;   // the backend applies each request once
};

// Option buttons of one container form one group: selecting one clears the
// others of the same group.
class OptionButton : public StyledControl {
 public:
  OptionButton(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kOptionButton, kButtonText, kButtonFace) {}

  std::wstring caption;
  int group = 0;

  bool Value() const { return value_; }
  // Selecting clears the others of the group and raises on_click, as a
  // user's click does; clearing raises nothing.
  void SetValue(bool value);

 private:
  bool value_ = false;
};

enum class ShapeKind { kRectangle, kCircle };

class Shape : public Control {
 public:
  Shape(Form& form, std::string name) : Control(form, std::move(name), ControlKind::kShape) {}
  Shape(PictureBox& box, std::string name) : Control(box, std::move(name), ControlKind::kShape) {}

  ShapeKind shape = ShapeKind::kRectangle;
  bool filled = false;           // false: transparent inside
  Color fill_color = Rgb(0, 0, 0);
  bool outlined = true;
  Color border_color = kWindowText;
  int border_width = 1;          // pixels
  std::optional<Monochrome> monochrome;
};

class Line : public Control {
 public:
  Line(Form& form, std::string name) : Control(form, std::move(name), ControlKind::kLine) {}

  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // twips; `bounds` is unused
  Color color = kWindowText;
  int width = 1;   // pixels
};

// A picture from the program's resources, shown at its box (stretched or at
// its own size).
class Image : public Control {
 public:
  Image(Form& form, std::string name) : Control(form, std::move(name), ControlKind::kImage) {}

  std::wstring resource;   // the bitmap or icon resource's name
  bool stretch = false;
};

// A picture box with a persistent drawing surface. Drawing goes into `image`
// (pixels of the box's size at the current DPI); Cls restores it to the
// background colour with `picture` on top; the backend blits `image`.
// Coordinates of the drawing methods are twips in the box's own scale.
// Its fore colour is the colour of Line and Circle.
class PictureBox : public StyledControl {
 public:
  PictureBox(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kPictureBox, kWindowText, kButtonFace) {}

  bool border = false;

  // Interior size in twips (the box less its border).
  int ScaleWidth() const;
  int ScaleHeight() const;

  // The drawing so far; sized to the box on first use.
  Bitmap& Image();
  const Bitmap& Image() const;
  // The background picture that Cls restores; empty for none.
  Bitmap picture;

  void Cls();
  void DrawLine(double x1, double y1, double x2, double y2);
  void DrawCircle(double cx, double cy, double radius);
  // Shows the drawing now, even inside a long handler.
  void Refresh();

  const std::vector<Control*>& Children() const { return children_; }

 private:
  friend class Control;
  void EnsureImage() const;
  mutable Bitmap image_;
  std::vector<Control*> children_;
};

// A standard trackbar: a thumb moved along a line of whole numbers by the
// mouse or the keys (arrows by one, Page Up and Page Down by `page_step`,
// Home and End to the ends; right, up and Page Up go up).
class TrackBar : public StyledControl {
 public:
  TrackBar(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kTrackBar, kWindowText, kButtonFace) {}

  int min = 0, max = 100;
  int value = 0;   // the program may set it; that raises nothing
  int page_step = 10;
  // Read after the value by screen readers: " °C" makes "25 °C".
  std::wstring unit;
  Handler on_change;

  // As the user moves it: held within min..max; on_change when it moved.
  void MoveTo(int to);
};

struct DriveEntry {
  std::wstring root;    // "C:\"
  std::wstring label;   // volume label, may be empty
};

// A drop-down list of the drives. `Drive()` reads as the list shows it: the
// lower-case letter and colon, then the volume label in brackets if any
// ("c: [System]").
class DriveList : public StyledControl {
 public:
  DriveList(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kDriveList, kWindowText, kWindowBack) {}

  Handler on_change;

  // Fills the list; selects `current` (a root such as "C:\") when present.
  void SetDrives(std::vector<DriveEntry> drives, const std::wstring& current);
  const std::vector<DriveEntry>& Drives() const { return drives_; }
  std::wstring Item(int index) const;
  int ListIndex() const { return index_; }
  std::wstring Drive() const;
  // As a user's pick: selects and raises on_change when it changed.
  void Select(int index);

 private:
  std::vector<DriveEntry> drives_;
  int index_ = -1;
};

// A drop-down list of fixed lines, one of them chosen.
class ComboBox : public StyledControl {
 public:
  ComboBox(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kComboBox, kWindowText, kWindowBack) {}

  std::vector<std::wstring> items;
  Handler on_change;

  int ListIndex() const { return index_; }
  std::wstring Text() const;
  // The program's choice raises nothing.
  void SetIndex(int index) { index_ = index; }
  // As a user's pick: selects and raises on_change when it changed.
  void Select(int index);

 private:
  int index_ = -1;
};

// A folder list: the ancestors of the current folder, the folder itself and
// its subfolders. `ListCount()` counts only the subfolders, so 0 means the
// folder has none. The folder source is given by the program (its file
// services); without one every path is refused.
class FolderList : public StyledControl {
 public:
  FolderList(Form& form, std::string name)
      : StyledControl(form, std::move(name), ControlKind::kFolderList, kWindowText, kWindowBack) {}

  // Subfolder names of a folder, or nothing when it cannot be read.
  using Source = std::function<std::optional<std::vector<std::wstring>>(const std::wstring& folder)>;
  Source source;

  Handler on_change;

  // The current folder, without a closing backslash except at a drive root.
  const std::wstring& Path() const { return path_; }
  // Accepts a folder ("C:\Program Files\"), a drive as a drive list names it
  // ("c: [System]") or a root. Returns false and changes nothing when the
  // folder cannot be read; raises on_change when the path changed.
  bool SetPath(const std::wstring& path);

  int ListCount() const { return static_cast<int>(subfolders_.size()); }
  // Every line shown: ancestors from the root down, the current folder, then
  // the subfolders (full paths).
  std::vector<std::wstring> Lines() const;
  // Depth of a line for indenting it; the root is 0.
  int Indent(int line) const;
  // The current folder's line, the last of the ancestors'.
  int CurrentLine() const;
  // As a user's double-click on a line: opens that folder.
  void Open(int line);

 private:
  std::wstring path_;
  std::vector<std::wstring> subfolders_;
};

}  // namespace kit
