// Copying, saving and printing the worksheet on Windows: the clipboard, the
// common dialogs, the Windows Imaging Component and the printer.
#pragma once

#include <string>
#include <vector>

#include "base/win32.h"
#include "viewer/worksheet.h"

namespace viewer {

// The picture on the clipboard: an enhanced metafile and a CF_DIB 3508
// pixels wide at 300 DPI. False when the picture could not be drawn or the
// clipboard opened; GetLastError says why.
bool CopySheet(const SheetContent& content, HWND owner);
// The picture in `path`: a 3508-pixel PNG at 300 DPI, or the metafile.
// Written beside it and moved over it, so that a failure leaves neither a
// partial file nor a damaged old one; ERROR_SUCCESS or the system's reason.
DWORD WriteSheetFile(const SheetContent& content, const std::wstring& path, bool emf);

class WinSheetOutput : public SheetOutput {
 public:
  void Copy(const SheetContent& content) override;
  void Save(const SheetContent& content) override;
  void Print(const SheetContent& content) override;
  void SavePages(const std::vector<SheetContent>& pages) override;
  void PrintPages(const std::vector<SheetContent>& pages) override;
};

}  // namespace viewer
