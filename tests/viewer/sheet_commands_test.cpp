// The worksheet commands against a recording system: what is asked, written,
// printed and told, including every way a save or a print can fail.
#include "viewer/sheet_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using viewer::Failure;
using viewer::SheetContent;

// What the system was asked, in order, one line a call.
struct Log {
  std::vector<std::wstring> calls;
  std::vector<std::wstring> told;
  // The script: what each call answers.
  std::optional<viewer::SheetSystem::Chosen> chosen;
  std::set<std::wstring> existing;
  bool yes = true;
  std::map<std::wstring, unsigned long> write_fails;   // by path
  std::set<unsigned long> words_known;   // errors the system has words for
  bool printer = true;
  unsigned long dialog_error = 0, reason = 0;
  std::map<std::wstring, unsigned long> step_fails;    // "start", "page", "end" -> reason
  bool held = false, released = false;   // the printer
};

struct Printer : viewer::SheetPrinter {
  explicit Printer(Log& log) : log(log) { log.held = true; }
  ~Printer() override { log.held = false, log.released = true; }
  int PageWidth() const override { return 4000; }
  int PageHeight() const override { return 4000; }
  Failure Step(const std::wstring& name) {
    log.calls.push_back(name);
    if (auto f = log.step_fails.find(name); f != log.step_fails.end()) return f->second;
    return std::nullopt;
  }
  Failure StartJob(const std::wstring& name) override { return Step(L"start " + name); }
  Failure StartPage() override { return Step(L"page"); }
  void Paint(const viewer::Sheet& sheet) override { log.calls.push_back(L"paint " + sheet.items[0].text); }
  Failure EndPage() override { return Step(L"end page"); }
  Failure EndJob() override { return Step(L"end"); }
  void AbortJob() override { log.calls.push_back(L"abort"); }
  Log& log;
};

struct System : viewer::SheetSystem {
  explicit System(Log& log) : log(log) {}
  Failure CopyToClipboard(const SheetContent&, const std::wstring&) override {
    log.calls.push_back(L"copy");
    return 5;
  }
  std::optional<Chosen> ChooseFile(const std::wstring& proposed, const std::vector<viewer::SheetFileType>& types) override {
    log.calls.push_back(L"choose " + proposed + L" " + types[0].pattern + L" " + types[1].pattern);
    return log.chosen;
  }
  bool FileExists(const std::wstring& path) override { return log.existing.count(path) > 0; }
  Failure WriteFile(const SheetContent& c, const std::wstring& path, viewer::SheetFormat format,
                    const std::wstring& description) override {
    EXPECT_EQ(description, std::wstring(L"Zentrik Elemora\0Периодична система\0", 35));
    log.calls.push_back(L"write " + path + (format == viewer::SheetFormat::kEmf ? L" emf " : L" png ") + c.title);
    if (auto f = log.write_fails.find(path); f != log.write_fails.end()) return f->second;
    return std::nullopt;
  }
  viewer::PrinterChoice ChoosePrinter(bool landscape) override {
    log.calls.push_back(landscape ? L"printer landscape" : L"printer");
    viewer::PrinterChoice choice{nullptr, log.dialog_error, log.reason};
    if (log.printer) choice.printer = std::make_unique<Printer>(log);
    return choice;
  }
  bool Ask(const std::wstring& question, const std::wstring& caption) override {
    log.calls.push_back(L"ask " + caption + L": " + question);
    return log.yes;
  }
  void Tell(const std::wstring& text, const std::wstring& caption) override {
    EXPECT_EQ(caption, L"Периодична система");
    EXPECT_FALSE(log.held) << "the printer is let go before the user is told";
    log.told.push_back(text);
  }
  std::wstring ErrorWords(unsigned long error) override {
    return log.words_known.count(error) ? std::to_wstring(error) + L" в думи" : L"";
  }
  Log& log;
};

struct Commands : viewer::SheetCommands {
  Log log;
  std::unique_ptr<viewer::SheetSystem> Open() override { return std::make_unique<System>(log); }
};

SheetContent Page(const std::wstring& title) {
  SheetContent c;
  c.title = title;
  c.texts.push_back({{0, 0, 2880, 1440}, L"текст", {}});
  return c;
}

TEST(SheetCommands, SavingProposesTheTitleAddsTheTypesExtensionAndAsksAboutEveryFileBeforeWritingAny) {
  Commands c;
  c.log.chosen = {L"C:\\Тест.1\\Изпит", 1};   // EMF, typed without an extension
  c.log.existing = {L"C:\\Тест.1\\Изпит.emf", L"C:\\Тест.1\\Изпит-3.emf"};
  c.SavePages({Page(L"А"), Page(L"Б"), Page(L"В")});
  EXPECT_EQ(c.log.calls, (std::vector<std::wstring>{
                             L"choose Периодична система.png *.png *.emf",
                             L"ask Периодична система: Файлът „C:\\Тест.1\\Изпит.emf“ вече съществува.\n\nДа бъде ли заменен?",
                             L"ask Периодична система: Файлът „C:\\Тест.1\\Изпит-3.emf“ вече съществува.\n\nДа бъде ли заменен?",
                             L"write C:\\Тест.1\\Изпит.emf emf А",
                             L"write C:\\Тест.1\\Изпит-2.emf emf Б",
                             L"write C:\\Тест.1\\Изпит-3.emf emf В"}));
  EXPECT_TRUE(c.log.told.empty());

  // No to any file writes none; a cancelled dialog asks nothing more.
  Commands no;
  no.log.chosen = {L"C:\\Изпит.png", 0};
  no.log.existing = {L"C:\\Изпит-2.png"};
  no.log.yes = false;
  no.SavePages({Page(L"А"), Page(L"Б")});
  EXPECT_EQ(no.log.calls.size(), 2u);
  Commands cancel;
  cancel.Save(Page(L"А"));
  EXPECT_EQ(cancel.log.calls.size(), 1u);
  EXPECT_TRUE(cancel.log.told.empty());
}

