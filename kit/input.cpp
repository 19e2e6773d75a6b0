#include "kit/input.h"

#include <algorithm>
#include <cstdlib>

#include "kit/platform.h"

namespace kit {
namespace {

// Tops closer than this (8 pixels at 96 DPI) stand in one row.
constexpr int kRowSlack = 120;
// Neighbouring tiles share their frame lines; an overlap no wider than a
// frame does not put one tile under another.
constexpr int kSharedEdge = 15;


// Each control's row number, rows counted from the top.
std::vector<int> Rows(const std::vector<Control*>& controls) {
  std::vector<size_t> by_top(controls.size());
  for (size_t i = 0; i < by_top.size(); ++i) by_top[i] = i;
  std::stable_sort(by_top.begin(), by_top.end(),
                   [&](size_t a, size_t b) { return controls[a]->bounds.top < controls[b]->bounds.top; });
  std::vector<int> rows(controls.size());
  int row = -1, row_top = 0;
  for (size_t i : by_top) {
    int top = controls[i]->bounds.top;
    if (row < 0 || top - row_top > kRowSlack) {
      ++row;
      row_top = top;
    }
    rows[i] = row;
  }
  return rows;
}

// Top to bottom by rows, left to right within a row.
void SortByRows(std::vector<Control*>& controls) {
  std::vector<int> rows = Rows(controls);
  std::vector<size_t> order(controls.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (rows[a] != rows[b]) return rows[a] < rows[b];
    return controls[a]->bounds.left < controls[b]->bounds.left;
  });
  std::vector<Control*> sorted;
  for (size_t i : order) sorted.push_back(controls[i]);
  controls = std::move(sorted);
}

std::vector<Control*> FocusableInOrder(const Form& form) {
  std::vector<Control*> ordered, rest;
  for (Control* c : form.Controls()) {
    if (!Focusable(*c)) continue;
    (c->tab_index >= 0 ? ordered : rest).push_back(c);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](Control* a, Control* b) { return a->tab_index < b->tab_index; });
  SortByRows(rest);
  ordered.insert(ordered.end(), rest.begin(), rest.end());
  return ordered;
}

std::vector<Control*> GroupMembers(const Form& form, int group) {
  std::vector<Control*> members;
  for (Control* c : form.Controls())
    if (c->tab_group == group && Focusable(*c)) members.push_back(c);
  return members;
}

int Overlap(const Rect& a, const Rect& b) { return std::min(a.Right(), b.Right()) - std::max(a.left, b.left); }
int CentreX(const Rect& r) { return r.left * 2 + r.width; }   // doubled, to stay in integers

}  // namespace

bool Windowless(const Control& c) {
  switch (c.Kind()) {
    case ControlKind::kLabel:
    case ControlKind::kShape:
    case ControlKind::kLine:
    case ControlKind::kImage:
      return true;
    default:
      return false;
  }
}

bool Clickable(const Control& c) { return c.Kind() == ControlKind::kLabel && c.on_click; }

bool PaintableUntilUsed(const Control& c) {
  if (c.Kind() != ControlKind::kTextBox || !c.enabled) return false;
  auto& t = static_cast<const TextBox&>(c);
  return t.text.empty() && !t.multi_line && !t.vertical_scroll;
}

bool Focusable(const Control& c) {
  if (!Shown(c) || !c.enabled) return false;
  switch (c.Kind()) {
    case ControlKind::kLabel: return Clickable(c) && !c.Container();
    case ControlKind::kTextBox:
    case ControlKind::kOptionButton:
    case ControlKind::kDriveList:
    case ControlKind::kFolderList:
    case ControlKind::kTrackBar:
    case ControlKind::kComboBox:
      return true;
    default:
      return false;
  }
}

Control* HitTest(const Form& form, int x, int y) {
  const auto& controls = form.Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    Control* c = *it;
    if (c->Container() || !Shown(*c) || !c->enabled) continue;
    if (c->Kind() != ControlKind::kLabel && c->Kind() != ControlKind::kImage) continue;
    if (c->bounds.Contains(x, y)) return c;
  }
  return nullptr;
}

void MouseDown(Form& form, MouseButton button, int shift, int x, int y) {
  Control* hit = HitTest(form, x, y);
  if (!hit) {
    if (form.on_mouse_down) Dispatch([&form, button, shift, x, y] { form.on_mouse_down(button, shift, x, y); });
    return;
  }
  if (button == MouseButton::kLeft) form.pressed = hit;
  if (hit->on_mouse_down) {
    int cx = x - hit->bounds.left, cy = y - hit->bounds.top;
    Dispatch([hit, button, shift, cx, cy] { hit->on_mouse_down(button, shift, cx, cy); });
  }
}

