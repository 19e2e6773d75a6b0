"""Table.exe under Wine, saving the table as a worksheet picture through
the real save dialog: a PNG at print resolution on white with the tiles'
colours."""

from __future__ import annotations

import subprocess
import time
import unittest

from harness import ARTIFACTS, DIST, WineSession, wait_until

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
TRANSITION_METALS = "#00FFFF"   # Fe's tile
WHITE = "#FFFFFF"


def magick(*args: str) -> str:
    return subprocess.run(["convert", *args], check=True, capture_output=True, text=True, timeout=120).stdout


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class SheetsTest(unittest.TestCase):
    def test_saved_png_is_a_300_dpi_worksheet_on_white(self):
        with WineSession("sheets") as s:
            _, w = s.start_viewer()
            for _ in range(15):   # to the tile table, as a keyboard user goes
                if s.focused_control().startswith("lbl_"):
                    break
                s.key("Tab")
            # Into a folder of the prefix: Wine links the user's Documents and
            # Pictures to the Linux home, which a test must not write to.
            (s.drive_c / "worksheets").mkdir()
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
            self.assertEqual(info[0], "3508")
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


if __name__ == "__main__":
    unittest.main()
