// The viewer's one window: the header band, the category legend, the grid
// of element tiles with its group headings and the information panel whose
// twelve boxes show the record of the last tile clicked.
//
// The window owns the open element database for its whole life. It reads
// nothing until a tile is clicked and never writes to the database.
#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "viewer/atom_window.h"
#include "viewer/chart_window.h"
#include "viewer/molar_window.h"
#include "viewer/property_values.h"
#include "viewer/quiz_window.h"
#include "viewer/record_source.h"
#include "viewer/solubility_window.h"
#include "viewer/trend_view.h"
#include "viewer/worksheet.h"

namespace viewer {

class FormMain : public kit::Form {
 public:
  // `program_folder` is the folder of the running program as the system
  // reports it; the database is looked for there when the window loads.
  FormMain(DatabaseEngine& engine, std::wstring program_folder);
  ~FormMain() override;

  // Opens the element table at load. Each step that fails is passed over in
  // silence; the window then opens with empty boxes.
  void OpenElementTable();
  // Shows the record `position` steps after the first one in index order.
  // When the database is not open or the record cannot be read in full, a
  // message says so and the boxes keep what they showed.
  void ShowElement(std::int32_t position);
  // Fills every box with "?" (the elements that have no record).
  void ShowUnknownElement();
  // True when a record can be reached; otherwise says why the element cannot
  // be shown (no database, or a database whose element table is unusable).
  bool ElementTableReady();

  // The tile labelled `symbol` ("Fe"), or null.
  kit::Label* Tile(std::string_view symbol);
  const std::vector<std::unique_ptr<kit::Label>>& Tiles() const { return tiles_; }

  // Colouring the table by a property and finding a tile by typing.
  TrendView& Trends() { return *trends_; }
  // Every tile's record, read on the first call and kept; null when the
  // element table cannot be read (the user is told why when `tell_user`).
  const std::vector<TileRecord>* TileRecords(bool tell_user);

  // The table as a worksheet shows it at this moment: the tiles, the group
  // headings, the lines and what stands in the legend's place, under the
  // title of the view; none of the header, the panel or the controls.
  SheetContent Worksheet() const;
  // Where "Копирай като картина", "Запиши като картина…" and "Печат…" go;
  // without one they do nothing.
  void SetSheetOutput(SheetOutput* output) { sheet_output_ = output; }
  // The tiles' popup menu: the views, then the worksheet's lines.
  std::vector<kit::MenuItem> MenuItems() const;
  void OpenMenu(int x, int y);
  // Opens the chart of the property the table shows (the radius with the
  // categories, the melting point with the states), or brings it forward.
  void OpenChart();
  ChartWindow* Chart() { return chart_.get(); }
  // Ctrl and `letter` opens a window ("Моларна маса" M, the solubility
  // table R, the quiz U); whether it was one's.
  bool OpenWindowFor(wchar_t letter);
  // Opens the solubility table with the activity series, or brings it
  // forward.
  void OpenSolubility();
  SolubilityWindow* SolubilityWin() { return solubility_.get(); }
  // Opens "Моларна маса" or brings it forward; a formula given replaces the
  // one in its box.
  void OpenMolarMass(const std::wstring& formula = L"");
  MolarWindow* MolarMass() { return molar_.get(); }
  // A tile clicked in this window: its symbol is typed into the open molar
  // mass window (not when another window shows the element through it).
  void TypeTileSymbol(const kit::Label& tile);
  // Shows a tile's element for another window, as a click on it would.
  void ShowTileFor(int tile);
  // Opens the quiz beside the table, or brings it forward.
  void OpenQuiz();
  QuizWindow* Quiz() { return quiz_.get(); }
  // The quiz's set-up variant as its two pages, handed to `out` (to print
  // or save them) while the table shows no symbols; nothing when the set-up
  // is out of range (the user is told).
  void OutputQuizVariant(const std::function<void(const std::vector<SheetContent>&)>& out);
  // Opens the atom's structure of the tile last shown or focused, or shows
  // that element in the open one and brings it forward; a tile without a
  // record opens nothing.
  void OpenAtom();
  AtomWindow* Atom() { return atom_.get(); }

