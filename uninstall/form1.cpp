#include "uninstall/form1.h"

#include <algorithm>
#include <optional>

#include "kit/platform.h"
#include "look/meter.h"
#include "look/skin.h"
#include "uninstall/caption_fit.h"
#include "uninstall/removal.h"

namespace gorvix {
namespace {

constexpr kit::Color kWhite = kit::Rgb(255, 255, 255);
constexpr kit::Color kStepDone = kit::Rgb(192, 192, 255);
constexpr kit::Color kStepNow = kit::Rgb(0, 0, 64);

constexpr double kMessagePoints = 12;

// A pause never outlasts this, even when the clock is put back meanwhile.
constexpr std::int64_t kLongestPauseMs = 2500;

void Place(kit::Label& label, const wchar_t* caption, kit::Rect bounds, const kit::Font& font, kit::Color color) {
  label.caption = caption;
  label.bounds = bounds;
  label.font = font;
  label.fore_color = color;
  label.transparent = true;
}

}  // namespace

Form1::Form1(os::Services& os, std::wstring log_path)
    : kit::Form("Form1"), os_(os), log_(os.files, std::move(log_path)) {
  caption = L"Gorvix";
  icon = L"GORVIX";
  back_color = look::kUninstallerBackColour;
  centered = true;
  SetSize(8775, 5235);
  look::DesignSkin(Shape1, &Shape2, &Shape3, look::kUninstallerSideWidth);
  on_resize = [this] { look::ApplySkin(*this, Shape1, &Shape2, &Shape3); };

  const kit::Font big = kit::MakeFont(L"Arial Black", 15.75, false, kit::kCyrillicCharset);
  const kit::Font step = kit::MakeFont(L"Arial Black", 12, true, kit::kCyrillicCharset);
  Place(Label111, L"Zentrik© Morvane® 2002", {705, 120, 4275, 450}, big, kWhite);
  Place(Label12,
        L"Вие ще премахнете Zentrik© Vrakel 2002® и всички негови компоненти. "
        L"Натиснете \"Старт\" за потвърждение",
        {4290, 3060, 4410, 1320}, kit::MakeFont(L"Tahoma", kMessagePoints, true, kit::kCyrillicCharset),
        kit::kButtonText);
  Label12.alignment = kit::Align::kRight;
  Label12.word_wrap = true;
  Place(Label6, L"Старт", {4215, 4665, 990, 450}, big, kWhite);
  Place(Label7, L"Отказ", {7515, 4695, 1050, 450}, big, kWhite);
  Place(Label9, L"Zentrik Engine", {2925, 4395, 1410, 270},
        kit::MakeFont(L"Arial Black", 9.75, false, kit::kCyrillicCharset), kWhite);

  Place(Label1, L"Начало", {255, 885, 1125, 345}, step, kStepNow);
  Place(Label2, L"Премахване на програмите", {480, 1305, 1860, 1110}, step, kStepDone);
  Place(Label3, L"Премахване на препратките", {495, 2535, 1935, 1140}, step, kStepDone);
  Place(Label4, L"Премахване на ключове в регистратурата", {480, 3750, 2370, 1185}, step, kStepDone);
  Place(Label5, L"Край", {255, 4815, 750, 345}, step, kStepDone);
  for (kit::Label* l : {&Label1, &Label2, &Label3, &Label4, &Label5}) l->word_wrap = true;

  look::DesignRule(Line1, 210, 1080, 210, 4995);
  look::DesignRule(Line2, 210, 1425, 435, 1425);
  look::DesignRule(Line4, 225, 2640, 450, 2640);
  look::DesignRule(Line6, 210, 3915, 435, 3915);
  look::DesignRule(Line7, 4425, 4545, 8805, 4545);

  Image1.resource = L"GORVIX";
  Image1.bounds = {105, 135, 480, 480};
  Image2.resource = L"BIN";
  Image2.bounds = {2970, 705, 2595, 2400};

  look::DesignMeter({MeterBox, MeterShape, MeterPos}, look::MeterWindow::kUninstaller);

  reg.caption = L"reg";
  reg.bounds = {6855, 2835, 1755, 225};
  reg.visible = false;
  Dir1.visible = false;
  Dir1.source = [this](const std::wstring& folder) { return os_.files.Subfolders(folder); };

  Label6.on_click = [this] { RunUninstall(); };
  Label7.on_click = [] { kit::EndProgram(0); };
  // Alt+F4 and the task bar's Close are "Отказ" before the start and
  // "Изход" at the end; while removing they would leave the product half
  // removed, so they wait.
  on_close_request = [this] {
    if (state_ != State::kRemoving) kit::EndProgram(0);
  };
  // Enter is "Старт" and Esc "Отказ"; while removing both labels are hidden,
  // so the keys do nothing; afterwards both are "Изход".
  default_action = &Label6;
  cancel_action = &Label7;
}

void Form1::Highlight(kit::Label& done, kit::Label& next) {
  done.fore_color = kStepDone;
  next.fore_color = kStepNow;
}

void Form1::Pause() {
  const std::int64_t until = os_.clock.NowSeconds() + 1;
  const std::int64_t start_ms = os_.clock.NowMilliseconds();
  for (;;) {
    std::int64_t now_ms = os_.clock.NowMilliseconds();
    if (os_.clock.NowSeconds() > until) break;
    if (now_ms < start_ms || now_ms - start_ms >= kLongestPauseMs) break;
    // Sleep until the next whole second or the next message, whichever comes first.
    int slice = static_cast<int>(1000 - now_ms % 1000);
    kit::CurrentPlatform().WaitProcessingMessages(std::clamp(slice, 1, 1000));
  }
}

void Form1::RunUninstall() {
  if (state_ != State::kWaiting) return;
  state_ = State::kRemoving;
  Label6.visible = false;
  Label7.visible = false;
  Label12.visible = false;

  look::InitMeter(*this, look::kUninstallerMeterColour, look::kUninstallerCaptionColour);
  Removal::Hooks hooks;
  hooks.value_read = [this](const std::wstring& text) { reg.caption = text; };
  hooks.subfolders = [this](const std::wstring& folder) -> std::optional<size_t> {
    if (!Dir1.SetPath(folder)) return std::nullopt;
    return static_cast<size_t>(Dir1.ListCount());
  };
  Removal removal(os_, log_, std::move(hooks));
  static constexpr int kMeterAtStep[Removal::kSteps] = {10, 50, 90};
  kit::Label* const step_labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
  removal.Run([&](int step) {
    if (step > 0) Pause();
    look::SetMeterValue(kMeterAtStep[step], *this);
    Highlight(*step_labels[step], *step_labels[step + 1]);
  });

  Pause();
  look::SetMeterValue(100, *this);
  Highlight(Label4, Label5);

  ShowCompletion(removal.CompletionText());
}

void Form1::ShowCompletion(const std::wstring& text) {
  Label12.caption = text;
  // A list of what stays, or of what goes at the restart, can need more
  // lines than the label holds; then the same font comes smaller, so that
  // the text ends with its "Изход" in view.
  kit::Rect& place = Label12.bounds;
  double points = FittingSize(Label12.caption, kMessagePoints, place.width, place.height);
  if (points < kMessagePoints) {
    // The waste bin reaches into the label's top. The leading of the label's
    // own size keeps the letters clear of it, a smaller size's would not: the
    // smaller text starts below the bin, the label keeping its bottom.
    int covered = Image2.bounds.Bottom() - place.top;
    if (covered > 0) {
      place.top += covered;
      place.height -= covered;
      points = FittingSize(Label12.caption, kMessagePoints, place.width, place.height);
    }
  }
  Label12.font.points = points;
  Label12.visible = true;
  Label7.caption = L"Изход";
  Label7.visible = true;
  state_ = State::kDone;
  default_action = &Label7;
}

}  // namespace gorvix
