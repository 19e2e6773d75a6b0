#include <cstdio>
#include <initializer_list>
#include <string>

#include "base/win32.h"
#include "tools/inspector/inspector_win.h"

namespace inspector {
namespace {

std::string Numbers(std::initializer_list<long> values) {
  std::string out = "[";
  for (long v : values) out += (out.size() > 1 ? "," : "") + std::to_string(v);
  return out + "]";
}

}  // namespace

int DumpClipboard() {
  std::wstring text;
  std::string emf = "null", dib = "null";
  if (OpenClipboard(nullptr)) {
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
      if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
        text = p;
        GlobalUnlock(h);
      }
    }
    if (auto h = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
      ENHMETAHEADER head{};
      if (GetEnhMetaFileHeader(h, sizeof(head), &head)) {
        const RECTL& b = head.rclBounds;
        const RECTL& f = head.rclFrame;
        emf = "{\"bounds\":" + Numbers({b.left, b.top, b.right, b.bottom}) +
              ",\"frame\":" + Numbers({f.left, f.top, f.right, f.bottom}) +
              ",\"bytes\":" + std::to_string(head.nBytes) + ",\"records\":" + std::to_string(head.nRecords) + "}";
      }
    }
    if (HANDLE h = GetClipboardData(CF_DIB)) {
      if (auto* head = static_cast<const BITMAPINFOHEADER*>(GlobalLock(h))) {
        dib = "{\"width\":" + std::to_string(head->biWidth) + ",\"height\":" + std::to_string(head->biHeight) +
              ",\"bits\":" + std::to_string(head->biBitCount) + ",\"compression\":" +
              std::to_string(head->biCompression) + ",\"x_pels_per_meter\":" + std::to_string(head->biXPelsPerMeter) +
              ",\"y_pels_per_meter\":" + std::to_string(head->biYPelsPerMeter) + "}";
        GlobalUnlock(h);
      }
    }
    CloseClipboard();
  }
  printf("{\"text\":%s,\"emf\":%s,\"dib\":%s}\n", Json(text).c_str(), emf.c_str(), dib.c_str());
  return 0;
}

int SaveClipboardDib(const std::wstring& file) {
  if (!OpenClipboard(nullptr)) return 1;
  int rc = 1;
  HANDLE h = GetClipboardData(CF_DIB);
  const auto* packed = h ? static_cast<const BYTE*>(GlobalLock(h)) : nullptr;
  if (packed) {
    const auto* head = reinterpret_cast<const BITMAPINFOHEADER*>(packed);
    const DWORD size = static_cast<DWORD>(GlobalSize(h));
    // The pixels follow the header, the colour masks of BI_BITFIELDS and the
    // colour table of a palette image.
    DWORD colours = head->biClrUsed;
    if (!colours && head->biBitCount <= 8) colours = 1u << head->biBitCount;
    const DWORD masks = head->biCompression == BI_BITFIELDS && head->biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
    BITMAPFILEHEADER file_head{};
    file_head.bfType = 0x4D42;   // "BM"
    file_head.bfSize = sizeof(file_head) + size;
    file_head.bfOffBits = static_cast<DWORD>(sizeof(file_head) + head->biSize + masks + colours * sizeof(RGBQUAD));
    if (FILE* out = _wfopen(file.c_str(), L"wb")) {
      if (fwrite(&file_head, sizeof(file_head), 1, out) == 1 && fwrite(packed, 1, size, out) == size) rc = 0;
      if (fclose(out) != 0) rc = 1;
    }
    GlobalUnlock(h);
  }
  CloseClipboard();
  if (rc) fputs("no CF_DIB on the clipboard, or the file could not be written\n", stderr);
  return rc;
}

}  // namespace inspector
