#include "setup/frame.h"

#include "look/skin.h"

namespace setup {

kit::Font ArialBlack(double points) { return kit::MakeFont(L"Arial Black", points, false, kit::kCyrillicCharset); }

kit::Font Arial(double points, bool bold) { return kit::MakeFont(L"Arial", points, bold, kit::kCyrillicCharset); }

void StyleWhiteLabel(kit::Label& label, const wchar_t* caption, double points, kit::Rect bounds) {
  StyleWhiteText(label, caption, ArialBlack(points), bounds);
}

void StyleWhiteText(kit::Label& label, const wchar_t* caption, kit::Font font, kit::Rect bounds) {
  label.caption = caption;
  label.font = font;
  label.fore_color = kWhite;
  label.transparent = true;
  label.bounds = bounds;
}

namespace {

void StyleStep(kit::Label& label, const wchar_t* caption, int left, int top, int width) {
  label.caption = caption;
  label.font = kit::MakeFont(L"Arial Black", 12, true, kit::kCyrillicCharset);
  label.fore_color = kStepOther;
  label.transparent = true;
  label.bounds = {left, top, width, 345};
}

}  // namespace

WizardPage::WizardPage(std::string name, Step current, int width, int height)
    : kit::Form(std::move(name)), step(current) {
  caption = L"Zentrik© Elemora 2002®";
  back_color = kPageBack;
  font = Arial(9.75);
  SetSize(width, height);

  look::DesignSkin(Shape1, &Shape2, &Shape3, look::kInstallerSideWidth);
  on_resize = [this] { ResizeSkin(); };

  StyleWhiteLabel(Label1, L"Zentrik©Elemora 2002®", 21.75, {585, -45, 6750, 615});
  StyleWhiteLabel(Label9, L"Zentrik Engine", 9.75, {2250, 4215, 1410, 270});
  look::DesignRule(Line7, 3690, 4365, 8790, 4365);

  // The spine, with a tick towards each inner step.
  look::DesignRule(Line1, 300, 1065, 300, 3225);
  look::DesignRule(Line2, 300, 1312, 555, 1312);
  look::DesignRule(Line3, 300, 2107, 555, 2107);
  look::DesignRule(Line4, 300, 2512, 555, 2512);
  look::DesignRule(Line5, 300, 2902, 555, 2902);

  bool programs = current == Step::kCopy || current == Step::kFinish;
  StyleStep(Label8, L"Начало", 225, 765, 1125);
  StyleStep(Label2, L"Лиценз", 570, 1140, 1125);
  StyleStep(Label4, programs ? L"Програми" : L"Път", 570, 1935, programs ? 1485 : 555);
  StyleStep(Label5, L"Проверка", 570, 2340, 1455);
  StyleStep(Label6, L"Копиране", 570, 2730, 1470);
  StyleStep(Label7, L"Край", 210, 3180, 750);
  StepLabel(current).fore_color = kStepCurrent;
}

kit::Label& WizardPage::StepLabel(Step step) {
  switch (step) {
    case Step::kWelcome: return Label8;
    case Step::kLicence: return Label2;
    case Step::kPath: return Label4;
    case Step::kCheck: return Label5;
    case Step::kCopy: return Label6;
    case Step::kFinish: break;
  }
  return Label7;
}

void WizardPage::UseButtons(kit::Label* back, kit::Label& next, kit::Label& cancel) {
  buttons = {back, &next, &cancel};
  default_action = &next;
  cancel_action = &cancel;
}

void WizardPage::PlaceButtons(kit::Label* back, kit::Label& next, kit::Label& cancel) {
  if (back) StyleWhiteLabel(*back, L"Предишен", 15.75, {2775, 4545, 1875, 450});
  StyleWhiteLabel(next, L"Следващ", 15.75, {4770, 4575, 1605, 450});
  StyleWhiteLabel(cancel, L"Отказ", 15.75, {7395, 4575, 1050, 450});
  UseButtons(back, next, cancel);
}

void WizardPage::ResizeSkin() { look::ApplySkin(*this, Shape1, &Shape2, &Shape3); }

}  // namespace setup