  // The twelve value boxes in the order their fields are copied.
  std::array<kit::TextBox*, 12> PanelBoxes();

  // Drawings: they take no mouse input, so a press on them drags the window.
  kit::Shape Shape2{*this, "Shape2"};
  kit::Shape Shape9{*this, "Shape9"};
  kit::Shape Shape8{*this, "Shape8"};
  kit::Shape Shape7{*this, "Shape7"};
  kit::Shape Shape6{*this, "Shape6"};
  kit::Shape Shape5{*this, "Shape5"};
  kit::Shape Shape4{*this, "Shape4"};
  kit::Shape Shape3{*this, "Shape3"};
  kit::Shape Shape1{*this, "Shape1"};
  kit::Line Line1{*this, "Line1"};
  kit::Line Line2{*this, "Line2"};
  kit::Line Line3{*this, "Line3"};
  kit::Line Line4{*this, "Line4"};
  kit::Line Line5{*this, "Line5"};
  kit::Line Line6{*this, "Line6"};

  // Header.
  kit::Image Image3{*this, "Image3"};
  kit::Label Label2{*this, "Label2"};
  kit::Label Label1{*this, "Label1"};
  kit::Label Label3{*this, "Label3"};

  // Legend captions.
  kit::Label lbl_alkali_metals{*this, "lbl_alkali_metals"};
  kit::Label lbl_alkaline_earth_metals{*this, "lbl_alkaline_earth_metals"};
  kit::Label lbl_lanthanide_series{*this, "lbl_lanthanide_series"};
  kit::Label lbl_actinide_series{*this, "lbl_actinide_series"};
  kit::Label lbl_transition_metals{*this, "lbl_transition_metals"};
  kit::Label lbl_other_metals{*this, "lbl_other_metals"};
  kit::Label lbl_nonmetals{*this, "lbl_nonmetals"};
  kit::Label lbl_noble_gases{*this, "lbl_noble_gases"};

  // Group headings: the numbers 1 to 18 ...
  kit::Label lbl_1{*this, "lbl_1"};
  kit::Label lbl_2{*this, "lbl_2"};
  kit::Label lbl_3{*this, "lbl_3"};
  kit::Label lbl_4{*this, "lbl_4"};
  kit::Label lbl_5{*this, "lbl_5"};
  kit::Label lbl_6{*this, "lbl_6"};
  kit::Label lbl_7{*this, "lbl_7"};
  kit::Label lbl_8{*this, "lbl_8"};
  kit::Label lbl_9{*this, "lbl_9"};
  kit::Label lbl_10{*this, "lbl_10"};
  kit::Label lbl_11{*this, "lbl_11"};
  kit::Label lbl_12{*this, "lbl_12"};
  kit::Label lbl_13{*this, "lbl_13"};
  kit::Label lbl_14{*this, "lbl_14"};
  kit::Label lbl_15{*this, "lbl_15"};
  kit::Label lbl_16{*this, "lbl_16"};
  kit::Label lbl_17{*this, "lbl_17"};
  kit::Label lbl_18{*this, "lbl_18"};
  // ... and the older Roman numerals with their subgroup letters.
  kit::Label lbl_Ia{*this, "lbl_Ia"};
  kit::Label lbl_IIa{*this, "lbl_IIa"};
  kit::Label lbl_IIIa{*this, "lbl_IIIa"};
  kit::Label lbl_IVa{*this, "lbl_IVa"};
  kit::Label lbl_Va{*this, "lbl_Va"};
  kit::Label lbl_VIa{*this, "lbl_VIa"};
  kit::Label lbl_VIIa{*this, "lbl_VIIa"};
  kit::Label lbl_0{*this, "lbl_0"};
  kit::Label lbl_IIIb{*this, "lbl_IIIb"};
  kit::Label lbl_IVb{*this, "lbl_IVb"};
  kit::Label lbl_Vb{*this, "lbl_Vb"};
  kit::Label lbl_VIb{*this, "lbl_VIb"};
  kit::Label lbl_VIIb{*this, "lbl_VIIb"};
  kit::Label lbl_left{*this, "lbl_left"};
  kit::Label lbl_VIIIb{*this, "lbl_VIIIb"};
  kit::Label lbl_right{*this, "lbl_right"};
  kit::Label lbl_Ib{*this, "lbl_Ib"};
  kit::Label lbl_IIb{*this, "lbl_IIb"};

