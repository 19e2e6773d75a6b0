// The atom's structure for the lesson: one element's shells drawn as
// circles with their electrons, its configuration full and short, and the
// orbital boxes of its outer subshells, in a framed window of its own.
// Everything is drawn with the kit's shapes, lines and labels; the parts a
// reader needs are labels of their own, named in words.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/platform.h"
#include "viewer/atom_structure.h"
#include "viewer/drawing.h"
#include "viewer/property_values.h"
#include "viewer/worksheet.h"

namespace viewer {

// The tiles whose element the window can show (a record with an atomic
// number), in atomic-number order.
std::vector<int> AtomTiles(const std::vector<TileRecord>& records);

class AtomWindow : public kit::Form {
 public:
  struct Links {
    std::function<void(int tile)> show_tile;   // as a click on that tile
    std::function<void()> close;               // the window asks to go away
    std::function<bool()> black_and_white;     // the table's "Черно-бяло"
    SheetOutput* sheets = nullptr;
  };
  // `records` must outlive the window; `tile` must be one of AtomTiles.
  AtomWindow(const std::vector<TileRecord>& records, Links links, int tile);
  ~AtomWindow() override;

  // Shows the element of `tile`; false, and nothing changes, when the
  // window cannot show it.
  bool ShowTile(int tile);
  int ShownTile() const { return tile_; }
  // To the next (+1) or previous (-1) element by atomic number; false at
  // either end.
  bool Step(int by);
  void SetOrder(SubshellOrder order);
  SubshellOrder Order() const { return order_; }
  // Boxes and shells drawn empty, for pupils to fill in.
  void SetBlank(bool blank);
  bool Blank() const { return blank_; }
  std::vector<kit::MenuItem> MenuItems() const;

  const std::vector<OrbitalBoxes>& Boxes() const { return boxes_; }
  const std::vector<std::unique_ptr<kit::Label>>& BoxLabels() const { return box_labels_; }
  // The view as a worksheet picture under "Строеж на атома – Желязо (Fe)";
  // copied with its configuration as text.
  SheetContent Worksheet() const;

  kit::Label lbl_heading{*this, "lbl_heading"};
  kit::Label lbl_shells{*this, "lbl_shells"};
  kit::Label lbl_config{*this, "lbl_config"};
  kit::OptionButton opt_by_shell{*this, "opt_by_shell"};
  kit::OptionButton opt_by_filling{*this, "opt_by_filling"};
  kit::Label lbl_fault{*this, "lbl_fault"};
  kit::Label lbl_unpaired{*this, "lbl_unpaired"};
  kit::Label lbl_valence{*this, "lbl_valence"};

 private:
  void Rebuild();
  void DrawShells(const kit::Rect& area);
  void DrawBoxes(int left, int top);
  bool HandleKey(kit::Key key);
  void FollowBlackAndWhite();
  kit::Label& AddText(const std::wstring& markup, kit::Rect bounds, kit::Font font,
                      kit::Align align = kit::Align::kLeft);
  kit::Shape& AddShape(kit::ShapeKind kind, kit::Rect bounds);
  void AddArrow(int x, int top, int bottom, bool up);

  const std::vector<TileRecord>& records_;
  Links links_;
  std::vector<int> order_of_tiles_;   // AtomTiles
  int tile_ = -1;
  SubshellOrder order_ = SubshellOrder::kByShell;
  bool blank_ = false;

  Configuration config_;
  TablePlace place_;
  std::vector<int> shells_;
  std::vector<OrbitalBoxes> boxes_;
  // Rebuilt with each element and size; the box labels are accessible.
  Drawing drawing_;
  std::vector<std::unique_ptr<kit::Label>> box_labels_;
};

}  // namespace viewer
