"""Table.exe under Wine, its chart window walked from the keyboard alone:
"Графика…" from the tiles' menu, the points as a screen reader reads them,
a point shown in the table's panel, another property from the combo box,
the values on the clipboard, and Esc back to the table."""

from __future__ import annotations

import json
import re
import time
import unittest

from harness import DIST, INSPECTOR, WineSession, wait_until
import test_trends

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
# Down to "Графика…": the six lines above the first separator, the states,
# the three worksheet lines, the atom's structure, then the chart; Down skips the
# separators.
CHART_LINE_DOWNS = 14


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class ChartTest(unittest.TestCase):
    def points(self, chart) -> dict:
        return {c["name"][3:]: c for c in chart.controls() if c["name"].startswith("pt_")}

    def test_chart_from_the_keyboard_to_the_panel_the_combo_box_the_clipboard_and_back(self):
        with WineSession("chart") as s:
            app, w = s.start_viewer()
            test_trends.TrendsTest.focus_tile(self, s, "H")
            s.key("shift+F10")
            time.sleep(0.5)
            s.key(*["Down"] * CHART_LINE_DOWNS, "Return")
            chart = s.wait_window("form_chart")
            time.sleep(1.0)
            self.assertEqual(s.message_boxes(), [])
            self.assertEqual(chart.refresh().info["text"], "Графика – Радиус на атома")

            points = self.points(chart)
            self.assertGreaterEqual(len(points), 100)
            self.assertRegex(points["Fe"]["accname"], r"^Fe \(26\): \d+ pm$")
            self.assertEqual(points["Fe"]["role"], "push button")
            # The periodic law: caesium opens period 6 far above xenon.
            self.assertLess(points["Cs"]["rect"][1], points["Xe"]["rect"][1])
            # A small square on the drawn point, in the category's colour.
            l, t, r, b = points["Fe"]["rect"]
            self.assertLessEqual(r - l, 12)
            self.assertEqual(s.pixel((l + r) // 2, (t + b) // 2),
                             test_trends.CATEGORY_COLOURS["Транзитивни метали"])
            s.screenshot("chart-radius")

            self.assertEqual(s.focused_control(), "pt_H")
            self.assertIn("focused", self.points(chart)["H"]["states"])
            s.key("Right")
            self.assertEqual(s.focused_control(), "pt_He")
            s.key(*["Right"] * 24)
            self.assertEqual(s.focused_control(), "pt_Fe")
            s.key("Return")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26", 5), w.text("txt_atom_num"))

            # The combo box after the points; Down picks the next property at once.
            s.key("Tab")
            self.assertEqual(s.focused_control(), "cbo_property")
            s.key("Down")
            time.sleep(0.6)
            self.assertEqual(chart.refresh().info["text"], "Графика – Електроотрицателност")
            self.assertRegex(self.points(chart)["Fe"]["accname"], r"^Fe \(26\): \d,\d+$")
            s.key("Down", "Down")
            time.sleep(0.8)
            self.assertEqual(chart.refresh().info["text"], "Графика – Температура на топене")
            s.screenshot("chart-melting")

            s.key("Tab")
            self.assertEqual(s.focused_control(), "pt_Fe")
            s.key("ctrl+c")
            time.sleep(0.5)
            clip = json.loads(next(l for l in s.run(str(INSPECTOR), "clip").splitlines() if l.startswith("{")))
            self.assertTrue(clip["text"].startswith("Атомен номер\tСимвол\tИме\tТемпература на топене (°C)\r\n"))
            self.assertRegex(clip["text"], re.compile(r"\r\n26\tFe\tЖелязо\t1538\r\n"))
            # The picture beside the values, and saved as the table's is.
            self.assertEqual((clip["dib"] or {}).get("width"), 3508)
            self.assertIsNotNone(clip["emf"])
            (s.drive_c / "charts").mkdir()
            s.save_picture(r"C:\charts\топене", "chart-melting-saved")
            self.assertEqual(s.focused_control(), "pt_Fe")

            s.key("Escape")
            self.assertTrue(s.wait_gone("form_chart"))
            self.assertTrue(app.running())
            self.assertEqual(w.refresh().name, "form_main")
            self.assertEqual(s.message_boxes(), [])


if __name__ == "__main__":
    unittest.main()
