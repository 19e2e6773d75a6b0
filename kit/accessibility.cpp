#include "kit/accessibility.h"

#include <algorithm>

#include "kit/input.h"
#include "kit/platform.h"

namespace kit {
namespace {

// The action's name as a Bulgarian system reads it out.
constexpr wchar_t kPress[] = L"Натискане";

bool Decoration(const Control& c) {
  return c.Kind() == ControlKind::kShape || c.Kind() == ControlKind::kLine || !c.accessible;
}

std::wstring CaptionOf(const Control& c) {
  switch (c.Kind()) {
    case ControlKind::kLabel: return static_cast<const Label&>(c).caption;
    case ControlKind::kOptionButton: return static_cast<const OptionButton&>(c).caption;
    default: return {};
  }
}

}  // namespace

AccessibleChild Describe(const Form& form, const Control& c) {
  AccessibleChild a;
  a.control = const_cast<Control*>(&c);
  if (!c.accessible_name.empty()) a.name = c.accessible_name;
  else if (c.labelled_by) a.name = CaptionOf(*c.labelled_by);
  else a.name = CaptionOf(c);
  switch (c.Kind()) {
    case ControlKind::kLabel: a.role = Clickable(c) ? Role::kPushButton : Role::kStaticText; break;
    case ControlKind::kTextBox:
      a.role = Role::kEditableText;
      a.value = static_cast<const TextBox&>(c).text;
      a.read_only = static_cast<const TextBox&>(c).read_only;
      break;
    case ControlKind::kOptionButton:
      a.role = Role::kRadioButton;
      a.checked = static_cast<const OptionButton&>(c).Value();
      break;
    case ControlKind::kDriveList:
      a.role = Role::kComboBox;
      a.value = static_cast<const DriveList&>(c).Drive();
      break;
    case ControlKind::kComboBox:
      a.role = Role::kComboBox;
      a.value = static_cast<const ComboBox&>(c).Text();
      break;
    case ControlKind::kFolderList:
      a.role = Role::kList;
      a.value = static_cast<const FolderList&>(c).Path();
      break;
    case ControlKind::kTrackBar: {
      auto& t = static_cast<const TrackBar&>(c);
      a.role = Role::kSlider;
      a.value = std::to_wstring(t.value) + t.unit;
      break;
    }
    default: a.role = Role::kGraphic; break;
  }
  a.focusable = Focusable(c);
  a.focused = a.focusable && form.Focused() == &c;
  a.unavailable = !c.enabled;
  a.invisible = !Shown(c);
  a.bounds = c.bounds;
  if (c.Container()) {
    a.bounds.left += c.Container()->bounds.left;
    a.bounds.top += c.Container()->bounds.top;
  }
  a.has_value = a.role == Role::kEditableText || a.role == Role::kComboBox || a.role == Role::kList ||
                a.role == Role::kSlider;
  a.description = c.description;
  if (a.role == Role::kPushButton || a.role == Role::kRadioButton) a.default_action = kPress;
  if (c.role) a.role = *c.role;
  return a;
}

std::vector<AccessibleChild> AccessibleChildren(const Form& form) {
  std::vector<const Control*> order;
  for (Control* c : FocusOrder(form)) order.push_back(c);
  auto listed = [&](const Control* c) { return std::find(order.begin(), order.end(), c) != order.end(); };
  for (const Control* c : form.Controls())
    if (!Decoration(*c) && Shown(*c) && !listed(c)) order.push_back(c);
  for (const Control* c : form.Controls())
    if (!Decoration(*c) && !listed(c)) order.push_back(c);
  std::vector<AccessibleChild> out;
  out.reserve(order.size());
  for (const Control* c : order) out.push_back(Describe(form, *c));
  return out;
}

bool DoDefaultAction(Control& c) {
  if (!Shown(c) || !c.enabled) return false;
  if (Clickable(c)) {
    Click(c);
  } else if (c.Kind() == ControlKind::kOptionButton) {
    auto& o = static_cast<OptionButton&>(c);
    Dispatch([&o] { o.SetValue(true); });
  } else if (Focusable(c)) {
    c.Owner().SetFocus(&c);
  } else {
    return false;
  }
  return true;
}

bool FormRaises(const Control& c, AccessEvent event) {
  return Windowless(c) || event != AccessEvent::kNameChange;
}

}  // namespace kit
