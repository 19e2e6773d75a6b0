// The worksheet commands against a recording system: what is asked, written,
// printed and told, including every way a save or a print can fail.
#include "viewer/sheet_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using viewer::Failure;
using viewer::SheetContent;

// What the system was asked, one line a call, and how it answers.
struct Log {
  std::vector<std::wstring> calls, told;
  std::optional<viewer::SheetSystem::Chosen> chosen;
  std::set<std::wstring> existing;
  bool yes = true, printer = true, held = false;   // held: the printer
  unsigned long dialog_error = 0, reason = 0, has_words = 0;   // the one error the system has words for
  std::map<std::wstring, unsigned long> fails;   // call -> reason
  Failure Did(const std::wstring& call) {
    calls.push_back(call);
    const auto f = fails.find(call);
    return f == fails.end() ? Failure() : f->second;
  }
};

struct Printer : viewer::SheetPrinter {
  explicit Printer(Log& log) : log(log) { log.held = true; }
  ~Printer() override { log.held = false; }
  int PageWidth() const override { return 4000; }
  int PageHeight() const override { return 4000; }
  Failure StartJob(const std::wstring& name) override { return log.Did(L"start " + name); }
  Failure StartPage() override { return log.Did(L"page"); }
  void Paint(const viewer::Sheet& sheet) override { log.Did(L"paint " + sheet.items[0].text); }
  Failure EndPage() override { return log.Did(L"end page"); }
  Failure EndJob() override { return log.Did(L"end"); }
  void AbortJob() override { log.Did(L"abort"); }
  Log& log;
};

struct System : viewer::SheetSystem {
  explicit System(Log& log) : log(log) {}
  Failure CopyToClipboard(const SheetContent&, const std::wstring&) override { return log.Did(L"copy"); }
  std::optional<Chosen> ChooseFile(const std::wstring& proposed, const std::vector<viewer::SheetFileType>& types) override {
    log.Did(L"choose " + proposed + L" " + types[0].pattern + L" " + types[1].pattern);
    return log.chosen;
  }
  bool FileExists(const std::wstring& path) override { return log.existing.count(path) > 0; }
  Failure WriteFile(const SheetContent& c, const std::wstring& path, viewer::SheetFormat format,
                    const std::wstring& description) override {
    EXPECT_EQ(description, std::wstring(L"Zentrik Elemora\0Периодична система\0", 35));
    return log.Did(L"write " + path + (format == viewer::SheetFormat::kEmf ? L" emf " : L" png ") + c.title);
  }
  viewer::PrinterChoice ChoosePrinter(bool landscape) override {
    log.Did(landscape ? L"printer landscape" : L"printer");
    return {log.printer ? std::make_unique<Printer>(log) : nullptr, log.dialog_error, log.reason};
  }
  bool Ask(const std::wstring& question, const std::wstring& caption) override {
    return log.Did(L"ask " + caption + L": " + question), log.yes;
  }
  void Tell(const std::wstring& text, const std::wstring& caption) override {
    EXPECT_EQ(caption, L"Периодична система");
    EXPECT_FALSE(log.held) << "the printer is let go before the user is told";
    log.told.push_back(text);
  }
  std::wstring ErrorWords(unsigned long error) override {
    return error == log.has_words ? std::to_wstring(error) + L" в думи" : L"";
  }
  Log& log;
};

struct Commands : viewer::SheetCommands, Log {
  std::unique_ptr<viewer::SheetSystem> Open() override { return std::make_unique<System>(*this); }
};

SheetContent Page(const std::wstring& title) {
  SheetContent c;
  c.title = title;
  c.texts.push_back({{0, 0, 2880, 1440}, L"текст", {}});
  return c;
}

