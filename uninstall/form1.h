// The uninstaller's one window: a confirmation, "Старт" and "Отказ"; "Старт"
// removes the product step by step with its progress on the dial and the
// step list, and ends with a completion text and "Изход".
#pragma once

#include <string>

#include "deploy/log.h"
#include "kit/control.h"
#include "kit/form.h"
#include "os/os.h"

namespace gorvix {

class Form1 : public kit::Form {
 public:
  // With a log file named, the removal writes its steps there too.
  explicit Form1(os::Services& os, std::wstring log_path = L"");

  // The removal, run by a click on Label6.
  void RunUninstall();

  // Skin, back to front.
  kit::Shape Shape1{*this, "Shape1"};
  kit::Shape Shape2{*this, "Shape2"};
  kit::Shape Shape3{*this, "Shape3"};

  // The step list down the side panel.
  kit::Line Line1{*this, "Line1"};
  kit::Line Line2{*this, "Line2"};
  kit::Line Line4{*this, "Line4"};
  kit::Line Line6{*this, "Line6"};
  kit::Line Line7{*this, "Line7"};

  kit::Image Image1{*this, "Image1"};
  kit::Image Image2{*this, "Image2"};

  kit::PictureBox MeterBox{*this, "MeterBox"};
  kit::Shape MeterShape{MeterBox, "MeterShape"};
  kit::Label MeterPos{MeterBox, "MeterPos"};

  kit::Label Label111{*this, "Label111"};
  kit::Label Label1{*this, "Label1"};
  kit::Label Label2{*this, "Label2"};
  kit::Label Label3{*this, "Label3"};
  kit::Label Label4{*this, "Label4"};
  kit::Label Label5{*this, "Label5"};
  kit::Label Label9{*this, "Label9"};
  kit::Label Label12{*this, "Label12"};
  kit::Label Label6{*this, "Label6"};
  kit::Label Label7{*this, "Label7"};

  // Not shown: the last registry value read, and the folder list that
  // counts a folder's subfolders.
  kit::Label reg{*this, "reg"};
  kit::FolderList Dir1{*this, "Dir1"};

 private:
  void Highlight(kit::Label& done, kit::Label& next);
  // One to two seconds by the clock, handling window messages meanwhile.
  void Pause();
  void ShowCompletion(const std::wstring& text);

  enum class State { kWaiting, kRemoving, kDone };

  os::Services& os_;
  State state_ = State::kWaiting;
  deploy::Log log_;   // with no file when the command line named none
};

}  // namespace gorvix
