#include "viewer/sheet_commands.h"

#include "os/error_text.h"
#include "viewer/window_look.h"

namespace viewer {
namespace {

constexpr wchar_t kNotCopied[] = L"Картината не можа да бъде копирана.\n\n";
constexpr wchar_t kNotPrinted[] = L"Картината не можа да бъде отпечатана.\n\n";

// Where the extension of the file named at the end of `path` starts; the
// end of `path` when it has none (a dot in a folder's name is none).
size_t ExtensionAt(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t dot = path.find_last_of(L'.');
  return dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash) ? path.size() : dot;
}

std::wstring Number(unsigned long error) { return L"Грешка " + std::to_wstring(error); }

std::wstring SystemReason(SheetSystem& system, unsigned long error) {
  std::wstring reason = system.ErrorWords(error);
  return reason.empty() ? Number(error) : reason;
}

// Every file a set would replace is asked about before any is written;
// whether all may be. Asked here rather than by the save dialog, for the
// name as it will be written: Wine's dialog let a name typed without its
// extension ("Таблица") replace the saved "Таблица.png" without asking.
bool MayReplace(SheetSystem& system, const std::wstring& path, size_t pages) {
  for (size_t i = 0; i < pages; ++i) {
    const std::wstring file = PageFileName(path, i);
    if (!system.FileExists(file)) continue;
    if (!system.Ask(L"Файлът „" + file + L"“ вече съществува.\n\nДа бъде ли заменен?", kWindowTitle)) return false;
  }
  return true;
}

// The job, a page each; the reason it failed, if it did. A step that fails
// without saying why still fails.
Failure PrintJob(SheetPrinter& printer, const std::vector<SheetContent>& pages) {
  auto why = [](const Failure& f) -> Failure { return *f ? *f : sheet_error::kGenFailure; };
  if (Failure f = printer.StartJob(pages[0].title)) return why(f);   // the title is what the queue shows
  for (const SheetContent& page : pages) {
    const Sheet sheet = PrintedPage(page, printer.PageWidth(), printer.PageHeight());
    Failure f = printer.StartPage();
    if (!f) {
      printer.Paint(sheet);
      f = printer.EndPage();
    }
    if (f) {
      f = why(f);
      printer.AbortJob();
      return f;
    }
  }
  if (Failure f = printer.EndJob()) return why(f);
  return std::nullopt;
}

}  // namespace

std::wstring PageFileName(const std::wstring& path, size_t page) {
  if (page == 0) return path;
  const size_t dot = ExtensionAt(path);
  return path.substr(0, dot) + L"-" + std::to_wstring(page + 1) + path.substr(dot);
}

const std::vector<SheetFileType>& SheetFileTypes() {
  static const std::vector<SheetFileType> types = {
      {L"PNG (*.png)", L"*.png", L"png", SheetFormat::kPng},
      {L"EMF (*.emf)", L"*.emf", L"emf", SheetFormat::kEmf},
  };
  return types;
}

std::wstring MetafileDescription() { return std::wstring(L"Zentrik Elemora") + L'\0' + kWindowTitle + L'\0'; }

Sheet PrintedPage(const SheetContent& content, int width, int height) {
  // The proportions at any width, then the width that fits the page.
  const Sheet probe = LayOutSheet(content, kSheetWidth);
  const kit::Rect fit = FitInside(probe.width, probe.height, {0, 0, width, height});
  Sheet sheet = LayOutSheet(content, fit.width);
  MoveSheet(sheet, fit.left, fit.top + (fit.height - sheet.height) / 2);
  return sheet;
}

std::wstring SheetSystem::ErrorWords(unsigned long error) { return os::ErrorWords(static_cast<long>(error)); }

void SheetCommands::Copy(const SheetContent& content) {
  const std::unique_ptr<SheetSystem> system = Open();
  if (Failure f = system->CopyToClipboard(content, MetafileDescription()))
    system->Tell(kNotCopied + SystemReason(*system, *f), kWindowTitle);
}

void SheetCommands::SavePages(const std::vector<SheetContent>& pages) {
  if (pages.empty()) return;
  const std::unique_ptr<SheetSystem> system = Open();
  const std::vector<SheetFileType>& types = SheetFileTypes();
  const auto chosen = system->ChooseFile(std::wstring(kWindowTitle) + L"." + types[0].extension, types);
  if (!chosen || chosen->type >= types.size()) return;
  const SheetFileType& type = types[chosen->type];
  std::wstring path = chosen->path;
  if (ExtensionAt(path) == path.size()) path += L"." + type.extension;
  if (!MayReplace(*system, path, pages.size())) return;
  for (size_t i = 0; i < pages.size(); ++i) {
    const std::wstring file = PageFileName(path, i);
    if (Failure f = system->WriteFile(pages[i], file, type.format, MetafileDescription())) {
      system->Tell(L"Картината не можа да бъде записана във файла „" + file + L"“.\n\n" + SystemReason(*system, *f),
                   kWindowTitle);
      return;
    }
  }
}

void SheetCommands::PrintPages(const std::vector<SheetContent>& pages) {
  if (pages.empty()) return;
  const std::unique_ptr<SheetSystem> system = Open();
  PrinterChoice choice = system->ChoosePrinter(/*landscape=*/true);
  if (!choice.printer) {
    // A printer the dialog could not open (gone, or its driver failing)
    // ends it with an error rather than a cancel. The dialog's own code has
    // no text; the system's reason, where it left one, does. Having no
    // printer at all the dialog has told the user itself.
    const unsigned long refused = choice.dialog_error;
    if (refused && refused != sheet_error::kNoDefaultPrinter && refused != sheet_error::kNoDevices)
      system->Tell(kNotPrinted + (choice.reason ? SystemReason(*system, choice.reason) : Number(refused)), kWindowTitle);
    return;
  }
  const Failure failed = PrintJob(*choice.printer, pages);
  choice.printer.reset();
  // "Print to file" whose file name was not given is the user's cancel.
  if (!failed || *failed == sheet_error::kCancelled || *failed == sheet_error::kPrintCancelled) return;
  system->Tell(kNotPrinted + SystemReason(*system, *failed), kWindowTitle);
}

}  // namespace viewer
