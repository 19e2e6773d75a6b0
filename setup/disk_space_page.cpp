// The disk space page: measures the destination drive once, when the page is
// first loaded, and lets the user on only with more than 10 MB free.
#include <cmath>
#include <cstdint>
#include <limits>

#include "setup/pages.h"

namespace setup {

Form5::Form5(os::Files& files, NumberLocale locale)
    : WizardPage("Form5", Step::kCheck, 8700, 5205), files_(files), locale_(std::move(locale)) {
  Label13.caption = L"Необходимо дисково пространство: 10 МВ";
  Label13.font = Arial(15.75);
  Label13.transparent = true;
  Label13.bounds = {2250, 1245, 6225, 360};
  Label14.caption = L"Налично дисково пространство:";
  Label14.font = Arial(15.75);
  Label14.transparent = true;
  Label14.bounds = {2250, 1890, 4650, 1080};
  Label14.word_wrap = true;  // three lines high: the figure goes under the words
  PlaceButtons(&Label12, Label10, Label11);
}

bool Form5::GetDiskSpace(const std::wstring& sRootPathName) {
  std::optional<os::DiskSpace> space = files_.FreeSpace(sRootPathName);
  if (!space) {
    FreeKB = 0;
    return false;
  }
  // 64-bit throughout: today's drives overflow the 32-bit figures, and a
  // figure beyond them is shown as the largest one instead.
  constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
  double cluster_bytes = static_cast<double>(space->bytes_per_sector) * space->sectors_per_cluster;
  double kb = std::nearbyint(static_cast<double>(space->free_clusters) / 1000.0 * cluster_bytes);
  FreeKB = kb >= kLargest ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(kb);
  return true;
}

void Form5::Measure(const std::wstring& destination) {
  bool queried = GetDiskSpace(destination.substr(0, 3));
  Label14.caption = L"Налично дисково пространство:" + FreeMegabytesText(FreeKB, queried, locale_, &free_mb_) + L" mb";
}

}  // namespace setup