void PictureMouseDown(Control& box, MouseButton button, int shift, int x, int y) {
  if (box.on_mouse_down) Dispatch([&box, button, shift, x, y] { box.on_mouse_down(button, shift, x, y); });
}

void FocusFollowsSystem(Control& control) {
  Form& form = control.Owner();
  if (form.Focused() != &control) form.SetFocus(&control);
}

void MouseUp(Form& form, MouseButton button, int x, int y) {
  if (button != MouseButton::kLeft) return;
  Control* pressed = form.pressed;
  form.pressed = nullptr;
  // A click is a press and a release on the same control.
  if (pressed && pressed->bounds.Contains(x, y)) Click(*pressed);
}

void CancelPress(Form& form) { form.pressed = nullptr; }

void ContextMenu(Form& form, int x, int y) {
  if (!form.on_context_menu) return;
  Control* hit = HitTest(form, x, y);
  Dispatch([&form, hit, x, y] { form.on_context_menu(hit, x, y, false); });
}

void ContextMenuKey(Form& form) {
  if (!form.on_context_menu) return;
  Control* target = form.Focused();
  int x = 0, y = 0;
  if (target && !target->Container()) {
    x = target->bounds.left + target->bounds.width / 2;
    y = target->bounds.top + target->bounds.height / 2;
  }
  Dispatch([&form, target, x, y] { form.on_context_menu(target, x, y, true); });
}

bool Char(Form& form, wchar_t ch) {
  if (!form.on_char) return false;
  bool used = false;
  Dispatch([&form, ch, &used] { used = form.on_char(ch); });
  return used;
}

std::vector<Control*> FocusOrder(const Form& form) {
  std::vector<Control*> order;
  std::vector<int> groups_done;
  for (Control* c : FocusableInOrder(form)) {
    if (c->tab_group == 0) {
      order.push_back(c);
      continue;
    }
    if (std::find(groups_done.begin(), groups_done.end(), c->tab_group) != groups_done.end()) continue;
    groups_done.push_back(c->tab_group);
    std::vector<Control*> members = GroupMembers(form, c->tab_group);
    SortByRows(members);
    order.insert(order.end(), members.begin(), members.end());
  }
  return order;
}

std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> stops;
  std::vector<int> groups_done;
  for (Control* c : FocusableInOrder(form)) {
    if (c->tab_group == 0) {
      stops.push_back(c);
      continue;
    }
    if (std::find(groups_done.begin(), groups_done.end(), c->tab_group) != groups_done.end()) continue;
    groups_done.push_back(c->tab_group);
    Control* entry = form.GroupEntry(c->tab_group);
    stops.push_back(entry && Focusable(*entry) ? entry : c);
  }
  return stops;
}

Control* GroupNeighbour(const Form& form, const Control& from, Key key) {
  if (from.tab_group == 0) return const_cast<Control*>(&from);
  std::vector<Control*> members = GroupMembers(form, from.tab_group);
  auto self = std::find(members.begin(), members.end(), &from);
  if (self == members.end()) return const_cast<Control*>(&from);
  const bool in_line = std::find(form.line_groups.begin(), form.line_groups.end(), from.tab_group) !=
                       form.line_groups.end();
  std::vector<int> rows = in_line ? std::vector<int>(members.size(), 0) : Rows(members);
  int my_row = rows[static_cast<size_t>(self - members.begin())];

  if (key == Key::kLeft || key == Key::kRight || key == Key::kHome || key == Key::kEnd) {
    std::vector<Control*> row;
    for (size_t i = 0; i < members.size(); ++i)
      if (rows[i] == my_row) row.push_back(members[i]);
    std::stable_sort(row.begin(), row.end(), [](Control* a, Control* b) { return a->bounds.left < b->bounds.left; });
    auto at = std::find(row.begin(), row.end(), &from);
    switch (key) {
      case Key::kHome: return row.front();
      case Key::kEnd: return row.back();
      case Key::kLeft: return at == row.begin() ? *at : *(at - 1);
      default: return at + 1 == row.end() ? *at : *(at + 1);
    }
  }
  if (key != Key::kUp && key != Key::kDown) return const_cast<Control*>(&from);
  int step = key == Key::kUp ? -1 : 1;
  int last_row = *std::max_element(rows.begin(), rows.end());
  for (int r = my_row + step; r >= 0 && r <= last_row; r += step) {
    Control* best = nullptr;
    for (size_t i = 0; i < members.size(); ++i) {
      if (rows[i] != r || Overlap(members[i]->bounds, from.bounds) <= kSharedEdge) continue;
      int d = std::abs(CentreX(members[i]->bounds) - CentreX(from.bounds));
      if (!best || d < std::abs(CentreX(best->bounds) - CentreX(from.bounds))) best = members[i];
    }
    if (best) return best;
  }
  return const_cast<Control*>(&from);
}

