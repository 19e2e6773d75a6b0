// What a screen reader learns about a form: its controls as the children of
// the form's accessible object, windowless and windowed alike. The backend
// serves this through IAccessible; host tests read it directly.
//
// Children: the focusable controls in tab order, then the other visible
// ones in z-order, then the hidden ones (marked invisible, as readers
// expect of hidden children). Shapes and lines are decoration and are left
// out, as are controls drawn for the eye only (`accessible` off).
#pragma once

#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"

namespace kit {

struct AccessibleChild {
  Control* control = nullptr;
  std::wstring name;
  Role role = Role::kStaticText;
  bool focused = false;
  bool focusable = false;
  bool unavailable = false;
  bool invisible = false;
  bool checked = false;
  bool read_only = false;         // a text box the user cannot change
  // Whether `value` is read out (text boxes, lists, trackbars: even when
  // empty); other controls have none.
  bool has_value = false;
  Rect bounds;                    // twips in the form's client area
  std::wstring value;             // a text box's text, a list's current line, a trackbar's value
  std::wstring description;
  std::wstring default_action;    // empty: none
};

std::vector<AccessibleChild> AccessibleChildren(const Form& form);
AccessibleChild Describe(const Form& form, const Control& control);
// What the default action does: a label-button's click, an option button's
// choice; other controls take the focus. Returns false when the control
// cannot act now (hidden or disabled).
bool DoDefaultAction(Control& control);

// What readers are told as it happens.
enum class AccessEvent { kFocus, kNameChange, kValueChange, kAlert };
// Whether the form tells it: of a windowless control everything; of a real
// control all but its name (the system tells its own windows' names, and
// the form answers for the values as its children).
bool FormRaises(const Control& control, AccessEvent event);

}  // namespace kit
