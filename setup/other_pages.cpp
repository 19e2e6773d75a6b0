// The copying page, the finish page and the two dialogs.
#include "look/meter.h"
#include "look/skin.h"
#include "setup/pages.h"

namespace setup {
namespace {

// What both dialogs share: the page colour, the skin's frame and the band
// under the title.
void DesignDialog(kit::Form& dialog, const wchar_t* caption, int width, int height, kit::Shape& frame,
                  kit::Shape& band) {
  dialog.caption = caption;
  dialog.back_color = kPageBack;
  dialog.font = Arial(9.75);
  dialog.SetSize(width, height);
  look::DesignSkin(frame, nullptr, nullptr, 0);
  look::DesignDialogBand(band);
}

}  // namespace

Form6::Form6() : WizardPage("Form6", Step::kCopy, 8700, 5160) {
  StyleWhiteLabel(Label10, L"Старт", 21.75, {4740, 1095, 1365, 615});
  StyleWhiteLabel(Label11, L"Отказ", 15.75, {4755, 4530, 1050, 450});
  // Enter is "Старт"; Esc is "Отказ".
  UseButtons(nullptr, Label10, Label11);
  // Scratch storage of the installation; never shown.
  Label12.bounds = {2445, 675, 5550, 315};
  Label12.visible = false;
  Label18.bounds = {6630, 2130, 1530, 555};
  Label18.caption = L"Label13";
  Label18.visible = false;
  look::DesignMeter({MeterBox, MeterShape, MeterPos}, look::MeterWindow::kInstallerCopyingPage);
}

Form7::Form7() : WizardPage("Form7", Step::kFinish, 8700, 5160) {
  StyleWhiteText(Label14, L"Поздравления, Инсталацията на Zentrik завърши успешно!", Arial(20.25, true),
                 {2400, 720, 6000, 1560});
  Label14.word_wrap = true;
  StyleWhiteText(Label13, L"Желаете ли да рестартирате компютъра?", Arial(14.25, true), {2400, 2520, 6000, 750});
  Label13.word_wrap = true;
  StyleWhiteText(Label11, L"За повече информация - elemora@zentrik.bg, www.zentrik.bg", Arial(9.75),
                 {2400, 3720, 6150, 270});
  StyleWhiteLabel(Label12, L"Да", 15.75, {4770, 4575, 600, 450});
  StyleWhiteLabel(Label10, L"Не", 15.75, {6300, 4575, 600, 450});
  // Enter and Esc are "Не": never a restart by accident.
  default_action = &Label10;
  cancel_action = &Label10;
}

frmMsg::frmMsg() : kit::Form("frmMsg") {
  DesignDialog(*this, L"Съобщение", 4830, 2775, Shape1, Shape2);
  Image1.resource = L"SETUPICON";
  Image1.bounds = {240, 1200, 720, 720};
  StyleWhiteLabel(Label12, L"Съобщение", 15.75, {600, 15, 3000, 450});
  // Wide and tall enough for the longest message on two lines: a message
  // label of one short line clipped every message the wizard shows.
  StyleWhiteLabel(Msg, L"Съобщение", 15.75, {1140, 1215, 4200, 900});
  Msg.word_wrap = true;
  StyleWhiteLabel(Label11, L"Да", 15.75, {4275, 2220, 480, 450});
  default_action = &Label11;   // Enter and Esc: "Да", the only answer
  cancel_action = &Label11;
  on_resize = [this] { ResizeStep(); };
}

void frmMsg::ResizeStep() { look::ResizeMessageDialog(*this, Shape1, Msg, Label11); }

frmExit::frmExit() : kit::Form("frmExit") {
  DesignDialog(*this, L"Изход", 4815, 2340, Shape1, Shape2);
  StyleWhiteLabel(Label1, L"Изход", 21.75, {240, -45, 3000, 615});
  StyleWhiteLabel(Label11, L"Желате ли да излезете?", 15.75, {255, 1050, 4410, 450});
  StyleWhiteLabel(Label12, L"Да", 15.75, {1500, 1680, 600, 450});
  StyleWhiteLabel(Label10, L"Не", 15.75, {2595, 1680, 600, 450});
  default_action = &Label10;   // Enter and Esc: "Не"; leaving takes the mouse or Tab
  cancel_action = &Label10;
  on_resize = [this] { ResizeStep(); };
}

void frmExit::ResizeStep() { look::ApplySkin(*this, Shape1, nullptr, nullptr); }

}  // namespace setup
