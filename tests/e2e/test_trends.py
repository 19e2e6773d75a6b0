"""Table.exe under Wine, coloured by a property and searched by typing: the
popup menu from the keyboard and the mouse, the scale's colours on the
screen, the legend and the tiles' descriptions as a screen reader reads
them, the way back to the categories, and finding iron by its Bulgarian
name."""

from __future__ import annotations

import shutil
import time
import unittest

from harness import DIST, WineSession, wait_until
from test_viewer import BACKGROUND, tile_point, window_samples

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"

# The menu's lines, in order.
MENU = ["Категории", "Радиус на атома", "Електроотрицателност", "Плътност", "Температура на топене",
        "Температура на кипене"]
CATEGORY_COLOURS = {
    "Алкални метали": (0xFF, 0x80, 0x80), "Алкалоземни метали": (0xFF, 0x80, 0x00),
    "Лантаноиди": (0xC0, 0x40, 0x00), "Актиниди": (0xC0, 0xC0, 0x00), "Транзитивни метали": (0x00, 0xFF, 0xFF),
    "Други метали": (0xFF, 0xFF, 0x00), "Неметали": (0x00, 0xFF, 0x00), "Благородни газове": (0xFF, 0xFF, 0xFF),
}
VIRIDIS_TOP = (0xFD, 0xE7, 0x25)
VIRIDIS_BOTTOM = (0x44, 0x01, 0x54)
NO_DATA = (0xC8, 0xC8, 0xC8)
TILES = {"H": (240, 1260), "He": (10920, 1260), "Li": (240, 1740), "F": (10320, 1740), "Fe": (4920, 2700),
         "Cs": (240, 3660), "Fr": (240, 4140), "Uuo": (10920, 4140)}
# Every legend swatch, with its place and colour.
LEGEND_SWATCHES = {"Shape9": (2790, 690, (0xFF, 0x80, 0x80)), "Shape8": (2790, 915, (0xFF, 0x80, 0x00)),
                   "Shape7": (2790, 1155, (0xC0, 0x40, 0x00)), "Shape6": (2790, 1380, (0xC0, 0xC0, 0x00)),
                   "Shape5": (4980, 675, (0x00, 0xFF, 0xFF)), "Shape4": (4980, 900, (0xFF, 0xFF, 0x00)),
                   "Shape3": (4980, 1140, (0x00, 0xFF, 0x00)), "Shape1": (4980, 1365, (0xFF, 0xFF, 0xFF))}


