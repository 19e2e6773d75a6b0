// The installer wizard: owns the pages and dialogs, creates each on first use
// (which runs its load step) and then only hides and shows it, and carries
// the navigation between them: Next, Back, Cancel, the step list with its
// reached marks, the message dialog and the finish page's answers.
//
// The installation itself is not here. The engine provides
// `void RunInstallation(Installer&)` in setup/install_engine.h, which the
// program puts into `run_installation`, called by the copying page's "Старт".
// It reads the destination from form4().Text1, drives form6()'s meter and
// scratch labels, and ends with ShowFinishPage().
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "os/os.h"
#include "setup/number_format.h"
#include "setup/pages.h"

namespace setup {

class Installer {
 public:
  // Shows the welcome page.
  Installer(os::Services& os, NumberLocale locale);
  ~Installer();
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  // Runs inside the click of "Старт" on the copying page and returns when
  // the installation is over.
  std::function<void()> run_installation;

  os::Services& Os() { return os_; }

  // Each accessor creates and loads its window on first use, exactly as a
  // first touch of a window does, so the order of calls is behaviour.
  Form1& form1();
  Form2& form2();
  Form4& form4();
  Form5& form5();
  Form6& form6();
  Form7& form7();
  frmMsg& msg();
  frmExit& exit_dialog();

  // Whether a window has come into being yet (no side effect).
  bool Exists(const kit::Form* form) const;
  bool Form5Exists() const { return form5_ != nullptr; }
  bool ExitDialogExists() const { return exit_ != nullptr; }

  // From "Старт" until the finish page appears. The installation handles
  // window messages while it waits, so meanwhile nothing in any window of
  // the wizard may start it again, leave its page or end the program.
  bool Installing() const { return installing_; }

  // Sets the message text and shows the dialog; a second message reuses it.
  void ShowMessage(const std::wstring& text);
  // The end of the copying: hides the copying page, shows the finish page
  // and closes a cancel question still standing open.
  void ShowFinishPage();
  // Cancel on any page: the confirmation in front of the page.
  void ShowExitDialog();

 private:
  struct PageRecord;
  enum class Swap;

  // The wizard's pages in order: where Back and Next lead and what a page
  // does on its first load and as Next leaves it.
  static const PageRecord& RecordOf(Step step);

  // Creates a window on first use, wires it, then loads it.
  template <class F, class... Args>
  F& FirstUse(std::unique_ptr<F>& slot, Args&... args);
  void Wire(WizardPage& page);
  void Wire(Form7& f);
  void Wire(frmMsg& f);
  void Wire(frmExit& f);

  WizardPage& PageOf(Step step);
  // Leaves `from` for the page of `to`, the one shown first or the other hidden first.
  void Move(WizardPage& from, Step to, Swap swap);
  void StepClicked(WizardPage& current, Step target);
  // "Старт": the installation, once, inside the click.
  void StartInstallation();

  os::Services& os_;
  NumberLocale locale_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<Form4> form4_;
  std::unique_ptr<Form5> form5_;
  std::unique_ptr<Form6> form6_;
  std::unique_ptr<Form7> form7_;
  std::unique_ptr<frmMsg> msg_;
  std::unique_ptr<frmExit> exit_;
  bool installing_ = false;
};

}  // namespace setup
