"""Table.exe under Wine, "Моларна маса" from the keyboard: Ctrl+M, a formula
typed and its result read from the accessibility tree, an unknown symbol
read as an alert, the tile H typed into the formula by Enter, the result
copied as tab-separated text, and Esc back to the table."""

from __future__ import annotations

import json
import time
import unittest

from harness import DIST, INSPECTOR, WineSession, wait_until
import test_trends

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class MolarTest(unittest.TestCase):
    def result(self, s) -> str:
        return s.control("txt_result")["text"]

    def test_formula_result_alert_tile_clipboard_and_escape(self):
        with WineSession("molar") as s:
            app, w = s.start_viewer()
            test_trends.TrendsTest.focus_tile(self, s, "H")
            molar = s.open_by_key("ctrl+m", "form_molar", settle=0.8)
            self.assertEqual(molar.info["text"], "Моларна маса")
            self.assertEqual(s.focused_control(), "txt_formula")
            # Beside the table, or at the work area's right edge where there is no room.
            main, box = w.refresh().rect, molar.refresh().rect
            self.assertGreaterEqual(box[0], main[0] + 200, (main, box))

            s.type_text("Ca(OH)2")
            self.assertTrue(wait_until(lambda: "74,09" in self.result(s), 5), self.result(s))
            self.assertEqual(self.result(s), "M(Ca(OH)2) = 74,09 g/mol")
            items = [c for c in molar.controls() if c["role"] == "list item"]
            self.assertEqual([c["accname"] for c in items][:1], ["Ca, Калций: 1 атом, Ar 40,078, ω 54,09 %"])
            self.assertEqual(len(items), 3)
            headers = [c["accname"] for c in molar.controls() if c["role"] == "column header"]
            self.assertEqual(headers, ["Елемент", "Име", "Атоми", "Ar", "Ar · атоми", "ω"])

            # The pupil's hydrate, for the eye.
            s.key("ctrl+a")
            s.type_text("CuSO4.5H2O")
            self.assertTrue(wait_until(lambda: "249,68" in self.result(s), 5), self.result(s))
            s.screenshot("molar-hydrate")

            s.key("ctrl+a")
            s.type_text("Xy")
            self.assertTrue(wait_until(lambda: self.result(s) == "", 5))
            alert = molar.control("lbl_error")
            self.assertEqual(alert["role"], "alert")
            self.assertEqual(alert["accname"], "Непознат символ „Xy“")
            self.assertEqual([c for c in molar.controls() if c["role"] == "list item"], [])

            # Back to the table, whose focus is still on H: Enter types it.
            s.key("ctrl+a", "BackSpace")
            w.click_twips(1500, 800)
            s.key("Return")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "1", 5))
            self.assertTrue(wait_until(lambda: s.focused_control() == "txt_formula", 5), s.focus())
            s.type_text("2SO4")
            self.assertTrue(wait_until(lambda: "98,07" in self.result(s), 5), self.result(s))
            self.assertEqual(self.result(s), "M(H2SO4) = 98,07 g/mol")

            s.key("ctrl+c")
            time.sleep(0.5)
            clip = json.loads(next(l for l in s.run(str(INSPECTOR), "clip").splitlines() if l.startswith("{")))
            self.assertEqual(clip["text"].split("\r\n")[:3],
                             ["M(H2SO4) = 98,07 g/mol", "Елемент\tИме\tАтоми\tAr\tAr · атоми\tω",
                              "H\tВодород\t2\t1,008\t2,016\t2,06 %"])

            s.key("Escape")
            self.assertTrue(s.wait_gone("form_molar"))
            self.assertTrue(app.running())
            self.assertEqual(s.message_boxes(), [])


if __name__ == "__main__":
    unittest.main()