def near(a, b, tolerance=40) -> bool:
    return sum(abs(x - y) for x, y in zip(a, b)) <= tolerance


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class TrendsTest(unittest.TestCase):
    def start(self, s):
        return s.start_viewer()[1]

    def focus_tile(self, s, symbol="H"):
        """Tab into the table (it enters on H), then the arrows."""
        for _ in range(12):
            if s.focused_control() == "lbl_H":
                break
            s.key("Tab")
        self.assertEqual(s.focused_control(), "lbl_H")
        if symbol == "F":
            s.key("Down", "End", "Left")
            self.assertEqual(s.focused_control(), "lbl_F")

    def choose(self, s, line: str, opener=("shift+F10",)):
        """Opens the menu and picks a line by the keyboard: the menu opens
        with nothing highlighted, the first Down highlights its first line."""
        if opener:
            s.key(*opener)
        time.sleep(0.5)
        s.key(*(["Down"] * (MENU.index(line) + 1)), "Return")
        time.sleep(0.8)

    def tile_colours(self, s, w, symbols):
        return dict(zip(symbols, s.pixels([w.point(*tile_point(*TILES[t])) for t in symbols])))

    def tiles_in_category_colours(self, s, w):
        """Every tile's fill against its category's colour, the category as
        a screen reader reads it in the tile's description."""
        tiles = [c for c in w.controls() if c["role"] == "push button" and c["name"].startswith("lbl_")]
        self.assertEqual(len(tiles), 115)
        # Inside each tile, in its lower right part, away from the symbol.
        points = [(c["rect"][0] + 32, c["rect"][1] + 25) for c in tiles]
        for c, colour in zip(tiles, s.pixels(points)):
            self.assertEqual(colour, CATEGORY_COLOURS[c["description"]], c["name"])

    def category_pixels(self, s, w):
        """The window's own pixel checks and every swatch."""
        samples = window_samples()
        for name, (left, top, colour) in LEGEND_SWATCHES.items():
            samples[name] = ((left + 105, top + 97), colour)
        samples["legend background"] = ((3500, 1000), BACKGROUND)
        got = s.pixels([w.point(*p) for p, _ in samples.values()])
        return {name: (colour, want) for (name, (_, want)), colour in zip(samples.items(), got)}

    def test_keyboard_alone_colours_by_electronegativity_and_categories_bring_everything_back(self):
        with WineSession("trend-keyboard") as s:
            w = self.start(s)
            before = self.category_pixels(s, w)
            for name, (got, want) in before.items():
                self.assertEqual(got, want, name)
            self.tiles_in_category_colours(s, w)
            self.focus_tile(s, "F")
            self.choose(s, "Електроотрицателност")
            self.assertEqual(s.message_boxes(), [])
            colours = self.tile_colours(s, w, ["F", "Fr", "Cs", "He", "Uuo", "Fe"])
            s.screenshot("trend-electronegativity")
            self.assertEqual(colours["F"], VIRIDIS_TOP)
            self.assertTrue(near(colours["Fr"], VIRIDIS_BOTTOM), colours["Fr"])
            self.assertTrue(near(colours["Cs"], VIRIDIS_BOTTOM), colours["Cs"])
            self.assertEqual(colours["He"], NO_DATA)
            self.assertEqual(colours["Uuo"], NO_DATA)
            self.assertNotIn(colours["Fe"], (VIRIDIS_TOP, VIRIDIS_BOTTOM, NO_DATA, (0x00, 0xFF, 0xFF)))
            # The focus stayed where it was.
            self.assertEqual(s.focused_control(), "lbl_F")

            controls = {c["name"]: c for c in w.controls()}
            self.assertEqual(controls["lbl_scale_low"]["accname"], "0,7")
            self.assertEqual(controls["lbl_scale_high"]["accname"], "3,98")
            self.assertEqual(controls["lbl_scale_title"]["accname"], "Електроотрицателност")
            self.assertEqual(controls["lbl_no_data"]["accname"], "няма данни")
            self.assertNotIn("invisible", controls["lbl_scale_low"]["states"])
            self.assertIn("invisible", controls["lbl_alkali_metals"]["states"])
            self.assertEqual(controls["lbl_Fe"]["description"], "Транзитивни метали, 1,83")
            self.assertEqual(controls["lbl_He"]["description"], "Благородни газове, няма данни")
            # The legend's swatches gave way to the scale.
            swatch = s.pixel(*w.point(2790 + 105, 690 + 97))
            self.assertNotEqual(swatch, (0xFF, 0x80, 0x80))

            self.choose(s, "Категории")
            after = self.category_pixels(s, w)
            for name, (got, want) in after.items():
                self.assertEqual(got, want, name)
            self.tiles_in_category_colours(s, w)
            controls = {c["name"]: c for c in w.controls()}
            self.assertIn("invisible", controls["lbl_scale_low"]["states"])
            self.assertNotIn("invisible", controls["lbl_alkali_metals"]["states"])
            self.assertEqual(controls["lbl_Fe"]["description"], "Транзитивни метали")

    def test_right_click_on_a_tile_opens_the_menu_and_a_left_click_still_shows_the_element(self):
        with WineSession("trend-mouse") as s:
            w = self.start(s)
            left, top = TILES["Fe"]
            x, y = w.point(*tile_point(left, top))
            before = list(w.rect)
            s.click(x, y, button=3)
            self.choose(s, "Радиус на атома", opener=())
            self.assertEqual(list(w.refresh().rect), before)   # a right click on a tile does not drag
            colours = self.tile_colours(s, w, ["He", "Fr", "Li", "Cs", "Fe"])
            s.screenshot("trend-radius")
            self.assertEqual(colours["He"], VIRIDIS_BOTTOM)      # 28 pm, the smallest
            self.assertEqual(colours["Fr"], VIRIDIS_TOP)         # 260 pm, the largest
            controls = {c["name"]: c for c in w.controls()}
            self.assertEqual(controls["lbl_scale_low"]["accname"], "28 pm")
            self.assertEqual(controls["lbl_scale_high"]["accname"], "260 pm")
            # A left click still shows the element, coloured or not.
            s.click(x, y)
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26"), w.text("txt_atom_num"))

    def test_typing_a_name_finds_the_element_and_enter_shows_it(self):
        with WineSession("trend-typing") as s:
            w = self.start(s)
            # Typed into a box, letters stay the box's own.
            self.assertEqual(s.focused_control(), "txt_atom_num")
            self.focus_tile(s)
            s.type_text("жел")
            self.assertTrue(wait_until(lambda: s.focused_control() == "lbl_Fe", 5), s.focused_control())
            s.key("Return")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26"), w.text("txt_atom_num"))
            self.assertEqual(w.text("txt_name"), "Желязо")
            time.sleep(1.2)
            s.type_text("cl")
            self.assertTrue(wait_until(lambda: s.focused_control() == "lbl_Cl", 5), s.focused_control())
            s.key("space")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "17"), w.text("txt_atom_num"))
            self.assertEqual(s.message_boxes(), [])


if __name__ == "__main__":
    unittest.main()
