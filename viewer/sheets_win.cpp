#include "viewer/sheets_win.h"

#include "base/win32.h"

#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/handles_win.h"
#include "base/late_bound_win.h"
#include "kit/com_win.h"
#include "kit/scene_win.h"
#include "viewer/sheet_commands.h"

namespace viewer {
namespace {

// 300 dots an inch in the DIB's and the PNG's own terms.
constexpr LONG kPelsPerMeter = 11811;

// The common dialogs, the shell's folders and COM are loaded when first
// used, so that a start that never saves or prints pays nothing for them.
using base::LateBound;

// The sheet drawn into a 24-bit top-down DIB section on white.
struct Picture {
  base::Gdi<HBITMAP> bitmap;
  const BYTE* bits = nullptr;
  int width = 0, height = 0, stride = 0;
};

bool Render(const Sheet& sheet, Picture* out) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = sheet.width;
  bi.bmiHeader.biHeight = -sheet.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  out->bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!out->bitmap || !bits) return false;
  out->bits = static_cast<const BYTE*>(bits);
  out->width = sheet.width;
  out->height = sheet.height;
  out->stride = (sheet.width * 3 + 3) & ~3;
  base::MemoryDc dc(CreateCompatibleDC(nullptr));
  base::SelectedObject select(dc.get(), out->bitmap.get());
  RECT all{0, 0, sheet.width, sheet.height};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  kit::win::PaintScene(dc.get(), sheet.items, sheet.dpi);
  GdiFlush();
  return true;
}

// Unicode text handed to the clipboard, which the caller has opened; it
// owns the memory once it takes it.
void PutClipboardText(const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  base::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  void* p = memory ? GlobalLock(memory.get()) : nullptr;
  if (!p) return;
  std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(memory.get());
  if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.Release();
}

// A packed bottom-up DIB, as the clipboard's CF_DIB holds it; none when the
// memory could not be had.
base::GlobalMemory PackedDib(const Picture& picture) {
  const size_t size = sizeof(BITMAPINFOHEADER) + static_cast<size_t>(picture.stride) * picture.height;
  base::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
  auto* head = memory ? static_cast<BYTE*>(GlobalLock(memory.get())) : nullptr;
  if (!head) return {};
  BITMAPINFOHEADER h{};
  h.biSize = sizeof(h);
  h.biWidth = picture.width;
  h.biHeight = picture.height;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(picture.stride) * picture.height;
  h.biXPelsPerMeter = kPelsPerMeter;
  h.biYPelsPerMeter = kPelsPerMeter;
  std::memcpy(head, &h, sizeof(h));
  BYTE* rows = head + sizeof(h);
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(rows + static_cast<size_t>(picture.height - 1 - y) * picture.stride,
                picture.bits + static_cast<size_t>(y) * picture.stride, picture.stride);
  GlobalUnlock(memory.get());
  return memory;
}

// The sheet as vectors. Laid out in the reference screen's pixels, A4 wide
// (297 mm), so that a document shows it at the size of a printed page.
HENHMETAFILE Metafile(const SheetContent& content, const std::wstring& description) {
  base::WindowDc screen;
  const int ref_width = MulDiv(29700, GetDeviceCaps(screen.get(), HORZRES), GetDeviceCaps(screen.get(), HORZSIZE) * 100);
  const Sheet sheet = LayOutSheet(content, ref_width);
  const int ref_height = sheet.height;
  RECT frame{0, 0, 29700, MulDiv(29700, ref_height, ref_width)};
  HDC dc = CreateEnhMetaFileW(screen.get(), nullptr, &frame, description.c_str());
  if (!dc) return nullptr;
  RECT all{0, 0, sheet.width, sheet.height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  kit::win::PaintScene(dc, sheet.items, sheet.dpi);
  return CloseEnhMetaFile(dc);
}

// WIC's identifiers, spelled out so that nothing links its import library.
constexpr GUID kWicFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kWicFactoryIid = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
constexpr GUID kPngFormat = {0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
constexpr GUID kBgr24 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};

// The PNG through the Windows Imaging Component; an HRESULT on failure.
HRESULT WritePng(const Picture& picture, const std::wstring& path) {
  using CoCreate = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
  static auto co_create = LateBound<CoCreate>(L"ole32.dll", "CoCreateInstance");
  if (!co_create) return E_NOTIMPL;
  // Saving happens on the UI thread, which keeps COM from its first use on.
  kit::win::InitComOnce();
  base::ComPtr<IWICImagingFactory> factory;
  base::ComPtr<IWICStream> stream;
  base::ComPtr<IWICBitmapEncoder> encoder;
  base::ComPtr<IWICBitmapFrameEncode> frame;
  HRESULT hr = co_create(kWicFactory, nullptr, CLSCTX_INPROC_SERVER, kWicFactoryIid, reinterpret_cast<void**>(factory.Put()));
  if (SUCCEEDED(hr)) hr = factory.get()->CreateStream(stream.Put());
  if (SUCCEEDED(hr)) hr = stream.get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory.get()->CreateEncoder(kPngFormat, nullptr, encoder.Put());
  if (SUCCEEDED(hr)) hr = encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder.get()->CreateNewFrame(frame.Put(), nullptr);
  if (SUCCEEDED(hr)) hr = frame.get()->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame.get()->SetSize(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height));
  if (SUCCEEDED(hr)) hr = frame.get()->SetResolution(kSheetDpi, kSheetDpi);
  WICPixelFormatGUID format = kBgr24;
  if (SUCCEEDED(hr)) hr = frame.get()->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && format != kBgr24) hr = E_UNEXPECTED;
  if (SUCCEEDED(hr))
    hr = frame.get()->WritePixels(static_cast<UINT>(picture.height), static_cast<UINT>(picture.stride),
                                  static_cast<UINT>(picture.stride * picture.height), const_cast<BYTE*>(picture.bits));
  if (SUCCEEDED(hr)) hr = frame.get()->Commit();
  if (SUCCEEDED(hr)) hr = encoder.get()->Commit();
  return hr;
}

