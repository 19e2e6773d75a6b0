#include "kit/control.h"

#include <algorithm>
#include <cwctype>

#include "kit/form.h"
#include "kit/platform.h"

namespace kit {

void SetScripted(Label& label, std::wstring_view markup) {
  ScriptedText t = ParseScripted(markup);
  label.caption = std::move(t.text);
  label.caption_scripts = std::move(t.marks);
}

Control::Control(Form& form, std::string name, ControlKind kind)
    : form_(&form), name_(std::move(name)), kind_(kind) {
  form.controls_.push_back(this);
}

Control::Control(PictureBox& container, std::string name, ControlKind kind)
    : form_(&container.Owner()), container_(&container), name_(std::move(name)), kind_(kind) {
  container.children_.push_back(this);
  form_->controls_.push_back(this);
}

Control::~Control() {
  if (native) CurrentPlatform().ControlDestroyed(*this);
  if (form_->pressed == this) form_->pressed = nullptr;
  if (form_->Focused() == this) form_->SetFocus(nullptr);
  auto& groups = form_->group_focus_;
  groups.erase(std::remove_if(groups.begin(), groups.end(), [this](const auto& g) { return g.second == this; }),
               groups.end());
  auto& list = form_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (container_) {
    auto& kids = container_->children_;
    kids.erase(std::remove(kids.begin(), kids.end(), this), kids.end());
  }
}

bool Shown(const Control& c) { return c.visible && (!c.Container() || c.Container()->visible); }

const StyledControl* StyleOf(const Control& c) {
  switch (c.Kind()) {
    case ControlKind::kLabel:
    case ControlKind::kTextBox:
    case ControlKind::kOptionButton:
    case ControlKind::kPictureBox:
    case ControlKind::kDriveList:
    case ControlKind::kFolderList:
    case ControlKind::kTrackBar:
    case ControlKind::kComboBox:
      return static_cast<const StyledControl*>(&c);
    default:
      return nullptr;
  }
}

// ---- OptionButton

void OptionButton::SetValue(bool value) {
  if (!value) {
    value_ = false;
    return;
  }
  for (Control* c : Owner().Controls()) {
    if (c == this || c->Kind() != ControlKind::kOptionButton) continue;
    auto* other = static_cast<OptionButton*>(c);
    if (other->group == group && other->Container() == Container()) other->value_ = false;
  }
  value_ = true;
  Dispatch(on_click);
}

// ---- PictureBox

int PictureBox::ScaleWidth() const {
  return border ? std::max(0, bounds.width - 2 * PixelsToTwips(1)) : bounds.width;
}
int PictureBox::ScaleHeight() const {
  return border ? std::max(0, bounds.height - 2 * PixelsToTwips(1)) : bounds.height;
}

void PictureBox::EnsureImage() const {
  int w = TwipsToPixels(ScaleWidth()), h = TwipsToPixels(ScaleHeight());
  if (image_.Width() == w && image_.Height() == h) return;
  Bitmap fresh(w, h, Resolve(back_color));
  // A resize keeps what was drawn where it still fits.
  for (int y = 0; y < std::min(h, image_.Height()); ++y)
    for (int x = 0; x < std::min(w, image_.Width()); ++x) fresh.Set(x, y, image_.At(x, y));
  image_ = std::move(fresh);
}

Bitmap& PictureBox::Image() {
  EnsureImage();
  return image_;
}
const Bitmap& PictureBox::Image() const {
  EnsureImage();
  return image_;
}

void PictureBox::Cls() {
  EnsureImage();
  image_.Fill(Resolve(back_color));
  for (int y = 0; y < std::min(image_.Height(), picture.Height()); ++y)
    for (int x = 0; x < std::min(image_.Width(), picture.Width()); ++x) image_.Set(x, y, picture.At(x, y));
}

void PictureBox::DrawLine(double x1, double y1, double x2, double y2) {
  EnsureImage();
  image_.Line(TwipsToPixels(x1), TwipsToPixels(y1), TwipsToPixels(x2), TwipsToPixels(y2), Resolve(fore_color));
}

void PictureBox::DrawCircle(double cx, double cy, double radius) {
  EnsureImage();
  image_.Circle(cx * Dpi() / 1440.0, cy * Dpi() / 1440.0, radius * Dpi() / 1440.0, Resolve(fore_color));
}

void PictureBox::Refresh() { CurrentPlatform().Refresh(*this); }

// ---- DriveList

void DriveList::SetDrives(std::vector<DriveEntry> drives, const std::wstring& current) {
  drives_ = std::move(drives);
  index_ = drives_.empty() ? -1 : 0;
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (!current.empty() && !drives_[i].root.empty() &&
        std::towupper(drives_[i].root[0]) == std::towupper(current[0])) {
      index_ = static_cast<int>(i);
    }
  }
}

