#include "viewer/sheets_win.h"

#include "base/win32.h"

#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/handles_win.h"
#include "base/late_bound_win.h"
#include "kit/scene_win.h"
#include "os/error_text.h"

namespace viewer {
namespace {

constexpr wchar_t kCaption[] = L"Периодична система";
// 300 dots an inch in the DIB's and the PNG's own terms.
constexpr LONG kPelsPerMeter = 11811;

// The common dialogs, the shell's folders and COM are loaded when first
// used, so that a start that never saves or prints pays nothing for them.
using base::LateBound;

std::wstring SystemReason(DWORD error) {
  std::wstring reason = os::ErrorWords(static_cast<long>(error));
  return reason.empty() ? L"Грешка " + std::to_wstring(error) : reason;
}

void Tell(HWND owner, const std::wstring& text) { MessageBoxW(owner, text.c_str(), kCaption, MB_OK | MB_ICONWARNING); }

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
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  void* p = memory ? GlobalLock(memory) : nullptr;
  if (!p) {
    if (memory) GlobalFree(memory);
    return;
  }
  std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
}

// A packed bottom-up DIB, as the clipboard's CF_DIB holds it.
HGLOBAL PackedDib(const Picture& picture) {
  const size_t size = sizeof(BITMAPINFOHEADER) + static_cast<size_t>(picture.stride) * picture.height;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  auto* head = static_cast<BYTE*>(GlobalLock(memory));
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
  GlobalUnlock(memory);
  return memory;
}

// The sheet as vectors. Laid out in the reference screen's pixels, A4 wide
// (297 mm), so that a document shows it at the size of a printed page.
HENHMETAFILE Metafile(const SheetContent& content) {
  base::WindowDc screen;
  const int ref_width = MulDiv(29700, GetDeviceCaps(screen.get(), HORZRES), GetDeviceCaps(screen.get(), HORZSIZE) * 100);
  const Sheet sheet = LayOutSheet(content, ref_width);
  const int ref_height = sheet.height;
  RECT frame{0, 0, 29700, MulDiv(29700, ref_height, ref_width)};
  HDC dc = CreateEnhMetaFileW(screen.get(), nullptr, &frame, L"Zentrik Elemora\0Периодична система\0");
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

template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

// The PNG through the Windows Imaging Component; an HRESULT on failure.
HRESULT WritePng(const Picture& picture, const std::wstring& path) {
  using CoInit = HRESULT(WINAPI*)(void*, DWORD);
  using CoCreate = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
  static auto co_init = LateBound<CoInit>(L"ole32.dll", "CoInitializeEx");
  static auto co_create = LateBound<CoCreate>(L"ole32.dll", "CoCreateInstance");
  if (!co_init || !co_create) return E_NOTIMPL;
  co_init(nullptr, COINIT_APARTMENTTHREADED);
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  HRESULT hr = co_create(kWicFactory, nullptr, CLSCTX_INPROC_SERVER, kWicFactoryIid, reinterpret_cast<void**>(&factory.p));
  if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream.p);
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(kPngFormat, nullptr, &encoder.p);
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame.p, nullptr);
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height));
  if (SUCCEEDED(hr)) hr = frame->SetResolution(kSheetDpi, kSheetDpi);
  WICPixelFormatGUID format = kBgr24;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && format != kBgr24) hr = E_UNEXPECTED;
  if (SUCCEEDED(hr))
    hr = frame->WritePixels(static_cast<UINT>(picture.height), static_cast<UINT>(picture.stride),
                            static_cast<UINT>(picture.stride * picture.height), const_cast<BYTE*>(picture.bits));
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
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

bool HasExtension(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t dot = path.find_last_of(L'.');
  return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
}

}  // namespace

