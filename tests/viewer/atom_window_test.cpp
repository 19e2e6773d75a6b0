// The atom's structure window on the database the program ships, in what
// the walk under Wine does not look at, and with a damaged configuration.
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

// Shown filled circles (the nucleus and the electrons) and lines (three to an arrow).
std::pair<int, int> Drawn(const kit::Form& form) {
  std::pair<int, int> out;
  for (const kit::Control* c : form.Controls()) {
    auto* s = dynamic_cast<const kit::Shape*>(c);
    out.first += kit::Shown(*c) && s && s->shape == kit::ShapeKind::kCircle && s->filled;
    out.second += kit::Shown(*c) && c->Kind() == kit::ControlKind::kLine;
  }
  return out;
}

TEST(AtomWindow, ReadDrawnPagedBlankedCopiedAndStoppedAtTheLastElement) {
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  viewer::FormMain form(engine, L"C:\\Zentrik");
  Copies out;
  form.SetSheetOutput(&out);
  form.Show();

  // A tile without a record opens nothing.
  form.SetFocus(form.Tile("Uuh"));
  EXPECT_TRUE(kit::KeyDown(form, kit::Key::kEnter, kit::kControlKey));
  EXPECT_EQ(form.Atom(), nullptr);

  form.SetFocus(form.Tile("Fe"));
  EXPECT_TRUE(kit::KeyDown(form, kit::Key::kEnter, kit::kControlKey));
  viewer::AtomWindow* atom = form.Atom();
  ASSERT_NE(atom, nullptr);
  EXPECT_EQ(Names(*atom), (std::vector<std::wstring>{
                              L"Fe – Желязо, атомен номер 26, период 4, група 8 (VIIIб), d-елемент, транзитивни метали",
                              L"Електронна обвивка: K 2, L 8, M 14, N 2",
                              L"Електронна конфигурация: [Ar] 3d6 4s2", L"по слоеве", L"по запълване",
                              L"3d: 5 клетки, ↑↓ ↑ ↑ ↑ ↑", L"4s: 1 клетка, ↑↓", L"Несдвоени електрони: 4",
                              L"Валентни електрони: 8"}));
  EXPECT_EQ(Drawn(*atom), std::pair(26 + 1, 8 * 3));

  // Paging keeps the focus on its box, and the order of filling for the next element.
  atom->SetFocus(atom->BoxLabels()[1].get());
  EXPECT_TRUE(kit::KeyDown(*atom, kit::Key::kPageDown));
  EXPECT_EQ(atom->Focused(), atom->BoxLabels()[1].get());
  atom->opt_by_filling.SetValue(true);
  atom->on_wheel(1);

  // Empty boxes and shells for the pupils; readers still get the counts.
  headless.platform.menu_choice = [](const std::vector<kit::MenuItem>&) { return 0; };
  kit::ContextMenuKey(*atom);
  EXPECT_EQ(Drawn(*atom), std::pair(1, 0));
  EXPECT_EQ(atom->lbl_unpaired.caption, L"Несдвоени електрони: ____");
  EXPECT_EQ(Names(*atom)[7], L"Несдвоени електрони: 4");

  // Ctrl+C in black and white: the view without the switch, the configuration as text.
  form.monochrome = true;
  EXPECT_TRUE(kit::Shortcut(*atom, L'C'));
  ASSERT_EQ(out.copied.size(), 1u);
  EXPECT_EQ(out.copied[0].title, L"Строеж на атома – Желязо (Fe)");
  EXPECT_TRUE(atom->monochrome);
  EXPECT_EQ(std::ranges::count(out.copied[0].controls, &atom->opt_by_filling), 0);
  EXPECT_NE(out.copied[0].clipboard_text.find(L"\r\n[Ar] 4s² 3d⁶\r\n"), std::wstring::npos);

  // Enter on the heading shows the element in the table's panel.
  atom->SetFocus(&atom->lbl_heading);
  kit::KeyDown(*atom, kit::Key::kEnter);
  EXPECT_EQ(form.txt_atom_num.text, L"26");

  // Another tile opens in the same window; no step past the last element, nor onto 113.
  form.SetFocus(form.Tile("Uuq"));
  kit::KeyDown(form, kit::Key::kEnter, kit::kControlKey);
  EXPECT_EQ(form.Atom(), atom);
  EXPECT_FALSE(atom->Step(1));
  EXPECT_TRUE(atom->Step(-1));
  EXPECT_NE(atom->caption.find(L"(Uub)"), std::wstring::npos);
}

TEST(AtomWindow, SaysInWordsWhenTheStoredConfigurationCannotBeUsed) {
  kit::ScopedHeadless headless;
  std::vector<viewer::TileRecord> records = testing_viewer::VrakelFile::Get().TileRecords();
  const int fe = viewer::AtomTiles(records)[25];
  ASSERT_EQ(records[fe].atomic_number, 26);
  records[fe].orbitals = L"1s2 2s2 2p6 3s2 3p6 3d6";
  viewer::AtomWindow atom(records, {}, fe);
  EXPECT_TRUE(atom.lbl_fault.visible);
  EXPECT_NE(atom.lbl_fault.caption.find(L"(24)"), std::wstring::npos);
  EXPECT_TRUE(atom.BoxLabels().empty());
  EXPECT_FALSE(atom.lbl_unpaired.visible);
  EXPECT_FALSE(atom.lbl_valence.visible);
  EXPECT_EQ(Names(atom)[1], L"Електронна обвивка: K 2, L 8, M 14, N 2");
}

}  // namespace
