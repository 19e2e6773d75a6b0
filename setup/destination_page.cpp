// The destination folder page: a drive list and a folder list that propose
// "<folder>\Zentrik", and the text field that holds the path finally used.
#include "setup/pages.h"
#include "setup/shell_shortcuts.h"

namespace setup {
namespace {

constexpr const wchar_t* kMakerFolder = L"Zentrik";
constexpr const wchar_t* kDefaultParent = L"C:\\Program Files\\";

}  // namespace

Form4::Form4(os::Files& files) : WizardPage("Form4", Step::kPath, 8700, 5160), files_(files) {
  Drive1.bounds = {2325, 630, 5805, 360};
  Drive1.back_color = kPageBack;
  Drive1.font = Arial(8.25);
  Dir1.bounds = {2340, 1110, 5760, 2490};
  Dir1.back_color = kPanelBack;
  Dir1.font = Arial(8.25);
  Text1.bounds = {2325, 3765, 5790, 465};
  Text1.back_color = kPanelBack;
  Text1.font = ArialBlack(18);
  Text1.text = L"C:\\Program Files\\Zentrik";

  PlaceButtons(&Label12, Label10, Label11);
  // No label stands before the lists and the box: names for screen readers.
  Drive1.accessible_name = L"Устройство";
  Dir1.accessible_name = L"Папка";
  Text1.accessible_name = L"Папка за инсталиране";

  // Both lists start where a fresh process stands: its current drive. They
  // are filled before their change handlers exist, so this proposes nothing.
  std::vector<kit::DriveEntry> drives;
  for (const os::Drive& d : files_.Drives()) drives.push_back({d.root, d.label});
  last_drive_root_ = files_.CurrentDrive();
  Drive1.SetDrives(std::move(drives), last_drive_root_);
  Dir1.source = [this](const std::wstring& folder) { return files_.Subfolders(folder); };
  Dir1.SetPath(last_drive_root_);

  Drive1.on_change = [this] { DriveChanged(); };
  Dir1.on_change = [this] { ProposeFromFolderList(); };
  on_resize = [this] {
    ResizeSkin();
    OpenDefaultFolder();
  };
}

void Form4::ProposeFromFolderList() {
  // A drive root ("D:\", "c:\") already ends in its separator.
  const std::wstring& path = Dir1.Path();
  if (!path.empty() && path.back() == L'\\') {
    Text1.text = path + kMakerFolder;
  } else {
    Text1.text = path + L"\\" + kMakerFolder;
  }
}

void Form4::DriveChanged() {
  if (Dir1.SetPath(Drive1.Drive())) {
    int index = Drive1.ListIndex();
    last_drive_root_ = Drive1.Drives()[index].root;
    return;
  }
  // An empty or unreadable drive: the list goes back to the drive it showed
  // and the folder list and the path stay as they were.
  std::vector<kit::DriveEntry> drives = Drive1.Drives();
  Drive1.SetDrives(std::move(drives), last_drive_root_);
}

void Form4::OpenDefaultFolder() {
  // Without "C:\Program Files\" the folder list keeps its folder and Text1
  // its text.
  Dir1.SetPath(kDefaultParent);
}

void Form4::CreateNewDirectory(std::wstring& DirName) { setup::CreateNewDirectory(files_, DirName); }

}  // namespace setup