std::wstring PicturesFolder() {
  using GetFolder = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, wchar_t*);
  // Made when missing: a new profile (and Wine's, where the folder is
  // not linked) may have none yet, and the dialog would then start
  // elsewhere.
  constexpr int kMyPicturesMade = 0x27 | 0x8000;
  auto get = LateBound<GetFolder>(L"shell32.dll", "SHGetFolderPathW");
  wchar_t path[MAX_PATH] = {};
  if (get && SUCCEEDED(get(nullptr, kMyPicturesMade, nullptr, 0, path))) return path;
  return {};
}

}  // namespace

bool CopySheet(const SheetContent& content, const std::wstring& description, HWND owner) {
  Picture picture;
  if (!Render(LayOutSheet(content, kSheetWidth), &picture)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  base::GlobalMemory dib = PackedDib(picture);
  HENHMETAFILE emf = Metafile(content, description);
  if (!OpenClipboard(owner)) {
    const DWORD error = GetLastError();
    if (emf) DeleteEnhMetaFile(emf);
    dib.Reset();
    SetLastError(error);
    return false;
  }
  EmptyClipboard();
  if (emf && !SetClipboardData(CF_ENHMETAFILE, emf)) DeleteEnhMetaFile(emf);
  if (dib && SetClipboardData(CF_DIB, dib.get())) dib.Release();
  if (!content.clipboard_text.empty()) PutClipboardText(content.clipboard_text);
  CloseClipboard();
  return true;
}

DWORD WriteSheetFile(const SheetContent& content, const std::wstring& description, const std::wstring& path, bool emf) {
  const std::wstring temporary = path + L".part";
  DWORD error = ERROR_SUCCESS;
  if (emf) {
    HENHMETAFILE picture = Metafile(content, description);
    HENHMETAFILE copy = picture ? CopyEnhMetaFileW(picture, temporary.c_str()) : nullptr;
    if (!copy) error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    if (copy) DeleteEnhMetaFile(copy);
    if (picture) DeleteEnhMetaFile(picture);
  } else {
    Picture picture;
    if (!Render(LayOutSheet(content, kSheetWidth), &picture)) {
      error = ERROR_NOT_ENOUGH_MEMORY;
    } else if (HRESULT hr = WritePng(picture, temporary); FAILED(hr)) {
      error = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
    }
  }
  if (error == ERROR_SUCCESS && !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    error = GetLastError();
  if (error != ERROR_SUCCESS) DeleteFileW(temporary.c_str());
  return error;
}

namespace {

// A step's failure: the system's reason, which may be none (0).
Failure Failed(DWORD error) { return error; }
Failure Check(bool done) { return done ? Failure() : Failed(GetLastError()); }

class WinPrinter : public SheetPrinter {
 public:
  explicit WinPrinter(HDC dc) : dc_(dc) {}
  int PageWidth() const override { return GetDeviceCaps(dc_.get(), HORZRES); }
  int PageHeight() const override { return GetDeviceCaps(dc_.get(), VERTRES); }
  Failure StartJob(const std::wstring& name) override {
    DOCINFOW doc{};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = name.c_str();
    return Check(::StartDocW(dc_.get(), &doc) > 0);
  }
  Failure StartPage() override { return Check(::StartPage(dc_.get()) > 0); }
  void Paint(const Sheet& sheet) override { kit::win::PaintScene(dc_.get(), sheet.items, sheet.dpi); }
  Failure EndPage() override { return Check(::EndPage(dc_.get()) > 0); }
  Failure EndJob() override { return Check(::EndDoc(dc_.get()) > 0); }
  void AbortJob() override { ::AbortDoc(dc_.get()); }

 private:
  base::PrinterDc dc_;
};

// The dialogs belong to the window active when the command started, and
// the focus goes back where it was after each.
class WinSheetSystem : public SheetSystem {
 public:
  Failure CopyToClipboard(const SheetContent& content, const std::wstring& description) override {
    return Check(CopySheet(content, description, owner_));
  }

  std::optional<Chosen> ChooseFile(const std::wstring& proposed, const std::vector<SheetFileType>& types) override {
    using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);
    static auto save_dialog = LateBound<SaveDialog>(L"comdlg32.dll", "GetSaveFileNameW");
    if (!save_dialog || types.empty()) return std::nullopt;
    std::vector<wchar_t> name(32768, L'\0');
    proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));
    std::wstring filters;
    for (const SheetFileType& type : types) filters += type.label + L'\0' + type.pattern + L'\0';
    const std::wstring folder = PicturesFolder();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = types[0].extension.c_str();
    // No OFN_OVERWRITEPROMPT: the commands ask, for the name as written.
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    const BOOL chosen = save_dialog(&ofn);
    Refocus();
    if (!chosen) return std::nullopt;
    return Chosen{name.data(), ofn.nFilterIndex ? ofn.nFilterIndex - 1 : 0};
  }

  bool FileExists(const std::wstring& path) override {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  Failure WriteFile(const SheetContent& content, const std::wstring& path, SheetFormat format,
                    const std::wstring& description) override {
    const DWORD error = WriteSheetFile(content, description, path, format == SheetFormat::kEmf);
    return error == ERROR_SUCCESS ? Failure() : Failed(error);
  }

  PrinterChoice ChoosePrinter(bool landscape) override {
    using PrintDialog = BOOL(WINAPI*)(PRINTDLGW*);
    using DialogError = DWORD(WINAPI*)();
    static auto print_dialog = LateBound<PrintDialog>(L"comdlg32.dll", "PrintDlgW");
    static auto dialog_error = LateBound<DialogError>(L"comdlg32.dll", "CommDlgExtendedError");
    if (!print_dialog) return {};
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner_;
    // The default printer's settings first, then the dialog with them.
    pd.Flags = PD_RETURNDEFAULT;
    base::GlobalMemory mode_memory, names_memory;
    if (print_dialog(&pd)) {
      mode_memory.Reset(pd.hDevMode);
      names_memory.Reset(pd.hDevNames);
    }
    auto* mode = mode_memory && landscape ? static_cast<DEVMODEW*>(GlobalLock(mode_memory.get())) : nullptr;
    if (mode) {
      mode->dmFields |= DM_ORIENTATION;
      mode->dmOrientation = DMORIENT_LANDSCAPE;
      GlobalUnlock(mode_memory.get());
    }
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    SetLastError(ERROR_SUCCESS);
    const BOOL chosen = print_dialog(&pd);
    PrinterChoice choice;
    choice.dialog_error = chosen ? 0 : dialog_error ? dialog_error() : 0;
    choice.reason = GetLastError();
    // The dialog may have replaced the settings it was given.
    mode_memory.Release();
    names_memory.Release();
    mode_memory.Reset(pd.hDevMode);
    names_memory.Reset(pd.hDevNames);
    Refocus();
    if (chosen && pd.hDC) choice.printer = std::make_unique<WinPrinter>(pd.hDC);
    return choice;
  }

  bool Ask(const std::wstring& question, const std::wstring& caption) override {
    const int answer = MessageBoxW(owner_, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    Refocus();
    return answer == IDYES;
  }

  void Tell(const std::wstring& text, const std::wstring& caption) override {
    MessageBoxW(owner_, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
    Refocus();
  }

 private:
  void Refocus() {
    if (focus_) SetFocus(focus_);
  }

  HWND owner_ = GetActiveWindow();
  HWND focus_ = GetFocus();
};

}  // namespace

std::unique_ptr<SheetSystem> WinSheetOutput::Open() { return std::make_unique<WinSheetSystem>(); }

}  // namespace viewer
