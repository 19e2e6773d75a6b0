"""Table.exe under Wine: the window as a user sees it, tiles and the panel,
dragging, closing, and a missing or damaged element database.

Each test installs the viewer the way the installer does (Table.exe and
vrakel.mdb side by side in C:\\Zentrik of a fresh prefix). What a tile
should show is read from the same file by mdbtools, an independent reader.
"""

import shutil
import subprocess
import time
import unittest

from harness import DIST, WineSession

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"

FIELDS = ["atom_num", "Name", "atom_mass", "atom_rad", "orbitals", "elec_shell", "melt_boil", "density",
          "isotopes", "electronegativity", "oxidation", "discovery"]
VISIBLE_BOXES = ["txt_" + f.lower() for f in FIELDS if f not in ("orbitals", "melt_boil")]
ALL_BOXES = ["txt_" + f.lower() for f in FIELDS]

BACKGROUND = (0x00, 0xB5, 0xD6)
BAND = (0x4B, 0x83, 0xC0)

# A tile of each category: (symbol, left, top, colour).
CATEGORY_TILES = [
    ("Li", 240, 1740, (0xFF, 0x80, 0x80)),
    ("Be", 840, 1740, (0xFF, 0x80, 0x00)),
    ("La", 2520, 4860, (0xC0, 0x40, 0x00)),
    ("Ac", 2520, 5340, (0xC0, 0xC0, 0x00)),
    ("Sc", 1920, 2700, (0x00, 0xFF, 0xFF)),
    ("Al", 7920, 2220, (0xFF, 0xFF, 0x00)),
    ("H", 240, 1260, (0x00, 0xFF, 0x00)),
    ("He", 10920, 1260, (0xFF, 0xFF, 0xFF)),
]

# Tile symbol, its place and the record position it reads.
RECORD_TILES = [("H", 240, 1260, 0), ("Fe", 4920, 2700, 25), ("Mt", 5520, 4140, 108),
                ("Uun", 6120, 4140, 110), ("Uuq", 8640, 4140, 113)]
UUH = (9720, 4140)


def tile_point(left, top):
    """Lower right part of a tile: inside it, away from its caption."""
    return left + 480, top + 380


def window_samples():
    """Points of the window (twips) and the colour each must have as the
    window opens: the surface, the band, every legend swatch, a tile of
    each category and the empty cells."""
    samples = {
        "background": ((600, 5000), BACKGROUND),
        "background between panel columns": ((5000, 8300), BACKGROUND),
        "band": ((8000, 300), BAND),
        "band at the right edge": ((11600, 580), BAND),
        "alkali swatch": ((2790 + 105, 690 + 97), (0xFF, 0x80, 0x80)),
        "noble gas swatch": ((4980 + 105, 1365 + 97), (0xFF, 0xFF, 0xFF)),
        # The cells of elements 113, 115 and 117 are empty.
        "cell of element 113": ((7920 + 300, 4140 + 300), BACKGROUND),
        "cell of element 117": ((10320 + 300, 4140 + 300), BACKGROUND),
    }
    for symbol, left, top, colour in CATEGORY_TILES:
        samples["tile " + symbol] = (tile_point(left, top), colour)
    return samples


def records_in_id_order(path):
    """Every record of data_list as {field: text}, ordered by ID (mdbtools)."""
    out = subprocess.run(["mdb-export", "-d", "\t", "-q", "", "-R", "\n", str(path), "data_list"],
                         capture_output=True, text=True, check=True).stdout
    lines = out.rstrip("\n").split("\n")
    header = lines[0].split("\t")
    rows = [dict(zip(header, line.split("\t"))) for line in lines[1:]]
    return sorted(rows, key=lambda r: int(r["ID"]))


def same_value(shown, stored):
    """The panel writes numbers with a decimal comma; mdbtools with a point."""
    if shown == stored:
        return True
    try:
        a, b = float(shown.replace(",", ".")), float(stored)
    except ValueError:
        return False
    return abs(a - b) <= 1e-9 * max(1.0, abs(b))


