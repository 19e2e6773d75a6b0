"""Table.exe under Wine, coloured by the states of matter: the menu entry
from the keyboard, the tiles' colours at room temperature and after the
temperature is typed, the trackbar's keys and a drag, what a screen reader
reads, and the way back to the categories."""

from __future__ import annotations

import time
import unittest

from harness import DIST, WineSession, wait_until
import test_trends

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"

SOLID = (0x4D, 0x4D, 0x4D)
LIQUID = (0x00, 0x72, 0xB2)
GAS = (0xD5, 0x5E, 0x00)
GASES = ["H", "N", "O", "F", "Cl", "He", "Ne", "Ar", "Kr", "Xe", "Rn"]
# The menu's lines down to "Агрегатно състояние"; Down skips the separator.
STATES_LINE_DOWNS = 7


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class StatesTest(unittest.TestCase):
    def colours(self, s, w, symbols):
        """Each tile's fill, inside its lower right part, away from the symbol."""
        tiles = {c["name"][4:]: c for c in w.controls() if c["name"].startswith("lbl_")}
        points = [(tiles[t]["rect"][0] + 32, tiles[t]["rect"][1] + 25) for t in symbols]
        return dict(zip(symbols, s.pixels(points)))

    def assert_states(self, s, w, expected: dict):
        got = self.colours(s, w, list(expected))
        for symbol, colour in expected.items():
            self.assertEqual(got[symbol], colour, symbol)

    def temperature(self, w) -> str:
        return w.control("trk_temperature")["value"]

    def tab_to(self, s, name: str):
        for _ in range(20):
            if s.focused_control() == name:
                return
            s.key("Tab")
        self.assertEqual(s.focused_control(), name)

    def type_temperature(self, s, text: str):
        """Into the focused box: its old text away, the new one, Enter."""
        s.key("End", *["BackSpace"] * 6)
        if text.startswith("-"):   # xdotool would take it for an option
            s.key("minus")
            text = text[1:]
        s.type_text(text)
        s.key("Return")
        time.sleep(0.4)

    def test_states_at_room_temperature_typed_and_keyed_and_back_to_the_categories(self):
        with WineSession("states") as s:
            _, w = s.start_viewer()
            for name, (got, want) in test_trends.TrendsTest.category_pixels(self, s, w).items():
                self.assertEqual(got, want, name)
            names = [c["name"] for c in w.controls()]
            self.assertNotIn("trk_temperature", names)   # made when first chosen

            # Shift+F10 on a focused tile, the entry by the keyboard.
            test_trends.TrendsTest.focus_tile(self, s, "F")
            s.key("shift+F10")
            time.sleep(0.5)
            s.key(*["Down"] * STATES_LINE_DOWNS, "Return")
            time.sleep(0.8)
            self.assertEqual(s.message_boxes(), [])
            self.assert_states(s, w, {"Hg": LIQUID, "Br": LIQUID, "Fe": SOLID, "Ga": SOLID,
                                      **{g: GAS for g in GASES}})
            s.screenshot("states-25")
            controls = {c["name"]: c for c in w.controls()}
            self.assertEqual(controls["lbl_Br"]["description"], "Неметали, течно при 25 °C")
            self.assertEqual(controls["trk_temperature"]["role"], "slider")
            self.assertEqual(controls["trk_temperature"]["accname"], "Температура")
            self.assertEqual(controls["trk_temperature"]["value"], "25 °C")
            self.assertEqual(controls["txt_temperature"]["accname"], "Температура в °C")
            self.assertEqual(controls["txt_temperature"]["text"], "25")
            self.assertEqual(controls["lbl_kelvin"]["accname"], "298 K")
            self.assertEqual(controls["lbl_points"]["accname"], "F: -220 / -188 °C")
            self.assertIn("invisible", controls["lbl_alkali_metals"]["states"])

            # After the tiles: the trackbar, then the box.
            s.key("Tab")
            self.assertEqual(s.focused_control(), "trk_temperature")
            s.key("Tab")
            self.assertEqual(s.focused_control(), "txt_temperature")
            self.type_temperature(s, "30")
            self.assertEqual(self.temperature(w), "30 °C")
            self.assert_states(s, w, {"Ga": LIQUID, "Cs": LIQUID, "Hg": LIQUID, "Fe": SOLID})
            self.type_temperature(s, "-40")
            self.assertEqual(self.temperature(w), "-40 °C")
            self.assert_states(s, w, {"Hg": SOLID, "Br": SOLID, "Cl": LIQUID})
            self.type_temperature(s, "abc")   # beeps, and the last value comes back
            self.assertEqual(w.text("txt_temperature"), "-40")
            self.assertEqual(self.temperature(w), "-40 °C")

            # The trackbar's keys: up is more, whichever arrow or page key says it.
            s.key("shift+Tab")
            self.assertEqual(s.focused_control(), "trk_temperature")
            s.key("Up")
            self.assertEqual(self.temperature(w), "-39 °C")
            s.key("Prior")
            self.assertEqual(self.temperature(w), "61 °C")
            s.key("Left", "Next")
            self.assertEqual(self.temperature(w), "-40 °C")
            s.key("End")
            self.assertEqual(self.temperature(w), "6000 °C")
            s.key("Home")
            self.assertEqual(self.temperature(w), "-273 °C")
            self.assertEqual(w.text("txt_temperature"), "-273")

            # A drag to the right warms the table as the thumb goes.
            track = w.control("trk_temperature")["rect"]
            middle = (track[1] + track[3]) // 2
            s.drag((track[0] + 12, middle), (track[0] + (track[2] - track[0]) // 2, middle))
            dragged = int(self.temperature(w).split()[0])
            self.assertGreater(dragged, 2000)
            self.assertEqual(w.text("txt_temperature"), str(dragged))

            s.key("Tab")
            self.type_temperature(s, "3000")
            self.assertEqual(self.temperature(w), "3000 °C")
            self.assert_states(s, w, {"Fe": GAS, "W": SOLID, "Pt": LIQUID})
            s.screenshot("states-3000")

            # "Стайна температура" with the mouse.
            w.click_control("lbl_room_temperature")
            self.assertTrue(wait_until(lambda: self.temperature(w) == "25 °C", 5), self.temperature(w))

            # Back to the categories from the keyboard, on the tile focused last.
            self.tab_to(s, "lbl_F")
            test_trends.TrendsTest.choose(self, s, "Категории")
            for name, (got, want) in test_trends.TrendsTest.category_pixels(self, s, w).items():
                self.assertEqual(got, want, name)
            controls = {c["name"]: c for c in w.controls()}
            self.assertIn("invisible", controls["trk_temperature"]["states"])
            self.assertEqual(controls["lbl_Br"]["description"], "Неметали")
            self.assertEqual(s.message_boxes(), [])


if __name__ == "__main__":
    unittest.main()
