// The welcome page and the licence page.
#include <array>

#include "setup/pages.h"

namespace setup {
namespace {

constexpr const wchar_t* kLicenceIntro =
    L"Прочетете внимателно преди да продължите! В натискането на бутона \"Аз приемам\" "
    L"вие автоматично приемате условията на това споразумение ";

constexpr std::array<const wchar_t*, 5> kLicenceParagraphs = {
    L"1. ЛИЦЕНЗНО РАЗРЕШИТЕЛНО. Zentrik Ви предоставя безвъзмездно правото да използвате копие на "
    L"този програмен продукт, както и да го разпространявате по всякакъв начин и с всякакви средства, "
    L"при условие че копието остава непроменено, включително всички обозначения за авторство на Zentrik.",
    L"2. АВТОРСКИ ПРАВА. Софтуерът е собственост на Zentrik и е защитен от Закона за авторското право "
    L"и сродните му права (обн. ДВ, бр. 56 от 29.06.1993 г., изм. и доп. ДВ, бр. 63 от 1994 г., "
    L"бр. 10 от 1998 г. и бр. 28 от 2000 г.), както и от международните договори, по които "
    L"Република България е страна.",
    L"3. ДРУГИ ОГРАНИЧЕНИЯ. Нямате право да извършвате обратно проектиране, да декомпирилате или "
    L"деасемблирате софтуера.",
    L"4. ГАРАНЦИЯ. Софтуерът се предоставя във вида, в който е, без каквато и да е гаранция. Zentrik "
    L"изрично отказва всякакви подразбиращи се гаранции, включително гаранциите за търговска годност и "
    L"за пригодност за определена цел. Целият риск, свързан с използването на софтуера, се носи от "
    L"потребителя. Нито Zentrik, нито което и да е друго лице, участвало в създаването, производството "
    L"или разпространението на софтуера, носи отговорност за каквито и да е вреди, произтичащи от "
    L"използването му или от невъзможността за използването му.",
    L"5. Нарушителите носят отговорност по Закона за авторското право и средните му права в Република "
    L"България и условията на международните договори.",
};

}  // namespace

Form1::Form1() : WizardPage("Form1", Step::kWelcome, 9165, 5160) {
  StyleWhiteText(Label12,
                 L"Здравейте! Поздравяваме Ви с избора на Zentrik Периодична Система на елементите - отличен "
                 L"помощник по химия. Името говори всичко..Приятни минути!",
                 Arial(12), {4170, 855, 4410, 1710});
  Label12.word_wrap = true;
  PlaceButtons(nullptr, Label10, Label11);
}

Form2::Form2() : WizardPage("Form2", Step::kLicence, 8700, 5160) {
  rtf.text = L"Text1";
  rtf.multi_line = true;
  rtf.vertical_scroll = true;
  rtf.fore_color = kWhite;
  rtf.back_color = kPanelBack;
  rtf.font = Arial(9.75);
  rtf.bounds = {2295, 690, 5985, 2835};

  for (kit::OptionButton* option : {&Option1, &Option2}) {
    option->font = kit::MakeFont(L"Tahoma", 9.75, false, kit::kCyrillicCharset);
    option->back_color = kPageBack;
    option->fore_color = kit::kButtonText;
  }
  Option1.caption = L"Приемам";
  Option1.bounds = {2610, 3660, 1320, 315};
  Option2.caption = L"Не приемам";
  Option2.bounds = {4065, 3645, 1605, 315};
  Option2.SetValue(true);

  // Enter is "Следващ" unless a label-button has the focus, also in the licence text.
  PlaceButtons(&Label12, Label10, Label11);
  rtf.accessible_name = L"Лицензионно споразумение";
}

void Form2::FillLicence() {
  // Built up as the box's own text, paragraph by paragraph: one CR LF before
  // each paragraph and none after the last.
  rtf.text = kLicenceIntro;
  for (const wchar_t* paragraph : kLicenceParagraphs) rtf.text = rtf.text + L"\r\n" + paragraph;
}

}  // namespace setup
