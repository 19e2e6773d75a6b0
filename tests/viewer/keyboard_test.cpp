// The viewer from the keyboard: the tab order of its window and the arrow
// moves across the tile table, its gaps and the two f-block rows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fake_records.h"
#include "kit/accessibility.h"
#include "kit/input.h"
#include "kit/platform.h"
#include "viewer/form_main.h"

namespace {

using kit::Key;

struct Viewer {
  Viewer() : form(engine, L"C:\\Zentrik") {
    for (int i = 0; i < 120; ++i) {
      std::map<std::string, std::wstring> record;
      for (const char* field : {"Name", "atom_mass", "atom_rad", "orbitals", "elec_shell", "melt_boil", "density",
                                "isotopes", "electronegativity", "oxidation", "discovery"})
        record[field] = L"-";
      record["atom_num"] = std::to_wstring(i + 1);
      engine.table.records.push_back(record);
      engine.table.id_order.push_back(i);
    }
    form.Show();
  }
  std::string Focus() const { return form.Focused() ? form.Focused()->Name() : "(form)"; }
  std::string From(const std::string& symbol, Key key) {
    form.SetFocus(form.Tile(symbol));
    kit::KeyDown(form, key);
    return Focus().substr(4);
  }
  // Each move: from a tile, a key, the tile it lands on.
  struct Move {
    const char* from;
    Key key;
    const char* to;
  };
  void ExpectMoves(std::initializer_list<Move> moves) {
    for (const Move& m : moves) EXPECT_EQ(From(m.from, m.key), m.to) << m.from << " " << static_cast<int>(m.key);
  }

  kit::ScopedHeadless headless;
  testing_viewer::FakeEngine engine;
  viewer::FormMain form;
};

TEST(ViewerKeys, TabGoesThroughTheBoxesThenTheTableAsOneStopThenTheCloseMark) {
  Viewer v;
  EXPECT_EQ(v.Focus(), "txt_atom_num");   // the initial focus stays in the first box
  std::vector<std::string> seen{v.Focus()};
  for (int i = 0; i < 12; ++i) {
    kit::KeyDown(v.form, Key::kTab);
    seen.push_back(v.Focus());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"txt_atom_num", "txt_name", "txt_atom_mass", "txt_atom_rad",
                                             "txt_elec_shell", "txt_density", "txt_isotopes",
                                             "txt_electronegativity", "txt_discovery", "txt_oxidation", "lbl_H",
                                             "Label3", "txt_atom_num"}));
  // Back into the table on the tile focused last.
  v.form.SetFocus(v.form.Tile("Fe"));
  kit::KeyDown(v.form, Key::kTab);
  kit::KeyDown(v.form, Key::kTab, kit::kShiftKey);
  EXPECT_EQ(v.Focus(), "lbl_Fe");
}

TEST(ViewerKeys, LeftAndRightSkipTheEmptyCellsAndStopAtTheRowsEnds) {
  Viewer v;
  v.ExpectMoves({{"Uub", Key::kRight, "Uuq"},
                 {"Uuq", Key::kRight, "Uuh"},
                 {"Uuh", Key::kRight, "Uuo"},
                 {"Uuo", Key::kRight, "Uuo"},
                 {"Uuo", Key::kLeft, "Uuh"},
                 {"H", Key::kRight, "He"},
                 {"H", Key::kLeft, "H"},
                 {"Be", Key::kRight, "B"},
                 {"Fe", Key::kHome, "K"},
                 {"Fe", Key::kEnd, "Kr"},
                 {"Ce", Key::kHome, "La"}});
}

TEST(ViewerKeys, UpAndDownFindTheNearestTileAboveOrBelowIncludingTheFBlockRows) {
  Viewer v;
  v.ExpectMoves({{"H", Key::kDown, "Li"},
                 {"He", Key::kDown, "Ne"},
                 {"Mg", Key::kDown, "Ca"},
                 {"Hf", Key::kDown, "Rf"},
                 {"Rf", Key::kDown, "La"},
                 {"La", Key::kUp, "Rf"},
                 {"La", Key::kDown, "Ac"},
                 {"Ac", Key::kDown, "Ac"},
                 {"Ra", Key::kDown, "Ra"},  // nothing lies under it
                 {"B", Key::kUp, "B"},  // the gap above group 13 reaches to the top
                 {"H", Key::kUp, "H"}});
}

TEST(ViewerKeys, EnterAndSpaceShowTheFocusedElementAsAClickDoes) {
  Viewer v;
  kit::KeyDown(v.form, Key::kTab, kit::kShiftKey);
  kit::KeyDown(v.form, Key::kTab, kit::kShiftKey);
  EXPECT_EQ(v.Focus(), "lbl_H");
  kit::KeyDown(v.form, Key::kDown);
  kit::KeyDown(v.form, Key::kRight);
  EXPECT_EQ(v.Focus(), "lbl_Be");
  EXPECT_TRUE(kit::KeyDown(v.form, Key::kEnter));
  EXPECT_EQ(v.form.txt_atom_num.text, L"4");
  v.form.SetFocus(v.form.Tile("Fe"));
  EXPECT_TRUE(kit::KeyDown(v.form, Key::kSpace));
  EXPECT_EQ(v.form.txt_atom_num.text, L"26");
  EXPECT_TRUE(v.headless.platform.messages.empty());
}

TEST(ViewerKeys, ScreenReadersReadTilesAsButtonsWithTheirCategoriesAndBoxesByTheirCaptions) {
  Viewer v;
  auto all = kit::AccessibleChildren(v.form);
  int buttons = 0;
  for (const auto& a : all) {
    if (a.role == kit::Role::kPushButton && a.control->Name().rfind("lbl_", 0) == 0) ++buttons;
    if (a.control == v.form.Tile("Fe")) {
      EXPECT_EQ(a.name, L"Fe");
      EXPECT_EQ(a.description, L"Транзитивни метали");
    }
    if (a.control == &v.form.txt_density) {
      EXPECT_EQ(a.name, L"Плътност");
    }
    if (a.control == &v.form.Label3) {
      EXPECT_EQ(a.name, L"Затвори");
    }
  }
  EXPECT_EQ(buttons, 115);
}

}  // namespace
