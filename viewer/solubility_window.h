// The solubility window: the table of solubility of acids, bases and salts
// in water, its legend and the activity series of the metals under it, as
// a pupil has them beside the periodic table at an exam. Each cell is a
// small label-button in one tab group, so the arrows walk the table and a
// screen reader reads each cell's ions, compound and mark.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/platform.h"
#include "viewer/solubility.h"
#include "viewer/worksheet.h"

namespace viewer {

// Each mark's fill on a black-and-white printer; the letter is always
// drawn as well.
PrintFill MarkPrintFill(Mark mark);

class SolubilityWindow : public kit::Form {
 public:
  struct Links {
    std::function<void()> close;               // the window asks to go away
    SheetOutput* sheets = nullptr;             // copies, saves and prints the table
    // A cell's compound ("Fe2(SO4)3") to the molar mass; unset, Enter on a
    // cell does nothing.
    std::function<void(const std::wstring& formula)> open_formula;
    // "Печат на трите таблици…": the periodic table and this window's
    // sheet printed together.
    std::function<void()> print_exam_set;
  };
  explicit SolubilityWindow(Links links, bool monochrome = false);

  // The cell of `anion` (row) and `cation` (column).
  kit::Label& Cell(std::size_t anion, std::size_t cation) { return *cells_[anion * kCations.size() + cation]; }
  // The table and the series as one picture under the window's title;
  // copied with the marks as text.
  SheetContent Worksheet() const;
  std::vector<kit::MenuItem> MenuItems() const;
  void OpenMenu(int x, int y);

  // The table as a whole, under its headers and cells; the series' list
  // is its title, created after the legend so that readers meet it there.
  kit::Label lbl_table{*this, "lbl_table"};

 private:
  void Build();
  void Place();
  bool HandleKey(kit::Key key, int shift);
  std::unique_ptr<kit::Label> NewLabel(std::string name, kit::Font font);
  std::unique_ptr<kit::Label> NewHeader(std::string name, const Ion& ion, kit::Role role);

  Links links_;
  std::vector<std::unique_ptr<kit::Label>> column_heads_, row_heads_, cells_;
  std::vector<std::unique_ptr<kit::Label>> legend_swatches_, legend_texts_;
  std::vector<std::unique_ptr<kit::Label>> series_items_;
  std::unique_ptr<kit::Label> series_, water_text_, acids_text_, arrow_text_;
  std::unique_ptr<kit::Line> water_line_, acids_line_, hydrogen_line_, arrow_line_, arrow_head_up_,
      arrow_head_down_;
};

}  // namespace viewer
