#include "setup/wizard.h"

#include "kit/platform.h"

namespace setup {
namespace {

constexpr const wchar_t* kReached = L"1";
constexpr const wchar_t* kNotReached = L"Този етап не е преминат";
constexpr const wchar_t* kNoSpace = L"Нямате достатъчно диково пространство";
constexpr kit::Color kRed = kit::Rgb(255, 0, 0);

// Creates a window on first use, wires it, then loads it: its load step may
// already reach for other windows, and for this one through the slot.
template <class F, class Make, class WireFn>
F& FirstUse(std::unique_ptr<F>& slot, Make make, WireFn wire) {
  if (!slot) {
    slot = make();
    wire(*slot);
    slot->Load();
  }
  return *slot;
}

}  // namespace

Installer::Installer(os::Services& os, NumberLocale locale) : os_(os), locale_(std::move(locale)) {
  form1().Show();
}

Installer::~Installer() = default;

Form1& Installer::form1() {
  return FirstUse(form1_, [] { return std::make_unique<Form1>(); }, [this](Form1& f) { Wire(f); });
}
Form2& Installer::form2() {
  return FirstUse(form2_, [] { return std::make_unique<Form2>(); }, [this](Form2& f) { Wire(f); });
}
Form4& Installer::form4() {
  return FirstUse(form4_, [this] { return std::make_unique<Form4>(os_.files); }, [this](Form4& f) { Wire(f); });
}
Form5& Installer::form5() {
  return FirstUse(form5_, [this] { return std::make_unique<Form5>(os_.files, locale_); },
                  [this](Form5& f) { Wire(f); });
}
Form6& Installer::form6() {
  return FirstUse(form6_, [] { return std::make_unique<Form6>(); }, [this](Form6& f) { Wire(f); });
}
Form7& Installer::form7() {
  return FirstUse(form7_, [] { return std::make_unique<Form7>(); }, [this](Form7& f) { Wire(f); });
}
frmMsg& Installer::msg() {
  return FirstUse(msg_, [] { return std::make_unique<frmMsg>(); }, [this](frmMsg& f) { Wire(f); });
}
frmExit& Installer::exit_dialog() {
  return FirstUse(exit_, [] { return std::make_unique<frmExit>(); }, [this](frmExit& f) { Wire(f); });
}

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

void Installer::StepClicked(WizardPage& current, Step target) {
  if (installing_) return;
  // Taking the page loads it, also when the answer is the refusal.
  WizardPage& page = PageOf(target);
  if (page.Tag != kReached) {
    ShowMessage(kNotReached);
    return;
  }
  current.Hide();
  page.Show();
}

void Installer::WireFrame(WizardPage& page) {
  for (Step step : {Step::kWelcome, Step::kLicence, Step::kPath, Step::kCheck, Step::kCopy}) {
    page.StepLabel(step).on_click = [this, &page, step] { StepClicked(page, step); };
  }
  // The system's close keys act as Cancel: the user is asked first.
  page.on_close_request = [this] { ShowExitDialog(); };
}

void Installer::Wire(Form1& f) {
  WireFrame(f);
  f.Label10.on_click = [this] {
    form2().Show();
    form1().Tag = kReached;
    form2().Tag = kReached;
    form1().Hide();
  };
  f.Label11.on_click = [this] { ShowExitDialog(); };
}

void Installer::Wire(Form2& f) {
  WireFrame(f);
  f.on_load = [&f] { f.FillLicence(); };
  f.Label10.on_click = [this] {
    if (!form2().Option1.Value()) return;
    form2().Hide();
    form4().Show();
    form2().Tag = kReached;
    form4().Tag = kReached;
  };
  f.Label12.on_click = [this] {
    form1().Show();
    form2().Hide();
  };
  f.Label11.on_click = [this] { ShowExitDialog(); };
}

void Installer::Wire(Form4& f) {
  WireFrame(f);
  f.Label10.on_click = [this] {
    std::wstring dir = form4().Text1.text;   // a copy: Text1 never gains the backslash
    form4().CreateNewDirectory(dir);
    form4().Hide();
    form4().Tag = kReached;
    form5().Tag = kReached;
    form5().Show();
  };
  f.Label12.on_click = [this] {
    form4().Hide();
    form2().Show();
  };
  f.Label11.on_click = [this] { ShowExitDialog(); };
}

void Installer::Wire(Form5& f) {
  WireFrame(f);
  f.on_load = [this, &f] {
    // Taking the drive root selects it in the destination box, as the user sees on going back.
    form4().Text1.Select(0, 3);
    f.Measure(form4().Text1.text);
  };
  f.Label10.on_click = [this] {
    if (form5().SpaceSuffices()) {
      form5().Hide();
      form6().Show();
      form5().Tag = kReached;
      form6().Tag = kReached;
      return;
    }
    msg().Msg.caption = kNoSpace;
    msg().Show();
    form5().Label14.fore_color = kRed;
  };
  f.Label12.on_click = [this] {
    form5().Hide();
    form4().Show();
  };
  f.Label11.on_click = [this] { ShowExitDialog(); };
}

void Installer::Wire(Form6& f) {
  WireFrame(f);
  f.Label10.on_click = [this] {
    if (installing_) return;
    installing_ = true;
    if (run_installation) run_installation();
    installing_ = false;
  };
  f.Label11.on_click = [this] { ShowExitDialog(); };
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
