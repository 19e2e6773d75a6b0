#include "kit/form.h"

#include <algorithm>

#include "kit/platform.h"

namespace kit {
namespace {
std::vector<Form*>& Forms() {
  static std::vector<Form*> forms;
  return forms;
}
}  // namespace

const std::vector<Form*>& LiveForms() { return Forms(); }

Form::Form(std::string name) : name_(std::move(name)) { Forms().push_back(this); }

Form::~Form() {
  CurrentPlatform().FormDestroyed(*this);
  auto& forms = Forms();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void Form::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  if (shown_once_) Dispatch(on_resize);
}
void Form::SetWidth(int twips) { SetSize(twips, height_); }
void Form::SetHeight(int twips) { SetSize(width_, twips); }

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  Dispatch(on_load);
}

void Form::Show() {
  Load();
  // Each time the window appears, the focus starts where the form says.
  if (!visible_) SetFocus(initial_focus);
  visible_ = true;
  if (!shown_once_) {
    shown_once_ = true;
    Dispatch(on_resize);
  }
}

void Form::Hide() { visible_ = false; }

void Form::SetFocus(Control* control) {
  Control* from = focused_;
  focused_ = control;
  ++focus_serial_;
  if (from != control && on_focus_change) on_focus_change(from, control);
  SetGroupEntry(control);
}

void Form::SetGroupEntry(Control* control) {
  if (!control || control->tab_group == 0) return;
  for (auto& [group, member] : group_focus_) {
    if (group == control->tab_group) {
      member = control;
      return;
    }
  }
  group_focus_.emplace_back(control->tab_group, control);
}

Control* Form::GroupEntry(int group) const {
  for (const auto& [g, member] : group_focus_)
    if (g == group) return member;
  for (Control* c : controls_)
    if (c->tab_group == group) return c;
  return nullptr;
}

Control* Form::Find(const std::string& name) const {
  for (Control* c : controls_)
    if (c->Name() == name) return c;
  return nullptr;
}

Point WindowOrigin(const Form& form, int width, int height, Rect work, std::optional<Rect> beside) {
  if (beside) {
    const int x = std::max(work.left, std::min(beside->Right(), work.Right() - width));
    const int y = std::max(work.top, std::min(beside->top, work.Bottom() - height));
    return {x, y};
  }
  if (!form.centered) return {TwipsToPixels(form.left), TwipsToPixels(form.top)};
  return {work.left + (work.width - width) / 2, work.top + (work.height - height) / 2};
}

}  // namespace kit