TEST(SheetCommands, AFailedWriteOrCopyIsToldWithTheSystemsWordsOrTheErrorsNumberAndStopsTheSet) {
  Commands c;
  c.log.chosen = {L"C:\\Изпит.png", 0};
  c.log.write_fails = {{L"C:\\Изпит-2.png", 112}};
  c.SavePages({Page(L"А"), Page(L"Б"), Page(L"В")});
  EXPECT_EQ(c.log.calls.back(), L"write C:\\Изпит-2.png png Б");
  EXPECT_EQ(c.log.told, (std::vector<std::wstring>{
                            L"Картината не можа да бъде записана във файла „C:\\Изпит-2.png“.\n\nГрешка 112"}));
  c.log.words_known = {5};
  c.Copy(Page(L"А"));
  EXPECT_EQ(c.log.told.back(), L"Картината не можа да бъде копирана.\n\n5 в думи");
}

TEST(SheetCommands, PrintingIsOneLandscapeJobOfAPageEachNamedByTheFirstTitle) {
  Commands c;
  c.PrintPages({Page(L"Въпроси"), Page(L"Отговори")});
  EXPECT_EQ(c.log.calls, (std::vector<std::wstring>{L"printer landscape", L"start Въпроси", L"page", L"paint Въпроси",
                                                    L"end page", L"page", L"paint Отговори", L"end page", L"end"}));
  EXPECT_TRUE(c.log.told.empty());
  EXPECT_TRUE(c.log.released);
}

TEST(SheetCommands, APrintThatFailsIsToldAndACancelOrAMissingPrinterIsNot) {
  struct Case {
    bool printer;
    unsigned long dialog_error, reason;
    std::map<std::wstring, unsigned long> fails;
    std::wstring told;   // empty: nothing told
    bool aborted;
  };
  const std::wstring failed = L"Картината не можа да бъде отпечатана.\n\n";
  const Case cases[] = {
      {false, 0, 0, {}, L"", false},                         // cancelled in the dialog
      {false, 0x1008, 0, {}, L"", false},                    // no default printer: the dialog said so
      {false, 0x1007, 0, {}, L"", false},                    // no printers at all
      {false, 0x100A, 0, {}, failed + L"Грешка 4106", false},  // the printer would not open
      {false, 0x100A, 1801, {}, failed + L"Грешка 1801", false},
      {true, 0, 0, {{L"start Т", 1223}}, L"", false},         // "print to file" left without a name
      {true, 0, 0, {{L"end", 63}}, L"", false},
      {true, 0, 0, {{L"start Т", 0}}, failed + L"Грешка 31", false},   // failed without a reason
      {true, 0, 0, {{L"page", 1}}, failed + L"Грешка 1", true},
      {true, 0, 0, {{L"end page", 0}}, failed + L"Грешка 31", true},
  };
  for (const Case& k : cases) {
    Commands c;
    c.log.printer = k.printer;
    c.log.dialog_error = k.dialog_error;
    c.log.reason = k.reason;
    c.log.step_fails = k.fails;
    c.Print(Page(L"Т"));
    EXPECT_EQ(c.log.told, k.told.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{k.told})
        << k.dialog_error;
    EXPECT_EQ(c.log.calls.back() == L"abort", k.aborted) << c.log.calls.back();
  }
}

TEST(SheetCommands, APrintedPageIsAsLargeAsThePaperAllowsAndCentred) {
  const SheetContent page = Page(L"Т");
  const viewer::Sheet sheet = viewer::PrintedPage(page, 1000, 4000);
  const viewer::Sheet flat = viewer::LayOutSheet(page, 1000);
  EXPECT_EQ(sheet.width, 1000);
  // Moved down by half of what the paper has to spare, nothing sideways.
  EXPECT_EQ(sheet.items[0].place.left, flat.items[0].place.left);
  EXPECT_EQ(sheet.items[0].place.top, flat.items[0].place.top + (4000 - flat.height) / 2);
}

TEST(SheetCommands, PagesOfASetAreNumberedBeforeTheExtension) {
  EXPECT_EQ(viewer::PageFileName(L"C:\\a.b\\Тест.x.emf", 11), L"C:\\a.b\\Тест.x-12.emf");
  EXPECT_EQ(viewer::PageFileName(L"C:\\a.b\\Тест", 2), L"C:\\a.b\\Тест-3");   // a dot in a folder is no extension
}

}  // namespace