bool CopySheet(const SheetContent& content, HWND owner) {
  Picture picture;
  if (!Render(LayOutSheet(content, kSheetWidth), &picture)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  HGLOBAL dib = PackedDib(picture);
  HENHMETAFILE emf = Metafile(content);
  if (!OpenClipboard(owner)) {
    const DWORD error = GetLastError();
    if (dib) GlobalFree(dib);
    if (emf) DeleteEnhMetaFile(emf);
    SetLastError(error);
    return false;
  }
  EmptyClipboard();
  if (emf && !SetClipboardData(CF_ENHMETAFILE, emf)) DeleteEnhMetaFile(emf);
  if (dib && !SetClipboardData(CF_DIB, dib)) GlobalFree(dib);
  if (!content.clipboard_text.empty()) PutClipboardText(content.clipboard_text);
  CloseClipboard();
  return true;
}

DWORD WriteSheetFile(const SheetContent& content, const std::wstring& path, bool emf) {
  const std::wstring temporary = path + L".part";
  DWORD error = ERROR_SUCCESS;
  if (emf) {
    HENHMETAFILE picture = Metafile(content);
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

void WinSheetOutput::Copy(const SheetContent& content) {
  HWND owner = GetActiveWindow();
  if (!CopySheet(content, owner))
    Tell(owner, L"Картината не можа да бъде копирана.\n\n" + SystemReason(GetLastError()));
}

void WinSheetOutput::Save(const SheetContent& content) { SavePages({content}); }

void WinSheetOutput::Print(const SheetContent& content) { PrintPages({content}); }

void WinSheetOutput::SavePages(const std::vector<SheetContent>& pages) {
  if (pages.empty()) return;
  using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);
  static auto save_dialog = LateBound<SaveDialog>(L"comdlg32.dll", "GetSaveFileNameW");
  if (!save_dialog) return;
  HWND owner = GetActiveWindow();
  HWND focus = GetFocus();
  std::vector<wchar_t> name(32768, L'\0');
  const std::wstring proposed = L"Периодична система.png";
  proposed.copy(name.data(), proposed.size());
  const std::wstring folder = PicturesFolder();
  static const wchar_t kFilters[] = L"PNG (*.png)\0*.png\0EMF (*.emf)\0*.emf\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilters;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = L"png";
  // The question before replacing a file is asked here, once, for the name
  // as it will be written: Wine's dialog let a name typed without its
  // extension ("Таблица") replace the saved "Таблица.png" without asking.
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  const BOOL chosen = save_dialog(&ofn);
  if (focus) SetFocus(focus);
  if (!chosen) return;
  const bool emf = ofn.nFilterIndex == 2;
  std::wstring path = name.data();
  if (!HasExtension(path)) path += emf ? L".emf" : L".png";
  // Every file that would be replaced is asked about before any is written.
  for (size_t i = 0; i < pages.size(); ++i) {
    const std::wstring file = PageFileName(path, i);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    const std::wstring question = L"Файлът „" + file + L"“ вече съществува.\n\nДа бъде ли заменен?";
    const int answer = MessageBoxW(owner, question.c_str(), kCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    if (focus) SetFocus(focus);
    if (answer != IDYES) return;
  }

  for (size_t i = 0; i < pages.size(); ++i) {
    const std::wstring file = PageFileName(path, i);
    const DWORD error = WriteSheetFile(pages[i], file, emf);
    if (error != ERROR_SUCCESS) {
      Tell(owner, L"Картината не можа да бъде записана във файла „" + file + L"“.\n\n" + SystemReason(error));
      if (focus) SetFocus(focus);
      return;
    }
  }
}

void WinSheetOutput::PrintPages(const std::vector<SheetContent>& pages) {
  if (pages.empty()) return;
  using PrintDialog = BOOL(WINAPI*)(PRINTDLGW*);
  using DialogError = DWORD(WINAPI*)();
  static auto print_dialog = LateBound<PrintDialog>(L"comdlg32.dll", "PrintDlgW");
  static auto dialog_error = LateBound<DialogError>(L"comdlg32.dll", "CommDlgExtendedError");
  if (!print_dialog) return;
  HWND owner = GetActiveWindow();
  HWND focus = GetFocus();
  PRINTDLGW pd{};
  pd.lStructSize = sizeof(pd);
  pd.hwndOwner = owner;
  // The default printer's settings first, turned to landscape, then the
  // dialog with them.
  pd.Flags = PD_RETURNDEFAULT;
  if (print_dialog(&pd) && pd.hDevMode) {
    if (auto* mode = static_cast<DEVMODEW*>(GlobalLock(pd.hDevMode))) {
      mode->dmFields |= DM_ORIENTATION;
      mode->dmOrientation = DMORIENT_LANDSCAPE;
      GlobalUnlock(pd.hDevMode);
    }
  }
  pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  pd.nCopies = 1;
  SetLastError(ERROR_SUCCESS);
  const BOOL chosen = print_dialog(&pd);
  // A printer the dialog could not open (gone, or its driver failing) ends
  // it with an error rather than a cancel. The dialog's own code has no
  // text; the system's reason, where it left one, does. Having no printer
  // at all the dialog has told the user itself.
  const DWORD refused = chosen ? 0 : dialog_error ? dialog_error() : 0;
  const DWORD reason = GetLastError();
  if (focus) SetFocus(focus);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  if (refused && refused != PDERR_NODEFAULTPRN && refused != PDERR_NODEVICES) {
    Tell(owner, L"Картината не можа да бъде отпечатана.\n\n" +
                    (reason ? SystemReason(reason) : L"Грешка " + std::to_wstring(refused)));
    if (focus) SetFocus(focus);
    return;
  }
  if (!chosen || !pd.hDC) return;
  HDC dc = pd.hDC;
  const int page_w = GetDeviceCaps(dc, HORZRES), page_h = GetDeviceCaps(dc, VERTRES);
  DOCINFOW doc{};
  doc.cbSize = sizeof(doc);
  doc.lpszDocName = pages[0].title.c_str();   // what the queue shows
  // A step that fails without saying why still fails.
  auto last_error = [] { return GetLastError() ? GetLastError() : static_cast<DWORD>(ERROR_GEN_FAILURE); };
  DWORD error = ERROR_SUCCESS;
  if (StartDocW(dc, &doc) <= 0) error = last_error();
  for (size_t i = 0; error == ERROR_SUCCESS && i < pages.size(); ++i) {
    // The proportions at any width, then the width that fits the page.
    const Sheet probe = LayOutSheet(pages[i], kSheetWidth);
    const kit::Rect fit = FitInside(probe.width, probe.height, {0, 0, page_w, page_h});
    Sheet sheet = LayOutSheet(pages[i], fit.width);
    MoveSheet(sheet, fit.left, fit.top + (fit.height - sheet.height) / 2);
    if (StartPage(dc) <= 0) {
      error = last_error();
      AbortDoc(dc);
      break;
    }
    kit::win::PaintScene(dc, sheet.items, sheet.dpi);
    if (EndPage(dc) <= 0) {
      error = last_error();
      AbortDoc(dc);
    }
  }
  if (error == ERROR_SUCCESS && EndDoc(dc) <= 0) error = last_error();
  DeleteDC(dc);
  // "Print to file" whose file name was not given is the user's cancel.
  if (error == ERROR_SUCCESS || error == ERROR_CANCELLED || error == ERROR_PRINT_CANCELLED) return;
  Tell(owner, L"Картината не можа да бъде отпечатана.\n\n" + SystemReason(error));
  if (focus) SetFocus(focus);
}

}  // namespace viewer