  // Information panel, left column (box left of its label) ...
  kit::Label lbl_atom_num{*this, "lbl_atom_num"};
  kit::TextBox txt_atom_num{*this, "txt_atom_num"};
  kit::Label lbl_name{*this, "lbl_name"};
  kit::TextBox txt_name{*this, "txt_name"};
  kit::Label lbl_atom_mass{*this, "lbl_atom_mass"};
  kit::TextBox txt_atom_mass{*this, "txt_atom_mass"};
  kit::Label lbl_atom_rad{*this, "lbl_atom_rad"};
  kit::TextBox txt_atom_rad{*this, "txt_atom_rad"};
  kit::Label lbl_elec_shell{*this, "lbl_elec_shell"};
  kit::TextBox txt_elec_shell{*this, "txt_elec_shell"};
  // ... right column (label left of its box) ...
  kit::Label lbl_density{*this, "lbl_density"};
  kit::TextBox txt_density{*this, "txt_density"};
  kit::Label lbl_isotopes{*this, "lbl_isotopes"};
  kit::TextBox txt_isotopes{*this, "txt_isotopes"};
  kit::Label lbl_electronegativity{*this, "lbl_electronegativity"};
  kit::TextBox txt_electronegativity{*this, "txt_electronegativity"};
  kit::Label lbl_oxidation{*this, "lbl_oxidation"};
  kit::TextBox txt_oxidation{*this, "txt_oxidation"};
  kit::Label lbl_discovery{*this, "lbl_discovery"};
  kit::TextBox txt_discovery{*this, "txt_discovery"};
  // ... and two pairs that are filled but never shown.
  kit::Label lbl_orbitals{*this, "lbl_orbitals"};
  kit::TextBox txt_orbitals{*this, "txt_orbitals"};
  kit::Label lbl_melt_boil{*this, "lbl_melt_boil"};
  kit::TextBox txt_melt_boil{*this, "txt_melt_boil"};

 private:
  void BuildHeader();
  void BuildLegend();
  void BuildHeadings();
  void BuildLines();
  void BuildPanel();
  void BuildTiles();
  // While the quiz asks, it takes the tiles' clicks; whether it took this one.
  bool QuizTakes(const kit::Label& tile);
  // What a click on a tile shows (the element, the trends' and the chart's
  // notice of it), unless the quiz takes the click; whether it showed it.
  bool ShowTile(const kit::Label& tile, std::int32_t position);
  void BeginQuiz(bool blank);
  void EndQuiz();
  void RingTile(int tile);

  DatabaseEngine& engine_;
  std::wstring program_folder_;

  // The open element table, set once at load and kept until the program
  // ends; the record set refers to the database and goes first.
  std::unique_ptr<Database> db;
  std::unique_ptr<RecordSet> rs;
  std::optional<Bookmark> FirstRow;

  // Created after every named control, so the tiles lie above the headings
  // whose lower edge they overlap.
  std::vector<std::unique_ptr<kit::Label>> tiles_;

  std::optional<std::vector<TileRecord>> tile_records_;
  std::unique_ptr<TrendView> trends_;
  SheetOutput* sheet_output_ = nullptr;
  std::unique_ptr<ChartWindow> chart_;
  std::unique_ptr<SolubilityWindow> solubility_;
  std::vector<FormulaElement> formula_elements_;
  std::unique_ptr<MolarWindow> molar_;
  std::unique_ptr<QuizWindow> quiz_;
  // The ring on an answer's tile: four strips above the tiles.
  std::array<std::unique_ptr<kit::Label>, 4> quiz_ring_;
  bool symbols_before_quiz_ = true;
  std::unique_ptr<AtomWindow> atom_;
};

}  // namespace viewer
