"""Table.exe under Wine, the table as a worksheet picture: copied with Ctrl+C
(a metafile and a 300-DPI bitmap that the inspector reads off the clipboard)
and saved through the real save dialog (a PNG at print resolution on white
with the tiles' colours); Ctrl+C in a text box still copies its text."""

from __future__ import annotations

import json
import subprocess
import time
import unittest

from harness import ARTIFACTS, DIST, INSPECTOR, WineSession, magick, wait_until

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
TRANSITION_METALS = "#00FFFF"   # Fe's tile
WHITE = "#FFFFFF"
NOBLE_GASES = WHITE             # He's tile
SHEET_WIDTH = 3508


def sheet_point(left: int, top: int) -> tuple[int, int]:
    """Where a point of the form (twips) lands in the categories' picture,
    scaled and shifted as the picture's layout does it: the content runs from
    H's column to the right of group 18 and from the top headings to the
    actinides' row, the title's line above it, in a 3 % margin."""
    c_left, c_top, c_right, c_bottom = 240, 660 - 360 - 120, 10920 + 615, 5340 + 495
    margin = (max(c_right - c_left, c_bottom - c_top) * 3 + 99) // 100
    outer = c_right - c_left + 2 * margin
    dpi = SHEET_WIDTH * 1440 // outer
    px = lambda twips: round(twips * dpi / 1440)   # noqa: E731
    dx = (SHEET_WIDTH - px(outer)) // 2 + px(margin) - px(c_left)
    return px(left) + dx, px(top) + px(margin) - px(c_top)


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class SheetsTest(unittest.TestCase):
    @staticmethod
    def to_tiles(s):
        for _ in range(15):   # as a keyboard user goes
            if s.focused_control().startswith("lbl_"):
                break
            s.key("Tab")

    @staticmethod
    def menu_lines(s, *downs: int):
        """Each line of the tiles' menu that many Downs away (they skip the separators)."""
        for n in downs:
            s.key("shift+F10")
            time.sleep(0.5)
            s.key(*["Down"] * n, "Return")
            time.sleep(0.6)

    def clipboard(self, s) -> dict:
        return json.loads(next(l for l in s.run(str(INSPECTOR), "clip").splitlines() if l.startswith("{")))

    def test_copied_and_saved_pictures_are_300_dpi_worksheets_on_white(self):
        with WineSession("sheets") as s:
            _, w = s.start_viewer()
            self.to_tiles(s)
            # Into a folder of the prefix: Wine links the user's Documents and
            # Pictures to the Linux home, which a test must not write to.
            (s.drive_c / "worksheets").mkdir()

            s.key("ctrl+c")
            self.assertTrue(wait_until(lambda: self.clipboard(s)["dib"] is not None), "no bitmap was copied")
            clip = self.clipboard(s)
            self.assertEqual(s.message_boxes(), [])
            self.assertIsNotNone(clip["emf"], "no metafile was copied")
            self.assertEqual(clip["emf"]["frame"][2], 29700)   # A4 wide, in hundredths of a millimetre
            self.assertGreater(clip["emf"]["records"], 115)
            dib = clip["dib"]
            self.assertEqual((dib["width"], dib["bits"], dib["x_pels_per_meter"]), (SHEET_WIDTH, 24, 11811))
            bmp = s.drive_c / "worksheets" / "copied.bmp"
            s.run(str(INSPECTOR), "clipdib", r"C:\worksheets\copied.bmp")
            self.assertTrue(bmp.is_file(), "the inspector wrote no bitmap")
            magick(str(bmp), str(ARTIFACTS / "sheets-copied.png"))
            right, bottom = SHEET_WIDTH - 1, dib["height"] - 1
            # Inside the tiles, in their lower right part, away from the symbol;
            # He's tile is as white as the page, its frame's left bar sets it apart.
            fe, he = sheet_point(4920 + 500, 2700 + 380), sheet_point(10920 + 500, 1260 + 380)
            he_frame = (sheet_point(10920, 0)[0] + 2, he[1])
            points = [(0, 0), (right, 0), (0, bottom), (right, bottom), fe, he, he_frame]
            pixels = magick(str(bmp), "-format", " ".join(f"%[hex:p{{{x},{y}}}]" for x, y in points), "info:")
            self.assertEqual(["#" + p[:6].upper() for p in pixels.split()],
                             [WHITE] * 4 + [TRANSITION_METALS, NOBLE_GASES, "#000000"])

            png = s.drive_c / "worksheets" / "Таблица.png"
            s.key("ctrl+s")
            time.sleep(2)
            s.screenshot("sheets-save-dialog")
            s.key("ctrl+a")
            s.type_text(r"C:\worksheets\Таблица")
            s.key("Return")
            time.sleep(2)
            s.screenshot("sheets-after-save")
            self.assertTrue(wait_until(png.is_file), "no PNG was saved")
            s.screenshot("sheets-window")
            (ARTIFACTS / "sheets-categories.png").write_bytes(png.read_bytes())
            info = subprocess.run(["identify", "-units", "PixelsPerInch", "-format", "%w %h %x", str(png)],
                                  check=True, capture_output=True, text=True).stdout.split()
            self.assertEqual(info[:2], [str(SHEET_WIDTH), str(dib["height"])])   # the picture copied
            self.assertAlmostEqual(float(info[2]), 300, delta=0.5)
            bottom = int(info[1]) - 1
            corners = magick(str(png), "-format",
                             f"%[hex:p{{0,0}}] %[hex:p{{3507,0}}] %[hex:p{{0,{bottom}}}] %[hex:p{{3507,{bottom}}}]", "info:")
            for corner in corners.split():
                self.assertEqual("#" + corner[:6].upper(), WHITE)
            colours = magick(str(png), "-format", "%c", "histogram:info:-")
            self.assertIn(TRANSITION_METALS, colours.upper())

            # The same name again: asked before replacing, and "No" keeps the file.
            png.write_bytes(b"kept")
            s.key("ctrl+s")
            time.sleep(2)
            s.key("ctrl+a")
            s.type_text(r"C:\worksheets\Таблица")
            s.key("Return")
            time.sleep(2)
            s.screenshot("sheets-second-save")
            self.assertTrue(wait_until(lambda: any("вече съществува" in s.message_text(b) for b in s.message_boxes())),
                            "no question before replacing")
            s.key("Return")   # "Не" is the default answer
            self.assertTrue(wait_until(lambda: not s.message_boxes()))
            self.assertEqual(png.read_bytes(), b"kept")

            # In a text box with a selection, Ctrl+C copies the text alone.
            w.click_control("lbl_Fe")
            self.assertTrue(wait_until(lambda: w.text("txt_name") == "Желязо"), w.text("txt_name"))
            for _ in range(4):
                if s.focused_control() == "txt_name":
                    break
                s.key("Tab")
            self.assertEqual(s.focused_control(), "txt_name")
            s.key("Home", "shift+End", "ctrl+c")
            self.assertTrue(wait_until(lambda: self.clipboard(s)["text"] == "Желязо"), self.clipboard(s))
            self.assertIsNone(self.clipboard(s)["dib"])

    def test_black_and_white_no_symbols_and_saving_from_a_text_box_also_where_it_fails(self):
        grey = "#D9D9D9"   # the transition metals' fill in black and white
        with WineSession("sheets-bw") as s:
            _, w = s.start_viewer()
            tiles = {c["name"]: c for c in w.controls() if c["name"].startswith("lbl_")}
            fe_fill = (tiles["lbl_Fe"]["rect"][0] + 32, tiles["lbl_Fe"]["rect"][1] + 25)
            self.to_tiles(s)
            self.menu_lines(s, 9, 8)   # "Черно-бяло", then "Без символи"
            self.assertEqual("#%02X%02X%02X" % s.pixel(*fe_fill), grey)
            s.screenshot("sheets-bw-window")
            fe = w.control("lbl_Fe")
            self.assertEqual((fe["accname"], fe["description"]), ("Fe", "Транзитивни метали"))
            w.click_control("lbl_Fe")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26"), w.text("txt_atom_num"))

            # Ctrl+S from a text box without a selection: the worksheet, in black and white.
            s.key("shift+Tab")
            self.assertTrue(s.focused_control().startswith("txt_"), s.focused_control())
            (s.drive_c / "worksheets").mkdir()
            png = s.drive_c / "worksheets" / "чб.png"
            s.key("ctrl+s")
            time.sleep(2)
            s.key("ctrl+a")
            s.type_text(r"C:\worksheets\чб")
            s.key("Return")
            self.assertTrue(wait_until(png.is_file), "no PNG was saved")
            time.sleep(1)
            (ARTIFACTS / "sheets-black-and-white.png").write_bytes(png.read_bytes())
            self.assertNotIn(TRANSITION_METALS, magick(str(png), "-format", "%c", "histogram:info:-").upper())
            # Fe's tile inside its frame: the grey alone, no symbol on it.
            (x0, y0), (x1, y1) = sheet_point(4920, 2700), sheet_point(4920 + 615, 2700 + 495)
            inside = magick(str(png), "-crop", f"{x1 - x0 - 12}x{y1 - y0 - 12}+{x0 + 6}+{y0 + 6}", "+repage",
                            "-format", "%c", "histogram:info:-")
            self.assertEqual([l.split()[2].upper() for l in inside.splitlines() if l.strip()], [grey], inside)

            # Both off again: the window's own colours.
            s.key("shift+Tab")
            self.to_tiles(s)
            self.menu_lines(s, 8, 9)
            self.assertEqual("#%02X%02X%02X" % s.pixel(*fe_fill), TRANSITION_METALS)

            # A name that cannot be written (a folder holds it): the file and the
            # system's reason are named, and nothing half-written stays.
            (s.drive_c / "worksheets" / "зает.png").mkdir()
            s.key("ctrl+s")
            time.sleep(2)
            s.key("ctrl+a")
            s.type_text(r"C:\worksheets\зает")
            s.key("Return")
            self.assertTrue(wait_until(lambda: s.message_boxes()), "no question before replacing")
            s.key("y")
            self.assertTrue(wait_until(lambda: any("не можа да бъде записана във файла „C:\\worksheets\\зает.png“"
                                                   in s.message_text(b) for b in s.message_boxes())))
            s.screenshot("sheets-cannot-write")
            self.assertEqual(sorted(p.name for p in (s.drive_c / "worksheets").iterdir()), ["зает.png", "чб.png"])


if __name__ == "__main__":
    unittest.main()