@unittest.skipUnless(TABLE.exists(), "Table.exe is not built")
class ViewerTest(unittest.TestCase):
    def need_database(self):
        if not DATABASE.exists():
            self.skipTest("vrakel.mdb is not built")

    def start(self, s, with_database=True, damaged=False):
        folder = s.drive_c / "Zentrik"
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy(TABLE, folder / "Table.exe")
        if damaged:
            (folder / "vrakel.mdb").write_bytes(b"Standard Jet DB\0" + bytes(range(256)) * 40)
        elif with_database:
            shutil.copy(DATABASE, folder / "vrakel.mdb")
        app = s.start("C:\\Zentrik\\Table.exe")
        w = s.wait_window("form_main")
        time.sleep(0.5)
        return app, w.refresh()

    def panel(self, w, boxes=ALL_BOXES):
        controls = {c["name"]: c for c in w.controls()}
        return [controls[b]["text"] for b in boxes]

    def test_window_size_and_colours(self):
        with WineSession("viewer-look") as s:
            _, w = self.start(s, with_database=False)
            self.assertEqual(w.client, [776, 573])  # 11640 x 8600 twips at 96 DPI
            self.assertEqual(w.info["text"], "Периодична система")
            s.screenshot("viewer-window")
            samples = window_samples()
            names = list(samples)
            got = s.pixels([w.point(*samples[n][0]) for n in names])
            for name, colour in zip(names, got):
                self.assertEqual(colour, samples[name][1], name)

    def test_legend_captions_keep_their_ends_at_144_dpi(self):
        # The layout is made at 96 DPI; Wine's stand-in for Verdana grows
        # faster, and "Алкалоземни метали" lost its end. Its white text must
        # now stop short of the label's right edge.
        with WineSession("viewer-144") as s:
            s.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "144", "REG_DWORD")
            _, w = self.start(s, with_database=False)
            s.screenshot("viewer-144-dpi")
            left, top, right, bottom = w.control("lbl_alkaline_earth_metals")["rect"]
            self.assertGreater(right - left, 150)   # the scale took
            edge = [(x, y) for x in (right - 2, right - 1) for y in range(top, bottom)]
            inked = [p for p in s.pixels(edge) if min(p) > 200]
            self.assertEqual(inked, [], "the caption runs into the label's right edge")

    def test_unknown_element_fills_every_box_with_a_question_mark(self):
        self.need_database()
        with WineSession("viewer-unknown") as s:
            _, w = self.start(s)
            w.click_twips(*tile_point(4920, 2700))  # Fe first
            self.assertNotIn("?", self.panel(w))
            w.click_twips(*tile_point(*UUH))
            self.assertEqual(self.panel(w), ["?"] * 12)

    def test_tiles_show_their_records(self):
        self.need_database()
        records = records_in_id_order(DATABASE)
        with WineSession("viewer-records") as s:
            _, w = self.start(s)
            for symbol, left, top, position in RECORD_TILES:
                w.click_twips(*tile_point(left, top))
                shown = self.panel(w)
                for field, text in zip(FIELDS, shown):
                    stored = records[position][field]
                    self.assertTrue(same_value(text, stored), f"{symbol} {field}: {text!r} vs {stored!r}")
            self.assertEqual(s.message_boxes(), [])

    def test_band_drags_the_window_and_a_tile_does_not(self):
        with WineSession("viewer-drag") as s:
            _, w = self.start(s, with_database=False)
            before = list(w.rect)
            start = w.point(8000, 300)
            s.drag(start, (start[0] + 120, start[1] + 60))
            moved = list(w.refresh().rect)
            self.assertEqual(moved[:2], [before[0] + 120, before[1] + 60])
            # A press on a tile or a text box is theirs: the window stays.
            for x, y in (tile_point(4920, 2700), (3675 + 300, 6045 + 140)):
                start = w.point(x, y)
                s.drag(start, (start[0] + 80, start[1] + 40))
                self.assertEqual(list(w.refresh().rect), moved)
                # Without a database the click explains itself; close that.
                if s.message_boxes():
                    s.key("Return")

    def test_close_mark_ends_the_program(self):
        with WineSession("viewer-close") as s:
            app, w = self.start(s, with_database=False)
            w.click_twips(11220 + 165, 15 + 260)
            self.assertIsNotNone(app.wait_exit(10), "Table.exe still runs")

    def check_refusal(self, s, w):
        w.click_twips(*tile_point(4920, 2700))
        boxes = s.message_boxes()
        self.assertEqual(len(boxes), 1)
        self.assertIn("vrakel.mdb", s.message_text(boxes[0]))
        s.screenshot(f"{s.name}-message")
        s.key("Return")
        self.assertTrue(s.wait_gone("#32770"))
        self.assertEqual(self.panel(w), [""] * 12)
        w.click_twips(*tile_point(*UUH))
        self.assertEqual(len(s.message_boxes()), 1)
        s.key("Return")
        self.assertEqual(self.panel(w), [""] * 12)

    def test_missing_database_opens_the_window_and_explains_a_click(self):
        with WineSession("viewer-nodb") as s:
            app, w = self.start(s, with_database=False)
            self.assertEqual(w.client, [776, 573])
            self.check_refusal(s, w)
            self.assertTrue(app.running())

    def test_damaged_database_opens_the_window_and_explains_a_click(self):
        with WineSession("viewer-baddb") as s:
            app, w = self.start(s, damaged=True)
            self.check_refusal(s, w)
            self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main()
