// Copying, saving and printing worksheets as every system does it: the name
// proposed, the files asked about before they are replaced, the paper's
// orientation, what is a cancel and what a failure, where a page lands on
// the paper, and the words the user reads. The system's side (clipboard,
// dialogs, encoder, printer) is behind SheetSystem and only makes calls.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "viewer/worksheet.h"

namespace viewer {

// The system's error numbers the commands tell apart, as Windows gives them.
namespace sheet_error {
inline constexpr unsigned long kGenFailure = 31;           // ERROR_GEN_FAILURE
inline constexpr unsigned long kPrintCancelled = 63;       // ERROR_PRINT_CANCELLED
inline constexpr unsigned long kCancelled = 1223;          // ERROR_CANCELLED
inline constexpr unsigned long kNoDevices = 0x1007;        // PDERR_NODEVICES
inline constexpr unsigned long kNoDefaultPrinter = 0x1008; // PDERR_NODEFAULTPRN
}  // namespace sheet_error

// A step the system failed, with its reason (0 when it gave none); empty
// when the step was done.
using Failure = std::optional<unsigned long>;

enum class SheetFormat { kPng, kEmf };
// A type the save dialog offers: "PNG (*.png)", "*.png", "png".
struct SheetFileType {
  std::wstring label, pattern, extension;
  SheetFormat format;
};
const std::vector<SheetFileType>& SheetFileTypes();

// Where page `page` (0 for the first) of a set saved as `path` goes: the
// first in `path` itself, the others with "-2", "-3"... before the
// extension ("Тест.png", "Тест-2.png"), or at the end when there is none.
std::wstring PageFileName(const std::wstring& path, size_t page);

// "Zentrik Elemora", then the window's title, as a metafile's description
// (two strings, each ending in a null).
std::wstring MetafileDescription();

// A page `content` fitted to paper `width` by `height` pixels: as large as
// its proportions allow, centred both ways.
Sheet PrintedPage(const SheetContent& content, int width, int height);

// A printer chosen in the print dialog, for one job; letting it go releases
// the printer.
class SheetPrinter {
 public:
  virtual ~SheetPrinter() = default;
  virtual int PageWidth() const = 0;   // pixels
  virtual int PageHeight() const = 0;
  virtual Failure StartJob(const std::wstring& name) = 0;
  virtual Failure StartPage() = 0;
  virtual void Paint(const Sheet& sheet) = 0;
  virtual Failure EndPage() = 0;
  virtual Failure EndJob() = 0;
  virtual void AbortJob() = 0;
};

// What the print dialog came to: a printer, or none with the dialog's own
// code when it failed rather than was cancelled (and the system's reason,
// where it left one).
struct PrinterChoice {
  std::unique_ptr<SheetPrinter> printer;
  unsigned long dialog_error = 0;
  unsigned long reason = 0;
};

// The system as one command finds it; every dialog is owned by the window
// active when the command started, and gives the focus back to where it was.
class SheetSystem {
 public:
  virtual ~SheetSystem() = default;
  // The picture (a metafile described by `description` and a bitmap), and
  // the content's text when it has some, on the clipboard.
  virtual Failure CopyToClipboard(const SheetContent& content, const std::wstring& description) = 0;
  // The save dialog at `proposed`, offering `types` (the first chosen at
  // first, its extension added to a name typed without one); the path as
  // typed and the index of the type chosen, or nothing when cancelled.
  struct Chosen {
    std::wstring path;
    size_t type = 0;
  };
  virtual std::optional<Chosen> ChooseFile(const std::wstring& proposed, const std::vector<SheetFileType>& types) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // `content` in `path`, whole or not at all.
  virtual Failure WriteFile(const SheetContent& content, const std::wstring& path, SheetFormat format,
                            const std::wstring& description) = 0;
  // The print dialog, the default printer's settings turned to landscape
  // when `landscape` first.
  virtual PrinterChoice ChoosePrinter(bool landscape) = 0;
  // A warning with Yes and No, No the default; whether Yes was chosen.
  virtual bool Ask(const std::wstring& question, const std::wstring& caption) = 0;
  virtual void Tell(const std::wstring& text, const std::wstring& caption) = 0;
  // The system's words for an error number; empty where it has none.
  virtual std::wstring ErrorWords(unsigned long error);
};

// The commands; a system provides Open().
class SheetCommands : public SheetOutput {
 public:
  void Copy(const SheetContent& content) override;
  void Save(const SheetContent& content) override { SavePages({content}); }
  void Print(const SheetContent& content) override { PrintPages({content}); }
  void SavePages(const std::vector<SheetContent>& pages) override;
  void PrintPages(const std::vector<SheetContent>& pages) override;

 protected:
  // The system for one command, as it stands when the command starts.
  virtual std::unique_ptr<SheetSystem> Open() = 0;
};

}  // namespace viewer
