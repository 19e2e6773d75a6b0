// sheetbench FOLDER [ROUNDS]: opens the viewer's window on FOLDER\vrakel.mdb
// and prints, in milliseconds (medians over ROUNDS, default 10), what the
// worksheet picture of its table costs:
//   png    the picture drawn at 300 DPI (3508 pixels wide) and written as a
//          PNG through the imaging component; the first time apart, as it
//          loads the component
//   copy   Ctrl+C: the worksheet read from the window, the picture drawn
//          and put on the clipboard with its metafile
//   emf    the metafile written to a file
// A console program, so that the figures reach the terminal under Wine.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/viewer_bench_win.h"
#include "viewer/sheets_win.h"

namespace {

using bench::Median;
using bench::Now;

LONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Viewer shown(argc, argv, "sheetbench", 10);
  if (shown.Exit()) return shown.Exit();
  viewer::FormMain& form = *shown.form;
  const int rounds = shown.rounds;
  HWND hwnd = shown.hwnd;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring png = std::wstring(temp) + L"sheetbench.png", emf = std::wstring(temp) + L"sheetbench.emf";

  const viewer::SheetContent content = form.Worksheet();
  const std::wstring described = viewer::MetafileDescription();
  double t = Now();
  DWORD error = viewer::WriteSheetFile(content, described, png, false);
  const double first = Now() - t;
  if (error != ERROR_SUCCESS) {
    std::fprintf(stderr, "the PNG could not be written (error %lu)\n", error);
    return 1;
  }
  const LONGLONG png_bytes = FileSize(png);

  std::vector<double> png_ms, copy_ms, emf_ms;
  for (int i = 0; i < rounds && error == ERROR_SUCCESS; ++i) {
    t = Now();
    error = viewer::WriteSheetFile(content, described, png, false);
    png_ms.push_back(Now() - t);

    t = Now();
    if (!viewer::CopySheet(form.Worksheet(), described, hwnd)) error = GetLastError();
    copy_ms.push_back(Now() - t);

    t = Now();
    if (error == ERROR_SUCCESS) error = viewer::WriteSheetFile(content, described, emf, true);
    emf_ms.push_back(Now() - t);
  }
  const LONGLONG emf_bytes = FileSize(emf);
  DeleteFileW(png.c_str());
  DeleteFileW(emf.c_str());
  if (error != ERROR_SUCCESS) {
    std::fprintf(stderr, "a round failed (error %lu)\n", error);
    return 1;
  }
  std::printf("png %.1f ms (the first %.1f ms, %lld bytes; goal < 1000); copy %.1f ms (goal < 500); emf %.1f ms "
              "(%lld bytes)\n",
              Median(png_ms), first, png_bytes, Median(copy_ms), Median(emf_ms), emf_bytes);
  return 0;
}
