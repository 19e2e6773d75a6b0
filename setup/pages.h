// The windows of the installer wizard as models: the pages in their fixed
// order and the two small dialogs. Each class builds its controls with their
// design places and looks; what a page does when clicked is wired by the
// Installer (wizard.h). Page-local routines that need the system take the
// file services they use.
#pragma once

#include <cstdint>
#include <string>

#include "kit/control.h"
#include "kit/form.h"
#include "os/files.h"
#include "setup/frame.h"
#include "setup/number_format.h"

namespace setup {

// Welcome page; the start page.
class Form1 : public WizardPage {
 public:
  Form1();
  kit::Label Label12{*this, "Label12"};   // the welcome text
  kit::Label Label10{*this, "Label10"};   // Next
  kit::Label Label11{*this, "Label11"};   // Cancel
};

// Licence agreement.
class Form2 : public WizardPage {
 public:
  Form2();
  kit::TextBox rtf{*this, "rtf"};
  kit::OptionButton Option1{*this, "Option1"};   // "Приемам"
  kit::OptionButton Option2{*this, "Option2"};   // "Не приемам"
  kit::Label Label12{*this, "Label12"};          // Back
  kit::Label Label10{*this, "Label10"};          // Next
  kit::Label Label11{*this, "Label11"};          // Cancel

  // Load step: the agreement, joined once with CR LF pairs.
  void FillLicence();
};

// Destination folder.
class Form4 : public WizardPage {
 public:
  explicit Form4(os::Files& files);
  kit::DriveList Drive1{*this, "Drive1"};
  kit::FolderList Dir1{*this, "Dir1"};
  kit::TextBox Text1{*this, "Text1"};
  kit::Label Label12{*this, "Label12"};   // Back
  kit::Label Label10{*this, "Label10"};   // Next
  kit::Label Label11{*this, "Label11"};   // Cancel

  // Creates every missing level of DirName (the drive root excepted),
  // appending a backslash to DirName when it lacks one. Silent on failure.
  void CreateNewDirectory(std::wstring& DirName);

  // The folder list's path shown as the proposed destination.
  void ProposeFromFolderList();
  // A drive picked in Drive1; an unreadable drive leaves everything as it was.
  void DriveChanged();
  // First showing: open "C:\Program Files\" when it is there.
  void OpenDefaultFolder();

 private:
  os::Files& files_;
  std::wstring last_drive_root_;
};

// Disk space check.
class Form5 : public WizardPage {
 public:
  Form5(os::Files& files, NumberLocale locale);
  kit::Label Label13{*this, "Label13"};   // the requirement
  kit::Label Label14{*this, "Label14"};   // the free space
  kit::Label Label12{*this, "Label12"};   // Back
  kit::Label Label10{*this, "Label10"};   // Next
  kit::Label Label11{*this, "Label11"};   // Cancel

  // Queries the drive root and sets FreeKB (thousands of bytes; 0 when the
  // query fails, the largest 32-bit value when it would not fit). Returns
  // whether the drive could be queried.
  bool GetDiskSpace(const std::wstring& sRootPathName);
  std::int32_t FreeKB = 0;

  // Load step: measures the drive of `destination` and fills Label14.
  void Measure(const std::wstring& destination);
  // The free megabytes as Label14 shows them.
  double FreeMegabytes() const { return free_mb_; }
  // More than 10 MB shown as free.
  bool SpaceSuffices() const { return free_mb_ > 10; }

 private:
  os::Files& files_;
  NumberLocale locale_;
  double free_mb_ = 0;
};

// Copying. The installation engine drives its meter and scratch labels.
class Form6 : public WizardPage {
 public:
  Form6();
  kit::Label Label10{*this, "Label10"};   // "Старт"
  kit::Label Label11{*this, "Label11"};   // Cancel
  kit::Label Label12{*this, "Label12"};   // scratch: the installed viewer's path
  kit::Label Label18{*this, "Label18"};   // scratch: Start-menu folder, then the group
  kit::PictureBox MeterBox{*this, "MeterBox"};
  kit::Shape MeterShape{MeterBox, "MeterShape"};
  kit::Label MeterPos{MeterBox, "MeterPos"};
};

// Finish page with the restart question.
class Form7 : public WizardPage {
 public:
  Form7();
  kit::Label Label14{*this, "Label14"};   // congratulations
  kit::Label Label13{*this, "Label13"};   // the restart question
  kit::Label Label11{*this, "Label11"};   // where to learn more
  kit::Label Label12{*this, "Label12"};   // "Да"
  kit::Label Label10{*this, "Label10"};   // "Не"
};

// The message dialog; modeless, reused by every message.
class frmMsg : public kit::Form {
 public:
  frmMsg();
  kit::Shape Shape2{*this, "Shape2"};
  kit::Shape Shape1{*this, "Shape1"};
  kit::Image Image1{*this, "Image1"};
  kit::Label Label12{*this, "Label12"};   // "Съобщение"
  kit::Label Msg{*this, "Msg"};
  kit::Label Label11{*this, "Label11"};   // "Да"

  // Frame around the window, then the window as wide as its message with
  // equal margins and "Да" near the right edge.
  void ResizeStep();
};

// The cancel confirmation; "Не" destroys it.
class frmExit : public kit::Form {
 public:
  frmExit();
  kit::Shape Shape2{*this, "Shape2"};
  kit::Shape Shape1{*this, "Shape1"};
  kit::Label Label1{*this, "Label1"};     // "Изход"
  kit::Label Label11{*this, "Label11"};   // the question
  kit::Label Label12{*this, "Label12"};   // "Да"
  kit::Label Label10{*this, "Label10"};   // "Не"

  void ResizeStep();
};

}  // namespace setup
