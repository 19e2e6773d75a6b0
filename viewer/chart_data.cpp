#include "viewer/chart_data.h"

#include <algorithm>

#include "viewer/tile_table.h"

namespace viewer {
namespace {

std::wstring WithoutUnit(Property property, std::wstring text) {
  const std::wstring_view unit = UnitOf(property);
  if (!unit.empty() && text.size() >= unit.size() && text.compare(text.size() - unit.size(), unit.size(), unit) == 0)
    text.resize(text.size() - unit.size());
  return text;
}

}  // namespace

std::vector<ChartEntry> ChartEntries(Property property, const std::vector<TileRecord>& records) {
  std::vector<ChartEntry> out;
  const auto& tiles = Tiles();
  for (size_t i = 0; i < records.size() && i < tiles.size(); ++i) {
    const TileRecord& r = records[i];
    if (!r.has_record || r.atomic_number <= 0 || !r.Of(property).HasValue()) continue;
    // Density lies on a logarithmic axis, where nothing can be zero.
    if (property == Property::kDensity && r.Of(property).value <= 0) continue;
    out.push_back({static_cast<int>(i), r.atomic_number, std::wstring(tiles[i].symbol.begin(), tiles[i].symbol.end()),
                   r.Of(property)});
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const ChartEntry& a, const ChartEntry& b) { return a.atomic_number < b.atomic_number; });
  return out;
}

std::wstring PointName(Property property, const ChartEntry& entry) {
  return entry.symbol + L" (" + std::to_wstring(entry.atomic_number) + L"): " + ValueText(property, entry.reading);
}

std::wstring ChartValuesText(Property property, const std::vector<ChartEntry>& entries,
                             const std::vector<TileRecord>& records) {
  std::wstring unit(UnitOf(property));
  std::wstring text = L"Атомен номер\tСимвол\tИме\t" + std::wstring(CaptionOf(property));
  if (!unit.empty()) text += L" (" + unit.substr(1) + L")";
  text += L"\r\n";
  for (const ChartEntry& e : entries) {
    const std::wstring& name = e.tile >= 0 && e.tile < static_cast<int>(records.size()) ? records[e.tile].name : L"";
    text += std::to_wstring(e.atomic_number) + L"\t" + e.symbol + L"\t" + name + L"\t" +
            WithoutUnit(property, ValueText(property, e.reading, false)) + L"\r\n";
  }
  return text;
}

}  // namespace viewer
