"""Table.exe under Wine, saving the table as a worksheet picture through
the real save dialog: a PNG at print resolution on white with the tiles'
colours, and a second save to the same name asks before replacing."""

from __future__ import annotations

import subprocess
import time
import unittest

from harness import DIST, WineSession, wait_until

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
TRANSITION_METALS = "#00FFFF"   # Fe's tile
WHITE = "#FFFFFF"


def magick(*args: str) -> str:
    return subprocess.run(["convert", *args], check=True, capture_output=True, text=True, timeout=120).stdout


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class SheetsTest(unittest.TestCase):
    def test_saved_png_is_a_300_dpi_worksheet_and_a_second_save_asks_first(self):
        with WineSession("sheets") as s:
            _, w = s.start_viewer()
            w.click_control("lbl_Fe")
            s.key("ctrl+s")
            time.sleep(2)
            s.key("ctrl+a")
            s.type_text("Таблица")
            s.key("Return")
            saved = []
            self.assertTrue(wait_until(lambda: saved.extend(s.drive_c.glob("users/*/*/Таблица.png")) or saved),
                            "no PNG was saved")
            png = saved[0]
            s.screenshot("sheets-window")
            shutil_copy = png.read_bytes()
            from harness import ARTIFACTS
            (ARTIFACTS / "sheets-categories.png").write_bytes(shutil_copy)
            info = subprocess.run(["identify", "-units", "PixelsPerInch", "-format", "%w %x", str(png)],
                                  check=True, capture_output=True, text=True).stdout.split()
            self.assertEqual(info[0], "3508")
            self.assertAlmostEqual(float(info[1]), 300, delta=0.5)
            corners = magick(str(png), "-format",
                             "%[hex:p{0,0}] %[hex:p{3507,0}] %[hex:p{0,%[fx:h-1]}] %[hex:p{3507,%[fx:h-1]}]", "info:")
            for corner in corners.split():
                self.assertEqual("#" + corner[:6].upper(), WHITE)
            colours = magick(str(png), "-format", "%c", "histogram:info:-")
            self.assertIn(TRANSITION_METALS, colours.upper())

            # The same name again: the dialog asks before replacing.
            s.key("ctrl+s")
            time.sleep(2)
            s.key("ctrl+a")
            s.type_text("Таблица")
            s.key("Return")
            time.sleep(1.5)
            asked = [b for b in s.message_boxes() if "Таблица" in s.message_text(b)]
            s.screenshot("sheets-replace-question")
            self.assertTrue(asked, "no question before replacing")


if __name__ == "__main__":
    unittest.main()
