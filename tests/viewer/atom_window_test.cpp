// The atom's structure window on the database the program ships: opened
// from a tile with Ctrl+Enter, read as a screen reader reads it, stepped
// through the elements, switched to the order of filling and to empty
// boxes, copied, and closed; and a record whose configuration is damaged.
#include "viewer/atom_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/accessibility.h"
#include "kit/input.h"
#include "tests/viewer/copies.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

namespace {

std::vector<std::wstring> Names(const kit::Form& form) {
  std::vector<std::wstring> out;
  for (const auto& c : kit::AccessibleChildren(form))
    if (!c.invisible) out.push_back(c.name);
  return out;
}

const kit::AccessibleChild* Child(const kit::Form& form, const std::wstring& prefix) {
  static std::vector<kit::AccessibleChild> children;
  children = kit::AccessibleChildren(form);
  auto at = std::find_if(children.begin(), children.end(), [&](const auto& c) { return c.name.starts_with(prefix); });
  return at == children.end() ? nullptr : &*at;
}

// The drawn electrons: filled circles less the nucleus; the arrows: three
// lines each.
int Drawn(const kit::Form& form, kit::ControlKind kind) {
  return static_cast<int>(std::count_if(form.Controls().begin(), form.Controls().end(), [&](const kit::Control* c) {
    if (c->Kind() != kind || !kit::Shown(*c)) return false;
    if (kind != kit::ControlKind::kShape) return true;
    auto* s = static_cast<const kit::Shape*>(c);
    return s->shape == kit::ShapeKind::kCircle && s->filled;
  }));
}

TEST(AtomWindow, OpensFromATileReadsAloudStepsSwitchesCopiesAndCloses) {
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form(engine, L"C:\\Zentrik");
  Copies out;
  form.SetSheetOutput(&out);
  form.Show();

  // Nothing of it exists before it is asked for; a tile without a record opens nothing.
  EXPECT_EQ(form.Atom(), nullptr);
  form.SetFocus(form.Tile("Uuh"));
  EXPECT_TRUE(kit::KeyDown(form, kit::Key::kEnter, kit::kControlKey));
  EXPECT_EQ(form.Atom(), nullptr);

  form.SetFocus(form.Tile("Fe"));
  EXPECT_TRUE(kit::KeyDown(form, kit::Key::kEnter, kit::kControlKey));
  viewer::AtomWindow* atom = form.Atom();
  ASSERT_NE(atom, nullptr);
  EXPECT_TRUE(atom->Visible());
  EXPECT_EQ(atom->caption, L"Строеж на атома – Желязо (Fe)");
  EXPECT_EQ(atom->Focused(), &atom->lbl_heading);
  EXPECT_EQ(Names(*atom), (std::vector<std::wstring>{
                              L"Fe – Желязо, атомен номер 26, период 4, група 8 (VIIIб), d-елемент, транзитивни метали",
                              L"Електронна обвивка: K 2, L 8, M 14, N 2",
                              L"Електронна конфигурация: [Ar] 3d6 4s2", L"по слоеве", L"по запълване",
                              L"3d: 5 клетки, ↑↓ ↑ ↑ ↑ ↑", L"4s: 1 клетка, ↑↓", L"Несдвоени електрони: 4",
                              L"Валентни електрони: 8"}));
  EXPECT_EQ(Child(*atom, L"Електронна конфигурация")->description, L"1s2 2s2 2p6 3s2 3p6 3d6 4s2");
  EXPECT_EQ(Child(*atom, L"3d:")->description, L"4 несдвоени");
  EXPECT_EQ(Drawn(*atom, kit::ControlKind::kShape), 26 + 1);
  EXPECT_EQ(Drawn(*atom, kit::ControlKind::kLine), 8 * 3);

  // Page Down wherever the focus is; the order of filling stays with the next element.
  atom->SetFocus(atom->BoxLabels()[1].get());
  EXPECT_TRUE(kit::KeyDown(*atom, kit::Key::kPageDown));
  EXPECT_EQ(atom->caption, L"Строеж на атома – Кобалт (Co)");
  EXPECT_EQ(atom->Focused(), atom->BoxLabels()[1].get());
  atom->opt_by_filling.SetValue(true);
  EXPECT_EQ(atom->Order(), viewer::SubshellOrder::kByFilling);
  EXPECT_NE(Child(*atom, L"Електронна конфигурация: [Ar] 4s2 3d7"), nullptr);
  ASSERT_TRUE(atom->on_wheel);
  atom->on_wheel(1);
  EXPECT_EQ(atom->caption, L"Строеж на атома – Желязо (Fe)");

  // Empty boxes and shells for the pupils; readers still get the counts.
  ASSERT_EQ(atom->MenuItems().size(), 1u);
  EXPECT_EQ(atom->MenuItems()[0].text, L"Празни клетки");
  headless.platform.menu_choice = [](const std::vector<kit::MenuItem>&) { return 0; };
  kit::ContextMenuKey(*atom);
  EXPECT_TRUE(atom->Blank());
  EXPECT_EQ(Drawn(*atom, kit::ControlKind::kShape), 1);
  EXPECT_EQ(Drawn(*atom, kit::ControlKind::kLine), 0);
  EXPECT_EQ(atom->lbl_unpaired.caption, L"Несдвоени електрони: ____");
  EXPECT_NE(Child(*atom, L"Несдвоени електрони: 4"), nullptr);

  // Ctrl+C: the view under its title without the switch, the configuration as text.
  form.monochrome = true;
  EXPECT_TRUE(kit::Shortcut(*atom, L'C'));
  ASSERT_EQ(out.copied.size(), 1u);
  EXPECT_EQ(out.copied[0].title, L"Строеж на атома – Желязо (Fe)");
  EXPECT_TRUE(atom->monochrome);
  const auto& sheet = out.copied[0].controls;
  EXPECT_EQ(std::count(sheet.begin(), sheet.end(), &atom->opt_by_filling), 0);
  EXPECT_EQ(std::count(sheet.begin(), sheet.end(), &atom->lbl_config), 1);
  EXPECT_NE(out.copied[0].clipboard_text.find(L"\r\n[Ar] 4s² 3d⁶\r\n"), std::wstring::npos);

  // Enter on the heading shows the element in the table's panel.
  atom->SetFocus(&atom->lbl_heading);
  kit::KeyDown(*atom, kit::Key::kEnter);
  EXPECT_EQ(form.txt_atom_num.text, L"26");

  // The last element with a record and a tile: no further.
  form.SetFocus(form.Tile("Uuq"));
  kit::KeyDown(form, kit::Key::kEnter, kit::kControlKey);
  EXPECT_EQ(form.Atom(), atom);
  EXPECT_NE(atom->caption.find(L"(Uuq)"), std::wstring::npos);
  EXPECT_FALSE(atom->Step(1));
  EXPECT_TRUE(atom->Step(-1));
  EXPECT_NE(atom->caption.find(L"(Uub)"), std::wstring::npos);

  kit::Dispatch([&] { kit::KeyDown(*atom, kit::Key::kEscape); });
  EXPECT_EQ(form.Atom(), nullptr);
  EXPECT_TRUE(form.Visible());
}

TEST(AtomWindow, SaysInWordsWhenTheStoredConfigurationCannotBeUsed) {
  kit::ScopedHeadless headless;
  std::vector<viewer::TileRecord> records = testing_viewer::VrakelFile::Get().TileRecords();
  const auto tiles = viewer::AtomTiles(records);
  ASSERT_EQ(tiles.size(), 113u);
  const int fe = tiles[25];
  ASSERT_EQ(records[fe].atomic_number, 26);
  records[fe].orbitals = L"1s2 2s2 2p6 3s2 3p6 3d6";
  viewer::AtomWindow atom(records, {}, fe);
  EXPECT_TRUE(atom.lbl_fault.visible);
  EXPECT_NE(atom.lbl_fault.caption.find(L"(24)"), std::wstring::npos);
  EXPECT_TRUE(atom.BoxLabels().empty());
  EXPECT_FALSE(atom.lbl_unpaired.visible);
  EXPECT_EQ(Child(atom, L"Електронна обвивка")->name, L"Електронна обвивка: K 2, L 8, M 14, N 2");

  records[fe].orbitals = L"damaged";
  EXPECT_TRUE(atom.Step(1));
  EXPECT_TRUE(atom.Step(-1));
  EXPECT_NE(atom.lbl_fault.caption.find(L"не може да бъде прочетена"), std::wstring::npos);
}

}  // namespace
