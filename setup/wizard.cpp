#include "setup/wizard.h"

#include <optional>

#include "kit/platform.h"

namespace setup {
namespace {

constexpr const wchar_t* kReached = L"1";
constexpr const wchar_t* kNotReached = L"Този етап не е преминат";
constexpr const wchar_t* kNoSpace = L"Нямате достатъчно диково пространство";
constexpr kit::Color kRed = kit::Rgb(255, 0, 0);

}  // namespace

// The order in which a move changes the two pages, as each page's Back and
// Next have always done it.
enum class Installer::Swap { kHideFirst, kShowFirst };

struct Installer::PageRecord {
  Step step;
  std::optional<Step> back = std::nullopt;   // none: the page has no Back
  std::optional<Step> next = std::nullopt;   // none: Next does not move on by itself
  Swap back_swap = Swap::kHideFirst;
  Swap next_swap = Swap::kHideFirst;
  // The page's load step, run once on its first use.
  void (*on_load)(Installer&) = nullptr;
  // Runs first when Next is clicked: the page's check and its work. False
  // keeps the page, and the marks are left as they are.
  bool (*on_next)(Installer&) = nullptr;
};

const Installer::PageRecord& Installer::RecordOf(Step step) {
  static const PageRecord kSequence[] = {
      {.step = Step::kWelcome, .next = Step::kLicence, .next_swap = Swap::kShowFirst},
      {.step = Step::kLicence,
       .back = Step::kWelcome,
       .next = Step::kPath,
       .back_swap = Swap::kShowFirst,
       .on_load = [](Installer& w) { w.form2().FillLicence(); },
       .on_next = [](Installer& w) { return w.form2().Option1.Value(); }},
      {.step = Step::kPath,
       .back = Step::kLicence,
       .next = Step::kCheck,
       .on_next =
           [](Installer& w) {
             std::wstring dir = w.form4().Text1.text;   // a copy: Text1 never gains the backslash
             w.form4().CreateNewDirectory(dir);
             return true;
           }},
      {.step = Step::kCheck,
       .back = Step::kPath,
       .next = Step::kCopy,
       .on_load =
           [](Installer& w) {
             // Taking the drive root selects it in the destination box, as the user sees on going back.
             w.form4().Text1.Select(0, 3);
             w.form5().Measure(w.form4().Text1.text);
           },
       .on_next =
           [](Installer& w) {
             if (w.form5().SpaceSuffices()) return true;
             w.ShowMessage(kNoSpace);
             w.form5().Label14.fore_color = kRed;
             return false;
           }},
      // The installation leaves this page itself, for the finish page.
      {.step = Step::kCopy,
       .on_next =
           [](Installer& w) {
             w.StartInstallation();
             return false;
           }},
  };
  for (const PageRecord& record : kSequence)
    if (record.step == step) return record;
  return kSequence[0];
}

template <class F, class... Args>
F& Installer::FirstUse(std::unique_ptr<F>& slot, Args&... args) {
  // Wired before it loads: its load step may already reach for other
  // windows, and for this one through the slot.
  if (!slot) {
    slot = std::make_unique<F>(args...);
    Wire(*slot);
    slot->Load();
  }
  return *slot;
}

Installer::Installer(os::Services& os, NumberLocale locale) : os_(os), locale_(std::move(locale)) {
  form1().Show();
}

Installer::~Installer() = default;

Form1& Installer::form1() { return FirstUse(form1_); }
Form2& Installer::form2() { return FirstUse(form2_); }
Form4& Installer::form4() { return FirstUse(form4_, os_.files); }
Form5& Installer::form5() { return FirstUse(form5_, os_.files, locale_); }
Form6& Installer::form6() { return FirstUse(form6_); }
Form7& Installer::form7() { return FirstUse(form7_); }
frmMsg& Installer::msg() { return FirstUse(msg_); }
frmExit& Installer::exit_dialog() { return FirstUse(exit_); }

bool Installer::Exists(const kit::Form* form) const {
  return form && (form == form1_.get() || form == form2_.get() || form == form4_.get() ||
                  form == form5_.get() || form == form6_.get() || form == form7_.get() ||
                  form == msg_.get() || form == exit_.get());
}

void Installer::ShowMessage(const std::wstring& text) {
  frmMsg& dialog = msg();
  dialog.Msg.caption = text;
  dialog.Show();
}

void Installer::ShowFinishPage() {
  form6().Hide();
  form7().Show();
  installing_ = false;
  // Its "Да" would now end a finished installation without the restart
  // question; none of its handlers is running here, so it can go at once.
  exit_.reset();
}

void Installer::ShowExitDialog() {
  if (installing_) return;
  exit_dialog().Show();
}

WizardPage& Installer::PageOf(Step step) {
  switch (step) {
    case Step::kWelcome: return form1();
    case Step::kLicence: return form2();
    case Step::kPath: return form4();
    case Step::kCheck: return form5();
    case Step::kCopy: return form6();
    case Step::kFinish: break;
  }
  return form7();
}

void Installer::Move(WizardPage& from, Step to, Swap swap) {
  if (swap == Swap::kShowFirst) {
    PageOf(to).Show();
    from.Hide();
  } else {
    from.Hide();
    PageOf(to).Show();
  }
}

void Installer::StepClicked(WizardPage& current, Step target) {
  if (installing_) return;
  // Taking the page loads it, also when the answer is the refusal.
  WizardPage& page = PageOf(target);
  if (page.Tag != kReached) {
    ShowMessage(kNotReached);
    return;
  }
  Move(current, target, Swap::kHideFirst);
}

void Installer::StartInstallation() {
  if (installing_) return;
  installing_ = true;
  if (run_installation) run_installation();
  installing_ = false;
}

void Installer::Wire(WizardPage& page) {
  const PageRecord& record = RecordOf(page.step);
  for (Step step : {Step::kWelcome, Step::kLicence, Step::kPath, Step::kCheck, Step::kCopy}) {
    page.StepLabel(step).on_click = [this, &page, step] { StepClicked(page, step); };
  }
  // The system's close keys act as Cancel: the user is asked first.
  page.on_close_request = [this] { ShowExitDialog(); };
  if (record.on_load) page.on_load = [this, &record] { record.on_load(*this); };
  if (record.back) page.buttons.back->on_click = [this, &page, &record] { Move(page, *record.back, record.back_swap); };
  page.buttons.next->on_click = [this, &page, &record] {
    if (record.on_next && !record.on_next(*this)) return;
    if (!record.next) return;
    Move(page, *record.next, record.next_swap);
    page.Tag = kReached;
    PageOf(*record.next).Tag = kReached;
  };
  page.buttons.cancel->on_click = [this] { ShowExitDialog(); };
}

void Installer::Wire(Form7& f) {
  f.Label12.on_click = [this] {
    os_.power.EnableShutdownPrivilege();
    os_.power.RequestRestart();   // the answer does not matter: the installer ends either way
    kit::EndProgram(0);
  };
  f.Label10.on_click = [] { kit::EndProgram(0); };
  // Closing the finish page answers the question with "Не".
  f.on_close_request = [] { kit::EndProgram(0); };
}

void Installer::Wire(frmMsg& f) {
  f.Label11.on_click = [&f] { f.Hide(); };
  f.on_close_request = [&f] { f.Hide(); };
}

void Installer::Wire(frmExit& f) {
  f.Label12.on_click = [this] {
    if (!installing_) kit::EndProgram(0);
  };
  // The dialog's own handler is running: destroy it once the click is over.
  // It leaves the screen at once, also when the click came in the middle of
  // the installation, whose end is what "once the click is over" waits for.
  auto dismiss = [this, &f] {
    f.Hide();
    kit::PostTask([this] { exit_.reset(); });
  };
  f.Label10.on_click = dismiss;
  f.on_close_request = dismiss;
}

}  // namespace setup
