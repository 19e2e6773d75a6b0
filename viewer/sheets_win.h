// Copying, saving and printing the worksheet on Windows: the clipboard, the
// common dialogs, the Windows Imaging Component and the printer, as
// viewer/sheet_commands asks for them.
#pragma once

#include <memory>
#include <string>

#include "base/win32.h"
#include "viewer/sheet_commands.h"

namespace viewer {

// The picture on the clipboard: an enhanced metafile (described by
// `description`) and a CF_DIB 3508 pixels wide at 300 DPI. False when the
// picture could not be drawn or the clipboard opened; GetLastError says why.
bool CopySheet(const SheetContent& content, const std::wstring& description, HWND owner);
// The picture in `path`: a 3508-pixel PNG at 300 DPI, or the metafile.
// Written beside it and moved over it, so that a failure leaves neither a
// partial file nor a damaged old one; ERROR_SUCCESS or the system's reason.
DWORD WriteSheetFile(const SheetContent& content, const std::wstring& description, const std::wstring& path, bool emf);

class WinSheetOutput : public SheetCommands {
 protected:
  std::unique_ptr<SheetSystem> Open() override;
};

}  // namespace viewer
