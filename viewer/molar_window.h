// "Моларна маса": a formula box and, as the pupil types, the formula drawn
// with its subscripts, Mr and M, a read-only result line and one row an
// element (atoms, Ar, their product, the mass fraction). A bad formula shows
// its message in the result's place, as an alert for screen readers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/input.h"
#include "viewer/formula.h"
#include "viewer/worksheet.h"

namespace viewer {

class MolarWindow : public kit::Form {
 public:
  struct Links {
    std::function<void()> close;   // the window asks to go away
    SheetOutput* sheets = nullptr; // copies the result (as text, with its picture)
  };
  // `elements` must outlive the window.
  MolarWindow(const std::vector<FormulaElement>& elements, Links links);
  ~MolarWindow() override;

  // Replaces the formula and shows its result.
  void SetFormula(const std::wstring& text);
  // Types `symbol` at the caret (over a selection), brings the window
  // forward and puts the focus back into the formula box.
  void TypeSymbol(std::wstring_view symbol);

  const Formula& Result() const { return formula_; }
  const std::vector<std::unique_ptr<kit::Label>>& Rows() const { return rows_; }
  // The result under the title "Моларна маса: CuSO₄·5H₂O", copied as text.
  SheetContent Worksheet() const;

  kit::Label lbl_formula{*this, "lbl_formula"};
  kit::TextBox txt_formula{*this, "txt_formula"};
  kit::Label lbl_drawn{*this, "lbl_drawn"};     // the formula with real subscripts
  kit::Label lbl_mr{*this, "lbl_mr"};
  kit::Label lbl_m{*this, "lbl_m"};
  kit::TextBox txt_result{*this, "txt_result"};
  kit::Label lbl_error{*this, "lbl_error"};
  kit::Label lbl_list{*this, "lbl_list"};       // the table, as a list for readers
  kit::Label lbl_notes{*this, "lbl_notes"};

 private:
  void Recalculate();
  void Layout();
  void BuildRows();
  bool HandleKey(kit::Key key, int shift);
  int RowIndex(const kit::Control* c) const;

  const std::vector<FormulaElement>& elements_;
  Links links_;
  Formula formula_;
  int last_row_ = 0;   // the row Tab comes back to
  std::vector<std::unique_ptr<kit::Label>> headers_;
  std::vector<std::unique_ptr<kit::Label>> rows_;    // one a list item
  std::vector<std::unique_ptr<kit::Label>> cells_;   // drawn for the eye; the rows name them
};

}  // namespace viewer