bool KeyDown(Form& form, Key key, int shift) {
  if (form.on_key && form.on_key(key, shift)) return true;
  // A combination with Ctrl is a command of the form's or nothing: never a
  // click or a move.
  if (shift & kControlKey) return false;
  Control* focus = form.Focused();
  if (focus && !Focusable(*focus)) focus = nullptr;
  switch (key) {
    case Key::kTab: {
      std::vector<Control*> stops = TabOrder(form);
      if (stops.empty()) return true;
      int n = static_cast<int>(stops.size()), at = -1;
      for (int i = 0; i < n && focus; ++i)
        if (stops[i] == focus || (focus->tab_group != 0 && stops[i]->tab_group == focus->tab_group)) at = i;
      bool back = (shift & kShiftKey) != 0;
      int next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? n - 1 : 1)) % n;
      form.SetFocus(stops[next]);
      return true;
    }
    case Key::kEnter:
    case Key::kSpace:
      if (key == Key::kEnter && focus && focus->Kind() == ControlKind::kTextBox &&
          static_cast<TextBox*>(focus)->on_enter) {
        Dispatch(static_cast<TextBox*>(focus)->on_enter);
        return true;
      }
      if (focus && Clickable(*focus)) {
        Click(*focus);
        return true;
      }
      if (key == Key::kSpace || !form.default_action) return false;
      Click(*form.default_action);
      return true;
    case Key::kEscape:
      if (!form.cancel_action) return false;
      Click(*form.cancel_action);
      return true;
    case Key::kPageUp:
    case Key::kPageDown:
      return false;
    default:
      if (!focus || !Windowless(*focus)) return false;
      form.SetFocus(GroupNeighbour(form, *focus, key));
      return true;
  }
}

bool RouteKey(KeyFocus focus, Key key, int modifiers, bool pages_anywhere) {
  if (modifiers & kAltKey || focus == KeyFocus::kOpenList) return false;
  // With Ctrl, only the keys a text box or list has no use for, and only
  // from the form's own window: Ctrl+Home in a text box is the box's own.
  if (modifiers & kControlKey)
    return focus == KeyFocus::kForm && (key == Key::kEnter || key == Key::kHome || key == Key::kEnd);
  switch (key) {
    case Key::kPageUp:
    case Key::kPageDown:
      return focus == KeyFocus::kForm || pages_anywhere;
    case Key::kTab:
    case Key::kEnter:
    case Key::kEscape:
      return true;
    default:
      return focus == KeyFocus::kForm;
  }
}

bool RouteShortcut(KeyFocus focus, wchar_t letter, bool text_selected) {
  if (letter < L'A' || letter > L'Z') return false;
  switch (focus) {
    case KeyFocus::kForm: return true;
    case KeyFocus::kOpenList: return false;
    case KeyFocus::kControl:
      if (letter == L'C') return !text_selected;
      return letter != L'A' && letter != L'X' && letter != L'V' && letter != L'Z';
  }
  return false;
}

bool Shortcut(Form& form, wchar_t letter) {
  if (!form.on_shortcut) return false;
  bool used = false;
  Dispatch([&form, letter, &used] { used = form.on_shortcut(letter); });
  return used;
}

std::optional<int> TrackBarTarget(const TrackBar& bar, Key key) {
  int to = bar.value;
  switch (key) {
    case Key::kRight:
    case Key::kUp: to += 1; break;
    case Key::kLeft:
    case Key::kDown: to -= 1; break;
    case Key::kPageUp: to += bar.page_step; break;
    case Key::kPageDown: to -= bar.page_step; break;
    case Key::kHome: to = bar.min; break;
    case Key::kEnd: to = bar.max; break;
    default: return std::nullopt;
  }
  return to;   // MoveTo holds it in the range
}

FocusFallback FallbackFocus(const Form& form) {
  Control* focus = form.Focused();
  if (!focus) return {};
  if (!Windowless(*focus)) return {Focusable(*focus) ? focus : nullptr, nullptr};
  return {nullptr, focus};
}

}  // namespace kit
