#include "viewer/matter_state.h"

#include <cmath>

#include "viewer/trend_scale.h"

namespace viewer {

MatterState StateAt(const TileRecord& record, double celsius) {
  if (!record.has_record) return MatterState::kNoData;
  const Reading& melting = record.Of(Property::kMeltingPoint);
  const Reading& boiling = record.Of(Property::kBoilingPoint);
  const bool melts = melting.HasValue() && !melting.under_pressure;
  const bool never_freezes = melting.HasValue() && melting.under_pressure;
  if (melts && celsius < melting.value) return MatterState::kSolid;
  if ((!melts && !never_freezes) || !boiling.HasValue()) return MatterState::kNoData;
  return celsius < boiling.value ? MatterState::kLiquid : MatterState::kGas;
}

std::wstring_view StateName(MatterState state) {
  switch (state) {
    case MatterState::kSolid: return L"твърдо";
    case MatterState::kLiquid: return L"течно";
    case MatterState::kGas: return L"газ";
    case MatterState::kNoData: break;
  }
  return L"няма данни";
}

kit::Color StateColor(MatterState state) {
  switch (state) {
    case MatterState::kSolid: return kit::Rgb(0x4D, 0x4D, 0x4D);
    case MatterState::kLiquid: return kit::Rgb(0x00, 0x72, 0xB2);
    case MatterState::kGas: return kit::Rgb(0xD5, 0x5E, 0x00);
    case MatterState::kNoData: break;
  }
  return kNoDataColor;
}

std::wstring StateDescription(MatterState state, int celsius) {
  std::wstring text(StateName(state));
  if (state != MatterState::kNoData) text += L" при " + CelsiusText(celsius) + L" °C";
  return text;
}

std::optional<int> ParseCelsius(std::wstring_view text) {
  auto space = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u00A0'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'\u2212' || text.front() == L'+')) {
    negative = text.front() != L'+';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 6) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (negative) value = -value;
  if (value < kLowestCelsius || value > kHighestCelsius) return std::nullopt;
  return value;
}

std::wstring CelsiusText(int celsius) { return std::to_wstring(celsius); }

std::wstring KelvinText(int celsius) {
  return std::to_wstring(static_cast<long>(std::lround(celsius + 273.15))) + L" K";
}

}  // namespace viewer
