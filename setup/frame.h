// What every page of the installer wizard shares: the skin shapes, the title,
// the "Zentrik Engine" mark, the separator above the buttons and the list of
// steps down the left edge, plus the page's reached mark.
//
// A page class derives from WizardPage and adds its own controls after the
// shared ones, so the shared ones lie beneath them. Handlers are wired by the
// Installer (wizard.h), which alone knows the other pages.
#pragma once

#include <string>

#include "kit/control.h"
#include "kit/form.h"

namespace setup {

// The steps in list order. kFinish is never clickable.
enum class Step { kWelcome, kLicence, kPath, kCheck, kCopy, kFinish };

// Colours and fonts of the installer's windows.
constexpr kit::Color kPageBack = kit::Rgb(0, 168, 255);
constexpr kit::Color kPanelBack = kit::Rgb(0, 150, 255);
constexpr kit::Color kBandBack = kit::Rgb(0, 0, 192);
constexpr kit::Color kWhite = kit::Rgb(255, 255, 255);
constexpr kit::Color kStepCurrent = kit::Rgb(0, 0, 64);
constexpr kit::Color kStepOther = kit::Rgb(192, 192, 255);

kit::Font ArialBlack(double points);
kit::Font Arial(double points, bool bold = false);

// A white transparent label in Arial Black, as every button and title is.
void StyleWhiteLabel(kit::Label& label, const wchar_t* caption, double points, kit::Rect bounds);
// White transparent text in `font`, as the pages' own texts are.
void StyleWhiteText(kit::Label& label, const wchar_t* caption, kit::Font font, kit::Rect bounds);

class WizardPage : public kit::Form {
 public:
  // `current` is the step drawn highlighted on this page.
  WizardPage(std::string name, Step current, int width, int height);

  // The step this page stands for.
  const Step step;

  // "1" once the step has been reached; only ever set.
  std::wstring Tag;

  // The page's Back, Next and Cancel labels where it has them, for the
  // wizard to wire; the finish page has none of the three.
  struct Buttons {
    kit::Label* back = nullptr;
    kit::Label* next = nullptr;
    kit::Label* cancel = nullptr;
  };
  Buttons buttons;

  kit::Shape Shape2{*this, "Shape2"};   // header band
  kit::Shape Shape3{*this, "Shape3"};   // side panel
  kit::Shape Shape1{*this, "Shape1"};   // frame around the window
  kit::Label Label1{*this, "Label1"};   // title
  kit::Label Label9{*this, "Label9"};   // "Zentrik Engine"
  kit::Line Line7{*this, "Line7"};      // above the buttons

  kit::Line Line1{*this, "Line1"};      // the step list's spine and its ticks
  kit::Line Line2{*this, "Line2"};
  kit::Line Line3{*this, "Line3"};
  kit::Line Line4{*this, "Line4"};
  kit::Line Line5{*this, "Line5"};
  kit::Label Label8{*this, "Label8"};   // "Начало"
  kit::Label Label2{*this, "Label2"};   // "Лиценз"
  kit::Label Label4{*this, "Label4"};   // "Път" / "Програми"
  kit::Label Label5{*this, "Label5"};   // "Проверка"
  kit::Label Label6{*this, "Label6"};   // "Копиране"
  kit::Label Label7{*this, "Label7"};   // "Край"

  // The step label for a step, and the step a label stands for.
  kit::Label& StepLabel(Step step);

  // Stretches the skin to the window's current size.
  void ResizeSkin();

 protected:
  // Names the page's buttons; Enter is its Next and Esc its Cancel.
  void UseButtons(kit::Label* back, kit::Label& next, kit::Label& cancel);
  // The same, with the three at their common places and captions.
  void PlaceButtons(kit::Label* back, kit::Label& next, kit::Label& cancel);
};

}  // namespace setup
