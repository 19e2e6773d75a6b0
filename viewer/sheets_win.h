// Copying, saving and printing the worksheet on Windows: the clipboard, the
// common dialogs, the Windows Imaging Component and the printer.
#pragma once

#include "viewer/worksheet.h"

namespace viewer {

class WinSheetOutput : public SheetOutput {
 public:
  void Copy(const SheetContent& content) override;
  void Save(const SheetContent& content) override;
  void Print(const SheetContent& content) override;
};

}  // namespace viewer