TEST(SheetCommands, SavingProposesTheTitleAddsTheTypesExtensionAndAsksAboutEveryFileBeforeWritingAny) {
  Commands c;
  c.chosen = {L"C:\\Тест.1\\Изпит", 1};   // EMF, typed without an extension
  c.existing = {L"C:\\Тест.1\\Изпит.emf", L"C:\\Тест.1\\Изпит-3.emf"};
  c.SavePages({Page(L"А"), Page(L"Б"), Page(L"В")});
  auto ask = [](const std::wstring& file) {
    return L"ask Периодична система: Файлът „C:\\Тест.1\\" + file + L"“ вече съществува.\n\nДа бъде ли заменен?";
  };
  EXPECT_EQ(c.calls, (std::vector<std::wstring>{L"choose Периодична система.png *.png *.emf", ask(L"Изпит.emf"),
                                                ask(L"Изпит-3.emf"), L"write C:\\Тест.1\\Изпит.emf emf А",
                                                L"write C:\\Тест.1\\Изпит-2.emf emf Б", L"write C:\\Тест.1\\Изпит-3.emf emf В"}));
  EXPECT_TRUE(c.told.empty());
  EXPECT_EQ(viewer::PageFileName(L"C:\\Тест.x.emf", 11), L"C:\\Тест.x-12.emf");   // before the last dot

  // No to any file writes none.
  Commands no;
  no.chosen = {L"C:\\Изпит.png", 0};
  no.existing = {L"C:\\Изпит-2.png"};
  no.yes = false;
  no.SavePages({Page(L"А"), Page(L"Б")});
  EXPECT_EQ(no.calls.size(), 2u);
}

TEST(SheetCommands, AFailedWriteOrCopyIsToldWithTheSystemsWordsOrTheErrorsNumberAndStopsTheSet) {
  Commands c;
  c.chosen = {L"C:\\Изпит.png", 0};
  c.fails = {{L"write C:\\Изпит-2.png png Б", 112}, {L"copy", 5}};
  c.SavePages({Page(L"А"), Page(L"Б"), Page(L"В")});
  EXPECT_EQ(c.calls.back(), L"write C:\\Изпит-2.png png Б");
  EXPECT_EQ(c.told, (std::vector<std::wstring>{L"Картината не можа да бъде записана във файла „C:\\Изпит-2.png“.\n\nГрешка 112"}));
  c.has_words = 5;
  c.Copy(Page(L"А"));
  EXPECT_EQ(c.told.back(), L"Картината не можа да бъде копирана.\n\n5 в думи");
}

TEST(SheetCommands, PrintingIsOneLandscapeJobOfAPageEachNamedByTheFirstTitle) {
  Commands c;
  c.PrintPages({Page(L"Въпроси"), Page(L"Отговори")});
  EXPECT_EQ(c.calls, (std::vector<std::wstring>{L"printer landscape", L"start Въпроси", L"page", L"paint Въпроси",
                                                L"end page", L"page", L"paint Отговори", L"end page", L"end"}));
  EXPECT_TRUE(c.told.empty());
  EXPECT_FALSE(c.held);
}

TEST(SheetCommands, APrintThatFailsIsToldAndACancelOrAMissingPrinterIsNot) {
  // The print dialog's error (no printer then), the system's reason, a failing step, the reason told (empty: nothing).
  const struct {
    unsigned long dialog_error, reason;
    std::map<std::wstring, unsigned long> fails;
    std::wstring told;
    bool aborted;
  } cases[] = {
      {0x1008, 0, {}, L"", false},                 // no default printer: the dialog said so
      {0x1007, 0, {}, L"", false},                 // no printers at all
      {0x100A, 0, {}, L"Грешка 4106", false},      // the printer would not open
      {0x100A, 1801, {}, L"Грешка 1801", false},
      {0, 0, {{L"start Т", 1223}}, L"", false},    // "print to file" left without a name
      {0, 0, {{L"end", 63}}, L"", false},
      {0, 0, {{L"start Т", 0}}, L"Грешка 31", false},   // failed without a reason
      {0, 0, {{L"page", 1}}, L"Грешка 1", true},
      {0, 0, {{L"end page", 0}}, L"Грешка 31", true},
  };
  for (const auto& k : cases) {
    Commands c;
    c.printer = !k.dialog_error, c.dialog_error = k.dialog_error, c.reason = k.reason, c.fails = k.fails;
    c.Print(Page(L"Т"));
    EXPECT_EQ(c.told, k.told.empty() ? std::vector<std::wstring>{}
                                     : std::vector<std::wstring>{L"Картината не можа да бъде отпечатана.\n\n" + k.told})
        << k.dialog_error;
    EXPECT_EQ(c.calls.back() == L"abort", k.aborted) << c.calls.back();
  }
}

}  // namespace
