// The table coloured by the state of matter at a temperature the class
// chooses, and the controls that choose it: in the free area above the
// transition metals (Left 1920 to 7800, Top 660 to 2085), the caption, a
// trackbar from -273 to 6000 °C, a text box for typing the temperature with
// its kelvin value beside it, the line with the melting and boiling points
// of the element last shown or focused, the label-button back to room
// temperature and the four swatches of the states.
//
// Made the first time the states are chosen, so the window's start pays
// nothing for it; afterwards only shown and hidden. The tiles' looks are
// TrendView's to save and restore; this only recolours them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "viewer/matter_state.h"
#include "viewer/property_values.h"

namespace viewer {

class StateView {
 public:
  // `tiles` in the order of the tile table. The trackbar, the text box and
  // the label-button take the three tab indices after the tiles' own.
  StateView(kit::Form& form, const std::vector<std::unique_ptr<kit::Label>>& tiles);
  StateView(const StateView&) = delete;
  StateView& operator=(const StateView&) = delete;

  // Shows the controls at room temperature and colours every tile by its
  // record (same order as the tiles). `categories` are the tiles' own
  // descriptions, which the state follows ("Неметали, течно при 25 °C");
  // `noticed` is the tile whose points the line gives, or -1. The records
  // must outlive the view.
  void Show(const std::vector<TileRecord>& records, std::vector<std::wstring> categories, int noticed);
  void Hide();
  bool Visible() const { return trk_temperature.visible; }
  bool Owns(const kit::Control* control) const;

  int Celsius() const { return trk_temperature.value; }
  // Moves everything to `celsius` (within the range): the trackbar, the
  // text box, the kelvin label and the tiles.
  void SetCelsius(int celsius);
  // The text box's text as the temperature (Enter, or leaving the box). A
  // text that is not a whole number in the range beeps and the box gets
  // the last valid value back.
  void TakeTypedText();
  // The line of points shows tile `index` (in the tile table's order).
  void ShowPoints(int index);

  kit::Label lbl_temperature;
  kit::TrackBar trk_temperature;
  kit::TextBox txt_temperature;
  kit::Label lbl_celsius;
  kit::Label lbl_kelvin;
  kit::Label lbl_room_temperature;
  kit::Label lbl_points;
  // The legend of the states, in the order solid, liquid, gas, no data.
  kit::Shape shp_solid, shp_liquid, shp_gas, shp_state_no_data;
  kit::Label lbl_solid, lbl_liquid, lbl_gas, lbl_state_no_data;

 private:
  std::vector<kit::Control*> Controls();
  void Recolour();

  const std::vector<std::unique_ptr<kit::Label>>& tiles_;
  const std::vector<TileRecord>* records_ = nullptr;
  std::vector<std::wstring> categories_;
};

}  // namespace viewer
