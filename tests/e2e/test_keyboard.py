"""The three programs as a screen reader reads them and from the keyboard
alone, under Wine: the accessibility tree (AccessibleObjectFromWindow and
AccessibleChildren through the inspector), Tab, arrows, Enter, Space and Esc."""

from __future__ import annotations

import shutil
import time
import unittest

from harness import DIST, WineSession, twips_to_px, wait_until
from test_uninstall import INSTALL_DIR, USER_KEY, Installed, key_listed, UNINSTALL_KEY
from test_viewer import CATEGORY_TILES, VISIBLE_BOXES

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
PANEL_CAPTIONS = {
    "txt_atom_num": "Атомен номер", "txt_name": "Име", "txt_atom_mass": "атомна маса",
    "txt_atom_rad": "Радиус на атома", "txt_elec_shell": "Електронна обвивка", "txt_density": "Плътност",
    "txt_isotopes": "Изотопи", "txt_electronegativity": "Електроотрицателност", "txt_discovery": "Откривател",
    "txt_oxidation": "степен на окисление",
}
CATEGORY_NAMES = {
    "Li": "Алкални метали", "Be": "Алкалоземни метали", "La": "Лантаноиди", "Ac": "Актиниди",
    "Sc": "Транзитивни метали", "Al": "Други метали", "H": "Неметали", "He": "Благородни газове",
}


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class ViewerAccessible(unittest.TestCase):
    def start(self, s):
        return s.start_viewer()

    def test_tiles_are_buttons_at_their_places_and_boxes_are_named_text(self):
        with WineSession("a11y-viewer") as s:
            _, w = self.start(s)
            rows = w.controls()
            tiles = [r for r in rows if r["role"] == "push button" and r["name"].startswith("lbl_")]
            self.assertEqual(len(tiles), 115)
            for r in tiles:
                self.assertEqual(r["accname"], r["name"][4:])   # named by the symbol
                self.assertIn("focusable", r["states"])
                self.assertTrue(r["description"], r["name"])
                self.assertTrue(r["action"], r["name"])
            by_name = {r["name"]: r for r in rows}
            for symbol, left, top, _ in CATEGORY_TILES:
                r = by_name["lbl_" + symbol]
                self.assertEqual(r["description"], CATEGORY_NAMES[symbol], symbol)
                self.assertEqual(r["rect"][:2], list(w.point(left, top)), symbol)
                self.assertEqual(r["rect"][2] - r["rect"][0], twips_to_px(left + 615) - twips_to_px(left))
            for box in VISIBLE_BOXES:
                r = by_name[box]
                self.assertEqual(r["role"], "editable text", box)
                self.assertEqual(r["accname"], PANEL_CAPTIONS[box], box)
                # Asked of the box's own window, as a reader does when it takes the focus.
                self.assertEqual(r["ownname"], PANEL_CAPTIONS[box], box)
            self.assertEqual(by_name["Label3"]["accname"], "Затвори")
            self.assertEqual(by_name["lbl_noble_gases"]["role"], "static text")
            self.assertIn("invisible", by_name["txt_orbitals"]["states"])
            # Only the text boxes are windows now.
            windows = [r for r in rows if r["hwnd"]]
            self.assertEqual(sorted(r["name"] for r in windows), sorted(list(PANEL_CAPTIONS) + ["txt_melt_boil",
                                                                                           "txt_orbitals"]))

            self.assertTrue(s.default_action("form_main", "lbl_Fe"))
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26"), w.text("txt_atom_num"))
            self.assertEqual(by_name["txt_atom_num"]["accname"], "Атомен номер")

    def test_keyboard_alone_shows_beryllium(self):
        with WineSession("keys-viewer") as s:
            _, w = self.start(s)
            self.assertEqual(s.focused_control(), "txt_atom_num")
            for _ in range(10):
                s.key("Tab")
            self.assertEqual(s.focused_control(), "lbl_H")
            s.key("Down")
            s.key("Right")
            self.assertEqual(s.focused_control(), "lbl_Be")
            self.assertIn("focused", w.control("lbl_Be")["states"])
            s.screenshot("keys-viewer-focused-be")
            s.key("Return")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "4"), w.text("txt_atom_num"))
            # The focus ring: two pixels of black, inside the frame of Be's
            # orange tile, all the way round; Li's pink tile beside it has none.
            be = ring_points(w.control("lbl_Be")["rect"])
            li = ring_points(w.control("lbl_Li")["rect"])
            self.assertEqual(set(s.pixels(be)), {(0, 0, 0)}, "no focus ring on Be")
            self.assertEqual(set(s.pixels(li)), {(0xFF, 0x80, 0x80)}, "a focus ring on Li")
            s.key("Tab")
            self.assertEqual(s.focused_control(), "Label3")
            s.key("Tab")
            self.assertEqual(s.focused_control(), "txt_atom_num")
            self.assertEqual(set(s.pixels(be)), {(0xFF, 0x80, 0x00)}, "the focus ring stays after the focus left")

    def test_second_press_of_a_double_press_drags(self):
        with WineSession("viewer-double-press") as s:
            _, w = self.start(s)
            before = list(w.rect)
            start = w.point(8000, 300)
            s.click(*start, settle=0.0)
            s.drag(start, (start[0] + 100, start[1] + 50))
            moved = list(w.refresh().rect)
            self.assertEqual(moved[:2], [before[0] + 100, before[1] + 50])