std::wstring DriveList::Item(int index) const {
  if (index < 0 || index >= static_cast<int>(drives_.size())) return L"";
  const DriveEntry& d = drives_[index];
  std::wstring text;
  if (!d.root.empty()) {
    text += static_cast<wchar_t>(std::towlower(d.root[0]));
    text += L':';
  }
  if (!d.label.empty()) text += L" [" + d.label + L"]";
  return text;
}

std::wstring DriveList::Drive() const { return Item(index_); }

void DriveList::Select(int index) {
  if (index < 0 || index >= static_cast<int>(drives_.size()) || index == index_) return;
  index_ = index;
  Dispatch(on_change);
}

// ---- ComboBox

std::wstring ComboBox::Text() const {
  return index_ >= 0 && index_ < static_cast<int>(items.size()) ? items[index_] : std::wstring();
}

void ComboBox::Select(int index) {
  if (index < 0 || index >= static_cast<int>(items.size()) || index == index_) return;
  index_ = index;
  Dispatch(on_change);
}

// ---- FolderList

namespace {

bool IsDriveSpec(const std::wstring& p) {
  return p.size() >= 2 && std::iswalpha(p[0]) && p[1] == L':';
}

// "c: [System]", "c:" and "C:\" all name the root; other paths lose a
// closing backslash.
std::wstring NormalizeFolder(const std::wstring& path) {
  if (IsDriveSpec(path) && (path.size() == 2 || path[2] != L'\\')) {
    return std::wstring(1, static_cast<wchar_t>(std::towupper(path[0]))) + L":\\";
  }
  std::wstring p = path;
  while (p.size() > 3 && p.back() == L'\\') p.pop_back();
  return p;
}

// Ancestors of a folder, from its root down to the folder itself.
std::vector<std::wstring> Ancestry(const std::wstring& path) {
  std::vector<std::wstring> out;
  if (path.empty()) return out;
  size_t pos;
  if (path.rfind(L"\\\\", 0) == 0) {
    // \\server\share is the root of a network path.
    pos = path.find(L'\\', 2);
    pos = pos == std::wstring::npos ? std::wstring::npos : path.find(L'\\', pos + 1);
    out.push_back(path.substr(0, pos));
  } else if (IsDriveSpec(path)) {
    out.push_back(path.substr(0, 3));
    pos = 2;
  } else {
    out.push_back(path);
    return out;
  }
  while (pos != std::wstring::npos && pos + 1 < path.size()) {
    size_t next = path.find(L'\\', pos + 1);
    out.push_back(path.substr(0, next));
    pos = next;
  }
  return out;
}

bool LessNoCase(const std::wstring& a, const std::wstring& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
    return std::towlower(x) < std::towlower(y);
  });
}

}  // namespace

bool FolderList::SetPath(const std::wstring& path) {
  if (!source) return false;
  std::wstring folder = NormalizeFolder(path);
  if (folder.empty()) return false;
  auto names = source(folder);
  if (!names) return false;
  std::sort(names->begin(), names->end(), LessNoCase);
  std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
  subfolders_.clear();
  for (const auto& n : *names) subfolders_.push_back(base + n);
  bool changed = folder != path_;
  path_ = folder;
  if (changed) Dispatch(on_change);
  return true;
}

std::vector<std::wstring> FolderList::Lines() const {
  std::vector<std::wstring> lines = Ancestry(path_);
  lines.insert(lines.end(), subfolders_.begin(), subfolders_.end());
  return lines;
}

int FolderList::Indent(int line) const {
  int ancestors = static_cast<int>(Ancestry(path_).size());
  return line < ancestors ? line : ancestors;
}

int FolderList::CurrentLine() const { return static_cast<int>(Ancestry(path_).size()) - 1; }

void FolderList::Open(int line) {
  auto lines = Lines();
  if (line < 0 || line >= static_cast<int>(lines.size())) return;
  SetPath(lines[line]);
}

void TrackBar::MoveTo(int to) {
  to = std::clamp(to, min, max);
  if (to == value) return;
  value = to;
  Dispatch(on_change);
}

}  // namespace kit
