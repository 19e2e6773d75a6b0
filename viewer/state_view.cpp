#include "viewer/state_view.h"

#include <algorithm>
#include <utility>

#include "kit/platform.h"
#include "viewer/trend_scale.h"
#include "viewer/window_look.h"
#include "viewer/worksheet.h"

namespace viewer {
namespace {

constexpr int kLeft = 1920;
constexpr int kRight = 7800;
constexpr int kSwatchTop = 1815;
constexpr int kCaptionTop = 1800;

void Caption(kit::Label& label, kit::Rect bounds, std::wstring text = {}) {
  label.caption = std::move(text);
  StyleLegendCaption(label, bounds);
}

void Swatch(kit::Shape& swatch, kit::Label& caption, int left, int caption_width, MatterState state) {
  swatch.bounds = {left, kSwatchTop, 210, 195};
  swatch.filled = true;
  swatch.fill_color = StateColor(state);
  swatch.monochrome = StatePrintFill(state);
  swatch.border_color = kBackground;   // a plain square, as the category swatches
  Caption(caption, {left + 255, kCaptionTop, caption_width, 255}, std::wstring(StateName(state)));
}

}  // namespace

StateView::StateView(kit::Form& form, const std::vector<std::unique_ptr<kit::Label>>& tiles)
    : lbl_temperature(form, "lbl_temperature"),
      trk_temperature(form, "trk_temperature"),
      txt_temperature(form, "txt_temperature"),
      lbl_celsius(form, "lbl_celsius"),
      lbl_kelvin(form, "lbl_kelvin"),
      lbl_room_temperature(form, "lbl_room_temperature"),
      lbl_points(form, "lbl_points"),
      shp_solid(form, "shp_solid"),
      shp_liquid(form, "shp_liquid"),
      shp_gas(form, "shp_gas"),
      shp_state_no_data(form, "shp_state_no_data"),
      lbl_solid(form, "lbl_solid"),
      lbl_liquid(form, "lbl_liquid"),
      lbl_gas(form, "lbl_gas"),
      lbl_state_no_data(form, "lbl_state_no_data"),
      tiles_(tiles) {
  const int tab = tiles.empty() ? 0 : tiles.front()->tab_index;

  Caption(lbl_temperature, {kLeft, 690, 1260, 255}, L"Температура");
  txt_temperature.bounds = {3195, 660, 600, 285};
  txt_temperature.font = form.font;
  txt_temperature.alignment = kit::Align::kRight;
  txt_temperature.accessible_name = L"Температура в °C";
  txt_temperature.tab_index = tab + 2;
  txt_temperature.on_enter = [this] { TakeTypedText(); };
  Caption(lbl_celsius, {3840, 690, 330, 255}, L"°C");
  Caption(lbl_kelvin, {4215, 690, 900, 255});

  // A label-button in the header band's blue, so it reads as a button.
  lbl_room_temperature.caption = L"Стайна температура";
  lbl_room_temperature.bounds = {5400, 660, kRight - 5400, 285};
  lbl_room_temperature.font = Verdana(8.25, true);
  lbl_room_temperature.fore_color = kWhite;
  lbl_room_temperature.back_color = kBandBlue;
  lbl_room_temperature.border = true;
  lbl_room_temperature.alignment = kit::Align::kCenter;
  lbl_room_temperature.tab_index = tab + 3;
  lbl_room_temperature.on_click = [this] { SetCelsius(kRoomCelsius); };

  trk_temperature.bounds = {kLeft, 1005, kRight - kLeft, 420};
  trk_temperature.min = kLowestCelsius;
  trk_temperature.max = kHighestCelsius;
  trk_temperature.value = kRoomCelsius;
  trk_temperature.page_step = 100;
  trk_temperature.back_color = kBackground;
  trk_temperature.unit = L" °C";
  trk_temperature.accessible_name = L"Температура";
  trk_temperature.tab_index = tab + 1;
  trk_temperature.on_change = [this] { SetCelsius(trk_temperature.value); };

  Caption(lbl_points, {kLeft, 1470, kRight - kLeft, 255});

  Swatch(shp_solid, lbl_solid, kLeft, 1020, MatterState::kSolid);
  Swatch(shp_liquid, lbl_liquid, 3300, 1020, MatterState::kLiquid);
  Swatch(shp_gas, lbl_gas, 4680, 1020, MatterState::kGas);
  Swatch(shp_state_no_data, lbl_state_no_data, 6060, kRight - 6315, MatterState::kNoData);

  for (kit::Control* c : Controls()) c->visible = false;
}

std::vector<kit::Control*> StateView::Controls() {
  return {&lbl_temperature, &trk_temperature, &txt_temperature, &lbl_celsius,     &lbl_kelvin,
          &lbl_room_temperature, &lbl_points, &shp_solid,       &shp_liquid,      &shp_gas,
          &shp_state_no_data,    &lbl_solid,  &lbl_liquid,      &lbl_gas,         &lbl_state_no_data};
}

bool StateView::Owns(const kit::Control* control) const {
  for (kit::Control* c : const_cast<StateView*>(this)->Controls())
    if (c == control) return true;
  return false;
}

void StateView::Show(const std::vector<TileRecord>& records, std::vector<std::wstring> categories, int noticed) {
  records_ = &records;
  categories_ = std::move(categories);
  for (kit::Control* c : Controls()) c->visible = true;
  lbl_points.caption.clear();
  ShowPoints(noticed);
  SetCelsius(kRoomCelsius);
}

void StateView::Hide() {
  for (kit::Control* c : Controls()) c->visible = false;
}

void StateView::SetCelsius(int celsius) {
  celsius = std::clamp(celsius, kLowestCelsius, kHighestCelsius);
  trk_temperature.value = celsius;
  txt_temperature.text = CelsiusText(celsius);
  lbl_kelvin.caption = KelvinText(celsius);
  Recolour();
}

void StateView::TakeTypedText() {
  if (const auto celsius = ParseCelsius(txt_temperature.text)) {
    SetCelsius(*celsius);
    return;
  }
  kit::CurrentPlatform().Beep();
  txt_temperature.text = CelsiusText(Celsius());
  txt_temperature.Select(0, static_cast<int>(txt_temperature.text.size()));
}

void StateView::ShowPoints(int index) {
  if (!records_ || index < 0 || index >= static_cast<int>(tiles_.size()) ||
      index >= static_cast<int>(records_->size()))
    return;
  const TileRecord& record = (*records_)[static_cast<size_t>(index)];
  // "Hg: -39 / 357 °C", as stored: the pupil sees why mercury is liquid.
  lbl_points.caption = tiles_[static_cast<size_t>(index)]->caption + L": " +
                       (record.melt_boil.empty() ? std::wstring(kNoDataCaption) : record.melt_boil);
}

void StateView::Recolour() {
  if (!records_) return;
  const int celsius = Celsius();
  for (size_t i = 0; i < tiles_.size(); ++i) {
    const MatterState state = i < records_->size() ? StateAt((*records_)[i], celsius) : MatterState::kNoData;
    kit::Label& tile = *tiles_[i];
    tile.back_color = StateColor(state);
    tile.monochrome = StatePrintFill(state);
    tile.fore_color = state == MatterState::kNoData ? SymbolColorOn(kNoDataColor) : kWhite;
    tile.description = (i < categories_.size() ? categories_[i] : std::wstring()) + L", " +
                       StateDescription(state, celsius);
  }
}

}  // namespace viewer