def ring_points(rect):
    """The pixels of a 2-pixel ring just inside a framed tile: rows and columns
    1 and 2 in from each edge, clear of the corners and of the symbol in the
    upper left corner (it shows through the ring in the other colour)."""
    left, top, right, bottom = rect
    points = []
    for d in (1, 2):
        points += [(x, top + d) for x in range(left + 3, right - 3)]
        points += [(x, bottom - 1 - d) for x in range(left + 3, right - 3)]
        points += [(left + d, y) for y in range((top + bottom) // 2 + 2, bottom - 3)]
        points += [(right - 1 - d, y) for y in range(top + 3, bottom - 3)]
    return points


@unittest.skipUnless((DIST / "Setup.exe").exists() and (DIST / "Gorvix.exe").exists(), "not built")
class KeyboardOnly(unittest.TestCase):
    def test_install_with_keys_only(self):
        with WineSession("keys-install") as s:
            app = s.start(DIST / "Setup.exe")
            s.wait_window("Form1", timeout=60)
            self.assertTrue(wait_until(lambda: s.focus().get("name") == "Form1"), s.focus())
            # Esc asks; Enter in the question is "Не", and the page is as it was.
            s.key("Escape")
            s.wait_window("frmExit")
            s.key("Return")
            self.assertTrue(s.wait_gone("frmExit"))
            self.assertTrue(app.running())
            # The page opened with no label focused: Enter is "Следващ".
            s.key("Return")
            licence = s.wait_window("Form2")
            self.assertTrue(s.wait_gone("Form1"))
            self.assertTrue(wait_until(lambda: s.focus().get("name") == "Form2"), s.focus())
            shot = False
            for _ in range(14):
                focused = s.focused_control()
                if focused == "Option1":
                    break
                if not shot and focused not in ("", "Form2") and licence.control(focused)["role"] == "push button":
                    self.assertIn("focused", licence.control(focused)["states"])
                    # The ring follows the label's bounds: its right edge two
                    # pixels of one colour, black or white.
                    left, top, right, bottom = licence.control(focused)["rect"]
                    edge = set(s.pixels([(x, y) for x in (right - 1, right - 2) for y in range(top + 2, bottom - 2)]))
                    self.assertEqual(len(edge), 1, edge)
                    self.assertIn(edge.pop(), {(0, 0, 0), (0xFF, 0xFF, 0xFF)})
                    s.screenshot("keys-setup-focused-label")
                    shot = True
                s.key("Tab")
            self.assertTrue(shot, "Tab reached no label-button")
            self.assertEqual(s.focused_control(), "Option1")
            s.key("space")
            self.assertTrue(wait_until(lambda: licence.control("Option1")["checked"]))
            s.key("Return")
            s.wait_window("Form4")
            self.assertTrue(wait_until(lambda: s.focus().get("name") == "Form4"), s.focus())
            s.key("Return")
            s.wait_window("Form5")
            self.assertTrue(wait_until(lambda: s.focus().get("name") == "Form5"), s.focus())
            s.key("Return")
            copying = s.wait_window("Form6")
            self.assertTrue(wait_until(lambda: s.focus().get("name") == "Form6"), s.focus())
            s.key("Return")   # "Старт"
            finish = s.wait_window("Form7", timeout=40)
            self.assertEqual(finish.text("Label14"), "Поздравления, Инсталацията на Zentrik завърши успешно!")
            s.key("Return")   # "Не"
            self.assertIsNotNone(app.wait_exit(15), "Enter on the finish page ends the installer")
            self.assertTrue(s.host_path(r"C:\Program Files\Zentrik\Table.exe").is_file())
            self.assertIsNotNone(s.registry(r"HKCU\Software\Zentrik\Elemora"))

    def test_uninstall_with_keys_only(self):
        with WineSession("keys-uninstall") as s:
            inst = Installed(s)
            app = s.start(r"C:\windows\Gorvix.exe")
            w = s.wait_window("Form1")
            self.assertTrue(wait_until(lambda: s.focus().get("name") == "Form1"), s.focus())
            s.key("Return")   # "Старт"
            self.assertTrue(wait_until(lambda: w.control("Label7")["visible"] and w.text("Label7") == "Изход",
                                       timeout=30))
            self.assertFalse(inst.viewer.exists())
            self.assertFalse(key_listed(s, UNINSTALL_KEY))
            self.assertFalse(key_listed(s, USER_KEY))
            s.key("Return")   # "Изход"
            self.assertIsNotNone(app.wait_exit(10), "Enter after the removal ends the uninstaller")
            self.assertTrue(s.host_path(INSTALL_DIR).is_dir())


if __name__ == "__main__":
    unittest.main()
