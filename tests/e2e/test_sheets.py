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
            s.key("ctrl+s")
            time.sleep(2)
            s.screenshot("sheets-save-dialog")
            s.key("ctrl+a")
            s.type_text("Таблица")
            s.key("Return")
            time.sleep(2)
            s.screenshot("sheets-after-save")
            saved = []
            self.assertTrue(wait_until(lambda: saved.extend(s.drive_c.glob("users/*/*/Таблица.png")) or saved),
                            "no PNG was saved")
            png = saved[0]
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


if __name__ == "__main__":
    unittest.main()
